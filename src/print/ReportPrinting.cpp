#include "print/ReportPrinting.h"

#include "print/ReportPagination.h"
#include "text/Cp1252.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace kalkora::report {

namespace {

QString toQString(std::string_view cp1252)
{
    return QString::fromStdU16String(text::cp1252ToUtf16(cp1252));
}

} // namespace

QFont reportPrinterFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(12);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

PrintMetrics measureReport(QPaintDevice& device)
{
    const QFontMetrics metrics(reportPrinterFont(), &device);
    const int lineHeight = metrics.height() + std::max(metrics.leading(), 0);
    return { lineHeight, linesPerPage(device.height(), lineHeight) };
}

int printReport(const std::string& reportText, QPrinter& printer)
{
    printer.setDocName(QStringLiteral("Kalkora"));
    const std::vector<std::string_view> lines = splitPrintLines(reportText);
    const PrintMetrics page = measureReport(printer);

    QPainter painter;
    if (!painter.begin(&printer)) {
        return 0;
    }
    painter.setFont(reportPrinterFont());
    // Text is drawn at its baseline; a printed line starts at the top of its cell.
    const int ascent = QFontMetrics(painter.font(), &printer).ascent();
    int currentPage = 0;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const LinePlacement place = placeLine(static_cast<int>(k), page.linesPerPage, page.lineHeight);
        if (place.page != currentPage) {
            printer.newPage();
            painter.setFont(reportPrinterFont());
            currentPage = place.page;
        }
        painter.drawText(0, place.y + ascent, toQString(lines[k]));
    }
    painter.end();
    return pageCount(static_cast<int>(lines.size()), page.linesPerPage);
}

void setUpPdfPrinter(QPrinter& printer, const QString& path)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setOutputFileName(path);
}

bool writeReportPdf(const std::string& reportText, const QString& path)
{
    QPrinter printer(QPrinter::HighResolution);
    setUpPdfPrinter(printer, path);
    return printReport(reportText, printer) > 0;
}

} // namespace kalkora::report
