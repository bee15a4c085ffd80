#include "costing/ReportWriter.h"

#include "text/Cp1252.h"
#include "text/NumberFormat.h"

namespace kalkora {

namespace {

constexpr std::size_t kRemarkPieceLength = 38;
constexpr std::string_view kRemarkBreak = "\r\n                 "; // CR LF and 17 blanks

constexpr std::string_view kLineBreak = "\r\n     ";
constexpr std::string_view kRule = "--------------------------------------------------";

// Labels with umlauts, converted once from the UTF-8 source to the report's code page.
struct Labels {
    std::string lotSizeOperation = text::utf8ToCp1252("Losgröße (Arbeitsgang): ");
    std::string lotSize = text::utf8ToCp1252("Losgröße: ");
    std::string costsPerPiece = text::utf8ToCp1252("HERSTELLKOSTEN/STÜCK (EUR)");
    std::string quantityBase = text::utf8ToCp1252("STÜCKZAHLBASIS AUFTRAG: ");
    std::string incomplete = text::utf8ToCp1252("ACHTUNG: Summen unvollständig, nicht berechnete Arbeitsgänge: ");
};

const Labels& labels()
{
    static const Labels instance;
    return instance;
}

// Bytes of one operation's part of the report beside its names, a little more than the usual
// figures need, so that the text is allocated once.
constexpr std::size_t kInternalOperationBytes = 576;
constexpr std::size_t kExternalOperationBytes = 192;
constexpr std::size_t kHeaderAndTotalsBytes = 1024;

// Parts of a line: texts, "%W.Pf" and "%Wi" figures, appended without temporaries.
struct Fixed {
    double value;
    int width;
    int precision;
};
struct Int {
    std::int64_t value;
    int width = 0;
};

Fixed f72(double value)
{
    return { value, 7, 2 };
}

void put(std::string& out, std::string_view part)
{
    out += part;
}
void put(std::string& out, Fixed part)
{
    text::appendFixed(out, part.value, part.width, part.precision);
}
void put(std::string& out, Int part)
{
    text::appendInt(out, part.value, part.width);
}

// Appends the parts and a line break.
template <typename... Parts> void line(std::string& out, const Parts&... parts)
{
    (put(out, parts), ...);
    out += kLineBreak;
}

} // namespace

void ReportWriter::newline()
{
    text += kLineBreak;
}

void ReportWriter::rule()
{
    line(text, kRule);
}

void ReportWriter::reserveFor(const COrder& order)
{
    std::size_t bytes = kHeaderAndTotalsBytes + 2 * order.name.size() + 2 * order.remark.size();
    for (std::int32_t i = 0; i < order.operations.count(); ++i) {
        const COperation& op = *order.operations.at(i);
        bytes += op.name.size()
            + (op.isInternal != 0 ? kInternalOperationBytes + op.machineName.size() : kExternalOperationBytes);
    }
    text.reserve(text.size() + bytes);
}

void ReportWriter::writeHeader(const COrder& order, std::string_view orderFileName, const text::PrintDate& printDate)
{
    reserveFor(order);
    line(text, "     Kalkora 1.0 EURO - Fertigungskostenberechnung");
    newline();
    line(text, "Auftrag:    ", order.name);
    line(text, "Datei:      ", orderFileName);
    newline();
    line(text, "Druckdatum: ", text::formatPrintDate(printDate));
    line(text, "Bemerkung:  ", wrapRemark(order.remark));
    newline();
}

void ReportWriter::writeInternalHeading(const COperation& operation)
{
    line(text, "Arbeitsgang: ", operation.name, " (INTERN)");
    rule();
    line(text, "Maschine: ", operation.machineName);
}

void ReportWriter::writeInternalFigures(const COperation& op, const InternalOperationFigures& figures)
{
    line(text, labels().lotSizeOperation, Int { op.lotSize, 6 });
    line(text, "NuGrMat: ", f72(op.materialUtilPct), " kg/St:   ", Fixed { op.materialWeightKg, 7, 3 },
        " EUR/kg:   ", f72(op.materialPricePerKg), " ");
    line(text, "MatVK/St:", f72(figures.materialFullCost), " MatDK/St:", f72(figures.materialDirectCost),
        " Anz.Sch.:", Int { std::int64_t(op.shiftMode) + 1, 7 }, " ");
    line(text, "NGrMasch:", Fixed { op.machineUtilPct, 7, 1 }, " MaschFix:", f72(figures.machineFixedRate),
        " MaschVar:", f72(figures.machineVarRate));
    line(text, "Ruesten :", f72(op.setupTimeMin), " te (b)  :", f72(op.machineTimeMin),
        " te      :", f72(op.operatorTimeMin), " ");
    line(text, "MA (Var):", f72(figures.operatorVarRate), " MA (Fix):", f72(figures.operatorFixedRate),
        "           "); // an empty third column between its blanks
    rule();
    line(text, "Vollkosten/St.(AG):     ", f72(figures.fullCostPerPiece));
    line(text, "Direkte Kosten/St.(AG): ", f72(figures.directCostPerPiece));
}

void ReportWriter::writeNotCosted(std::string_view reason)
{
    line(text, reason);
    rule();
}

void ReportWriter::writeExternal(const COperation& op, double fullCostPerPiece)
{
    line(text, "Arbeitsgang: ", op.name, " (EXTERN)");
    rule();
    line(text, "Vollk./St.: ", Fixed { fullCostPerPiece, 0, 2 },
        "  Dir.K/St.: ", Fixed { op.externalCostPerPiece, 0, 2 }, "  ", labels().lotSize, Int { op.externalLotSize });
}

void ReportWriter::writeOperationEnd()
{
    newline();
}

void ReportWriter::writeTotals(std::int32_t quantityBase, double fullPerPiece, double directPerPiece)
{
    newline();
    rule();
    line(text, "     ", labels().costsPerPiece);
    line(text, "     ", labels().quantityBase, Int { quantityBase, 7 });
    rule();
    line(text, "VOLLKOSTEN:    ", f72(fullPerPiece), "   DIREKTE KOSTEN:", f72(directPerPiece), "   ");
    rule();
    newline();
}

void ReportWriter::writeIncompleteWarning(int uncostedOperations)
{
    line(text, labels().incomplete, Int { uncostedOperations });
}

std::string wrapRemark(std::string_view remark)
{
    std::string line;
    line.reserve(remark.size());
    for (char c : remark) {
        if (c != '\r' && c != '\n')
            line += c;
    }
    std::string wrapped;
    wrapped.reserve(line.size() + line.size() / kRemarkPieceLength * kRemarkBreak.size());
    for (std::size_t pos = 0; pos < line.size(); pos += kRemarkPieceLength) {
        if (pos > 0)
            wrapped += kRemarkBreak;
        wrapped.append(line, pos, kRemarkPieceLength);
    }
    return wrapped;
}

} // namespace kalkora
