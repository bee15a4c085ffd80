#include "print/ReportPagination.h"

#include <algorithm>

namespace kalkora::report {

std::vector<std::string_view> splitPrintLines(std::string_view reportText)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < reportText.size(); ++i) {
        if (reportText[i] != '\r') {
            continue;
        }
        // A CR right after a skipped character pair (CR CR, or CR at the very start) gives an
        // empty line; the character following every CR is taken to be its LF.
        lines.push_back(i > start ? reportText.substr(start, i - start) : std::string_view {});
        start = i + 2;
    }
    return lines;
}

int linesPerPage(int printableHeight, int lineHeight)
{
    if (lineHeight <= 0) {
        return 1;
    }
    return std::max(printableHeight / lineHeight, 1);
}

int pageCount(int lineCount, int linesPerPage)
{
    if (lineCount <= 0) {
        return 1;
    }
    const int perPage = std::max(linesPerPage, 1);
    return (lineCount + perPage - 1) / perPage;
}

LinePlacement placeLine(int lineIndex, int linesPerPage, int lineHeight)
{
    const int perPage = std::max(linesPerPage, 1);
    return { lineIndex / perPage, (lineIndex % perPage) * lineHeight };
}

} // namespace kalkora::report
