#include "ui/masterdata/MachineDataDlg.h"

#include "WindowTest.h"
#include "ui/common/NumberField.h"
#include "ui/common/QtText.h"
#include "ui/masterdata/NewMachineDlg.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <vector>

namespace kalkora::ui::test {
namespace {

const int numberIds[] = { 1018, 1017, 1023, 1022, 1019, 1020, 1021, 1065, 1067, 1068, 1069, 1070, 1071 };

// Answers the next runs of the new-machine dialog with `names` in turn (an empty name
// cancels) and records the name each run showed when it opened.
struct NameDialogDriver {
    explicit NameDialogDriver(QStringList answers)
        : names(std::move(answers))
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto* dlg = qobject_cast<CNewMachineDlg*>(QApplication::activeModalWidget());
            if (!dlg || !dlg->isVisible() || names.isEmpty())
                return;
            EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Kalkora 1.0 EURO: Neue Maschine anlegen"));
            auto* edit = dlg->findChild<QLineEdit*>(QStringLiteral("edit1027"));
            shownNames << edit->text();
            const QString name = names.takeFirst();
            if (!name.isEmpty())
                edit->setText(name);
            dlg->findChild<QPushButton*>(name.isEmpty() ? QStringLiteral("button2") : QStringLiteral("button1"))
                ->click();
        });
        timer.start(0);
    }

    QStringList names, shownNames;
    QTimer timer;
};

class MachineDataDlgTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        CMachine press = exampleMachine("Presse");
        press.purchaseCost = 1234567;
        addMachine(plant, press);
        press.name = "Fr\xE4se";
        addMachine(plant, press);
    }

    static void click(CMachineDataDlg& dlg, int id)
    {
        dlg.findChild<QPushButton*>(QStringLiteral("button%1").arg(id))->click();
    }

    static void select(CMachineDataDlg& dlg, int row) { dlg.machineList()->setCurrentRow(row); }

    static QStringList listed(const CMachineDataDlg& dlg)
    {
        QStringList names;
        for (int i = 0; i < dlg.machineList()->count(); ++i)
            names << dlg.machineList()->item(i)->text();
        return names;
    }

    // Types `text` into a field and moves the focus on, as a user leaving the field does.
    static void typeAndLeave(CMachineDataDlg& dlg, int id, const QString& text)
    {
        QLineEdit* edit = dlg.field(id);
        edit->setFocus();
        edit->setText(text);
        dlg.machineList()->setFocus();
    }

    static void expectNoSelectionState(const CMachineDataDlg& dlg)
    {
        EXPECT_EQ(dlg.field(1016)->text(), QStringLiteral("keine Auswahl"));
        for (const int id : numberIds) {
            EXPECT_EQ(dlg.field(id)->text(), QStringLiteral("0")) << id;
            EXPECT_TRUE(dlg.field(id)->isReadOnly()) << id;
        }
    }

    CPlantData plant = examplePlant({ "Drehbank" });
};

TEST_F(MachineDataDlgTest, SelectingShowsTheMachineWithItsRatesRoundedUpToCents)
{
    CMachineDataDlg dlg(plant);
    EXPECT_EQ(listed(dlg), (QStringList { "Drehbank", "Presse", "Fräse" }));
    expectNoSelectionState(dlg);

    select(dlg, 0);
    // 10.05 is stored as 10.050000190734863 and 3.35 as 3.3500001: both go up a cent.
    const std::pair<int, const char*> shown[] = { { 1016, "Drehbank" }, { 1018, "120000" }, { 1017, "10" },
        { 1023, "20" }, { 1022, "50" }, { 1019, "3000" }, { 1020, "2000" }, { 1021, "15" }, { 1065, "10,06" },
        { 1067, "5,03" }, { 1068, "3,36" }, { 1069, "4" }, { 1070, "2,75" }, { 1071, "2,34" } };
    for (const auto& [id, text] : shown) {
        EXPECT_EQ(dlg.field(id)->text(), QLatin1String(text)) << id;
        EXPECT_EQ(dlg.field(id)->isReadOnly(), id == 1016 || id >= 1065) << id;
    }
    select(dlg, 1);
    EXPECT_EQ(dlg.field(1018)->text(), QStringLiteral("1,23457e+006"));
    dlg.machineList()->clearSelection();
    expectNoSelectionState(dlg);

    plant.machines.clear();
    CMachineDataDlg empty(plant);
    EXPECT_EQ(text::runtimeLocale(), text::RuntimeLocale::German);
    expectNoSelectionState(empty);
    click(empty, 1015); // nothing to delete, nothing asked
    click(empty, 1001);
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(empty.result(), QDialog::Accepted);
    EXPECT_EQ(plant.machines.count(), 0);

    // Rates round up towards plus infinity, also below zero.
    EXPECT_EQ(CMachineDataDlg::displayedRate(0.0f), 0.0f);
    EXPECT_EQ(CMachineDataDlg::displayedRate(-1.239f), -1.23f);
}

// A field left is read into the working copy and shown again in the number format; the rates
// follow at once (1000 EUR of tools over 2000 hours, plus energy and maintenance: 3).
TEST_F(MachineDataDlgTest, LeavingAFieldRewritesItInTheNumberFormat)
{
    CMachineDataDlg dlg(plant);
    activate(dlg);
    select(dlg, 0);
    const struct {
        int id;
        const char *typed, *shown;
        float CMachine::*member;
        float value;
    } rows[] = {
        { 1017, "12 Jahre", "12", &CMachine::usefulLifeYears, 12 },
        { 1017, "12,50", "12,5", &CMachine::usefulLifeYears, 12.5f },
        { 1019, "1e3", "1000", &CMachine::toolCostPerYear, 1000 },
    };
    for (const auto& row : rows) {
        typeAndLeave(dlg, row.id, QLatin1String(row.typed));
        EXPECT_EQ(dlg.field(row.id)->text(), QLatin1String(row.shown)) << row.typed;
        EXPECT_EQ(dlg.workingMachines().at(0)->*row.member, row.value) << row.typed;
    }
    EXPECT_EQ(dlg.field(1069)->text(), QStringLiteral("3"));
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(plant.machines.at(0)->usefulLifeYears, 10.0f) << "only the working copy changes";

    // An unreadable field warns and shows the stored value again, selected.
    typeAndLeave(dlg, 1023, QStringLiteral("viel"));
    EXPECT_EQ(ui.messages(), QStringList { numberExpectedMessage() });
    EXPECT_EQ(ui.asked[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(dlg.field(1023)->text(), QStringLiteral("20"));
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg.focusWidget(), dlg.field(1023));
    EXPECT_EQ(dlg.field(1023)->selectedText(), QStringLiteral("20"));
    EXPECT_EQ(dlg.workingMachines().at(0)->installedPowerKw, 20.0f);

    // OK with an unreadable field keeps the dialog open rather than dropping the input.
    ui.clear();
    dlg.field(1023)->setText(QString());
    click(dlg, 1001);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(ui.messages().size(), 1);
    dlg.reject();
}

// A machine's values pass through their six-digit texts when it is taken over: on leaving a
// field, or on OK while it is selected; a machine never selected keeps its values.
TEST_F(MachineDataDlgTest, ValuesPassThroughSixDigitsOnlyWhenTheirMachineIsTakenOver)
{
    CMachineDataDlg dlg(plant);
    activate(dlg);
    select(dlg, 1);
    EXPECT_EQ(dlg.workingMachines().at(1)->purchaseCost, 1234567.0f);
    typeAndLeave(dlg, 1020, QStringLiteral("2000"));
    EXPECT_EQ(dlg.workingMachines().at(1)->purchaseCost, 1234570.0f);
    select(dlg, 2);
    dlg.field(1021)->setText(QStringLiteral("30,5"));
    click(dlg, 1001);
    EXPECT_EQ(plant.machines.at(1)->purchaseCost, 1234570.0f);
    EXPECT_EQ(plant.machines.at(2)->purchaseCost, 1234570.0f);
    EXPECT_EQ(plant.machines.at(2)->floorAreaSqm, 30.5f);

    plant.machines.at(0)->purchaseCost = 1234567;
    CMachineDataDlg unselected(plant);
    click(unselected, 1001);
    EXPECT_EQ(plant.machines.at(0)->purchaseCost, 1234567.0f) << "never selected";
}

// New machines are appended unselected, a duplicate name is asked again; delete asks and removes
// only on Yes.
TEST_F(MachineDataDlgTest, NewAndDeletedMachines)
{
    CMachineDataDlg dlg(plant);
    {
        // "Drehbank" exists; the dialog comes back showing it; " drehbank" differs by case and blank.
        NameDialogDriver driver({ "Drehbank", "Drehbank", " drehbank" });
        click(dlg, 1014);
        EXPECT_EQ(driver.shownNames, (QStringList { "", "Drehbank", "Drehbank" }));
    }
    EXPECT_EQ(listed(dlg), (QStringList { "Drehbank", "Presse", "Fräse", " drehbank" }));
    expectNoSelectionState(dlg);
    EXPECT_TRUE(ui.asked.empty()) << "no message for a duplicate";

    select(dlg, 3);
    for (const int id : numberIds)
        EXPECT_EQ(dlg.field(id)->text(), QStringLiteral("0")) << id;
    {
        NameDialogDriver driver({ "   ", "" }); // the second is cancelled
        click(dlg, 1014);
        click(dlg, 1014);
    }
    EXPECT_EQ(listed(dlg).size(), 5);

    select(dlg, 1);
    ui.yesNoAnswers = { false };
    click(dlg, 1015);
    ASSERT_EQ(ui.texts(ScriptedUiServices::Kind::YesNo),
        QStringList { QStringLiteral("Diesen Maschinendatensatz wirklich löschen ?") });
    EXPECT_EQ(ui.asked[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(dlg.field(1016)->text(), QStringLiteral("Presse"));
    ui.yesNoAnswers = { true };
    click(dlg, 1015);
    expectNoSelectionState(dlg);
    select(dlg, 0); // the first one too
    ui.yesNoAnswers = { true };
    click(dlg, 1015);
    click(dlg, 1001);
    QStringList names;
    for (std::int32_t i = 0; i < plant.machines.count(); ++i)
        names << fromCp1252(plant.machines.at(i)->name);
    EXPECT_EQ(names, (QStringList { "Fräse", " drehbank", "   " }));
}

TEST_F(MachineDataDlgTest, CancelAndEscapeLeaveTheMachinesExactlyAsBefore)
{
    // Rates deliberately stale, so that a recomputation would show.
    plant.machines.at(0)->fixedRate[0] = 99;
    const auto machines = [this] {
        std::vector<CMachine> list;
        for (std::int32_t i = 0; i < plant.machines.count(); ++i)
            list.push_back(*plant.machines.at(i));
        return list;
    };
    const std::vector<CMachine> before = machines();
    for (const bool useEscape : { false, true }) {
        CMachineDataDlg dlg(plant);
        activate(dlg);
        {
            NameDialogDriver driver({ "Neu" });
            click(dlg, 1014);
        }
        ui.yesNoAnswers = { true };
        select(dlg, 1);
        click(dlg, 1015);
        select(dlg, 1);
        typeAndLeave(dlg, 1017, QStringLiteral("3"));
        // Escape while an input field has the focus: its focus loss comes after the working copy
        // is gone and must do nothing.
        dlg.field(1018)->setFocus();
        dlg.field(1018)->setText(QStringLiteral("7"));
        if (useEscape)
            QTest::keyClick(dlg.field(1018), Qt::Key_Escape);
        else
            click(dlg, 1000);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_EQ(dlg.workingMachines().count(), 0);
        EXPECT_EQ(machines(), before);
    }
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST_F(MachineDataDlgTest, OkRecomputesEveryRateFromTheCurrentPlantData)
{
    plant.hoursPerShift = 4; // half the hours of the example: 1000, 2000, 3000 a year
    plant.computeHoursPerYear();
    CMachineDataDlg dlg(plant);
    click(dlg, 1001);
    const CMachine& m = *plant.machines.at(0);
    const float rates[] = { 20.1f, 10.05f, 6.7f, 6.5f, 4.0f, 3.1666667f };
    for (int k = 0; k < 6; ++k)
        EXPECT_FLOAT_EQ(k < 3 ? m.fixedRate[k] : m.variableRate[k - 3], rates[k]) << k;
}

} // namespace
} // namespace kalkora::ui::test
