#pragma once

#include "costing/CostAnalysis.h"
#include "costing/Money.h"
#include "ui/common/QtText.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QBoxLayout;
class QChart;
class QChartView;
class QDialog;
class QFrame;
class QLabel;
class QPushButton;
class QTableView;

namespace kalkora::ui {

class CAnalysisTableModel;

// An amount as the analysis windows show it: two decimals, decimal comma, points between
// thousands, whatever the runtime locale; "inf", "-inf", "nan" as in the report.
QString germanAmount(double value);
// An amount in cents or a percentage in hundredths with German grouping: "1.000,00".
template <typename Unit> QString grouped(Hundredths<Unit> value)
{
    return QString::fromStdString(value.format(',', '.'));
}
// A count with points between thousands.
QString germanCount(std::int64_t value);

// Writes `csv` to a file chosen in the save dialog titled `title`; a file that cannot be written
// is said in a message.
void exportCsvWithDialog(QWidget* window, const QString& title, const std::string& csv);

// The operations of `operations` that could not be costed, as the warning line names them:
// "2 „Härten“".
template <typename Operation> QStringList uncostedNames(const std::vector<Operation>& operations)
{
    QStringList names;
    for (const Operation& operation : operations) {
        if (!operation.costed)
            names << QStringLiteral("%1 „%2“").arg(operation.index).arg(fromCp1252(operation.name));
    }
    return names;
}

// What the price-scale, cost-breakdown and quote windows share, filling the window: the window's
// own controls at the top, a warning line for operations that could not be costed, a table with a
// chart or other controls below it, and the buttons "&Exportieren..." (CSV through the save
// dialog), "&Drucken..." (the table as fixed-pitch text through the report's printing) and
// "Schließen" (also Escape, the window's reject()). Figures that do not belong to the order as it
// stands (a bad entry, an order that cannot be computed) are marked out of date, greyed, and can
// be neither exported nor printed until they are computed again.
//
// Object names for tests: "table", "chart", "warningLine", "outOfDateLine", "buttonExport",
// "buttonPrint", "buttonClose"; "pinnedLeft" and "pinnedRight" for pinned columns.
class CAnalysisPanel : public QWidget {
    Q_OBJECT

public:
    // The bytes "&Exportieren..." writes and the text "&Drucken..." prints (Windows-1252, CR LF).
    struct Texts {
        std::function<std::string()> csv;
        std::function<std::string()> print;
    };
    // `role` is Qt::DisplayRole, Qt::TextAlignmentRole or Qt::FontRole.
    using CellFunction = std::function<QVariant(int row, int column, int role)>;

    CAnalysisPanel(QDialog* window, const QString& exportTitle, bool withChart, Texts texts);

    QTableView* table() const { return tableView; }
    QChartView* chart() const { return chartView; }
    QLabel* warningLine() const { return warning; }
    // What "&Drucken..." prints: the table as the window shows it, with decimal commas.
    std::string printout() const;
    bool isCurrent() const;

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

public slots:
    void OnExport();
    void OnPrint();

private:
    QPushButton* newButton(const char* name, const QString& text);
    QTableView* newTableView(const char* name);
    QTableView* newPinnedView(const char* name, const std::vector<int>& columns);
    void showPinnedColumns();

    QString exportTitle;
    Texts texts;
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
    QChartView* chartView = nullptr; // none in a window without a chart
    QPushButton* exportButton = nullptr;
    QPushButton* printButton = nullptr;
};

} // namespace kalkora::ui
