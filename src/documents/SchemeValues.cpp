#include "documents/SchemeValues.h"

#include "text/NumberFormat.h"

#include <algorithm>

namespace kalkora::documents {

namespace {

// The text of a window's field without its German points between thousands: "1.000,50" reads as
// "1000,50". Points that group nothing stay, so that "8.5" is still 8,50 and "1.00,0" no number.
// A percentage's points group only before a decimal comma: "8.555" is more likely a decimal too
// many than 8555 %.
std::string ungrouped(const SchemeField& field, const QString& typed)
{
    std::string text = typed.trimmed().toStdString();
    const std::size_t sign = text.starts_with('-') ? 1 : 0;
    const std::size_t comma = text.find(',');
    const auto integerEnd = std::ptrdiff_t(std::min(comma, text.size()));
    const bool grouping = !field.percent() || comma != std::string::npos;
    if (grouping && text::isGermanGrouped(std::string_view(text).substr(sign, std::size_t(integerEnd) - sign)))
        text.erase(std::remove(text.begin(), text.begin() + integerEnd, '.'), text.begin() + integerEnd);
    return text;
}

QString grouped(std::int64_t hundredths)
{
    return QString::fromStdString(formatHundredths(hundredths, ',', '.'));
}

} // namespace

QString typedValue(std::int64_t hundredths)
{
    const QString text = QString::fromStdString(formatHundredths(hundredths, ','));
    return hundredths % 100 == 0 ? text.chopped(3) : text;
}

std::optional<std::int64_t> schemeValueOf(const SchemeField& field, const QString& typed)
{
    if (typed.trimmed().isEmpty())
        return 0;
    return readSchemeValue(field, ungrouped(field, typed)).value;
}

QString schemeRange(const SchemeField& field)
{
    return QStringLiteral("%1 bis %2 %3")
        .arg(grouped(field.min), grouped(field.max), field.percent() ? QStringLiteral("%") : QStringLiteral("€"));
}

QString schemeRefusal(const SchemeField& field, const QString& typed)
{
    const QString name = QString::fromUtf8(field.germanName);
    const std::string text = ungrouped(field, typed);
    if (!readSchemeValue(field, text).outOfRange)
        return QStringLiteral("„%1“ kann nicht gelesen werden: bitte eine Zahl von %2 mit höchstens zwei "
                              "Nachkommastellen eingeben.")
            .arg(name, schemeRange(field));
    // Too long for a count, the number is shown as typed.
    const std::optional<std::int64_t> count = parseHundredths(text);
    return QStringLiteral("„%1“ %2 liegt außerhalb von %3.")
        .arg(name, count ? grouped(*count) : QString::fromStdString(text), schemeRange(field));
}

} // namespace kalkora::documents
