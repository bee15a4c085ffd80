#include "WindowTest.h"
#include "core/Golden.h"
#include "model/MasterDataFile.h"
#include "ui/assembly/AssemblyWindow.h"
#include "ui/assembly/ComponentDlg.h"
#include "ui/main/AboutDlg.h"
#include "ui/main/MainDlg.h"
#include "ui/main/OperationDlg.h"
#include "ui/masterdata/MachineDataDlg.h"
#include "ui/masterdata/NewMachineDlg.h"
#include "ui/masterdata/PlantDataDlg.h"
#include "ui/report/ReportDlg.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableView>

namespace kalkora::ui::test {
namespace {

// Each text fits its control in the window's one font; every control that takes the focus has
// a name a screen reader can say, no two alike; every picture and list icon has a description;
// every control the user types into or chooses from explains itself in a tooltip where `tips`.
void expectReadable(QWidget& window, bool tips)
{
    QStringList names;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (!control->isVisibleTo(&window))
            continue;
        const auto* label = qobject_cast<QLabel*>(control);
        const auto* button = qobject_cast<QAbstractButton*>(control);
        const QString text = label ? label->text() : button ? button->text() : control->objectName();
        if (label || qobject_cast<QRadioButton*>(control) || qobject_cast<QCheckBox*>(control)) {
            EXPECT_EQ(control->font(), window.font()) << text.toStdString();
            if (!label || !label->wordWrap()) {
                EXPECT_LE(control->sizeHint().width(), control->width()) << text.toStdString();
            }
        }
        if (label && !label->pixmap().isNull()) {
            EXPECT_FALSE(label->accessibleDescription().isEmpty());
        }
        if (control->focusPolicy() != Qt::NoFocus) {
            names << (button ? button->text() : control->accessibleName());
            EXPECT_FALSE(names.last().isEmpty()) << text.toStdString();
        }
        const auto* edit = qobject_cast<QLineEdit*>(control);
        const auto* plain = qobject_cast<QPlainTextEdit*>(control);
        if (((edit && !edit->isReadOnly()) || (plain && !plain->isReadOnly()) || qobject_cast<QComboBox*>(control)
                || qobject_cast<QRadioButton*>(control) || qobject_cast<QAbstractItemView*>(control))
            && tips && !control->objectName().isEmpty() && !control->objectName().startsWith(QLatin1String("qt_"))) {
            EXPECT_FALSE(control->property("plainToolTip").toString().isEmpty()) << text.toStdString();
        }
        if (const auto* list = qobject_cast<QTableView*>(control)) {
            // Column titles without their padding blanks, and a description of every icon.
            const QAbstractItemModel& model = *list->model();
            for (int column = 0; column < model.columnCount(); ++column) {
                const QString title = model.headerData(column, Qt::Horizontal).toString();
                EXPECT_EQ(model.headerData(column, Qt::Horizontal, Qt::AccessibleTextRole).toString(), title.trimmed());
                for (int row = 0; row < model.rowCount(); ++row) {
                    const QModelIndex cell = model.index(row, column);
                    EXPECT_TRUE(model.data(cell, Qt::DecorationRole).isNull()
                        || !model.data(cell, Qt::AccessibleDescriptionRole).toString().isEmpty())
                        << row;
                }
            }
        }
    }
    EXPECT_EQ(names.removeDuplicates(), 0) << names.join(QLatin1Char('|')).toStdString();
}

// Every window of the program, open on the example data.
class DialogConventionsTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        operationDlg.prepare(*operation, plant);
        externalDlg.prepare(*external, plant);
        machineDlg.machineList()->setCurrentRow(0); // its fields take input only with a machine selected
        mainDlg.action(40001)->trigger(); // a new order shows the order panel
        reportDlg.setReportText("Bericht\r\n     ");
    }

    CPlantData plant = examplePlant();
    std::unique_ptr<COperation> operation = turningOperation();
    std::unique_ptr<COperation> external = externalOperation("Härten", 1.5f, 100);
    COperationDlg operationDlg;
    COperationDlg externalDlg;
    CNewMachineDlg newMachineDlg;
    CAboutDlg aboutDlg;
    CPlantDataDlg plantDlg { plant };
    CMachineDataDlg machineDlg { plant };
    CMainDlg mainDlg;
    CReportDlg reportDlg;
};

TEST_F(DialogConventionsTest, EnterNeverConfirmsAnInputWindow)
{
    const struct {
        QWidget* window;
        const char* control;
    } rows[] = { { &operationDlg, "edit1047" }, { &operationDlg, "combo1049" }, { &operationDlg, "button1" },
        { &plantDlg, "edit1004" }, { &plantDlg, "button1001" }, { &machineDlg, "edit1017" },
        { &machineDlg, "button1001" }, { &mainDlg, "edit1029" }, { &mainDlg, "edit1031" } };
    for (const auto& row : rows) {
        activate(*row.window);
        auto* control = row.window->findChild<QWidget*>(QLatin1String(row.control));
        ASSERT_NE(control, nullptr) << row.control;
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Return);
        QTest::keyClick(control, Qt::Key_Enter);
        EXPECT_TRUE(row.window->isVisible()) << row.control;
    }
    // Escape in the order panel does not ask to close the program either.
    QTest::keyClick(mainDlg.findChild<QWidget*>(QStringLiteral("edit1029")), Qt::Key_Escape);
    EXPECT_TRUE(mainDlg.isVisible());
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_TRUE(mainDlg.findChild<QPlainTextEdit*>(QStringLiteral("edit1031"))->toPlainText().isEmpty());
    EXPECT_EQ(*operation, *turningOperation());
    EXPECT_EQ(encodeMasterData(plant), encodeMasterData(examplePlant()));
}

// Each window's Tab order, one line per window, is kept in ui/main/golden/tab-order.txt, and
// where each of its controls sits, in the window's size, in ui/main/golden/layout.txt.
TEST_F(DialogConventionsTest, TabFollowsTheLayout)
{
    mainDlg.action(40016)->trigger();
    mainDlg.action(40018)->trigger();
    const std::pair<QWidget*, const char*> windows[] = { { &operationDlg, "edit1047" }, { &plantDlg, "edit1002" },
        { &machineDlg, "button1014" }, { &mainDlg, "edit1029" }, { &reportDlg, "button1" }, { &aboutDlg, "button1" },
        { child(&mainDlg, "priceScaleDlg"), "quantities" }, { child(&mainDlg, "quoteDlg"), "adminPct" } };
    QString orders, layout;
    for (const auto& [window, first] : windows) {
        orders += tabOrder(window, child(window, first)).join(u' ') + u'\n';
        window->show();
        QList<QWidget*> controls = window->findChildren<QWidget*>();
        for (const QWidget* control : controls << window)
            QDebug(&layout).nospace() << control->metaObject()->className() << ' ' << control->objectName() << ' '
                                      << control->geometry() << '\n';
    }
    expectGolden("ui/main/golden/tab-order.txt", orders.toStdString());
    expectGolden("ui/main/golden/layout.txt", layout.toStdString());
    EXPECT_EQ(plantDlg.focusWidget(), plantDlg.field(1002)) << "the plant data dialog opens in its first field";
}

TEST_F(DialogConventionsTest, EveryWindowReadsInOneFontWithEveryControlNamed)
{
    CMainDlg emptyMain;
    CAssemblyWindow assemblyWindow(mainDlg.session().masterData().data(), [] { return QString(); });
    assemblyWindow.startNew();
    CComponentDlg boughtDlg(boughtComponent("Lager", 4, { { 1, 18500 } }), [] { return QString(); });
    mainDlg.session().order().data().operations.add(turningOperation("Drehen", "Drehmaschine 1"));
    mainDlg.session().order().data().operations.add(externalOperation("Härten", 1.5f, 100));
    mainDlg.panel().RefreshFromOrder();
    const std::pair<const char*, QWidget*> windows[] = { { "main window", &emptyMain },
        { "main window with an order", &mainDlg }, { "internal operation", &operationDlg },
        { "external operation", &externalDlg }, { "plant data", &plantDlg }, { "machine data", &machineDlg },
        { "new machine", &newMachineDlg }, { "about box", &aboutDlg }, { "report", &reportDlg },
        { "assembly", &assemblyWindow }, { "bought part", &boughtDlg } };
    for (const auto& [name, window] : windows) {
        SCOPED_TRACE(name);
        window->show();
        expectReadable(*window, window != &newMachineDlg); // it only asks for a name
        window->hide();
    }
}

} // namespace
} // namespace kalkora::ui::test
