#pragma once

#include "costing/AnalysisTables.h"
#include "costing/SalesPrice.h"

#include <array>
#include <cstdint>
#include <string>

namespace kalkora {

// The sales price scheme as tables, one column per quantity, for kalkora-cli and the desktop
// program's export, so both write the same bytes. Text and CSV print two decimals without
// thousands grouping; a figure that is none is an empty CSV field and "—" in the text.

// One step of the scheme in the order it is worked out; a percentage step names the value of the
// scheme it applies.
struct QuoteStep {
    const char* title; // UTF-8, also the CSV column title
    std::int64_t QuoteRow::*amount;
    Hundredths SalesScheme::*percent; // nullptr for a step without a percentage
};

const std::array<QuoteStep, 15>& quoteSteps();

// One record per quantity, in the dialects of the cost analysis. UTF-8.
std::string quoteCsv(const Quote& quote, CsvDialect dialect);

// The scheme as the textbooks print it, one line per step, two decimals in the runtime locale;
// the backward block from the market price follows. Windows-1252 with CR LF.
std::string quoteText(const Quote& quote);

} // namespace kalkora
