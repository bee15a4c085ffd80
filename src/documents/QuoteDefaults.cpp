#include "documents/QuoteDefaults.h"

#include "documents/SchemeValues.h"
#include "documents/UserSettings.h"

#include <limits>
#include <tuple>
#include <utility>

namespace kalkora::documents {

namespace {

std::unique_ptr<QSettings> quoteSettings()
{
    return userSettings(QStringLiteral("quoteDefaults"));
}

std::optional<int> wholeNumber(const QString& text, int min, int max)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= min && value <= max ? std::optional(value) : std::nullopt;
}

} // namespace

std::optional<int> validityDaysOf(const QString& typed)
{
    return wholeNumber(typed, 0, files::kMaxPaymentDays);
}

QString nextQuoteNumber(const QuoteDefaults& defaults)
{
    return defaults.numberPrefix + QString::number(defaults.nextNumber);
}

std::optional<int> quoteNumberOf(const QString& typed)
{
    return wholeNumber(typed, 1, std::numeric_limits<int>::max());
}

QuoteDefaults loadQuoteDefaults()
{
    const std::unique_ptr<QSettings> stored = quoteSettings();
    const QSettings& settings = *stored;
    QuoteDefaults defaults;
    defaults.sender = settings.value(QStringLiteral("sender")).toString();
    for (const SchemeField& field : kSchemeFields) {
        const std::optional<std::int64_t> value
            = schemeValueOf(field, settings.value(QLatin1String(field.key)).toString());
        field.setIn(defaults.scheme, value.value_or(0));
    }
    if (!discountsLeaveAPrice(defaults.scheme))
        defaults.scheme.commissionPct = Percent();
    defaults.validityDays = validityDaysOf(settings.value(QStringLiteral("validityDays")).toString()).value_or(30);
    defaults.intro = settings.value(QStringLiteral("intro")).toString();
    defaults.closing = settings.value(QStringLiteral("closing")).toString();
    defaults.footer = settings.value(QStringLiteral("footer")).toString();
    for (const auto& [days, key, fallback] : { std::tuple(&defaults.cashDiscountDays, "cashDiscountDays", 10),
             std::tuple(&defaults.paymentDays, "paymentDays", 30) })
        *days = validityDaysOf(settings.value(QLatin1String(key)).toString()).value_or(fallback);
    defaults.numberPrefix = settings.value(QStringLiteral("numberPrefix")).toString();
    defaults.nextNumber = quoteNumberOf(settings.value(QStringLiteral("nextNumber")).toString()).value_or(1);
    return defaults;
}

void fillLetterFrom(const QuoteDefaults& defaults, files::Offer& offer)
{
    for (const auto& [text, fallback] :
        { std::pair(&offer.sender, &defaults.sender), std::pair(&offer.intro, &defaults.intro),
            std::pair(&offer.closing, &defaults.closing), std::pair(&offer.footer, &defaults.footer) }) {
        if (text->isEmpty())
            *text = *fallback;
    }
    for (const auto& [days, fallback] : { std::pair(&offer.cashDiscountDays, defaults.cashDiscountDays),
             std::pair(&offer.paymentDays, defaults.paymentDays) }) {
        if (*days == 0)
            *days = fallback;
    }
}

void saveQuoteDefaults(const QuoteDefaults& defaults)
{
    const std::unique_ptr<QSettings> stored = quoteSettings();
    QSettings& settings = *stored;
    settings.setValue(QStringLiteral("sender"), defaults.sender);
    for (const SchemeField& field : kSchemeFields)
        settings.setValue(QLatin1String(field.key), typedValue(field.countIn(defaults.scheme)));
    settings.setValue(QStringLiteral("validityDays"), QString::number(defaults.validityDays));
    settings.setValue(QStringLiteral("intro"), defaults.intro);
    settings.setValue(QStringLiteral("closing"), defaults.closing);
    settings.setValue(QStringLiteral("footer"), defaults.footer);
    settings.setValue(QStringLiteral("cashDiscountDays"), QString::number(defaults.cashDiscountDays));
    settings.setValue(QStringLiteral("paymentDays"), QString::number(defaults.paymentDays));
    settings.setValue(QStringLiteral("numberPrefix"), defaults.numberPrefix);
    settings.setValue(QStringLiteral("nextNumber"), QString::number(defaults.nextNumber));
}

} // namespace kalkora::documents
