#include "ModalDriver.h"
#include "WindowTest.h"
#include "ui/common/NumberField.h"
#include "ui/main/MainDlg.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <tuple>

namespace kalkora::ui::test {
namespace {

class OrderPanelTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        dlg.plantData = examplePlant({ "Drehmaschine 1", "Presse" });
        activate(dlg);
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
        for (int i = 0; i < dlg.order.operations.count(); ++i)
            names.push_back(dlg.order.operations.at(i)->name);
        return names;
    }

    void addOperations(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            dlg.order.operations.add(turningOperation(name, "Presse"));
        panel().RefreshFromOrder();
    }

    CMainDlg dlg;
};

TEST_F(OrderPanelTest, CellsFollowTheOperationKindAndTheRuntimeLocale)
{
    EXPECT_EQ(edit("edit1062")->text(), QStringLiteral("0")); // a new order
    dlg.order.operations.add(turningOperation());
    dlg.order.operations.add(externalOperation("H\xE4rten", 2.5f, 250));
    auto odd = turningOperation("Seltsam", "Presse");
    odd->isInternal = 2; // only exactly 1 is drawn as internal
    dlg.order.operations.add(std::move(odd));
    panel().RefreshFromOrder();
    ASSERT_EQ(list()->model()->columnCount(), 7);

    const std::tuple<int, int, const char*> cells[] = { { 0, 0, "Drehen" }, { 0, 1, "Drehmaschine 1" },
        { 0, 2, "1.00" }, { 0, 3, "30.00" }, { 0, 4, "2.00" }, { 0, 5, "100.00" }, { 0, 6, "" }, { 1, 0, "Härten" },
        { 1, 1, "EXTERN" }, { 1, 2, "--" }, { 1, 4, "--" }, { 1, 5, "250.00" }, { 2, 1, "EXTERN" } };
    for (const auto& [row, column, text] : cells)
        EXPECT_EQ(cell(row, column), QString::fromUtf8(text)) << row << ", " << column;
    EXPECT_FALSE(list()->model()->index(0, 0).data(Qt::DecorationRole).isNull());
    EXPECT_EQ(list()->horizontalHeader()->length(), list()->viewport()->width()) << "the last column fills the list";
    for (int c = 0; c < 7; ++c) { // names left, numbers centred
        const auto alignment = list()->model()->index(0, c).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
        EXPECT_EQ(alignment & Qt::AlignHorizontal_Mask, c < 2 ? Qt::AlignLeft : Qt::AlignHCenter) << c;
    }

    text::setRuntimeLocale(text::RuntimeLocale::German);
    panel().RefreshFromOrder();
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
    // Any whole number is taken; letters are refused, and the field keeps the focus with the text selected.
    edit("edit1062")->setText(QStringLiteral("-3"));
    remark()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(dlg.order.quantityBase, -3);
    edit("edit1062")->setFocus();
    edit("edit1062")->setText(QStringLiteral("viele"));
    remark()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(ui.messages(), QStringList({ wholeNumberExpectedMessage() }));
    EXPECT_EQ(dlg.order.quantityBase, -3);
    EXPECT_TRUE(edit("edit1062")->hasFocus());
    EXPECT_EQ(edit("edit1062")->selectedText(), QStringLiteral("viele"));
    ui.clear();
    edit("edit1062")->setText(QStringLiteral("  12 Stück"));
    remark()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(dlg.order.quantityBase, 12);
    remark()->setPlainText(QStringLiteral("Rohteil\nbeigestellt"));
    list()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(dlg.order.remark, "Rohteil\r\nbeigestellt");
    // A remark passed through untouched keeps its exact line breaks.
    dlg.order.remark = "a\rb\r\nc";
    panel().RefreshFromOrder();
    remark()->setFocus();
    list()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(dlg.order.remark, "a\rb\r\nc");

    // Another window taking the focus, as a file dialog does, leaves the field too.
    edit("edit1029")->setFocus(Qt::TabFocusReason);
    edit("edit1029")->setText(QStringLiteral("Welle 30x300"));
    QWidget fileDialog;
    fileDialog.show();
    QApplication::setActiveWindow(&fileDialog);
    EXPECT_EQ(dlg.order.name, "Welle 30x300");
    EXPECT_TRUE(ui.asked.empty());
}

// Delete asks and only Yes removes; moving swaps neighbours and clears the selection; without a
// selected row no command does anything.
TEST_F(OrderPanelTest, RowCommandsActOnTheSelectedRow)
{
    using Names = std::vector<std::string>;
    const Names abc = { "A", "B", "C" };
    const std::tuple<int, int, bool, Names> rows[] = { // selected row, -1: none; command; answer; names after
        { -1, 40048, true, abc }, { -1, 40049, true, abc }, { -1, 40040, true, abc }, { -1, 40041, true, abc },
        { 1, 40048, false, abc }, { 1, 40048, true, { "A", "C" } }, { 0, 40040, true, abc }, { 2, 40041, true, abc },
        { 0, 40041, true, { "B", "A", "C" } }, { 2, 40040, true, { "A", "C", "B" } }
    };
    for (const auto& [selected, id, yes, names] : rows) {
        SCOPED_TRACE(::testing::Message() << selected << " " << id);
        dlg.order.operations.clear();
        addOperations({ "A", "B", "C" });
        ui.clear();
        ui.yesNoAnswers = { yes };
        if (selected >= 0)
            select(selected);
        command(id);
        EXPECT_EQ(operationNames(), names);
        EXPECT_EQ(cell(1, 0), QString::fromStdString(names[1]));
        EXPECT_TRUE(id == 40048 || panel().selectedRow() == -1);
        const bool asks = id == 40048 && selected >= 0;
        EXPECT_EQ(
            ui.texts(ScriptedUiServices::Kind::YesNo), asks ? QStringList { "AG wirklich löschen ?" } : QStringList());
    }
}

// A new operation is appended only when confirmed; a double click edits the row in place.
TEST_F(OrderPanelTest, NewAndEditedOperationsReachTheList)
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
    int entries = 0;
    QTimer::singleShot(0, [&entries] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        entries = static_cast<int>(menu->actions().size());
        menu->close();
    });
    QTest::mouseClick(list()->viewport(), Qt::RightButton, {}, QPoint(20, 60));
    EXPECT_EQ(entries, 5);
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
