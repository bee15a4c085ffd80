#include "ModalDriver.h"
#include "UiTestData.h"
#include "ui/common/NumberField.h"
#include "ui/main/MainDlg.h"
#include "ui/main/OperationDlg.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTableView>

namespace kalkora::ui::test {
namespace {

class OrderPanelTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        fillPlant(dlg.plantData, { "Drehmaschine 1", "Presse" });
        dlg.show();
        QApplication::setActiveWindow(&dlg);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
        dlg.action(40001)->trigger();
    }

    COrderPanel& panel() { return dlg.panel(); }
    QLineEdit* edit(const char* name) { return panel().findChild<QLineEdit*>(QLatin1String(name)); }
    QPlainTextEdit* remark() { return panel().findChild<QPlainTextEdit*>(QStringLiteral("edit1031")); }
    QTableView* list() { return panel().operationList(); }
    QString cell(int row, int column) { return list()->model()->index(row, column).data().toString(); }

    void select(int row)
    {
        list()->selectionModel()->select(
            list()->model()->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    void command(int id) { panel().findChild<QAction*>(QStringLiteral("action%1").arg(id))->trigger(); }

    std::vector<std::string> operationNames()
    {
        std::vector<std::string> names;
        for (int i = 0; i < dlg.order.operations.count(); ++i) {
            names.push_back(dlg.order.operations.at(i)->name);
        }
        return names;
    }

    void addOperations(std::initializer_list<const char*> names)
    {
        for (const char* name : names) {
            dlg.order.operations.add(internalOperation(name, "Presse"));
        }
        panel().RefreshFromOrder();
    }

    CMainDlg dlg;
};

TEST_F(OrderPanelTest, ANewOrderShowsEmptyFieldsAndTheSevenColumns)
{
    EXPECT_EQ(edit("edit1029")->text(), QString());
    EXPECT_EQ(remark()->toPlainText(), QString());
    EXPECT_EQ(edit("edit1062")->text(), QStringLiteral("0"));
    EXPECT_EQ(list()->model()->rowCount(), 0);
    const QStringList titles = { QStringLiteral("    AG-Bezeichnung    "), QStringLiteral(" Zugeordnete Maschine "),
        QStringLiteral(" te[min] "), QStringLiteral(" tr[min] "), QStringLiteral(" teb[min] "),
        QStringLiteral(" Stck "), QStringLiteral(" ") };
    ASSERT_EQ(list()->model()->columnCount(), 7);
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(list()->model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
    }
}

TEST_F(OrderPanelTest, CellsFollowTheOperationKindAndTheRuntimeLocale)
{
    dlg.order.operations.add(internalOperation("Drehen", "Drehmaschine 1"));
    dlg.order.operations.add(externalOperation("H\xE4rten", 2.5f, 250));
    auto odd = internalOperation("Seltsam", "Presse");
    odd->isInternal = 2; // only exactly 1 is drawn as internal
    dlg.order.operations.add(std::move(odd));
    panel().RefreshFromOrder();

    EXPECT_EQ(cell(0, 0), QStringLiteral("Drehen"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("Drehmaschine 1"));
    EXPECT_EQ(cell(0, 2), QStringLiteral("1.50"));
    EXPECT_EQ(cell(0, 3), QStringLiteral("30.00"));
    EXPECT_EQ(cell(0, 4), QStringLiteral("2.00"));
    EXPECT_EQ(cell(0, 5), QStringLiteral("100.00"));
    EXPECT_EQ(cell(0, 6), QString());
    EXPECT_EQ(cell(1, 0), QStringLiteral("Härten"));
    EXPECT_EQ(cell(1, 1), QStringLiteral("EXTERN"));
    EXPECT_EQ(cell(1, 2), QStringLiteral("--"));
    EXPECT_EQ(cell(1, 4), QStringLiteral("--"));
    EXPECT_EQ(cell(1, 5), QStringLiteral("250.00"));
    EXPECT_EQ(cell(2, 1), QStringLiteral("EXTERN"));
    EXPECT_FALSE(list()->model()->index(0, 0).data(Qt::DecorationRole).isNull());

    text::setRuntimeLocale(text::RuntimeLocale::German);
    panel().RefreshFromOrder();
    EXPECT_EQ(cell(0, 2), QStringLiteral("1,50"));
    EXPECT_EQ(cell(0, 5), QStringLiteral("100,00"));
}

TEST_F(OrderPanelTest, FieldsReachTheOrderOnlyWhenTheyLoseTheFocus)
{
    edit("edit1029")->setFocus();
    edit("edit1029")->setText(QStringLiteral("Welle 20x200"));
    EXPECT_TRUE(dlg.order.name.empty());
    // A menu opened while typing, with the mouse or with Alt and its letter, still sees the old name.
    QTest::keyClick(edit("edit1029"), Qt::Key_D, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    EXPECT_TRUE(dlg.order.name.empty());
    QTest::keyClick(dlg.menuBar(), Qt::Key_Escape);
    EXPECT_TRUE(edit("edit1029")->hasFocus());
    EXPECT_TRUE(dlg.order.name.empty());

    edit("edit1062")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(dlg.order.name, "Welle 20x200");
    edit("edit1062")->setText(QStringLiteral("  12 Stück"));
    remark()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(dlg.order.quantityBase, 12);
    remark()->setPlainText(QStringLiteral("Rohteil\nbeigestellt"));
    list()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(dlg.order.remark, "Rohteil\r\nbeigestellt");

    // Another window taking the focus, as a file dialog does, leaves the field too.
    edit("edit1029")->setFocus(Qt::TabFocusReason);
    edit("edit1029")->setText(QStringLiteral("Welle 30x300"));
    QWidget fileDialog;
    fileDialog.show();
    QApplication::setActiveWindow(&fileDialog);
    EXPECT_EQ(dlg.order.name, "Welle 30x300");
    EXPECT_TRUE(ui.asked.empty());
}

TEST_F(OrderPanelTest, AnUntouchedRemarkKeepsItsExactLineBreaks)
{
    dlg.order.remark = "a\rb\r\nc";
    panel().RefreshFromOrder();
    remark()->setFocus();
    list()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(dlg.order.remark, "a\rb\r\nc");
}

TEST_F(OrderPanelTest, LettersInTheQuantityAreRefused)
{
    dlg.order.quantityBase = 40;
    panel().RefreshFromOrder();
    edit("edit1062")->setFocus();
    edit("edit1062")->setText(QStringLiteral("viele"));
    edit("edit1029")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(ui.messages(), QStringList({ wholeNumberExpectedMessage() }));
    EXPECT_EQ(dlg.order.quantityBase, 40);
    EXPECT_TRUE(edit("edit1062")->hasFocus());
    EXPECT_EQ(edit("edit1062")->selectedText(), QStringLiteral("viele"));

    // Corrected, the quantity is taken when the field is left.
    ui.clear();
    edit("edit1062")->setText(QStringLiteral("-3"));
    list()->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(dlg.order.quantityBase, -3);
}

TEST_F(OrderPanelTest, EnterAndEscapeInThePanelDoNothing)
{
    edit("edit1029")->setFocus();
    QTest::keyClick(edit("edit1029"), Qt::Key_Escape);
    QTest::keyClick(edit("edit1029"), Qt::Key_Return);
    remark()->setFocus();
    QTest::keyClick(remark(), Qt::Key_Return);
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(remark()->toPlainText(), QString());
}

TEST_F(OrderPanelTest, CommandsWithoutASelectedRowDoNothing)
{
    addOperations({ "A", "B" });
    for (int id : { 40048, 40049, 40040, 40041 }) {
        command(id);
    }
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(operationNames(), (std::vector<std::string> { "A", "B" }));
}

TEST_F(OrderPanelTest, DeleteAsksAndOnlyYesRemoves)
{
    addOperations({ "A", "B", "C" });
    select(1);
    ui.yesNoAnswers.push_back(false);
    command(40048);
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text, QStringLiteral("AG wirklich löschen ?"));
    EXPECT_EQ(ui.asked[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(operationNames().size(), 3u);

    select(1);
    ui.yesNoAnswers.push_back(true);
    command(40048);
    EXPECT_EQ(operationNames(), (std::vector<std::string> { "A", "C" }));
    EXPECT_EQ(cell(1, 0), QStringLiteral("C"));
}

TEST_F(OrderPanelTest, MovingSwapsNeighboursAndClearsTheSelection)
{
    addOperations({ "A", "B", "C" });
    select(0);
    command(40040);
    EXPECT_EQ(operationNames(), (std::vector<std::string> { "A", "B", "C" }));
    EXPECT_EQ(panel().selectedRow(), -1);

    select(2);
    command(40041);
    EXPECT_EQ(operationNames(), (std::vector<std::string> { "A", "B", "C" }));

    select(0);
    command(40041);
    EXPECT_EQ(operationNames(), (std::vector<std::string> { "B", "A", "C" }));
    EXPECT_EQ(panel().selectedRow(), -1);

    select(2);
    command(40040);
    EXPECT_EQ(operationNames(), (std::vector<std::string> { "B", "C", "A" }));
    EXPECT_EQ(cell(1, 0), QStringLiteral("C"));
}

TEST_F(OrderPanelTest, NewOperationIsAppendedOnlyWhenConfirmed)
{
    addOperations({ "A", "B" });
    select(0);
    whenModal([](QWidget* window) { qobject_cast<QDialog*>(window)->reject(); });
    command(40047);
    EXPECT_EQ(operationNames().size(), 2u);

    select(0);
    whenModal([](QWidget* window) {
        window->findChild<QLineEdit*>(QStringLiteral("edit1047"))->setText(QStringLiteral("Fremd"));
        window->findChild<QRadioButton*>(QStringLiteral("radio1034"))->click();
        window->findChild<QPushButton*>(QStringLiteral("button1"))->click();
    });
    command(40047);
    EXPECT_EQ(operationNames(), (std::vector<std::string> { "A", "B", "Fremd" }));
    EXPECT_EQ(cell(2, 1), QStringLiteral("EXTERN"));
}

TEST_F(OrderPanelTest, DoubleClickEditsTheRowInPlace)
{
    addOperations({ "A", "B" });
    select(1);
    whenModal([](QWidget* window) {
        window->findChild<QLineEdit*>(QStringLiteral("edit1038"))->setText(QStringLiteral("7,5"));
        window->findChild<QPushButton*>(QStringLiteral("button1"))->click();
    });
    const QRect row = list()->visualRect(list()->model()->index(1, 0));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(dlg.order.operations.at(1)->machineTimeMin, 7.5f);
    EXPECT_EQ(cell(1, 4), QStringLiteral("7,50"));
}

TEST_F(OrderPanelTest, RightClickOpensThePopupMenuAnywhereInTheList)
{
    QStringList texts;
    QTimer::singleShot(0, [&texts] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            texts << action->text();
        }
        menu->close();
    });
    QTest::mouseClick(list()->viewport(), Qt::RightButton, {}, QPoint(20, 60));
    EXPECT_EQ(texts,
        QStringList({ QStringLiteral("Neuen AG anlegen"), QStringLiteral("Gewählten AG löschen"),
            QStringLiteral("AG ansehen/bearbeiten"), QStringLiteral("Eins nach oben"),
            QStringLiteral("Eins nach unten") }));
}

TEST_F(OrderPanelTest, ClosingTheOrderWhileTypingLeavesTheOrderEmpty)
{
    edit("edit1029")->setFocus();
    edit("edit1029")->setText(QStringLiteral("Halb getippt"));
    edit("edit1062")->setText(QStringLiteral("x"));
    ui.yesNoCancelAnswers.push_back(Answer::No); // what was typed is unsaved work
    dlg.action(40003)->trigger();
    EXPECT_TRUE(dlg.order.name.empty());
    EXPECT_EQ(ui.asked.size(), 1u);
}

} // namespace
} // namespace kalkora::ui::test
