#include "ui/masterdata/MachineDataDlg.h"

#include "Scenario.h"
#include "WindowTest.h"
#include "ui/common/QtText.h"
#include "ui/masterdata/NewMachineDlg.h"

#include <QTimer>

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
            auto* edit = child<QLineEdit>(dlg, "edit1027");
            shownNames << edit->text();
            const QString name = names.takeFirst();
            if (!name.isEmpty())
                edit->setText(name);
            click(dlg, name.isEmpty() ? "button2" : "button1");
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

    // What the dialog shows beyond its fields: "list" the machine names, "numbers" the number
    // fields, "readOnly" the read-only fields; and what it stores: "plant" the plant's machine
    // names, "life" / "power" / "cost" the working copy's values, "plantLife" / "stored" the plant's.
    QString stored(const CMachineDataDlg& dlg, const QString& name) const
    {
        QStringList texts;
        const auto machines = [&](const CMachineList& list, const std::function<QString(const CMachine&)>& text) {
            for (std::int32_t i = 0; i < list.count(); ++i)
                texts << text(*list.at(i));
        };
        if (name == QLatin1String("list")) {
            for (int i = 0; i < dlg.machineList()->count(); ++i)
                texts << dlg.machineList()->item(i)->text();
        } else if (name == QLatin1String("plant")) {
            machines(plant.machines, [](const CMachine& m) { return fromCp1252(m.name); });
        } else if (name == QLatin1String("stored")) {
            machines(plant.machines, [](const CMachine& m) { return QString::number(m.purchaseCost, 'f', 0); });
        } else if (name == QLatin1String("plantLife")) {
            texts << QString::number(plant.machines.at(0)->usefulLifeYears);
        } else if (name == QLatin1String("cost")) {
            machines(dlg.workingMachines(), [](const CMachine& m) { return QString::number(m.purchaseCost, 'f', 0); });
        } else if (name == QLatin1String("life") || name == QLatin1String("power")) {
            const CMachine& m = *dlg.workingMachines().at(0);
            texts << QString::number(name == QLatin1String("life") ? m.usefulLifeYears : m.installedPowerKw);
        } else {
            for (const int id : numberIds)
                if (name == QLatin1String("numbers") || dlg.field(id)->isReadOnly())
                    texts << (name == QLatin1String("numbers") ? dlg.field(id)->text() : QString::number(id));
        }
        return texts.join(u'|');
    }

    void run(CMachineDataDlg& dlg, std::span<const Row> rows)
    {
        Scenario(dlg, ui, [&](const QString& name) { return stored(dlg, name); }).run(rows);
    }

    CPlantData plant = examplePlant({ "Drehbank" });
};

// 10.05 is stored as 10.050000190734863 and 3.35 as 3.3500001: both go up a cent. A field left
// is read into the working copy and shown again in the number format; the rates follow at once
// (1000 EUR of tools over 2000 hours, plus energy and maintenance: 3).
const Row selecting[]
    = { { "", "list" }, { "", "edit1016" }, { "", "numbers" }, { "", "readOnly" }, { "list1025#0", "edit1016" },
          { "", "numbers" }, { "", "readOnly" }, { "list1025#1", "edit1018" }, { "list1025#-1", "numbers" },
          { "", "edit1016" }, { "list1025#0;edit1017=12 Jahre", "edit1017" }, { "edit1017=12,50", "edit1017" },
          { "", "life" }, { "edit1019=1e3", "edit1019" }, { "", "edit1069" }, { "", "messages" }, { "", "plantLife" },
          { "edit1023=viel", "messages" }, { "", "edit1023" }, { "", "focus" }, { "", "power" },
          { "edit1023~;button1001", "messages" }, { "", "visible" }, { "keys:Escape", "stored" }, { "", "plant" } };

TEST_F(MachineDataDlgTest, SelectingShowsAndLeavingAFieldReadsTheMachine)
{
    CMachineDataDlg dlg(plant);
    activate(dlg);
    run(dlg, selecting);

    plant.machines.clear();
    CMachineDataDlg empty(plant);
    const Row nothing[] = { { "", "numbers" }, { "button1015;button1001", "messages" } };
    run(empty, nothing);
    EXPECT_EQ(empty.result(), QDialog::Accepted);

    // Rates round up towards plus infinity, also below zero.
    EXPECT_EQ(CMachineDataDlg::displayedRate(0.0f), 0.0f);
    EXPECT_EQ(CMachineDataDlg::displayedRate(-1.239f), -1.23f);
}

// A machine's values pass through their six-digit texts when it is taken over: on leaving a
// field, or on OK while it is selected; a machine never selected keeps its values.
const Row takingOver[]
    = { { "list1025#1", "cost" }, { "edit1020=2000", "cost" }, { "list1025#2;edit1021~30,5;button1001", "stored" } };

TEST_F(MachineDataDlgTest, ValuesPassThroughSixDigitsOnlyWhenTheirMachineIsTakenOver)
{
    CMachineDataDlg dlg(plant);
    activate(dlg);
    run(dlg, takingOver);
    EXPECT_EQ(plant.machines.at(2)->floorAreaSqm, 30.5f);
    plant.machines.at(0)->purchaseCost = 1234567;
    CMachineDataDlg unselected(plant);
    const Row ok[] = { { "button1001", "stored" } };
    run(unselected, ok);
}

// Delete asks and removes only on Yes.
const Row deleting[] = { { "list1025#1;button1015", "messages" }, { "", "edit1016" },
    { "list1025#1;button1015", "numbers" }, { "list1025#0;button1015;button1001", "plant" } };

// New machines are appended unselected; a duplicate name is asked again without a message.
TEST_F(MachineDataDlgTest, NewAndDeletedMachines)
{
    CMachineDataDlg dlg(plant);
    {
        // "Drehbank" exists; the dialog comes back showing it; " drehbank" differs by case and blank.
        NameDialogDriver driver({ "Drehbank", "Drehbank", " drehbank" });
        click(&dlg, "button1014");
        EXPECT_EQ(driver.shownNames, (QStringList { "", "Drehbank", "Drehbank" }));
    }
    const Row added[] = { { "", "list" }, { "", "edit1016" }, { "list1025#3", "numbers" } };
    run(dlg, added);
    EXPECT_TRUE(ui.asked.empty());
    {
        NameDialogDriver driver({ "   ", "" }); // the second is cancelled
        click(&dlg, "button1014");
        click(&dlg, "button1014");
    }
    ui.yesNoAnswers = { false, true, true };
    run(dlg, deleting);
    EXPECT_EQ(ui.asked[0].icon, MessageIcon::Exclamation);
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
    // Escape while an input field has the focus: its focus loss comes after the working copy
    // is gone and must do nothing.
    for (const char* close : { "button1000", "keys:Escape" }) {
        CMachineDataDlg dlg(plant);
        activate(dlg);
        {
            NameDialogDriver driver({ "Neu" });
            click(&dlg, "button1014");
        }
        ui.yesNoAnswers = { true };
        const Row rows[]
            = { { "list1025#1;button1015;list1025#1;edit1017=3;edit1018~7", "messages" }, { close, "visible" } };
        run(dlg, rows);
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_EQ(dlg.workingMachines().count(), 0);
        EXPECT_EQ(machines(), before);
    }
}

} // namespace
} // namespace kalkora::ui::test
