#include "ui/common/QtText.h"

#include "text/Cp1252.h"

namespace kalkora::ui {

QString fromCp1252(std::string_view bytes)
{
    // Straight into the result: a report of many megabytes is not held twice.
    QString result(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = result.data();
    for (const char byte : bytes) {
        *out++ = QChar(text::cp1252Char(static_cast<unsigned char>(byte)));
    }
    return result;
}

std::string toCp1252(const QString& text)
{
    return text::utf16ToCp1252(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
}

} // namespace kalkora::ui
