#pragma once

// print: pagination and printing of texts and documents, and PDF output, on Qt Gui and
// PrintSupport and the core library; shared by the windows and kalkora-cli, no widgets.

#include <QFont>
#include <QString>

#include <string>

class QPaintDevice;
class QPrinter;

namespace kalkora::report {

// Printing the costing report: every text line on one printed line, in a 12-point fixed-pitch
// font, from the top-left corner of the printable area, page after page. The report window
// prints through the print dialog; kalkora-cli writes the same pages to a PDF.

// The printer font: 12 points, normal weight, fixed pitch, the system's fixed-pitch family.
QFont reportPrinterFont();

struct PrintMetrics {
    int lineHeight = 0; // font height plus external leading, in device units
    int linesPerPage = 0; // at least 1
};

// Line height and lines per page of the report font on `device` (a printer or a PDF).
PrintMetrics measureReport(QPaintDevice& device);

// Prints `reportText` (Windows-1252, CR LF) as the document "Kalkora" on `printer`, which must
// be set up already, and returns the number of pages.
int printReport(const std::string& reportText, QPrinter& printer);

// Sets `printer` up to print into an A4 PDF at `path`, as writeReportPdf does.
void setUpPdfPrinter(QPrinter& printer, const QString& path);

// Writes `reportText` to an A4 PDF at `path`, with the pages the print command gives when it
// prints to a file. Needs a QGuiApplication. False when the file cannot be written.
bool writeReportPdf(const std::string& reportText, const QString& path);

} // namespace kalkora::report
