#include "print/ReportPagination.h"

#include <gtest/gtest.h>
#include <string>

namespace kalkora::report {
namespace {

using Lines = std::vector<std::string_view>;

TEST(SplitPrintLines, OneLinePerCrWithoutTheTrailingIndentation)
{
    EXPECT_EQ(splitPrintLines("Auftrag\r\n     Datei\r\n     "), (Lines { "Auftrag", "     Datei" }));
}

TEST(SplitPrintLines, EmptyLinesKeepTheirPlace)
{
    EXPECT_EQ(splitPrintLines("a\r\n\r\n\r\nb\r\n"), (Lines { "a", "", "", "b" }));
    EXPECT_EQ(splitPrintLines("\r\nx\r\n"), (Lines { "", "x" }));
}

TEST(SplitPrintLines, TextWithoutCrHasNoLines)
{
    EXPECT_TRUE(splitPrintLines("").empty());
    EXPECT_TRUE(splitPrintLines("nur eine Zeile ohne Umbruch").empty());
}

TEST(SplitPrintLines, TheCharacterAfterEveryCrIsSkipped)
{
    // A lone CR swallows the next character, as the LF of a pair would be; a CR at the very end
    // still ends its line.
    EXPECT_EQ(splitPrintLines("ab\rcd\r"), (Lines { "ab", "d" }));
    EXPECT_EQ(splitPrintLines("ab\r\r\rx\r\n"), (Lines { "ab", "", "", "" }));
}

TEST(SplitPrintLines, BytesAbove127PassUnchanged)
{
    const std::string text = "Fr\xe4sen \xdf\r\n";
    ASSERT_EQ(splitPrintLines(text).size(), 1u);
    EXPECT_EQ(splitPrintLines(text)[0], "Fr\xe4sen \xdf");
}

TEST(LinesPerPage, RemainderIsDropped)
{
    EXPECT_EQ(linesPerPage(1000, 20), 50);
    EXPECT_EQ(linesPerPage(1019, 20), 50);
    EXPECT_EQ(linesPerPage(1020, 20), 51);
}

TEST(LinesPerPage, APageLowerThanOneLineStillTakesOneLine)
{
    EXPECT_EQ(linesPerPage(19, 20), 1);
    EXPECT_EQ(linesPerPage(0, 20), 1);
    EXPECT_EQ(linesPerPage(100, 0), 1);
}

TEST(PageCount, ExactlyFullPagesAndOneLineMore)
{
    EXPECT_EQ(pageCount(50, 50), 1);
    EXPECT_EQ(pageCount(51, 50), 2);
    EXPECT_EQ(pageCount(100, 50), 2);
    EXPECT_EQ(pageCount(0, 50), 1);
    EXPECT_EQ(pageCount(3, 0), 3);
}

TEST(PlaceLine, LinesRestartAtTheTopOfEveryPage)
{
    const int perPage = 50;
    const int height = 20;
    EXPECT_EQ(placeLine(0, perPage, height).page, 0);
    EXPECT_EQ(placeLine(0, perPage, height).y, 0);
    EXPECT_EQ(placeLine(49, perPage, height).page, 0);
    EXPECT_EQ(placeLine(49, perPage, height).y, 980);
    EXPECT_EQ(placeLine(50, perPage, height).page, 1);
    EXPECT_EQ(placeLine(50, perPage, height).y, 0);
    EXPECT_EQ(placeLine(101, perPage, height).page, 2);
    EXPECT_EQ(placeLine(101, perPage, height).y, 20);
}

TEST(PlaceLine, OneLinePerPageWhenThePageIsTooLow)
{
    const int perPage = linesPerPage(10, 20);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(placeLine(k, perPage, 20).page, k);
        EXPECT_EQ(placeLine(k, perPage, 20).y, 0);
    }
}

} // namespace
} // namespace kalkora::report
