#include "ui/main/OperationDlg.h"

#include "ModalDriver.h"
#include "Scenario.h"
#include "WindowTest.h"
#include "ui/common/NumberField.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace kalkora::ui::test {
namespace {

const QString noMachine = QStringLiteral("Keine Maschine gewählt !");

class OperationDlgTest : public WindowTest {
protected:
    QLineEdit* edit(const char* name) { return child<QLineEdit>(&dlg, name); }

    void open(COperation& operation)
    {
        dlg.prepare(operation, plant);
        dlg.show();
    }

    // OK, and whether the dialog ended as confirmed.
    bool confirm()
    {
        dlg.setResult(QDialog::Rejected);
        dlg.OnConfirm();
        return dlg.result() == QDialog::Accepted;
    }

    // "enabled" the enabled controls by name, then whether "intern" and "extern" are checked.
    void run(std::span<const Row> rows)
    {
        Scenario(dlg, ui, [this](const QString&) {
            QStringList names;
            for (QWidget* control : dlg.findChildren<QWidget*>())
                if (control->isEnabled() && !control->objectName().isEmpty())
                    names << control->objectName();
            names.sort();
            return names.join(u' ')
                + QStringLiteral(" checked:%1%2")
                      .arg(child<QRadioButton>(&dlg, "radio1033")->isChecked())
                      .arg(child<QRadioButton>(&dlg, "radio1034")->isChecked());
        }).run(rows);
    }

    CPlantData plant = examplePlant({ "Drehmaschine 1", "Presse", "Presse 2" });
    COperationDlg dlg;
};

TEST_F(OperationDlgTest, ANewOperationOpensInternalWithZerosAndTheFirstShift)
{
    COperation operation;
    open(operation);
    const Row rows[] = { { "", "title" }, { "", "enabled" }, { "", "combo1049" }, { "", "combo1051" },
        { "", "edit1038" }, { "", "edit1047" } };
    run(rows);
}

// Confirmed as internal, the external cost is cleared but the external lot size stays; confirmed
// as external, every internal value is cleared. A point without a digit ends a number.
const Row toInternal[]
    = { { "", "enabled" }, { "", "edit1045" }, { "", "edit1048" }, { "radio1033", "enabled" }, { "", "edit1045" } };
const Row internalFields[] = { { "edit1047~Pressen;edit1038~2,5;edit1043~2.;edit1036~ 250 Stück;edit1037~12;"
                                 "edit1046~90;edit1041~85;edit1042~1,5;edit1039~4",
    "edit1043" } };
const Row toExternal[] = { { "radio1034;edit1045~3,75;edit1048~40", "enabled" } };

TEST_F(OperationDlgTest, SwitchingKindChangesNoValueAndConfirmingTakesTheFieldsOfTheChosenKind)
{
    auto operation = externalOperation("Härten", 2.5f, 80);
    open(*operation);
    run(toInternal);
    EXPECT_FALSE(confirm());
    EXPECT_EQ(ui.messages(), QStringList({ noMachine }));
    EXPECT_EQ(operation->isInternal, 0);

    child<QComboBox>(&dlg, "combo1049")->setCurrentIndex(1);
    child<QComboBox>(&dlg, "combo1051")->setCurrentIndex(2);
    run(internalFields);
    ASSERT_TRUE(confirm());
    EXPECT_EQ(*operation, (COperation { 1, "Pressen", 0, 80, "Presse", 12, 250, 2, 2.5f, 2, 90, 85, 1.5f, 4 }));

    auto internal = turningOperation("Drehen", "Presse");
    internal->shiftMode = 1;
    open(*internal);
    run(toExternal);
    ASSERT_TRUE(confirm());
    EXPECT_EQ(*internal, *externalOperation("Drehen", 3.75f, 40));
}

TEST_F(OperationDlgTest, TheMachineIsPreselectedByCaseInsensitivePrefix)
{
    const std::initializer_list<const char*> three = { "Drehmaschine 1", "Presse", "Presse 2" };
    const struct {
        std::initializer_list<const char*> machines;
        const char *operationMachine, *selected;
    } rows[] = { { three, "Presse 2", "Presse 2" }, { three, "presse", "Presse" }, { three, "DREH", "Drehmaschine 1" },
        { three, "Fräse", "" }, { three, "", "" }, { { "Presse 2", "Presse" }, "Presse", "Presse 2" },
        { { "Externes Lager" }, "EXTERN", "Externes Lager" } };
    for (const auto& row : rows) {
        const CPlantData machines = examplePlant(row.machines);
        auto operation = turningOperation("AG", row.operationMachine);
        COperationDlg dialog;
        dialog.prepare(*operation, machines);
        EXPECT_EQ(child<QComboBox>(&dialog, "combo1049")->currentText(), QString::fromUtf8(row.selected))
            << row.operationMachine;
    }
}

// The fields are read in reading order, then the machine and the shift (out of range here: none
// is selected); nothing is taken before all are good.
TEST_F(OperationDlgTest, FieldsAreCheckedInReadingOrderBeforeTheMachineAndTheShift)
{
    auto operation = turningOperation("Drehen", "");
    operation->shiftMode = 7;
    const COperation before = *operation;
    open(*operation);
    EXPECT_EQ(child<QComboBox>(&dlg, "combo1051")->currentIndex(), -1);
    edit("edit1036")->setText(QStringLiteral("x"));
    edit("edit1045")->setText(QString()); // disabled fields are read too
    edit("edit1043")->setText(QStringLiteral("abc"));
    const struct {
        const char *field, *fix;
        QString message;
    } rows[] = { { "edit1043", "1", numberExpectedMessage() }, { "edit1045", "0", numberExpectedMessage() },
        { "edit1036", "5", wholeNumberExpectedMessage() }, { "combo1049", "Presse", noMachine },
        { "combo1051", "", QStringLiteral("Kein Schichtbetrieb gewählt !") } };
    for (const auto& row : rows) {
        ui.clear();
        EXPECT_FALSE(confirm());
        EXPECT_EQ(ui.messages(), QStringList({ row.message })) << row.field;
        if (auto* combo = dlg.findChild<QComboBox*>(QLatin1String(row.field))) {
            combo->setCurrentText(QLatin1String(row.fix));
        } else {
            EXPECT_EQ(edit(row.field)->selectedText(), edit(row.field)->text()) << row.field;
            edit(row.field)->setText(QLatin1String(row.fix));
        }
    }
    EXPECT_EQ(*operation, before);
}

TEST_F(OperationDlgTest, EscapeCancelsUnchanged)
{
    auto operation = turningOperation("Drehen", "Presse");
    whenModal([](QWidget* window) {
        auto* name = window->findChild<QLineEdit*>(QStringLiteral("edit1047"));
        name->setText(QStringLiteral("Geändert"));
        QTest::keyClick(name, Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.EditOperation(*operation, plant), nullptr);
    EXPECT_EQ(*operation, *turningOperation("Drehen", "Presse"));
}

TEST_F(OperationDlgTest, WithoutMachinesTheMessageComesFirstAndExternalStillWorks)
{
    plant.machines.clear();
    COperation operation;
    int messagesWhenShown = -1;
    whenModal([this, &messagesWhenShown](QWidget* window) {
        messagesWhenShown = static_cast<int>(ui.messages().size());
        EXPECT_EQ(child<QComboBox>(window, "combo1049")->count(), 0);
        click(window, "radio1034");
        setText(window, "edit1045", QStringLiteral("4"));
        // Lot size 0 is asked about; "Nein" goes back to the lot field, "Ja" takes it.
        click(window, "button1");
        EXPECT_EQ(child<QLineEdit>(window, "edit1048")->selectedText(), QStringLiteral("0"));
        click(window, "button1");
    });
    ui.yesNoAnswers = { false, true };
    EXPECT_EQ(dlg.EditOperation(operation, plant), &operation);
    EXPECT_EQ(messagesWhenShown, 1);
    record(QStringLiteral("asked"), ui.texts(Kind::YesNo).join(u'|'));
    record(QStringLiteral("messages"), ui.messages().join(u'|'));
    EXPECT_EQ(operation.externalCostPerPiece, 4.0f);
}

} // namespace
} // namespace kalkora::ui::test
