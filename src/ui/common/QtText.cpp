#include "ui/common/QtText.h"

#include "text/Cp1252.h"

namespace kalkora::ui {

QString fromCp1252(std::string_view bytes)
{
    const std::u16string utf16 = text::cp1252ToUtf16(bytes);
    return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}

std::string toCp1252(const QString& text)
{
    return text::utf16ToCp1252(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
}

} // namespace kalkora::ui
