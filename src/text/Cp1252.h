#pragma once

#include <string>
#include <string_view>

namespace kalkora::text {

// Windows-1252 <-> Unicode. Texts in the model are Windows-1252 bytes. The five bytes that
// Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the
// same value, so every byte string survives a round trip through Unicode.

// The character of one byte.
char16_t cp1252Char(unsigned char byte);
std::u16string cp1252ToUtf16(std::string_view bytes);
std::string cp1252ToUtf8(std::string_view bytes);

// A character that Windows-1252 cannot hold becomes '?'; `lossy`, when given, is set to
// whether that happened.
std::string utf16ToCp1252(std::u16string_view text, bool* lossy = nullptr);
std::string utf8ToCp1252(std::string_view text, bool* lossy = nullptr);

} // namespace kalkora::text
