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

std::string prefixOf(std::size_t length)
{
    const std::string bytes = encoded(std::string(length, 'x'));
    return bytes.substr(0, bytes.size() - length);
}

struct Decoded {
    std::optional<DecodeProblem> problem;
    std::string text;
    std::size_t consumed = 0;
};

Decoded decoded(std::string_view bytes)
{
    Decoded result;
    ByteReader reader(bytes);
    result.problem = readCountedText(reader, result.text);
    result.consumed = reader.offset();
    return result;
}

} // namespace

TEST(CountedText, WritesTheShortestPrefix)
{
    EXPECT_EQ(prefixOf(0), std::string("\x00", 1));
    EXPECT_EQ(prefixOf(254), "\xFE");
    EXPECT_EQ(prefixOf(255), std::string("\xFF\xFF\x00", 3));
    EXPECT_EQ(prefixOf(300), "\xFF\x2C\x01");
    EXPECT_EQ(prefixOf(65533), "\xFF\xFD\xFF");
    EXPECT_EQ(prefixOf(65534), std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7));
    EXPECT_EQ(prefixOf(70000), std::string("\xFF\xFF\xFF\x70\x11\x01\x00", 7));
}

TEST(CountedText, ReadsBackEveryWrittenForm)
{
    for (std::size_t length : { 0, 1, 254, 255, 300, 65533, 65534, 70000 }) {
        std::string text(length, 'a');
        if (length > 0)
            text.back() = '\xE4'; // a Windows-1252 byte that is not ASCII
        const Decoded result = decoded(encoded(text) + "trailing");
        ASSERT_FALSE(result.problem) << length;
        EXPECT_EQ(result.text, text);
        EXPECT_EQ(result.consumed, encoded(text).size());
    }
}

TEST(CountedText, AcceptsLongerPrefixesAndTheSixtyFourBitForm)
{
    EXPECT_EQ(decoded(std::string("\xFF\x03\x00"
                                  "abc",
                          6))
                  .text,
        "abc");
    EXPECT_EQ(decoded(std::string("\xFF\xFF\xFF\x03\x00\x00\x00"
                                  "abc",
                          10))
                  .text,
        "abc");
    const std::string sixtyFour("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x03\x00\x00\x00\x00\x00\x00\x00"
                                "abc",
        18);
    EXPECT_EQ(decoded(sixtyFour).text, "abc");
    const std::string tooLong("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x00\x00\x00\x80\x00\x00\x00\x00", 15);
    EXPECT_EQ(decoded(tooLong).problem, DecodeProblem::TextTooLong);
}

TEST(CountedText, ConvertsWideTextToWindows1252)
{
    // Marker FF FEFF, then the prefix 03 and three UTF-16LE units: 'A', U+00E4, U+20AC (Euro sign).
    const std::string wide("\xFF\xFE\xFF\x03"
                           "A\x00\xE4\x00\xAC\x20",
        10);
    const Decoded result = decoded(wide);
    ASSERT_FALSE(result.problem);
    EXPECT_EQ(result.text, "A\xE4\x80");
    EXPECT_EQ(result.consumed, wide.size());

    const std::string notInCp1252("\xFF\xFE\xFF\x01\x3A\x04", 6); // Cyrillic
    EXPECT_EQ(decoded(notInCp1252).text, "?");
    const std::string longPrefix("\xFF\xFE\xFF\xFF\x01\x00"
                                 "B\x00",
        8);
    EXPECT_EQ(decoded(longPrefix).text, "B");
}

TEST(CountedText, RefusesDamagedLengths)
{
    EXPECT_EQ(decoded("").problem, DecodeProblem::Truncated);
    EXPECT_EQ(decoded("\xFF").problem, DecodeProblem::Truncated);
    EXPECT_EQ(decoded("\xFF\xFF").problem, DecodeProblem::Truncated);
    EXPECT_EQ(decoded("\xFF\xFF\xFF\x01\x02").problem, DecodeProblem::Truncated);
    EXPECT_EQ(decoded("\xFF\xFE\xFF").problem, DecodeProblem::Truncated);
    EXPECT_EQ(decoded("\x05"
                      "abcd")
                  .problem,
        DecodeProblem::TextTooLong);
    EXPECT_EQ(decoded("\xFF\xFF\xFF\xFF\xFF\xFF\x7F").problem, DecodeProblem::TextTooLong);
    // Two wide markers in a row are no prefix form.
    EXPECT_EQ(decoded("\xFF\xFE\xFF\xFF\xFE\xFF\x01"
                      "A\x00")
                  .problem,
        DecodeProblem::BadTextPrefix);
    // A wide text of 3 units needs 6 bytes.
    EXPECT_EQ(decoded(std::string("\xFF\xFE\xFF\x03"
                                  "A\x00"
                                  "B\x00"
                                  "C",
                          9))
                  .problem,
        DecodeProblem::TextTooLong);
}
