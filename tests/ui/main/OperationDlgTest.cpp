#include "ui/main/OperationDlg.h"

#include "ModalDriver.h"
#include "WindowTest.h"
#include "ui/common/NumberField.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kalkora::ui::test {
namespace {

const char* const internalFields[] = { "combo1051", "combo1049", "edit1037", "edit1039", "edit1046", "edit1041",
    "edit1038", "edit1036", "edit1042", "edit1043" };
const QString noMachine = QStringLiteral("Keine Maschine gewählt !");

class OperationDlgTest : public WindowTest {
protected:
    QWidget* control(const char* name) { return dlg.findChild<QWidget*>(QLatin1String(name)); }
    QLineEdit* edit(const char* name) { return dlg.findChild<QLineEdit*>(QLatin1String(name)); }
    QComboBox* combo(const char* name) { return dlg.findChild<QComboBox*>(QLatin1String(name)); }
    QRadioButton* radio(const char* name) { return dlg.findChild<QRadioButton*>(QLatin1String(name)); }

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

    void expectEnabled(bool internal)
    {
        for (const char* name : internalFields)
            EXPECT_EQ(control(name)->isEnabled(), internal) << name;
        for (const char* name : { "edit1045", "edit1048" })
            EXPECT_EQ(control(name)->isEnabled(), !internal) << name;
        for (const char* name : { "edit1047", "radio1033", "radio1034", "button1", "button2" })
            EXPECT_TRUE(control(name)->isEnabled()) << name;
        EXPECT_EQ(radio("radio1033")->isChecked(), internal);
        EXPECT_EQ(radio("radio1034")->isChecked(), !internal);
    }

    CPlantData plant = examplePlant({ "Drehmaschine 1", "Presse", "Presse 2" });
    COperationDlg dlg;
};

TEST_F(OperationDlgTest, ANewOperationOpensInternalWithZerosAndTheFirstShift)
{
    COperation operation;
    open(operation);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Kalkora 1.0 EURO: Arbeitsgang"));
    expectEnabled(true);
    EXPECT_EQ(combo("combo1049")->currentIndex(), -1);
    EXPECT_EQ(combo("combo1049")->count(), 3);
    EXPECT_EQ(combo("combo1051")->currentText(), QStringLiteral("1"));
    EXPECT_EQ(edit("edit1038")->text(), QStringLiteral("0"));
    EXPECT_EQ(edit("edit1047")->text(), QString());
}

TEST_F(OperationDlgTest, SwitchingKindChangesNoValueAndConfirmingTakesTheFieldsOfTheChosenKind)
{
    auto operation = externalOperation("Härten", 2.5f, 80);
    open(*operation);
    expectEnabled(false);
    EXPECT_EQ(edit("edit1045")->text(), QStringLiteral("2,5"));
    EXPECT_EQ(edit("edit1048")->text(), QStringLiteral("80"));

    radio("radio1033")->click();
    expectEnabled(true);
    EXPECT_EQ(edit("edit1045")->text(), QStringLiteral("2,5"));
    EXPECT_FALSE(confirm());
    EXPECT_EQ(ui.messages(), QStringList({ noMachine }));
    EXPECT_EQ(operation->isInternal, 0);

    // Confirmed as internal, the external cost is cleared but the external lot size stays.
    combo("combo1049")->setCurrentIndex(1);
    combo("combo1051")->setCurrentIndex(2);
    edit("edit1047")->setText(QStringLiteral("Pressen"));
    edit("edit1038")->setText(QStringLiteral("2,5"));
    edit("edit1043")->setText(QStringLiteral("2.")); // a point without a digit ends the number
    edit("edit1036")->setText(QStringLiteral(" 250 Stück"));
    const std::pair<const char*, const char*> others[] = { { "edit1037", "12" }, { "edit1046", "90" },
        { "edit1041", "85" }, { "edit1042", "1,5" }, { "edit1039", "4" } };
    for (const auto& [name, value] : others)
        edit(name)->setText(QString::fromUtf8(value));
    ASSERT_TRUE(confirm());
    EXPECT_EQ(*operation, (COperation { 1, "Pressen", 0, 80, "Presse", 12, 250, 2, 2.5f, 2, 90, 85, 1.5f, 4 }));

    // Confirmed as external, every internal value is cleared.
    auto internal = turningOperation("Drehen", "Presse");
    internal->shiftMode = 1;
    open(*internal);
    radio("radio1034")->click();
    edit("edit1045")->setText(QStringLiteral("3,75"));
    edit("edit1048")->setText(QStringLiteral("40"));
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
        EXPECT_EQ(
            dialog.findChild<QComboBox*>(QStringLiteral("combo1049"))->currentText(), QString::fromUtf8(row.selected))
            << row.operationMachine;
    }
}

TEST_F(OperationDlgTest, FieldsAreCheckedInReadingOrderBeforeTheMachine)
{
    auto operation = turningOperation("Drehen", "");
    open(*operation);
    edit("edit1036")->setText(QStringLiteral("x"));
    edit("edit1045")->setText(QString()); // disabled fields are read too
    edit("edit1043")->setText(QStringLiteral("abc"));
    const struct {
        const char *field, *fix;
        QString message;
    } rows[] = { { "edit1043", "1", numberExpectedMessage() }, { "edit1045", "0", numberExpectedMessage() },
        { "edit1036", "5", wholeNumberExpectedMessage() } };
    for (const auto& row : rows) {
        ui.clear();
        EXPECT_FALSE(confirm());
        EXPECT_EQ(ui.messages(), QStringList({ row.message })) << row.field;
        EXPECT_EQ(edit(row.field)->selectedText(), edit(row.field)->text()) << row.field;
        edit(row.field)->setText(QLatin1String(row.fix));
    }
    ui.clear();
    EXPECT_FALSE(confirm());
    EXPECT_EQ(ui.messages(), QStringList({ noMachine }));
    EXPECT_EQ(*operation, *turningOperation("Drehen", ""));
}

TEST_F(OperationDlgTest, AShiftModeOutOfRangeSelectsNoShiftAndIsRefused)
{
    auto operation = turningOperation("Drehen", "Presse");
    operation->shiftMode = 7;
    open(*operation);
    EXPECT_EQ(combo("combo1051")->currentIndex(), -1);
    EXPECT_FALSE(confirm());
    EXPECT_EQ(ui.messages(), QStringList({ QStringLiteral("Kein Schichtbetrieb gewählt !") }));
    EXPECT_EQ(operation->shiftMode, 7);
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
        EXPECT_EQ(window->findChild<QComboBox*>(QStringLiteral("combo1049"))->count(), 0);
        window->findChild<QRadioButton*>(QStringLiteral("radio1034"))->click();
        window->findChild<QLineEdit*>(QStringLiteral("edit1045"))->setText(QStringLiteral("4"));
        // Lot size 0 is asked about; "Nein" goes back to the lot field, "Ja" takes it.
        auto* ok = window->findChild<QPushButton*>(QStringLiteral("button1"));
        ok->click();
        EXPECT_EQ(window->findChild<QLineEdit*>(QStringLiteral("edit1048"))->selectedText(), QStringLiteral("0"));
        ok->click();
    });
    ui.yesNoAnswers = { false, true };
    EXPECT_EQ(dlg.EditOperation(operation, plant), &operation);
    EXPECT_EQ(ui.texts(ScriptedUiServices::Kind::YesNo),
        QStringList(
            2, QStringLiteral("Losgröße 0: der Arbeitsgang geht nicht in die Kosten ein. Trotzdem übernehmen?")));
    EXPECT_EQ(messagesWhenShown, 1);
    EXPECT_EQ(ui.messages()[0],
        QStringLiteral("Es sind keine Maschinendaten angelegt. Evtl. müssen Sie die zuerst die "
                       "Stammdaten laden !?"));
    EXPECT_EQ(operation.externalCostPerPiece, 4.0f);
}

} // namespace
} // namespace kalkora::ui::test
