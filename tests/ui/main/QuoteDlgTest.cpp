#include "ui/analysis/QuoteDlg.h"

#include "ModalDriver.h"
#include "Scenario.h"
#include "WindowTest.h"
#include "files/DataFiles.h"
#include "files/OfferFile.h"
#include "ui/analysis/QuoteDefaultsDlg.h"
#include "ui/main/MainDlg.h"

#include <QAction>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

namespace kalkora::ui::test {
namespace {

constexpr int quoteCommand = 40018;

class QuoteDlgTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        dlg.show();
        dlg.plantData = examplePlant();
        dlg.OnNewOrder();
        dlg.order = exampleOrder();
        dlg.panel().RefreshFromOrder();
        dlg.action(quoteCommand)->trigger();
        window = dlg.findChild<CQuoteDlg*>();
    }

    // The figure of the step in the row titled `step` (its percentage left out) for `quantity`.
    QString cell(const QString& step, const QString& quantity) const
    {
        const QAbstractItemModel* model = window->table()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, 0).data().toString().section(QStringLiteral(" ("), 0, 0) != step)
                continue;
            for (int column = 1; column < model->columnCount(); ++column) {
                if (model->headerData(column, Qt::Horizontal).toString() == quantity)
                    return model->index(row, column).data().toString();
            }
        }
        return QStringLiteral("no cell ") + step + u'/' + quantity;
    }

    CMainDlg dlg;
    CQuoteDlg* window = nullptr;
};

// Each row is typed into the window after the ones above it. A look at a step shows whether the
// figures are current, the export enabled and the error line visible, then the step's figure at
// 100 pieces; "error" shows the error line instead of a figure.
const Row typing[] = { { "", "Listenverkaufspreis" }, { "profitPct~10", "Barverkaufspreis" },
    { "cashDiscountPct~2", "Zielverkaufspreis" }, { "discountPct~8,5", "Listenverkaufspreis" },
    { "profitPct~8.555", "error" }, { "profitPct~10", "Listenverkaufspreis" }, { "commissionPct~98", "error" },
    { "commissionPct~", "Vertreterprovision" }, { "oneOffCost~-1", "error" }, { "oneOffCost~1.000", "error" },
    { "oneOffCost~1000", "Einmalkosten je Stück" }, { "quantities~x", "error" },
    { "quantities~100, 1.000", "Gesamtpreis" }, { "marketPrice~abc", "error" },
    { "marketPrice~7,50", "Gewinn beim Marktpreis" }, { "", "marketLine" }, { "profitPct~x", "outOfDateLine" },
    { "profitPct~10", "Barverkaufspreis" } };

TEST_F(QuoteDlgTest, RecomputesAsTheFieldsChangeAndMarksWhatCannotBeRead)
{
    ASSERT_TRUE(window && window->isVisible());
    EXPECT_TRUE(dlg.action(quoteCommand)->isEnabled());
    Scenario(*window, ui, [this](const QString& look) {
        const auto* error = child<QLabel>(window, "errorLine");
        return QStringLiteral("%1%2%3 ")
                   .arg(window->isCurrent())
                   .arg(child<QPushButton>(window, "buttonExport")->isEnabled())
                   .arg(error->isVisible())
            + (look == u"error" ? error->text() : cell(look, QStringLiteral("100 Stück")));
    }).run(typing);
    EXPECT_NE(window->printout().find("Angebotskalkulation"), std::string::npos);

    // The window follows the order.
    dlg.order.quantityBase = 0;
    refreshAnalysisWindows(&dlg);
    EXPECT_FALSE(window->isCurrent());
    dlg.order.quantityBase = 100;
    refreshAnalysisWindows(&dlg);
    EXPECT_TRUE(window->isCurrent());
}

// The letter's texts and prices reach the quote file, the PDF and the preview; what was typed is
// never lost: a bad date or a failed save keeps it, and closing a changed quote asks first.
TEST_F(QuoteDlgTest, TheQuoteIsSavedReopenedAndPrintedAsALetter)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("angebot.ang"));
    EXPECT_EQ(child<QLineEdit>(window, "date")->text(), QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
    EXPECT_EQ(child<QLineEdit>(window, "validUntil")->text(),
        QDate::currentDate().addDays(30).toString(QStringLiteral("dd.MM.yyyy")));
    EXPECT_FALSE(window->isQuoteChanged());

    setText(window, "number", QStringLiteral("2026-0042"));
    setText(window, "discountPct", QStringLiteral("5"));
    setText(window, "date", QStringLiteral("31.02.2026"));
    ui.fileAnswers = { file };
    click(window, "buttonSaveAs");
    EXPECT_TRUE(child<QLabel>(window, "errorLine")->text().contains(QStringLiteral("„Datum“")));
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(window->isCurrent()) << "a bad date does not touch the figures";

    setText(window, "date", QStringLiteral("07.12.2026"));
    dlg.orderFileName = folder.filePath(QStringLiteral("welle.auf"));
    ui.fileAnswers = { folder.filePath(QStringLiteral("fehlt/angebot.ang")), file };
    click(window, "buttonSave");
    EXPECT_EQ(ui.messages().size(), 1) << "the failed save says so";
    EXPECT_TRUE(window->isQuoteChanged());
    click(window, "buttonSave");
    EXPECT_FALSE(window->isQuoteChanged());
    files::Offer saved;
    ASSERT_TRUE(files::loadOffer(file, saved).ok());
    EXPECT_EQ(saved.number, QStringLiteral("2026-0042"));
    EXPECT_EQ(saved.date, QDate(2026, 12, 7));
    EXPECT_EQ(saved.orderFile, dlg.orderFileName) << "the quote names the order it was priced from";
    EXPECT_EQ(saved.offered, files::offeredPrices(*window->shownQuote()));

    // Changed, then closed: "Abbrechen" keeps the window, "Nein" closes it.
    setText(window, "number", QStringLiteral("anders"));
    ui.yesNoCancelAnswers = { Answer::Cancel, Answer::No };
    window->reject();
    EXPECT_TRUE(window->isVisible());
    window->reject();
    EXPECT_FALSE(window->isVisible());
    dlg.action(quoteCommand)->trigger();
    ui.fileAnswers = { file };
    click(window, "buttonOpen");
    const Row reopened[] = { { "", "number" }, { "", "discountPct" }, { "", "subject" } };
    Scenario(*window, ui).run(reopened);
    EXPECT_FALSE(window->isQuoteChanged());

    // Today's order gives other prices: both are shown, and the offered ones stay on record
    // until they are taken over.
    dlg.order.operations.at(0)->machineTimeMin = 4;
    refreshAnalysisWindows(&dlg);
    EXPECT_TRUE(child<QLabel>(window, "offeredLine")->text().contains(QStringLiteral("angeboten")));
    const auto savedPrices = [&file] {
        files::Offer again;
        EXPECT_TRUE(files::loadOffer(file, again).ok());
        return again.offered;
    };
    click(window, "buttonSave");
    EXPECT_EQ(savedPrices(), saved.offered);
    click(window, "buttonTakePrices");
    EXPECT_FALSE(child<QLabel>(window, "offeredLine")->isVisibleTo(window));
    click(window, "buttonSave");
    EXPECT_EQ(savedPrices(), files::offeredPrices(*window->shownQuote()));
    EXPECT_NE(savedPrices(), saved.offered);

    ui.clear();
    ui.printOutputFile = folder.filePath(QStringLiteral("vorschau.pdf"));
    click(window, "buttonPreview");
    ui.fileAnswers = { folder.filePath(QStringLiteral("angebot.pdf")) };
    click(window, "buttonPdf");
    EXPECT_EQ(ui.texts(Kind::Preview).size(), 1);
    EXPECT_EQ(
        QFile(ui.printOutputFile).size() > 0 && QFile(folder.filePath(QStringLiteral("angebot.pdf"))).size() > 0, true);
    EXPECT_TRUE(ui.messages().isEmpty());
}

// A new quote starts from the quote defaults; saving it uses up its number.
TEST_F(QuoteDlgTest, ANewQuoteStartsFromTheDefaults)
{
    whenModal([this](QWidget* defaults) {
        setText(defaults, "profitPct", QStringLiteral("12,5"));
        setText(defaults, "validityDays", QStringLiteral("vierzehn"));
        setText(defaults, "nextNumber", QStringLiteral("7"));
        qobject_cast<QPlainTextEdit*>(child(defaults, "sender"))->setPlainText(QStringLiteral("Muster GmbH"));
        click(defaults, "buttonOk");
        EXPECT_TRUE(ui.messages().value(0).contains(QStringLiteral("„Gültigkeit“")));
        EXPECT_TRUE(defaults->isVisible());
        setText(defaults, "validityDays", QStringLiteral("14"));
        click(defaults, "buttonOk");
    });
    dlg.action(40019)->trigger();
    window->hide();
    dlg.action(quoteCommand)->trigger();
    const Row fromDefaults[] = { { "", "number" }, { "", "profitPct" }, { "", "sender" } };
    Scenario(*window, ui).run(fromDefaults);
    EXPECT_EQ(child<QLineEdit>(window, "validUntil")->text(),
        QDate::currentDate().addDays(14).toString(QStringLiteral("dd.MM.yyyy")));
    QTemporaryDir folder;
    ui.fileAnswers = { folder.filePath(QStringLiteral("angebot.ang")) };
    click(window, "buttonSave");
    EXPECT_EQ(loadQuoteDefaults().nextNumber, 8);
}

// "kalkora angebot.ang" opens the quote with the master data and the order it names. Without
// its order it shows the offered prices alone and keeps them on record; closing the order asks
// about a changed quote first.
TEST_F(QuoteDlgTest, AQuoteNamedAtStartBringsItsMasterDataAndOrder)
{
    QTemporaryDir folder;
    const auto path = [&folder](const char* name) { return folder.filePath(QLatin1String(name)); };
    ASSERT_TRUE(files::saveMasterData(path("werk.sta"), examplePlant()).ok());
    ASSERT_TRUE(files::saveOrder(path("welle.auf"), exampleOrder()).ok());
    files::Offer offer;
    offer.number = QStringLiteral("A-1");
    offer.masterFile = path("werk.sta");
    offer.orderFile = path("welle.auf");
    ASSERT_TRUE(files::saveOffer(path("angebot.ang"), offer).ok());
    offer.orderFile = path("fehlt.auf");
    offer.offered = { { 100, Hundredths(814), Hundredths(81), Hundredths(733), Hundredths(73300) } };
    ASSERT_TRUE(files::saveOffer(path("ohne.ang"), offer).ok());

    CMainDlg main;
    main.show();
    main.OpenStartFiles({ path("angebot.ang") });
    EXPECT_EQ(main.orderFileName, path("welle.auf"));
    auto* quote = main.findChild<CQuoteDlg*>();
    ASSERT_NE(quote, nullptr);
    EXPECT_EQ(child<QLineEdit>(quote, "number")->text(), QStringLiteral("A-1"));
    EXPECT_TRUE(ui.messages().isEmpty());
    setText(quote, "number", QStringLiteral("A-2"));
    ui.yesNoCancelAnswers = { Answer::Cancel };
    main.OnCloseOrder();
    EXPECT_TRUE(main.isOrderOpen() && quote->isVisible()) << "Abbrechen keeps both";
    ui.yesNoCancelAnswers = { Answer::No };
    main.OnCloseOrder();
    EXPECT_EQ(ui.texts(Kind::YesNoCancel).size(), 2) << "asked once, then closed";
    EXPECT_FALSE(main.isOrderOpen() || quote->isVisible());

    ui.clear();
    main.OpenStartFiles({ path("ohne.ang") });
    EXPECT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages().value(0).contains(QStringLiteral("gibt es nicht mehr")));
    ASSERT_TRUE(quote->isVisible());
    EXPECT_TRUE(child<QLabel>(quote, "offeredLine")->text().contains(QStringLiteral("fehlt.auf")));
    EXPECT_EQ(quote->table()->model()->index(2, 1).data().toString(), QStringLiteral("7,33"));
    for (const QLineEdit* figure : quote->findChildren<QLineEdit*>())
        EXPECT_EQ(figure->isEnabled(), QString("number date validUntil subject").contains(figure->objectName()))
            << figure->objectName().toStdString();
    setText(quote, "subject", QStringLiteral("Welle, neu"));
    ui.fileAnswers = { path("kopie.ang") };
    click(quote, "buttonSaveAs");
    files::Offer saved;
    ASSERT_TRUE(files::loadOffer(path("kopie.ang"), saved).ok());
    EXPECT_EQ(saved.subject, QStringLiteral("Welle, neu"));
    saved.subject = offer.subject;
    EXPECT_EQ(saved, offer) << "the offered prices and the files they came from stay";
}

} // namespace
} // namespace kalkora::ui::test
