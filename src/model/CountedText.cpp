#include "model/CountedText.h"

#include "text/Cp1252.h"

#include <cstdint>

namespace kalkora {

namespace {

constexpr std::uint8_t byteEscape = 0xFF;
constexpr std::uint16_t wideMarker = 0xFFFE;
constexpr std::uint16_t wordEscape = 0xFFFF;
constexpr std::uint32_t dwordEscape = 0xFFFFFFFF;
constexpr std::uint64_t maxTextLength = std::uint64_t(1) << 31;

struct TextLength {
    std::uint64_t length = 0;
    bool wide = false;
};

std::optional<DecodeProblem> readLength(ByteReader& reader, TextLength& result, bool markerAllowed)
{
    std::uint8_t byteLength = 0;
    if (!reader.readUInt8(byteLength))
        return DecodeProblem::Truncated;
    if (byteLength != byteEscape) {
        result.length = byteLength;
        return std::nullopt;
    }
    std::uint16_t wordLength = 0;
    if (!reader.readUInt16(wordLength))
        return DecodeProblem::Truncated;
    if (wordLength == wideMarker) {
        if (!markerAllowed)
            return DecodeProblem::BadTextPrefix;
        result.wide = true;
        return readLength(reader, result, false);
    }
    if (wordLength != wordEscape) {
        result.length = wordLength;
        return std::nullopt;
    }
    std::uint32_t dwordLength = 0;
    if (!reader.readUInt32(dwordLength))
        return DecodeProblem::Truncated;
    if (dwordLength != dwordEscape) {
        result.length = dwordLength;
        return std::nullopt;
    }
    if (!reader.readUInt64(result.length))
        return DecodeProblem::Truncated;
    if (result.length >= maxTextLength)
        return DecodeProblem::TextTooLong;
    return std::nullopt;
}

std::string wideToCp1252(std::string_view utf16le)
{
    std::u16string units(utf16le.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto low = static_cast<unsigned char>(utf16le[2 * i]);
        const auto high = static_cast<unsigned char>(utf16le[2 * i + 1]);
        units[i] = static_cast<char16_t>(low | (high << 8));
    }
    return text::utf16ToCp1252(units);
}

} // namespace

void writeCountedText(ByteWriter& writer, std::string_view text)
{
    const std::uint64_t n = text.size();
    if (n < byteEscape) {
        writer.writeUInt8(static_cast<std::uint8_t>(n));
    } else if (n < wideMarker) {
        writer.writeUInt8(byteEscape);
        writer.writeUInt16(static_cast<std::uint16_t>(n));
    } else if (n < dwordEscape) {
        writer.writeUInt8(byteEscape);
        writer.writeUInt16(wordEscape);
        writer.writeUInt32(static_cast<std::uint32_t>(n));
    } else {
        writer.writeUInt8(byteEscape);
        writer.writeUInt16(wordEscape);
        writer.writeUInt32(dwordEscape);
        writer.writeUInt64(n);
    }
    writer.writeBytes(text);
}

std::optional<DecodeProblem> readCountedText(ByteReader& reader, std::string& text)
{
    TextLength prefix;
    if (auto problem = readLength(reader, prefix, true))
        return problem;
    const std::uint64_t byteCount = prefix.wide ? 2 * prefix.length : prefix.length;
    // Checked before anything is allocated, so a damaged length cannot exhaust memory.
    std::string_view bytes;
    if (byteCount > reader.remaining() || !reader.readBytes(static_cast<std::size_t>(byteCount), bytes))
        return DecodeProblem::TextTooLong;
    // Built apart and moved in: assigning would round the capacity up (and the memory with it).
    text = prefix.wide ? wideToCp1252(bytes) : std::string(bytes);
    return std::nullopt;
}

} // namespace kalkora
