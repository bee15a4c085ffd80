#include "model/CountedText.h"

#include <gtest/gtest.h>
#include <string>

using namespace kalkora;

namespace {

std::string encoded(std::string_view text)
{
    std::string bytes;
    ByteWriter writer(bytes);
    writeCountedText(writer, text);
    return bytes;
}

std::string bytes(std::initializer_list<unsigned char> list)
{
    return std::string(list.begin(), list.end());
}

} // namespace

TEST(CountedText, WritesTheShortestPrefixAndReadsItBack)
{
    const std::pair<std::size_t, std::string> rows[] = { { 0, bytes({ 0 }) }, { 1, bytes({ 1 }) },
        { 254, bytes({ 0xFE }) }, { 255, bytes({ 0xFF, 0xFF, 0 }) }, { 300, bytes({ 0xFF, 0x2C, 1 }) },
        { 65533, bytes({ 0xFF, 0xFD, 0xFF }) }, { 65534, bytes({ 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0, 0 }) },
        { 70000, bytes({ 0xFF, 0xFF, 0xFF, 0x70, 0x11, 1, 0 }) } };
    for (const auto& [length, prefix] : rows) {
        std::string text(length, 'a');
        if (length > 0)
            text.back() = '\xE4'; // a Windows-1252 byte that is not ASCII
        ASSERT_EQ(encoded(text), prefix + text) << length;
        const std::string file = encoded(text) + "trailing";
        ByteReader reader(file);
        std::string read;
        ASSERT_FALSE(readCountedText(reader, read)) << length;
        EXPECT_EQ(read, text);
        EXPECT_EQ(reader.offset(), prefix.size() + length);
    }
    // Lengths from 4 GiB on are written in the 64-bit form, low half first.
    std::string out;
    ByteWriter(out).writeUInt64(0x0123456789ABCDEFu);
    EXPECT_EQ(out, bytes({ 0xEF, 0xCD, 0xAB, 0x89, 0x67, 0x45, 0x23, 0x01 }));
}

// Longer prefixes than needed, the 64-bit form, wide text (marker FF FEFF, a prefix, UTF-16LE
// units) and damaged lengths.
TEST(CountedText, ReadsEveryPrefixFormAndRefusesDamagedLengths)
{
    const struct {
        std::string bytes;
        std::optional<DecodeProblem> problem;
        std::string text;
    } rows[] = {
        { bytes({ 0xFF, 3, 0 }) + "abc", {}, "abc" }, { bytes({ 0xFF, 0xFF, 0xFF, 3, 0, 0, 0 }) + "abc", {}, "abc" },
        { bytes({ 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0, 0, 0, 0, 0 }) + "abc", {}, "abc" },
        { bytes({ 0xFF, 0xFE, 0xFF, 3, 'A', 0, 0xE4, 0, 0xAC, 0x20 }), {}, "A\xE4\x80" }, // A, U+00E4, euro sign
        { bytes({ 0xFF, 0xFE, 0xFF, 1, 0x3A, 0x04 }), {}, "?" }, // Cyrillic
        { bytes({ 0xFF, 0xFE, 0xFF, 0xFF, 1, 0, 'B', 0 }), {}, "B" },
        { bytes({ 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0x80, 0, 0, 0, 0 }), DecodeProblem::TextTooLong,
            "" },
        { "", DecodeProblem::Truncated, "" }, { bytes({ 0xFF }), DecodeProblem::Truncated, "" },
        { bytes({ 0xFF, 0xFF }), DecodeProblem::Truncated, "" },
        { bytes({ 0xFF, 0xFF, 0xFF, 1, 2 }), DecodeProblem::Truncated, "" },
        { bytes({ 0xFF, 0xFE, 0xFF }), DecodeProblem::Truncated, "" },
        { bytes({ 5 }) + "abcd", DecodeProblem::TextTooLong, "" },
        { bytes({ 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F }), DecodeProblem::TextTooLong, "" },
        { bytes({ 0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 1, 'A', 0 }), DecodeProblem::BadTextPrefix, "" },
        { bytes({ 0xFF, 0xFE, 0xFF, 3, 'A', 0, 'B', 0, 'C' }), DecodeProblem::TextTooLong, "" }, // needs 6 bytes
    };
    for (const auto& row : rows) {
        ByteReader reader(row.bytes);
        std::string text;
        const auto problem = readCountedText(reader, text);
        EXPECT_EQ(problem, row.problem) << ::testing::PrintToString(row.bytes);
        if (!row.problem) {
            EXPECT_EQ(text, row.text);
            EXPECT_EQ(reader.offset(), row.bytes.size());
        }
    }
}
