#include "documents/QuoteDocument.h"

#include "costing/CostAnalysis.h"
#include "documents/QuantityList.h"

#include <algorithm>
#include <utility>

namespace kalkora::documents {

namespace {

const QString dateFormat = QStringLiteral("dd.MM.yyyy");

LetterTexts letterOf(const files::Offer& offer)
{
    return { offer.number, offer.date, offer.validUntil, offer.sender, offer.recipient, offer.subject, offer.intro,
        offer.closing, offer.cashDiscountDays, offer.paymentDays, offer.footer };
}

} // namespace

std::vector<LetterProblem> letterProblems(const LetterTexts& letter)
{
    std::vector<LetterProblem> problems;
    if (letter.number.trimmed().isEmpty())
        problems.push_back({ "number", QStringLiteral("„Angebot Nr.“ fehlt.") });
    if (letter.date.isNull())
        problems.push_back({ "date", QStringLiteral("„Datum“ fehlt.") });
    else if (!letter.validUntil.isNull() && letter.validUntil < letter.date)
        problems.push_back({ "validUntil", QStringLiteral("„Gültig bis“ liegt vor dem „Datum“.") });
    if (letter.recipient.trimmed().isEmpty())
        problems.push_back({ "recipient", QStringLiteral("„Anschrift“ fehlt.") });
    return problems;
}

QString quoteFileName(const QString& number, const QString& suffix)
{
    // A number may hold what a file name cannot.
    QString name = QStringLiteral("Angebot ") + number.trimmed();
    name.replace(u'/', u'-');
    return name.trimmed() + u'.' + suffix;
}

QString quoteDateText(const QDate& date)
{
    return date.toString(dateFormat);
}

std::optional<QDate> quoteDateOf(const QString& typed)
{
    const QString text = typed.trimmed();
    const QDate date = QDate::fromString(text, dateFormat);
    if (!text.isEmpty() && !date.isValid())
        return std::nullopt;
    return date;
}

void QuoteDocument::startNew(const QuoteDefaults& defaults, const QString& orderName, const QDate& today)
{
    *this = QuoteDocument();
    texts = { nextQuoteNumber(defaults), today, today.addDays(defaults.validityDays), defaults.sender, {}, orderName,
        defaults.intro, defaults.closing, defaults.cashDiscountDays, defaults.paymentDays, defaults.footer };
    partName = orderName;
    priceFigures.scheme = defaults.scheme;
    numbered = true;
}

files::FileResult QuoteDocument::open(const QString& path)
{
    return load(path, hasOrder());
}

files::FileResult QuoteDocument::openWithoutOrder(const QString& path)
{
    return load(path, false);
}

files::FileResult QuoteDocument::load(const QString& path, bool withOrder)
{
    files::Offer offer;
    const files::FileResult result = files::loadOffer(path, offer);
    if (!result.ok())
        return result;
    filePath = path;
    changed = false;
    numbered = false;
    texts = letterOf(offer);
    partName = offer.partName;
    priceFigures = { offer.scheme, offer.quantities, offer.marketPrice };
    priced = false;
    keptPrices = offer.offered;
    orderFile = offer.orderFile;
    masterFile = offer.masterFile;
    withoutOrder.reset();
    if (!withOrder) {
        // Nothing can price the figures without their order: no figures of another order may stay.
        today.reset();
        withoutOrder = std::move(offer);
    }
    return result;
}

files::FileResult QuoteDocument::saveAs(const QString& path)
{
    const std::optional<files::Offer> sent = offer();
    if (!sent)
        return { files::FileStatus::WriteFailed, incompleteQuoteMessage() };
    const files::FileResult result = files::saveOffer(path, *sent);
    if (!result.ok())
        return result;
    filePath = path;
    changed = false;
    // The number a new quote was given is used up once it is saved, unless the user gave another
    // or another quote took it meanwhile.
    if (std::exchange(numbered, false)) {
        QuoteDefaults defaults = loadQuoteDefaults();
        if (sent->number == nextQuoteNumber(defaults)) {
            ++defaults.nextNumber;
            saveQuoteDefaults(defaults);
        }
    }
    return result;
}

std::vector<std::int32_t> QuoteDocument::shownQuantities(std::int32_t quantityBase) const
{
    std::vector<std::int32_t> list = priceFigures.quantities;
    if (list.empty() && withoutOrder) {
        for (const OfferedPrice& price : withoutOrder->offered)
            list.push_back(price.quantity);
    }
    return list.empty() ? startingQuantities(quantityBase) : list;
}

void QuoteDocument::price(QuoteFigures figures, const QuoteBasisAt& basisAt)
{
    priceFigures = std::move(figures);
    priced = false;
    today = computeQuote(basisAt(priceFigures.quantities), priceFigures.scheme, priceFigures.marketPrice);
    priced = true;
}

std::vector<OfferedPrice> QuoteDocument::offeredPrices() const
{
    if (keptPrices)
        return *keptPrices;
    return today ? kalkora::offeredPrices(*today) : std::vector<OfferedPrice>();
}

std::optional<std::vector<PriceChange>> QuoteDocument::changedPrices() const
{
    if (!keptPrices || !isPriced() || withoutOrder)
        return std::nullopt;
    const std::vector<OfferedPrice> now = kalkora::offeredPrices(*today);
    if (*keptPrices == now)
        return std::nullopt;
    std::vector<PriceChange> changes;
    for (const OfferedPrice& offered : *keptPrices) {
        const auto found = std::find_if(now.begin(), now.end(),
            [&offered](const OfferedPrice& price) { return price.quantity == offered.quantity; });
        changes.push_back({ offered.quantity, offered.targetPrice,
            found == now.end() ? std::nullopt : std::optional(found->targetPrice) });
    }
    return changes;
}

void QuoteDocument::takeTodaysPrices()
{
    keptPrices.reset();
    changed = true;
}

void QuoteDocument::setDataFiles(const QString& order, const QString& masterData)
{
    orderFile = order;
    masterFile = masterData;
}

std::optional<files::Offer> QuoteDocument::offer() const
{
    files::Offer offer;
    if (withoutOrder) {
        offer = *withoutOrder;
    } else {
        if (!isPriced())
            return std::nullopt;
        offer.scheme = today->scheme;
        offer.marketPrice = today->market ? std::optional(today->market->listPrice) : std::nullopt;
        for (const QuoteRow& row : today->rows)
            offer.quantities.push_back(row.quantity);
        offer.offered = offeredPrices();
        offer.orderFile = orderFile;
        offer.masterFile = masterFile;
    }
    offer.number = texts.number;
    offer.date = texts.date;
    offer.validUntil = texts.validUntil;
    offer.sender = texts.sender;
    offer.recipient = texts.recipient;
    offer.subject = texts.subject;
    offer.intro = texts.intro;
    offer.closing = texts.closing;
    offer.cashDiscountDays = texts.cashDiscountDays;
    offer.paymentDays = texts.paymentDays;
    offer.footer = texts.footer;
    offer.partName = partName;
    return offer;
}

} // namespace kalkora::documents
