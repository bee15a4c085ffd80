#include "print/ReportPrinting.h"

#include <QFile>
#include <QGuiApplication>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <string>

namespace kalkora::report {
namespace {

std::string reportOfLines(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i) {
        text += "     Zeile " + std::to_string(i) + "\r\n";
    }
    return text + "     "; // the indentation that follows the last line break
}

int pagesIn(const QString& pdfPath)
{
    QFile file(pdfPath);
    if (!file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QString content = QString::fromLatin1(file.readAll());
    return static_cast<int>(content.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
}

// The text of a PDF page by page, through poppler's pdftotext when it is installed.
QStringList pageTexts(const QString& pdfPath)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty()) {
        return {};
    }
    QProcess process;
    process.start(tool,
        { QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdfPath, QStringLiteral("-") });
    process.waitForFinished();
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.constLast().trimmed().isEmpty()) {
        pages.removeLast();
    }
    return pages;
}

class ReportPdf : public ::testing::Test {
protected:
    QString pdfPath() const { return dir.filePath(QStringLiteral("bericht.pdf")); }

    int linesPerPdfPage() const
    {
        QPrinter printer(QPrinter::HighResolution);
        setUpPdfPrinter(printer, pdfPath());
        return measureReport(printer).linesPerPage;
    }

    QTemporaryDir dir;
};

TEST_F(ReportPdf, ExactlyOnePageOfLinesFillsOnePage)
{
    const int perPage = linesPerPdfPage();
    ASSERT_GT(perPage, 40); // an A4 page holds far more than 40 lines of 12 points
    ASSERT_TRUE(writeReportPdf(reportOfLines(perPage), pdfPath()));
    EXPECT_EQ(pagesIn(pdfPath()), 1);
}

TEST_F(ReportPdf, OneLineMoreStartsASecondPageWithThatLineAtTheTop)
{
    const int perPage = linesPerPdfPage();
    ASSERT_TRUE(writeReportPdf(reportOfLines(perPage + 1), pdfPath()));
    EXPECT_EQ(pagesIn(pdfPath()), 2);
    const QStringList pages = pageTexts(pdfPath());
    if (pages.isEmpty()) {
        GTEST_SKIP() << "pdftotext is not installed";
    }
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(pages[1].trimmed(), QStringLiteral("Zeile %1").arg(perPage + 1));
    EXPECT_TRUE(pages[0].trimmed().endsWith(QStringLiteral("Zeile %1").arg(perPage)));
}

TEST_F(ReportPdf, TextWithoutLineBreakGivesOneEmptyPage)
{
    ASSERT_TRUE(writeReportPdf("kein Zeilenende", pdfPath()));
    EXPECT_EQ(pagesIn(pdfPath()), 1);
    const QStringList pages = pageTexts(pdfPath());
    if (!pages.isEmpty()) {
        EXPECT_TRUE(pages.join(QString()).trimmed().isEmpty());
    }
}

TEST_F(ReportPdf, UmlautsArePrintedAsTheirWindows1252Characters)
{
    ASSERT_TRUE(writeReportPdf("     Maschine: Dreh-Fr\xe4se Gro\xdf\r\n     ", pdfPath()));
    const QStringList pages = pageTexts(pdfPath());
    if (pages.isEmpty()) {
        GTEST_SKIP() << "pdftotext is not installed";
    }
    EXPECT_EQ(pages[0].trimmed(), QStringLiteral("Maschine: Dreh-Fräse Groß"));
}

TEST_F(ReportPdf, UnwritablePathIsReported)
{
    EXPECT_FALSE(writeReportPdf(reportOfLines(3), dir.filePath(QStringLiteral("fehlt/bericht.pdf"))));
}

} // namespace
} // namespace kalkora::report

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
