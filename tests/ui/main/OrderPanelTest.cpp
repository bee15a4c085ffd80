#include "ModalDriver.h"
#include "Scenario.h"
#include "WindowTest.h"
#include "ui/main/MainDlg.h"

#include <QDialog>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTableView>

namespace kalkora::ui::test {
namespace {

class OrderPanelTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        dlg.session().masterData().data() = examplePlant({ "Drehmaschine 1", "Presse" });
        activate(dlg);
        dlg.action(40001)->trigger();
    }

    QTableView* list() { return dlg.panel().operationList(); }
    QString cell(int row, int column) { return list()->model()->index(row, column).data().toString(); }

    void select(int row)
    {
        list()->selectionModel()->select(
            list()->model()->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    void setOperations(std::initializer_list<const char*> names)
    {
        dlg.session().order().data().operations.clear();
        for (const char* name : names)
            dlg.session().order().data().operations.add(turningOperation(name, "Presse"));
        dlg.panel().RefreshFromOrder();
    }

    // The names of the order's operations, "|"-separated.
    QString names()
    {
        const COrder& order = dlg.session().order().data();
        QStringList names;
        for (int i = 0; i < order.operations.count(); ++i)
            names << QString::fromLatin1(order.operations.at(i)->name);
        return names.join(u'|');
    }

    // "name", "quantity", "remark": the order's; "operations" its operation names.
    void run(std::span<const Row> rows)
    {
        Scenario(dlg, ui, [this](const QString& look) {
            const COrder& order = dlg.session().order().data();
            if (look == QLatin1String("operations"))
                return names() + u'/' + cell(1, 0);
            return look == QLatin1String("quantity") ? QString::number(order.quantityBase)
                                                     : QString::fromLatin1(look == "name" ? order.name : order.remark);
        }).run(rows);
    }

    CMainDlg dlg;
};

TEST_F(OrderPanelTest, CellsFollowTheOperationKindAndTheRuntimeLocale)
{
    text::setRuntimeLocale(text::RuntimeLocale::Default);
    dlg.session().order().data().operations.add(turningOperation());
    dlg.session().order().data().operations.add(externalOperation("H\xE4rten", 2.5f, 250));
    auto odd = turningOperation("Seltsam", "Presse");
    odd->isInternal = 2; // only exactly 1 is drawn as internal
    dlg.session().order().data().operations.add(std::move(odd));
    dlg.panel().RefreshFromOrder();
    transcript += tableText(list()->model());
    EXPECT_FALSE(list()->model()->index(0, 0).data(Qt::DecorationRole).isNull());
    EXPECT_EQ(list()->horizontalHeader()->length(), list()->viewport()->width()) << "the last column fills the list";
    for (int c = 0; c < 7; ++c) { // names left, numbers centred
        const auto alignment = list()->model()->index(0, c).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
        EXPECT_EQ(alignment & Qt::AlignHorizontal_Mask, c < 2 ? Qt::AlignLeft : Qt::AlignHCenter) << c;
    }
    text::setRuntimeLocale(text::RuntimeLocale::German);
    dlg.panel().RefreshFromOrder();
    EXPECT_EQ(cell(0, 5), QStringLiteral("100,00"));
    dlg.session()
        .order()
        .data()
        .operations.clear(); // rows the order no longer has show empty until the list is rebuilt
    EXPECT_EQ(cell(2, 0), QString());
}

// A field reaches the order only when it loses the focus; a menu opened while typing, with
// Alt and its letter, still sees the old name. Any whole number is taken; letters are refused,
// and the field keeps the focus with the text selected.
const Row typing[] = { { "", "edit1062" }, { "edit1029~Welle 20x200", "name" }, { "keys:Alt+D Escape Escape", "focus" },
    { "", "name" }, { "edit1062~-3", "name" }, { "edit1031~", "quantity" }, { "edit1062=viele", "messages" },
    { "", "quantity" }, { "", "focus" }, { "edit1062=  12 Stück", "quantity" },
    { "edit1031=Rohteil\nbeigestellt", "remark" }, { "edit1029~Welle 30x300", "messages" } };

TEST_F(OrderPanelTest, FieldsReachTheOrderOnlyWhenTheyLoseTheFocus)
{
    run(typing);
    // Another window taking the focus, as a file dialog does, leaves the field too.
    QWidget fileDialog;
    fileDialog.show();
    QApplication::setActiveWindow(&fileDialog);
    EXPECT_EQ(dlg.session().order().data().name, "Welle 30x300");

    // A remark passed through untouched keeps its exact line breaks.
    dlg.session().order().data().remark = "a\rb\r\nc";
    dlg.panel().RefreshFromOrder();
    activate(dlg);
    child(&dlg, "edit1031")->setFocus();
    child(&dlg, "list1028")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(dlg.session().order().data().remark, "a\rb\r\nc");
}

// Delete asks and only Yes removes; moving swaps neighbours and clears the selection; without a
// selected row no command does anything.
TEST_F(OrderPanelTest, RowCommandsActOnTheSelectedRow)
{
    const std::tuple<int, const char*, bool> rows[] = { // selected row, -1: none; command; answer
        { -1, "action40048", true }, { -1, "action40049", true }, { -1, "action40040", true },
        { -1, "action40041", true }, { 1, "action40048", false }, { 1, "action40048", true },
        { 0, "action40040", true }, { 2, "action40041", true }, { 0, "action40041", true }, { 2, "action40040", true }
    };
    for (const auto& [selected, command, yes] : rows) {
        setOperations({ "A", "B", "C" });
        ui.yesNoAnswers = { yes };
        if (selected >= 0)
            select(selected);
        const bool asks = std::string_view(command) == "action40048" && selected >= 0;
        const Row row[] = { { command, "operations" }, { "", "messages" } };
        run(row);
        EXPECT_TRUE(asks || dlg.panel().selectedRow() == -1) << command;
    }
}

// The operation commands answer to their keys while the list has the focus; in a field the same
// keys stay with the typing. The edit menu holds the popup menu's very commands.
TEST_F(OrderPanelTest, OperationKeysWorkInTheListAndLeaveTheFieldsAlone)
{
    // Presses `keys` with the second operation selected and the focus in `control`; returns the
    // questions asked and the name an operation dialog opened with, which is then cancelled.
    const auto press = [this](QWidget* control, const char* keys) {
        select(1);
        activate(dlg); // back from a dialog before
        control->setFocus();
        ui.clear();
        ui.yesNoAnswers = { true };
        QString opened;
        whenModal([&opened](QWidget* dialog) {
            if (!dialog)
                return;
            opened = QStringLiteral("Dialog: ") + child<QLineEdit>(dialog, "edit1047")->text();
            qobject_cast<QDialog*>(dialog)->reject();
        });
        const QKeyCombination key = QKeySequence::fromString(QLatin1String(keys))[0];
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        QCoreApplication::processEvents(); // where the key opened no dialog, the timer fires here
        return ui.texts(Kind::YesNo).join(u'|') + opened;
    };
    const struct {
        const char* keys;
        const char* operations;
        const char* asked;
    } inList[] = { { "Ctrl+Down", "A|C|B", "" }, { "Ctrl+Up", "B|A|C", "" }, { "Del", "A|C", "AG wirklich löschen ?" },
        { "Return", "A|B|C", "Dialog: B" }, { "Enter", "A|B|C", "Dialog: B" }, { "Ins", "A|B|C", "Dialog: " } };
    for (const auto& row : inList) {
        SCOPED_TRACE(row.keys);
        setOperations({ "A", "B", "C" });
        EXPECT_EQ(press(list(), row.keys).toStdString(), row.asked);
        EXPECT_EQ(names().toStdString(), row.operations);
    }

    setOperations({ "A", "B", "C" });
    for (const char* field : { "edit1029", "edit1031" }) {
        SCOPED_TRACE(field);
        QWidget* typing = child(&dlg, field);
        QTest::keyClicks(typing, QStringLiteral("Welle"));
        for (const char* keys : { "Left", "Del", "Ins", "Return", "Enter", "Ctrl+Up", "Ctrl+Down" })
            EXPECT_EQ(press(typing, keys).toStdString(), "") << keys;
        const auto* line = qobject_cast<QLineEdit*>(typing);
        EXPECT_EQ(line ? line->text() : qobject_cast<QPlainTextEdit*>(typing)->toPlainText(), QStringLiteral("Well"));
    }
    EXPECT_EQ(names().toStdString(), "A|B|C");
    for (const char* keys : { "Del", "Ins", "Ctrl+Up", "Return" })
        EXPECT_EQ(press(dlg.menuBar(), keys).toStdString(), "") << "menu bar " << keys;

    const QList<QAction*> popup = child<QMenu>(&dlg, "menu145")->actions();
    QList<QAction*> editMenu = dlg.menuBar()->actions().at(1)->menu()->actions();
    editMenu.removeIf([&popup](QAction* command) { return !popup.contains(command); });
    EXPECT_EQ(editMenu.size(), popup.size());
}

// A new operation is appended only when confirmed; a double click edits the row in place;
// a right click anywhere in the list opens the popup menu.
TEST_F(OrderPanelTest, NewAndEditedOperationsReachTheList)
{
    setOperations({ "A", "B" });
    select(0);
    whenModal([](QWidget* window) { qobject_cast<QDialog*>(window)->reject(); });
    const Row cancelled[] = { { "action40047", "operations" } };
    run(cancelled);
    select(0);
    whenModal([](QWidget* window) {
        setText(window, "edit1047", QStringLiteral("Fremd"));
        click(window, "radio1034");
        setText(window, "edit1048", QStringLiteral("10"));
        click(window, "button1");
    });
    const Row added[] = { { "action40047", "operations" } };
    run(added);
    EXPECT_EQ(cell(2, 1), QStringLiteral("EXTERN"));

    whenModal([](QWidget* window) {
        setText(window, "edit1038", QStringLiteral("7,5"));
        click(window, "button1");
    });
    const QPoint row = list()->visualRect(list()->model()->index(1, 0)).center();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, row);
    EXPECT_EQ(dlg.session().order().data().operations.at(1)->machineTimeMin, 7.5f);
    EXPECT_EQ(cell(1, 4), QStringLiteral("7,50"));

    int entries = 0;
    QTimer::singleShot(0, [&entries] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        entries = static_cast<int>(menu->actions().size());
        menu->close();
    });
    QTest::mouseClick(list()->viewport(), Qt::RightButton, {}, QPoint(20, 90));
    EXPECT_EQ(entries, 5);
}

TEST_F(OrderPanelTest, ClosingTheOrderWhileTypingLeavesTheOrderEmpty)
{
    ui.yesNoCancelAnswers.push_back(Answer::No); // what was typed is unsaved work
    const Row rows[] = { { "edit1029~Halb getippt;edit1062~x;action40003", "name" } };
    run(rows);
    EXPECT_EQ(ui.asked.size(), 1u);
}

} // namespace
} // namespace kalkora::ui::test
