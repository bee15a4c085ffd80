#include "ModalDriver.h"
#include "Scenario.h"
#include "WindowTest.h"
#include "costing/AnalysisTables.h"
#include "ui/analysis/CostBreakdownDlg.h"
#include "ui/analysis/PriceScaleDlg.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChartView>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QTableView>
#include <QTemporaryDir>

#include <functional>

namespace kalkora::ui::test {
namespace {

constexpr int priceScaleCommand = 40016;
constexpr int breakdownCommand = 40017;

class AnalysisDlgTest : public ExampleOrderTest {
protected:
    template <typename Window> Window* open(int command)
    {
        dlg.action(command)->trigger();
        return dlg.findChild<Window*>();
    }

    static void enterQuantities(CPriceScaleDlg* window, const QString& text)
    {
        auto* field = window->findChild<QLineEdit*>(QStringLiteral("quantities"));
        field->setText(text);
        QTest::keyClick(field, Qt::Key_Return);
    }
};

// Windows left open would show the figures of an order that is gone.
TEST_F(AnalysisDlgTest, AnalysisCommandsAreGreyedWithoutAnOrderAndItsWindowsClosedWithIt)
{
    const auto shownWindows = [this] {
        int shown = 0;
        for (const CAnalysisDlg* window : dlg.findChildren<CAnalysisDlg*>())
            shown += int(window->isVisible());
        return shown;
    };
    const std::pair<void (CMainDlg::*)(), bool> steps[] = { { &CMainDlg::OnCloseOrder, false },
        { &CMainDlg::OnNewOrder, true }, { &CMainDlg::OnNewOrder, true }, { &CMainDlg::OnCloseOrder, false } };
    for (auto [step, enabled] : steps) {
        const bool orderOpen = dlg.action(priceScaleCommand)->isEnabled();
        dlg.action(priceScaleCommand)->trigger();
        dlg.action(breakdownCommand)->trigger();
        EXPECT_EQ(shownWindows(), orderOpen ? 2 : 0);
        (dlg.*step)();
        EXPECT_EQ(dlg.action(priceScaleCommand)->isEnabled(), enabled);
        EXPECT_EQ(dlg.action(breakdownCommand)->isEnabled(), enabled);
        EXPECT_EQ(shownWindows(), 0);
    }
}

// The worked example: Drehen 3,64 / 2,73 and Härten 1,65 / 1,50 per piece at 100 pieces; at one
// piece the whole setup of 30 minutes falls on it.
TEST_F(AnalysisDlgTest, PriceScaleShowsTheExampleAndRecomputesOnlyOnGoodEntries)
{
    CPriceScaleDlg* window = open<CPriceScaleDlg>(priceScaleCommand);
    ASSERT_NE(window, nullptr);
    auto* errorLine = window->findChild<QLabel*>(QStringLiteral("errorLine"));
    transcript += tableText(window->table()->model()); // 1 ... 1000, the base 100 among them
    EXPECT_TRUE(errorLine->isHidden());

    const std::pair<const char*, bool> entries[] = { { "100, 1,100", true }, { "1,,2", false }, { "0", false },
        { "10, x", false }, { "2147483648", false }, { " 1 , 100 ", true } };
    std::string table; // a bad entry keeps the table of the last good one
    for (const auto& [typed, good] : entries) {
        SCOPED_TRACE(typed);
        enterQuantities(window, QString::fromUtf8(typed));
        EXPECT_EQ(errorLine->isHidden(), good);
        EXPECT_FALSE(!errorLine->isHidden() && errorLine->text().isEmpty());
        if (table.empty())
            transcript += table = tableText(window->table()->model());
        EXPECT_EQ(tableText(window->table()->model()), table);
    }
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(ui.asked.empty());

    // A scaled lot beyond int32 is an error of the entry too.
    dlg.session().order().data().quantityBase = 50;
    enterQuantities(window, QStringLiteral("2147483647"));
    EXPECT_TRUE(errorLine->text().contains(QStringLiteral("Drehen"))) << errorLine->text().toStdString();
    EXPECT_EQ(window->table()->model()->rowCount(), 2);

    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(AnalysisDlgTest, BreakdownShowsThePartsAndNamesWhatCouldNotBeCosted)
{
    dlg.session().order().data().operations.add(turningOperation("Fr\xE4sen", "Fr\xE4se"));
    dlg.panel().RefreshFromOrder();
    CCostBreakdownDlg* window = open<CCostBreakdownDlg>(breakdownCommand);
    ASSERT_NE(window, nullptr);

    transcript += tableText(window->table()->model());
    // Which operation and what it costs stay in sight while the parts scroll.
    const auto visibleTitles = [window](const char* view) {
        const auto* table = window->findChild<QTableView*>(QLatin1String(view));
        QStringList titles;
        for (int column = 0; column < table->model()->columnCount(); ++column) {
            if (!table->isColumnHidden(column))
                titles << table->model()->headerData(column, Qt::Horizontal).toString();
        }
        return titles.join(QLatin1Char('|'));
    };
    for (const char* view : { "pinnedLeft", "pinnedRight", "table" })
        record(QString::fromLatin1(view), visibleTitles(view));
    EXPECT_TRUE(window->warningLine()->isVisible());
    record(QStringLiteral("warning"), window->warningLine()->text());
    EXPECT_TRUE(ui.asked.empty()); // no message boxes
}

// Each bar is an operation's share of the order's cost per piece: the bars add up to the
// order's bar, part by part, the rest of many operations included.
TEST_F(AnalysisDlgTest, BreakdownChartSharesAddUpToTheOrder)
{
    for (int lot = 10; lot < 130; lot += 10) {
        auto operation = lot % 20 ? turningOperation() : externalOperation("Haerten", 1.5f, lot);
        operation->lotSize = lot;
        dlg.session().order().data().operations.add(std::move(operation));
    }
    dlg.panel().RefreshFromOrder();
    auto* window = open<CCostBreakdownDlg>(breakdownCommand);
    auto* series = qobject_cast<QStackedBarSeries*>(window->chart()->chart()->series().value(0));
    ASSERT_NE(series, nullptr);
    const auto labels = qobject_cast<QBarCategoryAxis*>(series->attachedAxes().value(0))->categories();
    ASSERT_EQ(labels.size(), CCostBreakdownDlg::chartedOperations + 2);
    EXPECT_EQ(labels.mid(labels.size() - 2), QStringList({ QStringLiteral("übrige"), QStringLiteral("Auftrag") }));
    for (const QBarSet* part : series->barSets()) {
        double shares = 0;
        for (int bar = 0; bar + 1 < part->count(); ++bar)
            shares += part->at(bar);
        EXPECT_NEAR(shares, part->at(part->count() - 1), 1e-9) << part->label().toStdString();
    }
}

// Confirmed plant data reach the windows open beside the main window at once: each shows what it
// shows when opened again, with the machine rates of the new rent.
TEST_F(AnalysisDlgTest, ConfirmedPlantDataReachTheOpenWindows)
{
    const int commands[] = { priceScaleCommand, breakdownCommand, 40018 };
    const auto shownTables = [this] {
        std::string text;
        for (const COrderWindow* window : dlg.findChildren<COrderWindow*>())
            text += tableText(child<QTableView>(window, "table")->model());
        return text;
    };
    for (int command : commands)
        dlg.action(command)->trigger();
    const std::string before = shownTables();
    whenModal([](QWidget* modal) {
        setText(modal, "edit1002", QStringLiteral("600"));
        click(modal, "button1001");
    });
    dlg.action(40007)->trigger();
    const std::string shown = shownTables();
    for (int command : commands)
        dlg.action(command)->trigger();
    EXPECT_EQ(shown, shownTables());
    EXPECT_NE(shown, before);
    // The full cost per piece at 100 and 1,000 pieces, 5,29 and 5,03 with the old rent.
    EXPECT_NE(shown.find("\n100|5,48|"), std::string::npos);
    EXPECT_NE(shown.find("\n1.000|5,20|"), std::string::npos);
}

// Each window's file dialog and its failed write are in the transcript.
TEST_F(AnalysisDlgTest, ExportWritesTheCsvOfTheCommandLineAndReportsAFailedWrite)
{
    QTemporaryDir folder;
    const std::tuple<int, const char*, std::string> exports[] = {
        { priceScaleCommand, "priceScaleDlg",
            priceScaleCsv(computePriceScale(
                              dlg.session().order().data(), dlg.session().masterData().data(), defaultQuantities(100)),
                CsvDialect::German) },
        { breakdownCommand, "costBreakdownDlg",
            breakdownCsv(
                breakDownCosts(dlg.session().order().data(), dlg.session().masterData().data()), CsvDialect::German) },
    };
    const Row rows[]
        = { { "file:export.csv;buttonExport", "messages" }, { "file:fehlt/export.csv;buttonExport", "messages" } };
    for (const auto& [command, name, csv] : exports) {
        dlg.action(command)->trigger();
        auto* window = child<CAnalysisDlg>(&dlg, name);
        Scenario scenario(*window, ui);
        scenario.folder = folder.path() + u'/';
        scenario.run(rows);
        EXPECT_EQ(ui.asked.at(0).file.defaultSuffix, QStringLiteral("csv"));
        QFile written(folder.filePath(QStringLiteral("export.csv")));
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_EQ(written.readAll().toStdString(), csv);
        EXPECT_NE(window->printout().find("5,29"), std::string::npos) << "decimal commas as in the window";
        window->close();
    }
}

// The windows take the order as the user sees it: a quantity base being typed counts before
// the field is left, while the order itself stays unchanged until then.
TEST_F(AnalysisDlgTest, WindowsSeeTheFieldBeingTyped)
{
    child(&dlg.panel(), "edit1062")->setFocus();
    setText(&dlg.panel(), "edit1062", QStringLiteral("50"));
    EXPECT_EQ(dlg.panel().orderWithPendingField().quantityBase, 50);
    EXPECT_EQ(dlg.session().order().data().quantityBase, 100);

    CPriceScaleDlg* window = open<CPriceScaleDlg>(priceScaleCommand);
    EXPECT_EQ(window->shownScale().value().quantityBase, 50); // throws, and fails, when nothing is shown
}

// Figures that do not belong to the order as it stands can be neither exported nor printed.
TEST_F(AnalysisDlgTest, OutOfDateFiguresAreGreyedUntilAValidRecompute)
{
    auto* scale = open<CPriceScaleDlg>(priceScaleCommand);
    auto* breakdown = open<CCostBreakdownDlg>(breakdownCommand);
    const auto setBase = [this](int base) {
        dlg.session().order().data().quantityBase = base;
        emit dlg.panel().changed();
    };
    const struct {
        const char* step;
        std::function<void()> act;
        bool scaleCurrent, breakdownCurrent;
    } steps[] = {
        { "bad entry", [&] { enterQuantities(scale, QStringLiteral("x")); }, false, true },
        { "grouped entry", [&] { enterQuantities(scale, QStringLiteral("1.000, 5")); }, true, true },
        { "point not before three digits", [&] { enterQuantities(scale, QStringLiteral("1.00")); }, false, true },
        { "good entry", [&] { enterQuantities(scale, QStringLiteral("1000, 5")); }, true, true },
        { "base 0", [&] { setBase(0); }, false, false },
        { "base back", [&] { setBase(100); }, true, true },
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.step);
        step.act();
        EXPECT_EQ(scale->isCurrent(), step.scaleCurrent);
        EXPECT_EQ(scale->findChild<QPushButton*>(QStringLiteral("buttonPrint"))->isEnabled(), step.scaleCurrent);
        EXPECT_EQ(breakdown->isCurrent(), step.breakdownCurrent);
    }
    EXPECT_EQ(scale->table()->model()->index(1, 0).data().toString(), QStringLiteral("1.000")); // Menge
    EXPECT_EQ(germanAmount(12505363887.556), QStringLiteral("12.505.363.887,56"));
    EXPECT_EQ(germanAmount(-29136.77), QStringLiteral("-29.136,77"));
}

} // namespace
} // namespace kalkora::ui::test
