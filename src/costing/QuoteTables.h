#pragma once

#include "costing/AnalysisTables.h"
#include "costing/SalesPrice.h"

#include <string>

namespace kalkora {

// The sales price scheme as tables, one column per quantity, for kalkora-cli and the desktop
// program's export, so both write the same bytes. Text and CSV print two decimals without
// thousands grouping; a figure that is none is an empty CSV field and "—" in the text.

// One record per quantity, in the dialects of the cost analysis. UTF-8.
std::string quoteCsv(const Quote& quote, CsvDialect dialect);

// The scheme as the textbooks print it, one line per step, two decimals in the runtime locale;
// the backward block from the market price follows. Windows-1252 with CR LF.
std::string quoteText(const Quote& quote);

} // namespace kalkora
