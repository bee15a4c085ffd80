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

// Bytes of one operation's part of the report beside its names, a little more than the usual
// figures need, so that the text is allocated once.
constexpr std::size_t kInternalOperationBytes = 576;
constexpr std::size_t kExternalOperationBytes = 192;
constexpr std::size_t kHeaderAndTotalsBytes = 1024;

} // namespace

void ReportWriter::newline()
{
    text += kLineBreak;
}

void ReportWriter::rule()
{
    text += kRule;
}

void ReportWriter::f72(double value)
{
    text::appendFixed(text, value, 7, 2);
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
    text += labels().lotSizeOperation;
    text::appendInt(text, op.lotSize, 6);
    newline();
    text += "NuGrMat: ";
    f72(op.materialUtilPct);
    text += " kg/St:   ";
    text::appendFixed(text, op.materialWeightKg, 7, 3);
    text += " EUR/kg:   ";
    f72(op.materialPricePerKg);
    text += ' ';
    newline();
    text += "MatVK/St:";
    f72(figures.materialFullCost);
    text += " MatDK/St:";
    f72(figures.materialDirectCost);
    text += " Anz.Sch.:";
    text::appendInt(text, std::int64_t(op.shiftMode) + 1, 7);
    text += ' ';
    newline();
    text += "NGrMasch:";
    text::appendFixed(text, op.machineUtilPct, 7, 1);
    text += " MaschFix:";
    f72(figures.machineFixedRate);
    text += " MaschVar:";
    f72(figures.machineVarRate);
    newline();
    text += "Ruesten :";
    f72(op.setupTimeMin);
    text += " te (b)  :";
    f72(op.machineTimeMin);
    text += " te      :";
    f72(op.operatorTimeMin);
    text += ' ';
    newline();
    text += "MA (Var):";
    f72(figures.operatorVarRate);
    text += " MA (Fix):";
    f72(figures.operatorFixedRate);
    text += "           "; // an empty third column between its blanks
    newline();
    rule();
    newline();
    text += "Vollkosten/St.(AG):     ";
    f72(figures.fullCostPerPiece);
    newline();
    text += "Direkte Kosten/St.(AG): ";
    f72(figures.directCostPerPiece);
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
    text += "Vollk./St.: ";
    text::appendFixed(text, fullCostPerPiece, 0, 2);
    text += "  Dir.K/St.: ";
    text::appendFixed(text, op.externalCostPerPiece, 0, 2);
    text += "  ";
    text += labels().lotSize;
    text::appendInt(text, op.externalLotSize);
    newline();
}

void ReportWriter::writeOperationEnd()
{
    newline();
}

void ReportWriter::writeTotals(std::int32_t quantityBase, double fullPerPiece, double directPerPiece)
{
    newline();
    rule();
    newline();
    text += "     ";
    text += labels().costsPerPiece;
    newline();
    text += "     ";
    text += labels().quantityBase;
    text::appendInt(text, quantityBase, 7);
    newline();
    rule();
    newline();
    text += "VOLLKOSTEN:    ";
    f72(fullPerPiece);
    text += "   DIREKTE KOSTEN:";
    f72(directPerPiece);
    text += "   ";
    newline();
    rule();
    newline();
    newline();
}

void ReportWriter::writeIncompleteWarning(int uncostedOperations)
{
    text += labels().incomplete;
    text::appendInt(text, uncostedOperations);
    newline();
}

} // namespace kalkora
