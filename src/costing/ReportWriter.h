#pragma once

#include "model/COrder.h"
#include "text/PrintDate.h"

#include <string>
#include <string_view>

namespace kalkora {

// The figures of one costed internal operation, as the report prints them.
struct InternalOperationFigures {
    float materialFullCost = 0;
    float materialDirectCost = 0;
    float machineFixedRate = 0;
    float machineVarRate = 0;
    float operatorVarRate = 0;
    float operatorFixedRate = 0;
    float fullCostPerPiece = 0;
    float directCostPerPiece = 0;
};

// Lays out the costing report for a fixed-pitch font, piece by piece, in Windows-1252 with
// CR LF line breaks. Every line break carries the five blanks that indent the next line.
class ReportWriter {
public:
    void writeHeader(const COrder& order, std::string_view orderFileName, const text::PrintDate& printDate);
    void writeInternalHeading(const COperation& operation);
    void writeInternalFigures(const COperation& operation, const InternalOperationFigures& figures);
    void writeNotCosted(std::string_view reason);
    void writeExternal(const COperation& operation, double fullCostPerPiece);
    void writeOperationEnd();
    void writeTotals(std::int32_t quantityBase, double fullPerPiece, double directPerPiece);
    void writeIncompleteWarning(int uncostedOperations);

    std::string take() { return std::move(text); }

private:
    void reserveFor(const COrder& order);
    void newline();
    void rule(); // the rule and a line break

    std::string text;
};

// The remark as the report prints it: line breaks removed, cut every 38 characters onto lines
// indented under the first one.
std::string wrapRemark(std::string_view remark);

} // namespace kalkora
