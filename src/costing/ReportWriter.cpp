#include "costing/ReportWriter.h"

#include "costing/OrderCosting.h"
#include "text/Cp1252.h"
#include "text/NumberFormat.h"

namespace kalkora {

namespace {

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

std::string f72(double value) { return text::formatFixed(value, 7, 2); }

// About what the report of `order` takes: an internal operation's block is some 700 bytes
// beside its names, an external one's some 200.
std::size_t estimatedSize(const COrder& order)
{
    std::size_t size = 1024 + 2 * order.name.size() + 2 * order.remark.size();
    for (std::int32_t i = 0; i < order.operations.count(); ++i) {
        const COperation& op = *order.operations.at(i);
        size += op.name.size() + (op.isInternal != 0 ? 720 + op.machineName.size() : 200);
    }
    return size;
}

} // namespace

void ReportWriter::newline() { text += kLineBreak; }

void ReportWriter::rule() { text += kRule; }

void ReportWriter::writeHeader(const COrder& order, std::string_view orderFileName, const text::PrintDate& printDate)
{
    // One allocation for the whole text: growing it step by step would leave the freed smaller
    // copies of a large report in the process.
    text.reserve(estimatedSize(order) + orderFileName.size());
    text += "     Kalkora 1.0 EURO - Fertigungskostenberechnung";
    newline();
    newline();
    text += "Auftrag:    ";
    text += order.name;
    newline();
    text += "Datei:      ";
    text += orderFileName;
    newline();
    newline();
    text += "Druckdatum: ";
    text += text::formatPrintDate(printDate);
    newline();
    text += "Bemerkung:  ";
    text += wrapRemark(order.remark);
    newline();
    newline();
}

void ReportWriter::writeInternalHeading(const COperation& operation)
{
    text += "Arbeitsgang: ";
    text += operation.name;
    text += " (INTERN)";
    newline();
    rule();
    newline();
    text += "Maschine: ";
    text += operation.machineName;
    newline();
}

void ReportWriter::writeInternalFigures(const COperation& op, const InternalOperationFigures& figures)
{
    text += labels().lotSizeOperation + text::formatInt(op.lotSize, 6);
    newline();
    text += "NuGrMat: " + f72(op.materialUtilPct) + " kg/St:   " + text::formatFixed(op.materialWeightKg, 7, 3)
        + " EUR/kg:   " + f72(op.materialPricePerKg) + " ";
    newline();
    text += "MatVK/St:" + f72(figures.materialFullCost) + " MatDK/St:" + f72(figures.materialDirectCost)
        + " Anz.Sch.:" + text::formatInt(std::int64_t(op.shiftMode) + 1, 7) + " ";
    newline();
    text += "NGrMasch:" + text::formatFixed(op.machineUtilPct, 7, 1) + " MaschFix:" + f72(figures.machineFixedRate)
        + " MaschVar:" + f72(figures.machineVarRate);
    newline();
    text += "Ruesten :" + f72(op.setupTimeMin) + " te (b)  :" + f72(op.machineTimeMin) + " te      :"
        + f72(op.operatorTimeMin) + " ";
    newline();
    text += "MA (Var):" + f72(figures.operatorVarRate) + " MA (Fix):" + f72(figures.operatorFixedRate)
        + " " + std::string(9, ' ') + " "; // an empty third column
    newline();
    rule();
    newline();
    text += "Vollkosten/St.(AG):     " + f72(figures.fullCostPerPiece);
    newline();
    text += "Direkte Kosten/St.(AG): " + f72(figures.directCostPerPiece);
    newline();
}

void ReportWriter::writeNotCosted(std::string_view reason)
{
    text += reason;
    newline();
    rule();
    newline();
}

void ReportWriter::writeExternal(const COperation& op, double fullCostPerPiece)
{
    text += "Arbeitsgang: ";
    text += op.name;
    text += " (EXTERN)";
    newline();
    rule();
    newline();
    text += "Vollk./St.: " + text::formatFixed(fullCostPerPiece, 0, 2) + "  Dir.K/St.: "
        + text::formatFixed(op.externalCostPerPiece, 0, 2) + "  " + labels().lotSize
        + text::formatInt(op.externalLotSize);
    newline();
}

void ReportWriter::writeOperationEnd() { newline(); }

void ReportWriter::writeTotals(std::int32_t quantityBase, double fullPerPiece, double directPerPiece)
{
    newline();
    rule();
    newline();
    text += "     " + labels().costsPerPiece;
    newline();
    text += "     " + labels().quantityBase + text::formatInt(quantityBase, 7);
    newline();
    rule();
    newline();
    text += "VOLLKOSTEN:    " + f72(fullPerPiece) + "   DIREKTE KOSTEN:" + f72(directPerPiece) + "   ";
    newline();
    rule();
    newline();
    newline();
}

void ReportWriter::writeIncompleteWarning(int uncostedOperations)
{
    text += labels().incomplete
        + text::formatInt(uncostedOperations);
    newline();
}

} // namespace kalkora
