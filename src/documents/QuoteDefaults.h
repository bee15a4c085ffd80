#pragma once

#include "costing/SalesPrice.h"
#include "files/OfferFile.h"

#include <QString>

#include <optional>

namespace kalkora::documents {

// What a new quote starts from ("Angebotsvorgaben"), kept in the user's settings, where the
// desktop program and kalkora-cli find them.
struct QuoteDefaults {
    QString sender;
    SalesScheme scheme;
    int validityDays = 30;
    QString intro;
    QString closing;
    QString footer; // the company's legal details, printed at the foot of every page
    int cashDiscountDays = 10;
    int paymentDays = 30;
    QString numberPrefix; // "A-2026-": written before the counted number
    int nextNumber = 1; // counted up when a new quote is saved
};

// The number the next new quote gets: the prefix and the counted number, "A-2026-17".
QString nextQuoteNumber(const QuoteDefaults& defaults);

// A value the settings hold that cannot be read (stored by hand or by another version) is read
// as its default.
QuoteDefaults loadQuoteDefaults();
void saveQuoteDefaults(const QuoteDefaults& defaults);

// What kalkora-cli's --vorgaben gives a quote: the defaults' sender, intro, closing, footer and
// periods of payment where the quote has none of its own. The scheme is the caller's to choose; no number is taken.
void fillLetterFrom(const QuoteDefaults& defaults, files::Offer& offer);

// The validity, a period for the Skonto or of payment as typed, 0 to 3650 days; nothing when it
// cannot be read.
std::optional<int> validityDaysOf(const QString& typed);
// The next quote number as typed, a whole number from 1; nothing when it cannot be read.
std::optional<int> quoteNumberOf(const QString& typed);

} // namespace kalkora::documents
