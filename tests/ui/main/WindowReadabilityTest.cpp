#include "WindowTest.h"
#include "ui/main/AboutDlg.h"
#include "ui/main/MainDlg.h"
#include "ui/main/OperationDlg.h"
#include "ui/masterdata/MachineDataDlg.h"
#include "ui/masterdata/NewMachineDlg.h"
#include "ui/masterdata/PlantDataDlg.h"
#include "ui/report/ReportDlg.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTableView>

#include <utility>

namespace kalkora::ui::test {
namespace {

// Each text fits its control in the window's one font; every control that takes the focus has
// a name a screen reader can say, no two alike; every picture and list icon has a description.
void expectReadable(QWidget& window)
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

using WindowReadabilityTest = WindowTest;

TEST_F(WindowReadabilityTest, EveryWindowReadsInOneFontWithEveryControlNamed)
{
    CPlantData plant = examplePlant();
    CMainDlg emptyMain;
    CMainDlg orderMain;
    orderMain.OnNewOrder();
    orderMain.order.operations.add(turningOperation("Drehen", "Drehmaschine 1"));
    orderMain.order.operations.add(externalOperation("Härten", 1.5f, 100));
    orderMain.panel().RefreshFromOrder();
    COperationDlg internalDlg;
    internalDlg.prepare(*orderMain.order.operations.at(0), plant);
    COperationDlg externalDlg;
    externalDlg.prepare(*orderMain.order.operations.at(1), plant);
    CPlantDataDlg plantDlg(plant);
    CMachineDataDlg machineDlg(plant);
    CNewMachineDlg newMachineDlg;
    CAboutDlg aboutDlg;
    CReportDlg reportDlg;
    reportDlg.setReportText("Kalkulation\r\n");

    const std::pair<const char*, QWidget*> windows[] = { { "main window", &emptyMain },
        { "main window with an order", &orderMain }, { "internal operation", &internalDlg },
        { "external operation", &externalDlg }, { "plant data", &plantDlg }, { "machine data", &machineDlg },
        { "new machine", &newMachineDlg }, { "about box", &aboutDlg }, { "report", &reportDlg } };
    for (const auto& [name, window] : windows) {
        SCOPED_TRACE(name);
        window->show();
        expectReadable(*window);
        window->hide();
    }
}

} // namespace
} // namespace kalkora::ui::test
