#include "WindowTest.h"
#include "core/Golden.h"
#include "print/QuoteLetter.h"
#include "print/ReportPagination.h"
#include "print/ReportPrinting.h"
#include "ui/report/PrintCommand.h"
#include "ui/report/ReportDlg.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace kalkora::ui::test {
namespace {

using namespace kalkora::report;

std::string reportOfLines(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "     Zeile " + std::to_string(i) + "\r\n";
    return text + "     "; // the indentation that follows the last line break
}

int pdfPages(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return static_cast<int>(
        QString::fromLatin1(file.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
}

// The text of a PDF page by page, through poppler's pdftotext when it is installed.
QStringList pageTexts(const QString& pdfPath)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return {};
    QProcess process;
    process.start(tool,
        { QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdfPath, QStringLiteral("-") });
    process.waitForFinished();
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.constLast().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

TEST(ReportPagination, LinesPagesAndPlaces)
{
    using Lines = std::vector<std::string_view>;
    const std::pair<std::string, Lines> splits[] = {
        { "Auftrag\r\n     Datei\r\n     ", { "Auftrag", "     Datei" } }, // without the trailing indentation
        { "a\r\n\r\n\r\nb\r\n", { "a", "", "", "b" } },
        { "\r\nx\r\n", { "", "x" } },
        { "", {} },
        { "nur eine Zeile ohne Umbruch", {} },
        // A lone CR swallows the next character, as the LF of a pair would; a CR at the very end
        // still ends its line.
        { "ab\rcd\r", { "ab", "d" } },
        { "ab\r\r\rx\r\n", { "ab", "", "", "" } },
        { "Fr\xe4sen \xdf\r\n", { "Fr\xe4sen \xdf" } },
    };
    for (const auto& [text, lines] : splits)
        EXPECT_EQ(splitPrintLines(text), lines) << text;

    // Lines a page (the remainder dropped), pages, and the page and height of a line: at least one
    // line a page and one page, whatever the sizes.
    EXPECT_EQ((std::vector { linesPerPage(1019, 20), linesPerPage(1020, 20), linesPerPage(19, 20), linesPerPage(100, 0),
                  pageCount(51, 50), pageCount(100, 50), pageCount(0, 50), pageCount(3, 0) }),
        (std::vector { 50, 51, 1, 1, 2, 2, 1, 3 }));
    const LinePlacement place = placeLine(101, 50, 20);
    EXPECT_EQ(std::pair(place.page, place.y), std::pair(2, 20));
    EXPECT_EQ(placeLine(2, 0, 20).page, 2);
}

class PrintTest : public WindowTest {
protected:
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("bericht.pdf"));
};

// A page of lines fills one page, one line more starts a second page with that line at the
// top, and a text without a line break gives one empty page.
TEST_F(PrintTest, PdfPagesHoldTheLinesThatFit)
{
    QPrinter printer(QPrinter::HighResolution);
    setUpPdfPrinter(printer, pdf);
    const int perPage = measureReport(printer).linesPerPage;
    ASSERT_GT(perPage, 40); // an A4 page holds far more than 40 lines of 12 points
    const std::pair<std::string, int> rows[]
        = { { reportOfLines(perPage), 1 }, { "kein Zeilenende", 1 }, { reportOfLines(perPage + 1), 2 } };
    for (const auto& [text, count] : rows) {
        ASSERT_TRUE(writeReportPdf(text, pdf));
        EXPECT_EQ(pdfPages(pdf), count) << text.size();
    }
    EXPECT_FALSE(writeReportPdf(reportOfLines(3), dir.filePath(QStringLiteral("fehlt/bericht.pdf"))));

    const QStringList pages = pageTexts(pdf);
    if (pages.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].trimmed().endsWith(QStringLiteral("Zeile %1").arg(perPage)));
    EXPECT_EQ(pages[1].trimmed(), QStringLiteral("Zeile %1").arg(perPage + 1));
    ASSERT_TRUE(writeReportPdf("     Maschine: Dreh-Fr\xe4se Gro\xdf\r\n     ", pdf));
    EXPECT_EQ(pageTexts(pdf).value(0).trimmed(), QStringLiteral("Maschine: Dreh-Fräse Groß"));
}

// The report window prints through the print dialog and confirms only a document it could start.
TEST_F(PrintTest, TheReportWindowPrintsThroughThePrintDialog)
{
    const struct {
        bool confirmed;
        QString output;
        const char* message; // null: none
        int pages; // -1: no file
    } rows[] = {
        { true, dir.filePath(QStringLiteral("druck.pdf")), "Datenausgabe erfolgt.", 1 },
        { false, dir.filePath(QStringLiteral("abgebrochen.pdf")), nullptr, -1 },
        { true, dir.filePath(QStringLiteral("fehlt/druck.pdf")), printFailedMessage, -1 },
    };
    for (const auto& row : rows) {
        ui.clear();
        ui.printAnswers = { row.confirmed };
        ui.printOutputFile = row.output;
        CReportDlg dlg;
        dlg.setReportText("ohne Zeilenende");
        dlg.findChild<QPushButton*>(QStringLiteral("button1061"))->click();
        EXPECT_EQ(ui.texts(ScriptedUiServices::Kind::Print).size(), 1);
        EXPECT_EQ(ui.messages(), row.message ? QStringList { QString::fromUtf8(row.message) } : QStringList())
            << row.output.toStdString();
        EXPECT_EQ(ui.asked.back().icon, MessageIcon::Exclamation);
        EXPECT_EQ(pdfPages(row.output), row.pages) << row.output.toStdString();
    }
}

// The letter shows what the customer pays and nothing of the costs; a long list of quantities
// goes on over the next page under its header again.
TEST(QuoteLetterTest, TheLetterShowsTheOfferedPricesOnNumberedPages)
{
    files::Offer offer;
    offer.number = QStringLiteral("2026-0042");
    offer.date = QDate(2026, 12, 7);
    offer.validUntil = QDate(2027, 1, 6);
    offer.sender = QStringLiteral("Muster Dreherei GmbH\nIndustriestraße 5\n12345 Musterstadt\nTel. 01234 56789");
    offer.recipient = QStringLiteral("Berger Antriebe AG\nHauptstraße 1\n54321 Beispielhausen");
    offer.subject = QStringLiteral("Getriebewelle 42CrMo4");
    offer.intro = QStringLiteral("Sehr geehrter Herr Berger,\ngerne bieten wir Ihnen an:");
    offer.closing = QStringLiteral("Mit freundlichen Grüßen");
    offer.footer = QStringLiteral("Muster Dreherei GmbH · Sitz Musterstadt · Amtsgericht Ulm HRB 1234\n"
                                  "Geschäftsführer: Max Muster · USt-IdNr. DE123456789");
    offer.partName = QStringLiteral("Getriebewelle GW-40");
    offer.cashDiscountDays = 10;
    offer.paymentDays = 30;
    offer.scheme.discountPct = Percent(1000);
    offer.scheme.cashDiscountPct = Percent(250);
    offer.scheme.profitPct = Percent(1500);
    offer.offered = { { 50, Money(4601), Money(460), Money(4141), Money(207050) },
        { 1000, Money(123456789), Money(12345679), Money(111111110), Money(111111110000) } };
    testing::expectGolden("print/golden/quote-letter.txt", quoteLetterText(quoteLetter(offer)).toStdString());

    // Without Skonto only the period of payment is said; a reference without a value is left out.
    offer.scheme = {};
    offer.number.clear();
    offer.offered.assign(60, offer.offered.front());
    const QuoteLetter plain = quoteLetter(offer);
    testing::expectGolden("print/golden/quote-letter-plain.txt", quoteLetterText(plain).toStdString());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("angebot.pdf"));
    ASSERT_TRUE(writeQuoteLetterPdf(plain, path));
    const QStringList pages = pageTexts(path);
    if (pages.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(
        pages[0].contains(QStringLiteral("Seite 1 von 2")) && pages[1].contains(QStringLiteral("Seite 2 von 2")));
    for (const QString& page : pages)
        EXPECT_TRUE(page.contains(QStringLiteral("Amtsgericht Ulm")) && page.contains(QStringLiteral("USt-IdNr.")));
    EXPECT_TRUE(
        pages[1].contains(QStringLiteral("Menge")) && pages[1].contains(QStringLiteral("Mit freundlichen Grüßen")));
    EXPECT_EQ(pages.join(QString()).count(QStringLiteral("46,01 €")), 60);
}

} // namespace
} // namespace kalkora::ui::test
