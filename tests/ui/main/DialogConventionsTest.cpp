#include "WindowTest.h"
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

TEST_F(DialogConventionsTest, TabFollowsTheLayout)
{
    const struct {
        QWidget* window;
        const char* first;
        QStringList order;
    } rows[] = { { &operationDlg, "edit1047",
                     { "edit1047", "edit1036", "edit1037", "edit1038", "edit1043", "edit1041", "edit1042", "edit1039",
                         "edit1046", "button1", "button2", "combo1049", "combo1051" } },
        { &plantDlg, "edit1002",
            { "edit1002", "edit1003", "edit1004", "edit1005", "edit1006", "edit1007", "edit1008", "edit1009",
                "edit1010", "edit1011", "edit1012", "button1001", "button1000" } },
        { &machineDlg, "button1014",
            { "button1014", "button1015", "edit1016", "edit1018", "edit1017", "edit1023", "edit1022", "edit1019",
                "edit1020", "edit1021", "button1001", "button1000", "list1025", "edit1065", "edit1067", "edit1068",
                "edit1069", "edit1070", "edit1071" } },
        { &mainDlg, "edit1029", { "edit1029", "edit1062", "edit1031", "list1028" } },
        { &reportDlg, "button1", { "button1", "edit1060", "button1061" } } };
    for (const auto& row : rows) {
        auto* first = row.window->findChild<QWidget*>(QLatin1String(row.first));
        ASSERT_NE(first, nullptr) << row.first;
        EXPECT_EQ(tabOrder(row.window, first), row.order) << row.first;
    }
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
