#include "documents/QuoteDefaults.h"

#include "documents/SchemeValues.h"
#include "documents/UserSettings.h"

#include <limits>
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
    return wholeNumber(typed, 0, 3650);
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
    defaults.nextNumber = quoteNumberOf(settings.value(QStringLiteral("nextNumber")).toString()).value_or(1);
    return defaults;
}

void fillLetterFrom(const QuoteDefaults& defaults, files::Offer& offer)
{
    for (const auto& [text, fallback] : { std::pair(&offer.sender, &defaults.sender),
             std::pair(&offer.intro, &defaults.intro), std::pair(&offer.closing, &defaults.closing) }) {
        if (text->isEmpty())
            *text = *fallback;
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
    settings.setValue(QStringLiteral("nextNumber"), QString::number(defaults.nextNumber));
}

} // namespace kalkora::documents
