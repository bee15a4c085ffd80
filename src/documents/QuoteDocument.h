#pragma once

#include "costing/SalesPrice.h"
#include "documents/QuoteDefaults.h"
#include "files/OfferFile.h"
#include "model/COrder.h"
#include "model/CPlantData.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace kalkora::documents {

// The full cost per piece at the quantities given (empty: the default quantities of the quantity
// base), from an order or an assembly; throws std::runtime_error with a German message (UTF-8)
// where there is none.
using QuoteBasisAt = std::function<QuoteBasis(const std::vector<std::int32_t>& quantities)>;

// What a quote is priced with.
struct QuoteFigures {
    SalesScheme scheme;
    std::vector<std::int32_t> quantities; // empty: the order's default quantities
    std::optional<Money> marketPrice;
};

// The texts of the letter to the customer.
struct LetterTexts {
    QString number;
    QDate date; // null when not given
    QDate validUntil;
    QString sender;
    QString recipient;
    QString subject;
    QString intro;
    QString closing;
    int cashDiscountDays = 0; // within which the Skonto may be taken; 0: not said
    int paymentDays = 0; // when the amount is due without deduction; 0: not said
    QString footer; // the company's legal details, from the defaults
};

// A price per piece offered that today's order and master data price otherwise, or not at all.
struct PriceChange {
    std::int32_t quantity = 0;
    Money offered;
    std::optional<Money> today;
};

// What keeps a letter from being sent, with the key of the field to mend ("number", "date",
// "validUntil", "recipient").
struct LetterProblem {
    const char* field;
    QString message;
};
// No number, no date, a validity that ends before the date, no address: each said once.
std::vector<LetterProblem> letterProblems(const LetterTexts& letter);

// The name a quote is saved under by default: "Angebot A-4711.ang" for `suffix` "ang"; "Angebot"
// alone without a number.
QString quoteFileName(const QString& number, const QString& suffix);

// A date as a quote shows it, "07.12.2026"; empty for none.
QString quoteDateText(const QDate& date);
// The reverse; an empty text is no date (a null QDate), a text that is no such date nothing.
std::optional<QDate> quoteDateOf(const QString& typed);

// Says that a quote whose figures cannot be priced cannot be sent or saved either.
inline QString incompleteQuoteMessage()
{
    return QStringLiteral("Das Angebot ist nicht vollständig: erst die rot markierte Angabe berichtigen.");
}

// The quote being edited ("Angebot"): its file, whether it changed since it was started, opened
// or saved, its letter and figures, and today's prices of those figures. The prices of an opened
// quote stay as they were offered until today's are taken; a quote whose order is not open keeps
// its figures and offered prices as its file has them, while its letter can still be edited.
// Nothing here asks the user: the window shows the results and messages.
class QuoteDocument {
public:
    // A new quote for the order named `orderName` from `defaults`, dated `today`. It carries the
    // defaults' next number, which is used up when the quote is first saved with it.
    void startNew(const QuoteDefaults& defaults, const QString& orderName, const QDate& today);
    // Opens the quote file `path`, with or without its order as before. On failure nothing
    // changes.
    files::FileResult open(const QString& path);
    // The same for a quote whose order is not open.
    files::FileResult openWithoutOrder(const QString& path);
    // Saves atomically to `path`, the quote's file from then on; the message of incomplete figures
    // when there is nothing to save yet (offer()).
    files::FileResult saveAs(const QString& path);

    const QString& path() const { return filePath; }
    bool isChanged() const { return changed; }
    // The user edited a text or a figure, whether it could be read or not.
    void markChanged() { changed = true; }
    bool hasOrder() const { return !withoutOrder; }

    const LetterTexts& letter() const { return texts; }
    // What the letter names as the part offered: the order's or the assembly's name.
    void setPartName(const QString& name) { partName = name; }
    void setLetter(LetterTexts letter) { texts = std::move(letter); }
    const QuoteFigures& figures() const { return priceFigures; }
    // The quantities to show: the quote's own, else those offered by a quote without its order,
    // else the default quantities of an order of `quantityBase` pieces.
    std::vector<std::int32_t> shownQuantities(std::int32_t quantityBase) const;

    // Prices `figures` with the cost as it is today. An error of `basisAt` leaves today's prices
    // out of date.
    void price(QuoteFigures figures, const QuoteBasisAt& basisAt);
    // What was typed cannot be read: today's prices no longer belong to the quote.
    void markOutOfDate() { priced = false; }
    // The last prices computed, kept while out of date.
    const std::optional<Quote>& todaysQuote() const { return today; }
    bool isPriced() const { return priced && today; }

    // What the letter offers: the prices kept from the quote file, else today's.
    std::vector<OfferedPrice> offeredPrices() const;
    // Each kept price with today's, where the two differ; nothing when they agree, when no prices
    // were kept and while today's are out of date.
    std::optional<std::vector<PriceChange>> changedPrices() const;
    void takeTodaysPrices();

    // The files the quote is priced from, absolute or empty, saved with it while its order is open.
    void setDataFiles(const QString& orderFile, const QString& masterFile);
    // The quote as it is saved and sent; nothing while it has its order and no current prices.
    std::optional<files::Offer> offer() const;

private:
    files::FileResult load(const QString& path, bool withOrder);

    QString filePath;
    bool changed = false;
    bool numbered = false; // started from the defaults and not saved yet
    LetterTexts texts;
    QString partName;
    QuoteFigures priceFigures;
    std::optional<Quote> today;
    bool priced = false;
    std::optional<std::vector<OfferedPrice>> keptPrices;
    std::optional<files::Offer> withoutOrder; // the quote as its file has it, while its order is not open
    QString orderFile;
    QString masterFile;
};

} // namespace kalkora::documents
