#include "text/Cp1252.h"

#include "TextTestSupport.h"

#include <string>

namespace kalkora::text {
namespace {

std::string utf8Of(char32_t c)
{
    if (c < 0x80)
        return std::string(1, static_cast<char>(c));
    if (c < 0x800)
        return { static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F)) };
    return { static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
        static_cast<char>(0x80 | (c & 0x3F)) };
}

// Every BMP character maps to exactly its own byte or to '?', in UTF-16 and in UTF-8; exactly 256
// of them map, so every byte reads back as a character of its own (the unassigned ones as C1
// controls).
TEST_F(TextTest, Cp1252EncodesTheWholeBmpConsistently)
{
    int mapped = 0;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        std::u16string text(1, static_cast<char16_t>(c));
        bool lossy = false;
        std::string bytes = utf16ToCp1252(text, &lossy);
        ASSERT_EQ(bytes.size(), 1u);
        if (lossy) {
            ASSERT_EQ(bytes, "?") << std::hex << static_cast<unsigned>(c);
        } else {
            ++mapped;
            ASSERT_EQ(cp1252ToUtf16(bytes), text) << std::hex << static_cast<unsigned>(c);
            ASSERT_EQ(cp1252ToUtf8(bytes), utf8Of(c)) << std::hex << static_cast<unsigned>(c);
        }
        bool lossyUtf8 = !lossy;
        ASSERT_EQ(utf8ToCp1252(utf8Of(c), &lossyUtf8), bytes) << std::hex << static_cast<unsigned>(c);
        ASSERT_EQ(lossyUtf8, lossy) << std::hex << static_cast<unsigned>(c);
    }
    EXPECT_EQ(mapped, 256);

    const std::pair<std::string, std::u16string> highBytes[] = { { "\x80", u"\u20AC" },
        { "\x8A\x9A\x9F", u"\u0160\u0161\u0178" }, { "\x93\x94\x96\x97", u"\u201C\u201D\u2013\u2014" },
        { "\x81\x8D\x8F\x90\x9D", u"\u0081\u008D\u008F\u0090\u009D" }, { "\xA0\xE4\xFF", u"\u00A0\u00E4\u00FF" } };
    for (const auto& [bytes, utf16] : highBytes)
        EXPECT_EQ(cp1252ToUtf16(bytes), utf16) << bytes;
    EXPECT_EQ(cp1252ToUtf8("Losgr\xF6\xDF"
                           "e \x80\x81"),
        "Losgröße €\u0081");
}

// Ill-formed UTF-8: each maximal ill-formed subpart is one '?' (truncated sequences, overlong
// forms, surrogates, above U+10FFFF, stray continuation bytes); beyond the BMP is one '?'. In
// UTF-16 a surrogate pair is one '?', also the last one and the highest, a lone surrogate too.
TEST_F(TextTest, Cp1252ReplacesWhatItCannotHold)
{
    const struct {
        std::string utf8, cp1252;
        bool lossy;
    } cases[] = { { "plain ASCII", "plain ASCII", false }, { "Kosten ✓", "Kosten ?", true }, { "😀!", "?!", true },
        { "Ωmega", "?mega", true }, { "a\xC3", "a?", true }, { "\xC3x", "?x", true }, { "\xE2\x82x", "?x", true },
        { "\xE2\x82\xAC", "\x80", false }, { "\xC0\xAF", "??", true }, { "\xE0\x80\xAF", "???", true },
        { "\xED\xA0\x80", "???", true }, { "\xF4\x90\x80\x80", "????", true }, { "\xF0\x9F\x98", "?", true },
        { "\x80\xBF", "??", true }, { "\xFE\xFF", "??", true } };
    for (const auto& c : cases) {
        bool lossy = !c.lossy;
        EXPECT_EQ(utf8ToCp1252(c.utf8, &lossy), c.cp1252) << c.utf8;
        EXPECT_EQ(lossy, c.lossy) << c.utf8;
        EXPECT_EQ(utf8ToCp1252(c.utf8), c.cp1252) << c.utf8; // lossy may be left out
    }
    const struct {
        std::u16string utf16;
        std::string cp1252;
        bool lossy;
    } utf16Cases[] = { { u"x\U0001F600y", "x?y", true }, { { u'a', 0xD83D, u'b' }, "a?b", true },
        { { 0xDE00, 0xD83D }, "??", true }, { u"\U00010000\U0001F600\uE000", "???", true },
        { u"\U0010FFFF", "?", true }, { u"fine", "fine", false } };
    for (const auto& c : utf16Cases) {
        bool lossy = !c.lossy;
        EXPECT_EQ(utf16ToCp1252(c.utf16, &lossy), c.cp1252) << c.cp1252;
        EXPECT_EQ(lossy, c.lossy) << c.cp1252;
    }
}

} // namespace
} // namespace kalkora::text
