#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace kalkora::ui {

// The model keeps texts as Windows-1252 bytes; Qt wants Unicode. These two are the only
// conversions at that boundary. A character Windows-1252 cannot hold becomes '?'.
QString fromCp1252(std::string_view bytes);
std::string toCp1252(const QString& text);

} // namespace kalkora::ui
