#pragma once

// ui/analysis: the price scale, cost breakdown and quote windows, with their tables, charts, export
// and printing. They use ui/common, ui/report, src/costing, src/files, src/model and src/text,
// never ui/main.

#include "costing/CostAnalysis.h"
#include "model/COrder.h"
#include "model/CPlantData.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class QBoxLayout;
class QChart;
class QChartView;
class QFrame;
class QLabel;
class QPushButton;
class QTableView;

namespace kalkora::ui {

class CAnalysisTableModel;

// Hands out the order as the user sees it at this moment, a field being typed included.
using OrderSnapshot = std::function<COrder()>;

// An amount as the analysis windows show it: two decimals, decimal comma, points between
// thousands, whatever the runtime locale; "inf", "-inf", "nan" as in the report.
QString germanAmount(double value);
// A count with points between thousands.
QString germanCount(std::int64_t value);

// What the price-scale and the cost-breakdown windows share: a table above a chart, a warning
// line for operations that could not be costed, and the buttons "&Exportieren..." (CSV through
// the save dialog), "&Drucken..." (the table as fixed-pitch text through the report's printing)
// and "Schließen" (also Escape). The windows are not modal, so the order can be edited beside
// them; they follow it as it changes. Figures that do not belong to the order as it stands (a
// bad entry, an order that cannot be computed) are marked out of date, greyed, and can be
// neither exported nor printed until they are computed again.
//
// Object names for tests: "table", "chart", "warningLine", "outOfDateLine", "buttonExport",
// "buttonPrint", "buttonClose"; "pinnedLeft" and "pinnedRight" for pinned columns.
class CAnalysisDlg : public QDialog {
    Q_OBJECT

public:
    QTableView* table() const { return tableView; }
    QChartView* chart() const { return chartView; }
    QLabel* warningLine() const { return warning; }
    // What "&Drucken..." prints: the table as the window shows it, with decimal commas.
    std::string printout() const;

    bool isCurrent() const;
    // Whether the window may go with the order or master data it belongs to: a changed quote
    // asks first. False when the user keeps the window.
    virtual bool mayClose() { return true; }

public slots:
    void OnExport();
    void OnPrint();
    // The order was edited in the main window.
    void OnOrderChanged() { followOrder(); }

protected:
    // `role` is Qt::DisplayRole, Qt::TextAlignmentRole or Qt::FontRole.
    using CellFunction = std::function<QVariant(int row, int column, int role)>;

    CAnalysisDlg(QWidget* parent, const QString& title, const QString& exportTitle);

    // The bytes "&Exportieren..." writes and the text "&Drucken..." prints (Windows-1252, CR LF).
    virtual std::string csvText() const = 0;
    virtual std::string printText() const = 0;
    // Computes again from the current order with the window's own settings.
    virtual void followOrder() = 0;

    // The caption names the order the figures belong to.
    void setOrderName(const std::string& name);
    // Where a window puts its own controls above the table.
    QBoxLayout* headerArea() const { return header; }
    // A button of the window's own, after those already there and before "Schließen".
    QPushButton* addButton(const char* name, const QString& text);
    // Takes ownership of `widget` and shows it below the table, where a chart would be.
    void addBelowTable(QWidget* widget);
    void setTable(const QStringList& titles, int rows, CellFunction cell);
    // Keeps the columns `left` at the left edge of the table and `right` at its right edge,
    // in views of their own beside the table's, visible however far the rest is scrolled.
    void pinColumns(std::vector<int> left, std::vector<int> right);
    // Takes ownership of `newChart`; nullptr leaves the chart empty.
    void setChart(QChart* newChart);
    // Names the operations that could not be costed, after `orderNote` (orderWarning); the line
    // is hidden when there is neither.
    void setUncosted(const QStringList& operations, const QString& orderNote = {});
    // Whether the table and the chart belong to the order as it stands; only then can they be
    // exported and printed.
    void setCurrent(bool current);
    // Hides "&Exportieren..." and "&Drucken..." for a table that has nothing of its own to give.
    void showTableCommands(bool shown);

private:
    QPushButton* newButton(const char* name, const QString& text);
    QTableView* newTableView(const char* name);
    QTableView* newPinnedView(const char* name, const std::vector<int>& columns);
    void showPinnedColumns();

    QString title;
    QString exportTitle;
    QBoxLayout* header = nullptr;
    QBoxLayout* buttons = nullptr;
    QLabel* warning = nullptr;
    QLabel* outOfDate = nullptr;
    QFrame* tableArea = nullptr;
    QTableView* tableView = nullptr;
    QTableView* pinnedLeft = nullptr;
    QTableView* pinnedRight = nullptr;
    std::vector<int> leftColumns;
    std::vector<int> rightColumns;
    CAnalysisTableModel* model = nullptr;
    QChartView* chartView = nullptr;
    QPushButton* buttonExport = nullptr;
    QPushButton* buttonPrint = nullptr;
};

// Shows `window` in front of the others, with the keyboard.
void bringToFront(QWidget* window);

// Opens the window of type `Window` of `owner` for the current order, or brings the open one to
// the front computed afresh with its own settings; a hidden one starts from the defaults again.
template <typename Window>
void showWithSettings(QWidget* owner, const CPlantData& plantData, OrderSnapshot currentOrder)
{
    auto* window = owner->findChild<Window*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new Window(plantData, std::move(currentOrder), owner);
        window->restart();
    } else if (window->isVisible()) {
        window->OnOrderChanged();
    } else {
        window->restart();
    }
    bringToFront(window);
}

// Whether every open analysis window of `owner` may close (mayClose), asked before an order or
// master data go that they belong to.
bool mayCloseAnalysisWindows(QWidget* owner);
// Closes the analysis windows of `owner` without asking again: their figures belong to an order
// or master data that are going away. Opened again, they compute afresh.
void closeAnalysisWindows(QWidget* owner);
// Lets the analysis windows of `owner` follow its order after an edit.
void refreshAnalysisWindows(QWidget* owner);

// The operations the breakdown could not cost, as the warning line names them.
QStringList uncostedOperations(const CostBreakdown& breakdown);

// A chart with German number labels and the legend below, as both windows use it.
QChart* newGermanChart(const QString& title);
// Says in the title that figures without a value ("inf", "nan") are in the table only.
void noteLeftOutFigures(QChart* chart);

} // namespace kalkora::ui
