#include "text/Cp1252.h"

#include <array>
#include <cstdint>
#include <utility>

namespace kalkora::text {

namespace {

// Unicode of the bytes 0x80..0x9F. The five bytes Windows-1252 leaves undefined keep their
// C1 control (0x81, 0x8D, 0x8F, 0x90, 0x9D); every other byte is its own code point.
constexpr std::array<char16_t, 32> highControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

char32_t decodeByte(unsigned char byte)
{
    return byte >= 0x80 && byte <= 0x9F ? highControls[byte - 0x80] : char32_t(byte);
}

// The Windows-1252 byte of a code point, or -1 when it has none.
int encodeCodePoint(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    for (std::size_t i = 0; i < highControls.size(); ++i) {
        if (highControls[i] == c)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else { // every Windows-1252 character lies in the BMP
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

class Encoder {
public:
    explicit Encoder(std::size_t reserve) { out.reserve(reserve); }

    void put(char32_t c)
    {
        int byte = encodeCodePoint(c);
        if (byte < 0)
            unmappable();
        else
            out += static_cast<char>(byte);
    }
    void unmappable()
    {
        out += '?';
        lossy = true;
    }
    std::string finish(bool* lossyOut)
    {
        if (lossyOut)
            *lossyOut = lossy;
        return std::move(out);
    }

private:
    std::string out;
    bool lossy = false;
};

// What a UTF-8 lead byte announces: the length of the sequence, the bits it carries and the
// allowed range of the second byte. Length 0 for a byte that cannot start a sequence.
struct Utf8Lead {
    int length = 0;
    char32_t bits = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
};

Utf8Lead utf8Lead(unsigned char lead)
{
    Utf8Lead result;
    if (lead < 0x80) {
        result.length = 1;
        result.bits = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        result.length = 2;
        result.bits = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        result.length = 3;
        result.bits = lead & 0x0F;
        if (lead == 0xE0)
            result.low = 0xA0; // no overlong forms
        else if (lead == 0xED)
            result.high = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        result.length = 4;
        result.bits = lead & 0x07;
        if (lead == 0xF0)
            result.low = 0x90;
        else if (lead == 0xF4)
            result.high = 0x8F; // nothing above U+10FFFF
    } // else a stray continuation byte, C0, C1 or F5..FF
    return result;
}

// Encodes the character whose UTF-8 sequence starts at text[i] and returns the index after
// it. An ill-formed sequence ends before the first byte that does not fit and becomes one '?'.
std::size_t putUtf8Character(std::string_view text, std::size_t i, Encoder& encoder)
{
    const Utf8Lead lead = utf8Lead(static_cast<unsigned char>(text[i]));
    if (lead.length == 0) {
        encoder.unmappable();
        return i + 1;
    }
    char32_t c = lead.bits;
    std::size_t j = i + 1;
    for (int k = 1; k < lead.length; ++k, ++j) {
        const auto next = j < text.size() ? static_cast<unsigned char>(text[j]) : 0;
        const unsigned char min = k == 1 ? lead.low : 0x80;
        const unsigned char max = k == 1 ? lead.high : 0xBF;
        if (j >= text.size() || next < min || next > max) {
            encoder.unmappable();
            return j;
        }
        c = (c << 6) | (next & 0x3F);
    }
    encoder.put(c);
    return j;
}

} // namespace

std::u16string cp1252ToUtf16(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    for (char byte : bytes)
        out += static_cast<char16_t>(decodeByte(static_cast<unsigned char>(byte)));
    return out;
}

std::string cp1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char byte : bytes)
        appendUtf8(out, decodeByte(static_cast<unsigned char>(byte)));
    return out;
}

std::string utf16ToCp1252(std::u16string_view text, bool* lossy)
{
    Encoder encoder(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            // A surrogate pair is one character beyond the BMP; a lone surrogate is no
            // character. Either way one '?'.
            if (unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
                ++i;
            encoder.unmappable();
        } else {
            encoder.put(unit);
        }
    }
    return encoder.finish(lossy);
}

std::string utf8ToCp1252(std::string_view text, bool* lossy)
{
    // Ill-formed input: every maximal subpart of an ill-formed sequence (Unicode 3.9, the
    // "substitution of maximal subparts" practice) becomes one '?'.
    Encoder encoder(text.size());
    for (std::size_t i = 0; i < text.size();)
        i = putUtf8Character(text, i, encoder);
    return encoder.finish(lossy);
}

} // namespace kalkora::text
