#include "documents/SchemeValues.h"

namespace kalkora::documents {

QString typedValue(std::int64_t hundredths)
{
    const QString text = QString::fromStdString(formatHundredths(hundredths, ','));
    return hundredths % 100 == 0 ? text.chopped(3) : text;
}

std::optional<std::int64_t> schemeValueOf(const SchemeField& field, const QString& typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return 0;
    return readSchemeValue(field, text.toStdString());
}

QString schemeRangeMessage(const SchemeField& field)
{
    return QStringLiteral("„%1“ kann nicht gelesen werden: bitte eine Zahl von %2 bis %3 %4 mit höchstens zwei "
                          "Nachkommastellen eingeben, ohne Tausenderpunkte.")
        .arg(QString::fromUtf8(field.germanName), typedValue(field.min), typedValue(field.max),
            field.percent() ? QStringLiteral("%") : QStringLiteral("€"));
}

} // namespace kalkora::documents
