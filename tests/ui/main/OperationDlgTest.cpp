#include "ui/main/OperationDlg.h"

#include "ModalDriver.h"
#include "UiTestData.h"
#include "ui/common/NumberField.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace kalkora::ui::test {
namespace {

const char* const internalFields[] = { "combo1051", "combo1049", "edit1037", "edit1039", "edit1046", "edit1041",
    "edit1038", "edit1036", "edit1042", "edit1043" };

class OperationDlgTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        fillPlant(plant, { "Drehmaschine 1", "Presse", "Presse 2" });
    }

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

    CPlantData plant;
    COperationDlg dlg;
};

TEST_F(OperationDlgTest, ANewOperationOpensInternalWithZerosAndTheFirstShift)
{
    COperation operation;
    open(operation);
    EXPECT_EQ(text::runtimeLocale(), text::RuntimeLocale::German);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Kalkora 1.0 EURO: Arbeitsgang"));
    EXPECT_TRUE(radio("radio1033")->isChecked());
    EXPECT_FALSE(radio("radio1034")->isChecked());
    for (const char* name : internalFields) {
        EXPECT_TRUE(control(name)->isEnabled()) << name;
    }
    EXPECT_FALSE(control("edit1045")->isEnabled());
    EXPECT_FALSE(control("edit1048")->isEnabled());
    EXPECT_EQ(combo("combo1049")->currentIndex(), -1);
    EXPECT_EQ(combo("combo1049")->count(), 3);
    EXPECT_EQ(combo("combo1051")->currentText(), QStringLiteral("1"));
    EXPECT_EQ(edit("edit1038")->text(), QStringLiteral("0"));
    EXPECT_EQ(edit("edit1036")->text(), QStringLiteral("0"));
    EXPECT_EQ(edit("edit1047")->text(), QString());
}

TEST_F(OperationDlgTest, AnExternalOperationEnablesOnlyItsFields)
{
    auto operation = externalOperation("Härten", 2.5f, 80);
    open(*operation);
    EXPECT_TRUE(radio("radio1034")->isChecked());
    EXPECT_FALSE(radio("radio1033")->isChecked());
    for (const char* name : internalFields) {
        EXPECT_FALSE(control(name)->isEnabled()) << name;
    }
    for (const char* name : { "edit1047", "edit1045", "edit1048", "radio1033", "radio1034", "button1", "button2" }) {
        EXPECT_TRUE(control(name)->isEnabled()) << name;
    }
    EXPECT_EQ(edit("edit1045")->text(), QStringLiteral("2,5"));
    EXPECT_EQ(edit("edit1048")->text(), QStringLiteral("80"));
    EXPECT_EQ(edit("edit1038")->text(), QStringLiteral("0"));
    EXPECT_EQ(combo("combo1049")->currentIndex(), -1);

    // Switching modes changes no value.
    radio("radio1033")->click();
    EXPECT_TRUE(control("edit1038")->isEnabled());
    EXPECT_FALSE(control("edit1045")->isEnabled());
    EXPECT_EQ(edit("edit1045")->text(), QStringLiteral("2,5"));
    EXPECT_FALSE(confirm());
    EXPECT_EQ(ui.messages(), QStringList({ QStringLiteral("Keine Maschine gewählt !") }));
    EXPECT_EQ(operation->isInternal, 0);
}

TEST_F(OperationDlgTest, TheMachineIsPreselectedByCaseInsensitivePrefix)
{
    const auto selectedFor = [this](const std::string& machineName) {
        auto operation = internalOperation("AG", machineName);
        COperationDlg dialog;
        dialog.prepare(*operation, plant);
        return dialog.findChild<QComboBox*>(QStringLiteral("combo1049"))->currentText();
    };
    EXPECT_EQ(selectedFor("Presse 2"), QStringLiteral("Presse 2"));
    EXPECT_EQ(selectedFor("presse"), QStringLiteral("Presse"));
    EXPECT_EQ(selectedFor("DREH"), QStringLiteral("Drehmaschine 1"));
    EXPECT_EQ(selectedFor("Fräse"), QString());
    EXPECT_EQ(selectedFor(""), QString());

    fillPlant(plant, { "Presse 2", "Presse" });
    EXPECT_EQ(selectedFor("Presse"), QStringLiteral("Presse 2"));
    fillPlant(plant, { "Externes Lager" });
    EXPECT_EQ(selectedFor("EXTERN"), QStringLiteral("Externes Lager"));
}

TEST_F(OperationDlgTest, ConfirmingInternalKeepsTheExternalLotSize)
{
    auto operation = externalOperation("Härten", 2.5f, 80);
    open(*operation);
    radio("radio1033")->click();
    combo("combo1049")->setCurrentIndex(1);
    combo("combo1051")->setCurrentIndex(2);
    edit("edit1047")->setText(QStringLiteral("Pressen"));
    edit("edit1038")->setText(QStringLiteral("2,5"));
    edit("edit1043")->setText(QStringLiteral("2.5"));
    edit("edit1036")->setText(QStringLiteral(" 250 Stück"));
    ASSERT_TRUE(confirm());
    EXPECT_EQ(operation->isInternal, 1);
    EXPECT_EQ(operation->name, "Pressen");
    EXPECT_EQ(operation->machineName, "Presse");
    EXPECT_EQ(operation->shiftMode, 2);
    EXPECT_EQ(operation->machineTimeMin, 2.5f);
    EXPECT_EQ(operation->operatorTimeMin, 2.0f); // the German locale stops at the point
    EXPECT_EQ(operation->lotSize, 250);
    EXPECT_EQ(operation->externalCostPerPiece, 0);
    EXPECT_EQ(operation->externalLotSize, 80);
}

TEST_F(OperationDlgTest, ConfirmingExternalClearsTheInternalValues)
{
    auto operation = internalOperation("Drehen", "Presse");
    operation->shiftMode = 1;
    open(*operation);
    radio("radio1034")->click();
    edit("edit1045")->setText(QStringLiteral("3,75"));
    edit("edit1048")->setText(QStringLiteral("40"));
    ASSERT_TRUE(confirm());
    EXPECT_EQ(operation->isInternal, 0);
    EXPECT_EQ(operation->machineName, "EXTERN");
    EXPECT_EQ(operation->externalCostPerPiece, 3.75f);
    EXPECT_EQ(operation->externalLotSize, 40);
    EXPECT_EQ(operation->lotSize, 0);
    EXPECT_EQ(operation->shiftMode, 0);
    EXPECT_EQ(operation->setupTimeMin, 0);
    EXPECT_EQ(operation->machineTimeMin, 0);
    EXPECT_EQ(operation->operatorTimeMin, 0);
    EXPECT_EQ(operation->materialUtilPct, 0);
    EXPECT_EQ(operation->materialWeightKg, 0);
    EXPECT_EQ(operation->materialPricePerKg, 0);
    EXPECT_EQ(operation->machineUtilPct, 0);
}

TEST_F(OperationDlgTest, FieldsAreCheckedInReadingOrderBeforeTheMachine)
{
    auto operation = internalOperation("Drehen", "");
    const COperation before = *operation;
    open(*operation);
    edit("edit1036")->setText(QStringLiteral("x"));
    edit("edit1045")->setText(QString()); // disabled fields are read too
    edit("edit1043")->setText(QStringLiteral("abc"));

    EXPECT_FALSE(confirm());
    EXPECT_EQ(ui.messages(), QStringList({ numberExpectedMessage() }));
    EXPECT_TRUE(edit("edit1043")->hasFocus() || QApplication::focusWidget() == nullptr);
    EXPECT_EQ(edit("edit1043")->selectedText(), QStringLiteral("abc"));

    const QString expectedOrder[] = { numberExpectedMessage(), numberExpectedMessage(), wholeNumberExpectedMessage(),
        QStringLiteral("Keine Maschine gewählt !") };
    edit("edit1043")->setText(QStringLiteral("1"));
    EXPECT_FALSE(confirm());
    EXPECT_EQ(ui.messages().last(), expectedOrder[1]);
    edit("edit1045")->setText(QStringLiteral("0"));
    EXPECT_FALSE(confirm());
    EXPECT_EQ(ui.messages().last(), expectedOrder[2]);
    EXPECT_EQ(edit("edit1036")->selectedText(), QStringLiteral("x"));
    edit("edit1036")->setText(QStringLiteral("5"));
    EXPECT_FALSE(confirm());
    EXPECT_EQ(ui.messages().last(), expectedOrder[3]);

    EXPECT_EQ(operation->lotSize, before.lotSize);
    EXPECT_EQ(operation->operatorTimeMin, before.operatorTimeMin);
    EXPECT_EQ(operation->name, before.name);
}

TEST_F(OperationDlgTest, AShiftModeOutOfRangeSelectsNoShiftAndIsRefused)
{
    auto operation = internalOperation("Drehen", "Presse");
    operation->shiftMode = 7;
    open(*operation);
    EXPECT_EQ(combo("combo1051")->currentIndex(), -1);
    EXPECT_FALSE(confirm());
    EXPECT_EQ(ui.messages(), QStringList({ QStringLiteral("Kein Schichtbetrieb gewählt !") }));
    EXPECT_EQ(operation->shiftMode, 7);
}

TEST_F(OperationDlgTest, EnterNeverConfirmsAndEscapeCancelsUnchanged)
{
    auto operation = internalOperation("Drehen", "Presse");
    bool openAfterEnter = false;
    whenModal([&openAfterEnter](QWidget* window) {
        auto* name = window->findChild<QLineEdit*>(QStringLiteral("edit1047"));
        name->setText(QStringLiteral("Geändert"));
        QTest::keyClick(name, Qt::Key_Return);
        auto* ok = window->findChild<QPushButton*>(QStringLiteral("button1"));
        ok->setFocus();
        QTest::keyClick(ok, Qt::Key_Enter);
        QTest::keyClick(window->findChild<QComboBox*>(QStringLiteral("combo1049")), Qt::Key_Return);
        openAfterEnter = window->isVisible();
        QTest::keyClick(name, Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.EditOperation(*operation, plant), nullptr);
    EXPECT_TRUE(openAfterEnter);
    EXPECT_EQ(operation->name, "Drehen");
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
        window->findChild<QPushButton*>(QStringLiteral("button1"))->click();
    });
    EXPECT_EQ(dlg.EditOperation(operation, plant), &operation);
    EXPECT_EQ(messagesWhenShown, 1);
    EXPECT_EQ(ui.messages()[0],
        QStringLiteral("Es sind keine Maschinendaten angelegt. Evtl. müssen Sie die zuerst die "
                       "Stammdaten laden !?"));
    EXPECT_EQ(operation.externalCostPerPiece, 4.0f);
}

TEST_F(OperationDlgTest, FifteenControlsHaveTips)
{
    const char* const withTips[] = { "edit1048", "radio1033", "radio1034", "edit1037", "edit1039", "edit1046",
        "edit1041", "edit1038", "edit1036", "edit1042", "edit1045", "edit1043", "combo1051", "combo1049", "edit1047" };
    for (const char* name : withTips) {
        EXPECT_FALSE(control(name)->property("plainToolTip").toString().isEmpty()) << name;
    }
    EXPECT_EQ(control("edit1047")->property("plainToolTip").toString(), QStringLiteral("Bezeichnung frei wählbar"));
}

TEST_F(OperationDlgTest, TabOrderFollowsTheLayoutTemplate)
{
    COperation operation;
    open(operation);
    const char* const expected[] = { "edit1036", "edit1037", "edit1038", "edit1043", "edit1041", "edit1042", "edit1039",
        "edit1046", "button1", "button2", "combo1049", "combo1051", "edit1047" };
    QWidget* current = edit("edit1047");
    for (const char* name : expected) {
        current = current->nextInFocusChain();
        while (!(current->focusPolicy() & Qt::TabFocus) || !current->isEnabled()) {
            current = current->nextInFocusChain();
        }
        EXPECT_EQ(current->objectName(), QLatin1String(name));
    }
}

} // namespace
} // namespace kalkora::ui::test
