#include "WindowTest.h"
#include "core/Golden.h"
#include "model/MasterDataFile.h"
#include "ui/main/MainDlg.h"
#include "ui/main/OperationDlg.h"
#include "ui/masterdata/MachineDataDlg.h"
#include "ui/masterdata/PlantDataDlg.h"
#include "ui/report/ReportDlg.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace kalkora::ui::test {
namespace {

// Every window of the program, open on the example data.
class DialogConventionsTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        operationDlg.prepare(*operation, plant);
        machineDlg.machineList()->setCurrentRow(0); // its fields take input only with a machine selected
        mainDlg.action(40001)->trigger(); // a new order shows the order panel
        reportDlg.setReportText("Bericht\r\n     ");
    }

    CPlantData plant = examplePlant();
    std::unique_ptr<COperation> operation = turningOperation();
    COperationDlg operationDlg;
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

// Each window's Tab order, one line per window, is kept in ui/main/golden/tab-order.txt.
TEST_F(DialogConventionsTest, TabFollowsTheLayout)
{
    const std::pair<QWidget*, const char*> windows[] = { { &operationDlg, "edit1047" }, { &plantDlg, "edit1002" },
        { &machineDlg, "button1014" }, { &mainDlg, "edit1029" }, { &reportDlg, "button1" } };
    QString orders;
    for (const auto& [window, first] : windows)
        orders += tabOrder(window, child(window, first)).join(u' ') + u'\n';
    expectGolden("ui/main/golden/tab-order.txt", orders.toStdString());
    EXPECT_EQ(plantDlg.focusWidget(), plantDlg.field(1002)) << "the plant data dialog opens in its first field";
}

// Every control the user types into or chooses from explains itself in a tooltip.
TEST_F(DialogConventionsTest, EveryInputControlHasATip)
{
    for (QWidget* window : { static_cast<QWidget*>(&operationDlg), static_cast<QWidget*>(&plantDlg),
             static_cast<QWidget*>(&machineDlg), static_cast<QWidget*>(&mainDlg.panel()) }) {
        int inputs = 0;
        for (QWidget* control : window->findChildren<QWidget*>()) {
            const auto* edit = qobject_cast<QLineEdit*>(control);
            const auto* text = qobject_cast<QPlainTextEdit*>(control);
            const bool input = (edit && !edit->isReadOnly()) || (text && !text->isReadOnly())
                || qobject_cast<QComboBox*>(control) || qobject_cast<QRadioButton*>(control)
                || qobject_cast<QAbstractItemView*>(control);
            if (input && !control->objectName().isEmpty() && !control->objectName().startsWith(QLatin1String("qt_"))) {
                ++inputs;
                EXPECT_FALSE(control->property("plainToolTip").toString().isEmpty())
                    << control->objectName().toStdString();
            }
        }
        EXPECT_GE(inputs, 4) << window->objectName().toStdString();
    }
}

} // namespace
} // namespace kalkora::ui::test
