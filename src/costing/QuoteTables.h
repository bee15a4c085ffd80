#pragma once

#include "costing/AnalysisTables.h"
#include "costing/ResultTable.h"
#include "costing/SalesPrice.h"

#include <string>

namespace kalkora {

// The sales price scheme as tables, one column per quantity, for kalkora-cli and the desktop
// program's export, so both write the same bytes. Text and CSV print two decimals without
// thousands grouping; a figure that is none is an empty CSV field and "—" in the text.

// The value of the scheme a step applies; nullptr for a step without a percentage.
using SchemePercent = Percent SalesScheme::*;

// The steps of the scheme in the order they are worked out, after the quantity.
Columns<QuoteRow, SchemePercent> quoteColumns();
// What a market price leaves at each quantity, and the scheme run backwards from it.
Columns<MarketRow> marketRowColumns();
Columns<MarketPricing, SchemePercent> marketColumns();

// What a quote offers at each quantity; each amount names its member, for the quote file.
using OfferedAmount = Money OfferedPrice::*;
Columns<OfferedPrice, OfferedAmount> offeredColumns();

// One record per quantity, in the dialects of the cost analysis. UTF-8.
std::string quoteCsv(const Quote& quote, CsvDialect dialect);

// The scheme as the textbooks print it, one line per step, two decimals in `style`; the backward
// block from the market price follows. Windows-1252 with CR LF.
std::string quoteText(const Quote& quote, text::NumberStyle style);

// The scheme, the rows and the market block; amounts and percentages with two decimals, null
// where there is none.
std::string quoteJson(const Quote& quote);

} // namespace kalkora
