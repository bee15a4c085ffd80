#pragma once

#include "model/ByteStream.h"

#include <optional>
#include <string>
#include <string_view>

namespace kalkora {

// Counted text, the encoding of every text field of the .sta and .auf files: a length prefix,
// then the Windows-1252 bytes without terminator. The writer uses the shortest of the forms
//   n < 255: one byte n;  n < 65534: FF, uint16 n;  otherwise FF, FFFF, uint32 n.
// The reader also accepts a longer form than needed, the 64-bit form after FF FFFF FFFFFFFF
// (below 2^31 only), and the wide-text marker FF FEFF followed by a complete prefix and n
// UTF-16LE code units, which are converted to Windows-1252.

void writeCountedText(ByteWriter& writer, std::string_view text);

// On failure `text` is left unspecified and the problem is returned.
std::optional<DecodeProblem> readCountedText(ByteReader& reader, std::string& text);

} // namespace kalkora
