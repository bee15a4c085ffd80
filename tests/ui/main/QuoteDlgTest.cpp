#include "ui/quote/QuoteDlg.h"

#include "ModalDriver.h"
#include "Scenario.h"
#include "WindowTest.h"
#include "files/DataFiles.h"
#include "files/OfferFile.h"
#include "ui/quote/QuoteDefaultsDlg.h"

#include <QAction>
#include <QDate>
#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QSet>
#include <QTableView>
#include <QTemporaryDir>

namespace kalkora::ui::test {
namespace {

constexpr int quoteCommand = 40018;

class QuoteDlgTest : public ExampleOrderTest {
protected:
    void SetUp() override
    {
        ExampleOrderTest::SetUp();
        dlg.action(quoteCommand)->trigger();
        window = dlg.findChild<CQuoteDlg*>();
    }

    // The figure of the step in the row titled `step` (its percentage left out) for `quantity`.
    QString cell(const QString& step, const QString& quantity) const
    {
        const QAbstractItemModel* model = window->panel()->table()->model();
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

    CQuoteDlg* window = nullptr;
};

// Each row is typed into the window after the ones above it. A look at a step shows whether the
// figures are current, the export enabled and the error line visible, then the step's figure at
// 100 pieces; "error" shows the error line instead of a figure.
const Row typing[] = { { "", "Listenverkaufspreis" }, { "profitPct~10", "Barverkaufspreis" },
    { "cashDiscountPct~2", "Zielverkaufspreis" }, { "discountPct~8,5", "Listenverkaufspreis" },
    { "profitPct~8.555", "error" }, { "profitPct~10", "Listenverkaufspreis" }, { "commissionPct~98", "error" },
    { "commissionPct~", "Vertreterprovision" }, { "oneOffCost~-1", "error" }, { "oneOffCost~1.00,0", "error" },
    { "oneOffCost~1.000,00", "Einmalkosten je Stück" }, { "oneOffCost~1000", "Einmalkosten je Stück" },
    { "quantities~x", "error" }, { "quantities~100, 1.000", "Gesamtpreis" }, { "marketPrice~abc", "error" },
    { "marketPrice~120.000.000.000,00", "error" }, { "marketPrice~7,50", "Gewinn beim Marktpreis" },
    { "", "marketLine" }, { "profitPct~x", "outOfDateLine" }, { "profitPct~10", "Barverkaufspreis" } };

TEST_F(QuoteDlgTest, RecomputesAsTheFieldsChangeAndMarksWhatCannotBeRead)
{
    ASSERT_TRUE(window && window->isVisible());
    EXPECT_TRUE(dlg.action(quoteCommand)->isEnabled());
    Scenario(*window, ui, [this](const QString& look) {
        const auto* error = child<QLabel>(window, "errorLine");
        return QStringLiteral("%1%2%3 ")
                   .arg(window->panel()->isCurrent())
                   .arg(child<QPushButton>(window, "buttonExport")->isEnabled())
                   .arg(error->isVisible())
            + (look == u"error" ? error->text() : cell(look, QStringLiteral("100 Stück")));
    }).run(typing);
    EXPECT_NE(window->panel()->printout().find("Angebotskalkulation"), std::string::npos);

    // The window follows the order.
    dlg.session().order().data().quantityBase = 0;
    refreshAnalysisWindows(&dlg);
    EXPECT_FALSE(window->panel()->isCurrent());
    dlg.session().order().data().quantityBase = 100;
    refreshAnalysisWindows(&dlg);
    EXPECT_TRUE(window->panel()->isCurrent());
}

// A refused value greys the table and the backward block with the figures its field was entered
// with: the "9" on the way to a refused "98" was never meant. A look at a step shows whether the
// figures are current and the error line visible, then the step's figure at 100 pieces; "market"
// whether the backward block is enabled, then its text.
const Row refusing[] = { { "cashDiscountPct=2;marketPrice=7,50", "Vertreterprovision" },
    { "commissionPct~9", "Vertreterprovision" }, { "commissionPct~98", "Vertreterprovision", "01 0,00" },
    { "", "market" }, { "commissionPct=9", "Vertreterprovision" }, { "marketPrice~8", "market" },
    { "marketPrice~abc", "market", "0 Vom Marktpreis 7,50 €…" }, { "", "Gewinn beim Marktpreis" },
    { "marketPrice~120.000.000.000,00", "market", "0 Vom Marktpreis 7,50 €…" }, { "marketPrice=7,5", "market" } };

TEST_F(QuoteDlgTest, ARefusedValueGreysTheFiguresItsFieldWasEnteredWith)
{
    Scenario(*window, ui, [this](const QString& look) {
        const auto* market = child<QLabel>(window, "marketLine");
        if (look == u"market")
            return QStringLiteral("%1 ").arg(market->isEnabled()) + market->text();
        return QStringLiteral("%1%2 ")
                   .arg(window->panel()->isCurrent())
                   .arg(child<QLabel>(window, "errorLine")->isVisible())
            + cell(look, QStringLiteral("100 Stück"));
    }).run(refusing);
}

// The letter's texts reach the quote file, the preview and the PDF; what was typed is never lost:
// a bad date or a failed save keeps it, and closing a changed quote asks first. Reopened on
// today's order, which gives other prices, the quote shows both until today's are taken.
const Row saving[]
    = { { "number=2026-0042;discountPct=5;date=31.02.2026;buttonSaveAs", "messages", "" }, { "", "errorLine" },
          { "date=07.12.2026;file:fehlt/angebot.ang;buttonSave", "messages",
              "Kalkora - Angebot speichern|Die Datei „angebot.ang“ kann nicht…" },
          { "", "title" }, { "file:angebot.ang;buttonSave", "title" }, { "number=anders;buttonClose", "visible" },
          { "", "title" }, { "buttonClose", "visible" } };
const Row reopening[] = { { "file:angebot.ang;buttonOpen", "number" }, { "", "date" }, { "", "discountPct" },
    { "", "subject" }, { "", "offered" }, { "buttonTakePrices", "offered" },
    { "validUntil=01.01.2026;buttonPreview", "messages" }, { "", "letterLine" },
    { "validUntil=31.12.2026;recipient=Kunde AG;buttonPreview;file:angebot.pdf;buttonPdf", "messages" }, { "", "pdfs" },
    { "", "letterLine" }, { "", "statusLine" } };

TEST_F(QuoteDlgTest, TheQuoteIsSavedReopenedAndPrintedAsALetter)
{
    QTemporaryDir folder;
    EXPECT_EQ(child<QLineEdit>(window, "validUntil")->text(),
        QDate::currentDate().addDays(30).toString(QStringLiteral("dd.MM.yyyy")));
    ASSERT_TRUE(dlg.session().order().save(folder.filePath(QStringLiteral("welle.auf"))).ok());
    ui.printOutputFile = folder.filePath(QStringLiteral("vorschau.pdf"));
    // "offered" the line of the offered prices; "pdfs" whether the preview and the PDF were written.
    Scenario scenario(*window, ui, [&](const QString& look) {
        const auto* offered = child<QLabel>(window, "offeredLine");
        if (look == u"offered")
            return QString::number(offered->isVisibleTo(window))
                + QString::number(child(window, "buttonTakePrices")->isVisibleTo(window)) + u' ' + offered->text();
        return QString::number(
            QFile(ui.printOutputFile).size() > 0 && QFile(folder.filePath(QStringLiteral("angebot.pdf"))).size() > 0);
    });
    scenario.folder = folder.path() + u'/';
    ui.yesNoCancelAnswers = { Answer::Cancel, Answer::No };
    scenario.run(saving);
    files::Offer saved;
    ASSERT_TRUE(files::loadOffer(folder.filePath(QStringLiteral("angebot.ang")), saved).ok());
    EXPECT_EQ(saved.orderFile, dlg.session().order().path());
    // Opening the quote opens the order it names: changed there, it prices otherwise.
    dlg.session().order().data().operations.at(0)->machineTimeMin = 4;
    ASSERT_TRUE(dlg.session().order().save(folder.filePath(QStringLiteral("welle.auf"))).ok());
    dlg.action(quoteCommand)->trigger();
    scenario.run(reopening);
    EXPECT_EQ(ui.asked.back().file.fileName, QStringLiteral("Angebot 2026-0042.pdf"));
}

// A new quote starts from the quote defaults.
TEST_F(QuoteDlgTest, ANewQuoteStartsFromTheDefaults)
{
    whenModal([this](QWidget* defaults) {
        const Row typed[]
            = { { "profitPct=12,5;oneOffCost=1.500,00;validityDays=vierzehn;nextNumber=7;sender=Muster GmbH;buttonOk",
                    "messages" },
                  { "", "visible" }, { "validityDays=14;buttonOk", "visible" } };
        Scenario(*defaults, ui).run(typed);
    });
    dlg.action(40019)->trigger();
    window->hide();
    dlg.action(quoteCommand)->trigger();
    const Row fromDefaults[] = { { "", "number" }, { "", "profitPct" }, { "", "oneOffCost" }, { "", "sender" } };
    Scenario(*window, ui).run(fromDefaults);
}

// Alt and a scheme field's letter reach that field, with the same letter in the quote window and
// in the quote defaults; in neither window do two labels share a letter.
TEST_F(QuoteDlgTest, SchemeFieldsAnswerToTheSameLettersInBothWindows)
{
    CQuoteDefaultsDlg defaults(&dlg);
    // The letter that, pressed with Alt, moved the focus to each field, by the field's name.
    const auto lettersReaching = [this](QWidget& shown) {
        activate(shown);
        QMap<QString, QString> letters;
        QSet<QKeySequence> seen;
        for (const QLabel* label : shown.findChildren<QLabel*>()) {
            const QKeySequence letter = QKeySequence::mnemonic(label->text());
            if (letter.isEmpty())
                continue;
            EXPECT_FALSE(seen.contains(letter)) << letter.toString().toStdString();
            seen << letter;
            QTest::keyClick(QApplication::focusWidget(), letter[0].key(), Qt::AltModifier);
            if (label->buddy() && QApplication::focusWidget() == label->buddy())
                letters[label->buddy()->objectName()] = letter.toString();
        }
        return letters;
    };
    const QMap<QString, QString> inQuote = lettersReaching(*window);
    const QMap<QString, QString> inDefaults = lettersReaching(defaults);
    for (const SchemeField& field : kSchemeFields) {
        const QString key = QLatin1String(field.key);
        EXPECT_FALSE(inQuote.value(key).isEmpty()) << field.key;
        EXPECT_EQ(inDefaults.value(key).toStdString(), inQuote.value(key).toStdString()) << field.key;
    }
}

// "kalkora angebot.ang", and "Öffnen..." in the quote window, open the quote with the master data
// and the order it names. Without its order it shows the offered prices alone and keeps them on
// record; closing the order asks about a changed quote first.
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
    offer.offered = { { 100, Money(814), Money(81), Money(733), Money(73300) } };
    ASSERT_TRUE(files::saveOffer(path("ohne.ang"), offer).ok());

    CMainDlg main;
    main.show();
    main.OpenStartFiles({ path("angebot.ang") });
    EXPECT_EQ(main.session().order().path(), path("welle.auf"));
    auto* quote = main.findChild<CQuoteDlg*>();
    ASSERT_NE(quote, nullptr);
    EXPECT_EQ(child<QLineEdit>(quote, "number")->text(), QStringLiteral("A-1"));
    EXPECT_TRUE(ui.messages().isEmpty());
    // "Öffnen..." in the quote window opens a quote of another order with that order.
    COrder other = exampleOrder();
    other.name = "Andere Welle";
    ASSERT_TRUE(files::saveOrder(path("andere.auf"), other).ok());
    offer.orderFile = path("andere.auf");
    ASSERT_TRUE(files::saveOffer(path("andere.ang"), offer).ok());
    ui.fileAnswers = { path("andere.ang") };
    child<QPushButton>(quote, "buttonOpen")->click();
    EXPECT_EQ(main.session().order().path(), path("andere.auf"));
    EXPECT_EQ(shownTitle(*quote), QStringLiteral("Kalkora - Angebot: Andere Welle"));
    main.OpenStartFiles({ path("angebot.ang") });
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
    EXPECT_EQ(quote->panel()->table()->model()->index(2, 1).data().toString(), QStringLiteral("7,33"));
    for (const QLineEdit* figure : quote->findChildren<QLineEdit*>())
        EXPECT_EQ(figure->isEnabled(),
            QString("number date validUntil subject cashDiscountDays paymentDays").contains(figure->objectName()))
            << figure->objectName().toStdString();
}

} // namespace
} // namespace kalkora::ui::test
