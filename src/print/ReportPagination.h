#pragma once

#include <string_view>
#include <vector>

namespace kalkora::report {

// The arithmetic of printing the costing report, free of any device: which text lines are
// printed, and on which page and at which height each one lands. One text line is one printed
// line; there are no headers, footers or page numbers.

// The printed lines of a report text (Windows-1252, CR LF line breaks): one line per CR, made of
// the characters since the previous line break. The character after each CR (the LF) is skipped,
// and whatever follows the last CR (the indentation of a line that never comes) is not printed.
// The views point into `reportText`.
std::vector<std::string_view> splitPrintLines(std::string_view reportText);

// Lines per page: the printable height divided by the line height, remainder dropped. A page
// lower than one line still takes one line, so that every line gets printed.
int linesPerPage(int printableHeight, int lineHeight);

// Pages needed for `lineCount` lines; a report without lines still prints one empty page.
int pageCount(int lineCount, int linesPerPage);

struct LinePlacement {
    int page = 0; // counted from 0
    int y = 0; // top of the line, in device units from the top of the printable area
};

LinePlacement placeLine(int lineIndex, int linesPerPage, int lineHeight);

} // namespace kalkora::report
