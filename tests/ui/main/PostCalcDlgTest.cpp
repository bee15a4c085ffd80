#include "ui/postcalc/PostCalcDlg.h"

#include "Scenario.h"
#include "WindowTest.h"
#include "costing/PostCalcTables.h"
#include "files/DataFiles.h"
#include "files/PostCalcFile.h"
#include "ui/postcalc/ActualsModel.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTableView>
#include <QTemporaryDir>

namespace kalkora::ui::test {
namespace {

constexpr int postCalcCommand = 40020;

class PostCalcDlgTest : public ExampleOrderTest {
protected:
    void SetUp() override
    {
        ExampleOrderTest::SetUp();
        dlg.action(postCalcCommand)->trigger();
        window = dlg.findChild<CPostCalcDlg*>();
        ASSERT_TRUE(window && window->isVisible());
    }

    // Types `typed` into the actual cell of `field` of operation `operation`, as the table's editor
    // hands it over.
    void typeActual(int operation, ActualFieldIndex field, const QString& typed)
    {
        QAbstractItemModel* model = window->actualsTable()->model();
        model->setData(model->index(operation - 1, CActualsModel::planColumn(field) + 1), typed, Qt::EditRole);
    }

    // The cell of the comparison in the line named `line` under the column titled `title`.
    QString figure(const QString& line, const QString& title) const
    {
        const QAbstractItemModel* model = window->panel()->table()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, PostCalcNameColumn).data().toString() != line)
                continue;
            for (int column = 0; column < model->columnCount(); ++column) {
                if (model->headerData(column, Qt::Horizontal).toString() == title)
                    return model->index(row, column).data().toString();
            }
        }
        return QStringLiteral("no cell ") + line + u'/' + title;
    }

    QString errorShown() const
    {
        const auto* error = child<QLabel>(window, "errorLine");
        return error->isVisibleTo(window) ? error->text() : QString();
    }

    CPostCalcDlg* window = nullptr;
};

// What is typed, in a field or in the table, each after the ones above it, and what the window
// shows then: the error line (empty when nothing is refused) and the order's actual full cost per
// piece with its deviation. A refused value changes nothing.
struct Typing {
    const char* field; // a field's name, or the German name of an actual field of `operation`
    int operation;
    const char* typed;
    const char* error;
    const char* actualPerPiece;
};
const Typing typings[] = {
    { "produced", 0, "100", "", "5,29 0,00" },
    { "Rüstzeit", 1, "45", "", "5,43 ▲ +0,14" },
    { "Maschinenzeit", 1, "2,3", "", "5,52 ▲ +0,23" },
    { "Fremdleistungspreis", 2, "1,65", "", "5,69 ▲ +0,40" },
    { "good", 0, "97", "", "5,69 ▲ +0,40" },
    { "good", 0, "101", "Gutstücke: höchstens so viele wie produziert (100) eingeben.", "5,69 ▲ +0,40" },
    { "good", 0, "97", "", "5,69 ▲ +0,40" },
    { "Rüstzeit", 1, "-5", "Rüstzeit Ist, Arbeitsgang 1: eine Zahl ab 0 eingeben.", "5,69 ▲ +0,40" },
    { "Losgröße", 2, "0", "Losgröße Ist, Arbeitsgang 2: eine ganze Zahl von 1 bis 2.147.483.647 eingeben.",
        "5,69 ▲ +0,40" },
    { "Maschinenzeit", 1, "x", "Maschinenzeit Ist, Arbeitsgang 1: eine Zahl ab 0 eingeben.", "5,69 ▲ +0,40" },
    { "produced", 0, "0", "Produziert: eine ganze Zahl von 1 bis 2.147.483.647 eingeben.", "5,69 ▲ +0,40" },
    { "produced", 0, "100", "", "5,69 ▲ +0,40" },
    { "Maschinenzeit", 1, "", "", "5,60 ▲ +0,31" },
    { "Maschinenzeit", 1, "2,3", "", "5,69 ▲ +0,40" },
    { "date", 0, "31.02.2026", "Datum: ein Datum wie 08.12.2026 eingeben oder leer lassen.", "5,69 ▲ +0,40" },
    { "Losgröße", 1, "1", "", "2,28 ▼ -3,01" },
    { "Losgröße", 1, "", "", "5,69 ▲ +0,40" },
    { "Personalzeit", 1, "0", "", "5,02 ▼ -0,27" },
    { "Personalzeit", 1, "", "", "5,69 ▲ +0,40" },
};

TEST_F(PostCalcDlgTest, TypedValuesRecomputeAndWhatCannotBeUsedIsRefusedWithItsFieldNamed)
{
    for (const Typing& typing : typings) {
        SCOPED_TRACE(std::string(typing.field) + " " + typing.typed);
        const QString typed = QString::fromUtf8(typing.typed);
        if (typing.operation == 0) {
            setText(window, typing.field, typed);
            child<QLineEdit>(window, typing.field)->editingFinished();
        } else {
            const auto field = std::find_if(kActualFields.begin(), kActualFields.end(),
                [&](const ActualField& actual) { return std::string(actual.germanName) == typing.field; });
            typeActual(typing.operation, ActualFieldIndex(field - kActualFields.begin()), typed);
        }
        EXPECT_EQ(errorShown().toStdString(), typing.error);
        EXPECT_EQ((figure(QStringLiteral("Auftrag je Stück"), QStringLiteral("Ist Vollkosten/St.")) + u' '
                      + figure(QStringLiteral("Auftrag je Stück"), QStringLiteral("Abweichung Vollkosten/St.")))
                      .toStdString(),
            typing.actualPerPiece);
    }
    EXPECT_TRUE(window->isChanged());
    EXPECT_EQ(shownTitle(*window), QStringLiteral("Kalkora - Neue Nachkalkulation*"));
    record(QStringLiteral("actuals"), QString::fromStdString(tableText(window->actualsTable()->model())));
    record(QStringLiteral("comparison"), QString::fromStdString(tableText(window->panel()->table()->model())));
    record(QStringLiteral("quote"), child<QLabel>(window, "quoteLine")->text());
}

// Saved, the post-calculation names the order and master data the main window has; undo in the
// window takes back its own steps; the actual times become the order's plan as one step of the
// main window, and its undo takes them back. The quote line says what the quote leaves, or why
// there is no comparison. Reopened from its file, the same figures show, with
// the quote it names.
const Row saving[] = {
    { "file:welle.nak;actionSave", "title", "Kalkora - welle.nak" },
    { "good=90", "title", "Kalkora - welle.nak*" },
    { "actionUndo", "good", "97" },
    { "", "title", "Kalkora - welle.nak" },
    { "actionTakeOver", "statusLine" },
    { "", "order" },
    { "", "Auftrag je Stück" },
    { "actionTakeOver", "messages" },
};
const Row reopening[] = {
    { "", "order" },
    { "file:welle.ang;buttonChooseQuote", "quoteLine" },
    { "good=0", "quoteLine" },
    { "quoteFile=fehlt.ang", "quoteLine" },
    { "actionClose", "messages" },
    { "", "visible", "0" },
};
const Row openingAgain[] = {
    { "file:welle.nak;actionOpen", "good", "97" },
    { "", "title", "Kalkora - welle.nak" },
    { "", "Auftrag je Stück" },
};

TEST_F(PostCalcDlgTest, SavedUndoneTakenOverAndOpenedAgain)
{
    QTemporaryDir folder;
    ASSERT_TRUE(dlg.session().order().save(folder.filePath(QStringLiteral("welle.auf"))).ok());
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(KALKORA_EXAMPLES "/welle.ang"), folder.filePath(QStringLiteral("welle.ang"))));
    typeActual(1, SetupTimeField, QStringLiteral("45"));
    typeActual(1, MachineTimeField, QStringLiteral("2,3"));
    typeActual(2, ExternalCostField, QStringLiteral("1,65"));
    setText(window, "good", QStringLiteral("97"));
    child<QLineEdit>(window, "good")->editingFinished();
    Scenario scenario(*window, ui, [&](const QString& look) {
        if (look == u"order") {
            const COperation& turning = *dlg.session().order().data().operations.at(0);
            return QStringLiteral("Rüstzeit %1, Maschinenzeit %2, %3")
                .arg(turning.setupTimeMin)
                .arg(turning.machineTimeMin)
                .arg(dlg.isOrderChanged() ? QStringLiteral("geändert") : QStringLiteral("ungeändert"));
        }
        return figure(look, QStringLiteral("Soll Vollkosten/St.")) + u'/'
            + figure(look, QStringLiteral("Ist Vollkosten/St."));
    });
    scenario.folder = folder.path() + u'/';
    ui.yesNoCancelAnswers = { Answer::No };
    scenario.run(saving);
    // One undo in the main window takes the whole step back.
    dlg.OnUndo();
    scenario.run(reopening);
    dlg.action(postCalcCommand)->trigger();
    scenario.run(openingAgain);
    files::PostCalculation saved;
    ASSERT_TRUE(files::loadPostCalc(folder.filePath(QStringLiteral("welle.nak")), saved).ok());
    EXPECT_EQ(saved.orderFile, QFileInfo(folder.filePath(QStringLiteral("welle.auf"))).absoluteFilePath());
    EXPECT_EQ(saved.actuals.size(), 2u);
}

// A post-calculation named at start, or opened from the file manager, brings the master data and
// the order it compares with. What a crash would lose of it comes back in a new run, unsaved as
// it was.
TEST_F(WindowTest, APostCalculationNamedAtStartBringsItsOrderAndSurvivesACrash)
{
    QTemporaryDir folder;
    const auto path = [&folder](const char* name) { return folder.filePath(QLatin1String(name)); };
    ASSERT_TRUE(files::saveMasterData(path("werk.sta"), examplePlant()).ok());
    ASSERT_TRUE(files::saveOrder(path("welle.auf"), exampleOrder()).ok());
    files::PostCalculation postCalc;
    postCalc.masterFile = path("werk.sta");
    postCalc.orderFile = path("welle.auf");
    postCalc.goodQuantity = 97;
    ASSERT_TRUE(files::savePostCalc(path("welle.nak"), postCalc).ok());
    postCalc.orderFile = path("fehlt.auf");
    ASSERT_TRUE(files::savePostCalc(path("ohne.nak"), postCalc).ok());

    std::vector<files::RecoveredDocument> lost;
    { // the run that ends without closing; its lock goes with it
        CMainDlg main;
        main.show();
        main.OpenStartFiles({ path("ohne.nak") });
        EXPECT_EQ(ui.messages().join(u'|').toStdString(),
            "Die Nachkalkulation „ohne.nak“ vergleicht mit „"
                + QDir::toNativeSeparators(path("fehlt.auf")).toStdString()
                + "“; diese Datei gibt es nicht mehr.|Die Nachkalkulation „ohne.nak“ braucht ihren Auftrag: erst den "
                  "Auftrag öffnen.");
        EXPECT_EQ(main.findChild<CPostCalcDlg*>(), nullptr);
        ui.clear();
        main.OpenStartFiles({ path("welle.nak") });
        EXPECT_EQ(main.session().order().path(), path("welle.auf"));
        auto* window = main.findChild<CPostCalcDlg*>();
        ASSERT_TRUE(window && window->isVisible());
        EXPECT_EQ(child<QLineEdit>(window, "good")->text(), QStringLiteral("97"));
        EXPECT_TRUE(ui.messages().isEmpty());

        setText(window, "remark", QStringLiteral("Charge 7"));
        child<QLineEdit>(window, "remark")->editingFinished();
        lost = main.postCalcRecovery();
        ASSERT_EQ(lost.size(), 1u);
        EXPECT_TRUE(lost[0].changed);
    }
    CMainDlg next;
    next.session().masterData().data() = examplePlant();
    next.OnNewOrder();
    next.restorePostCalcs(lost);
    auto* restored = next.findChild<CPostCalcDlg*>();
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(child<QLineEdit>(restored, "remark")->text(), QStringLiteral("Charge 7"));
    EXPECT_EQ(shownTitle(*restored).toStdString(), "Kalkora - welle.nak*");
}

} // namespace
} // namespace kalkora::ui::test
