#include "ui/analysis/AnalysisPanel.h"

#include "files/DataFiles.h"
#include "text/NumberFormat.h"
#include "ui/common/QtText.h"
#include "ui/common/UiServices.h"
#include "ui/report/PrintCommand.h"

#include <QAbstractTableModel>
#include <QBoxLayout>
#include <QChart>
#include <QChartView>
#include <QDialog>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>

#include <algorithm>
#include <cmath>
#include <utility>

namespace kalkora::ui {

// The table of a window: cells are formatted only when the view asks for them, so an order of
// many thousand operations opens without formatting every figure first.
class CAnalysisTableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void reset(const QStringList& newTitles, int newRows, std::function<QVariant(int, int, int)> newCell)
    {
        beginResetModel();
        titles = newTitles;
        rows = newRows;
        cell = std::move(newCell);
        endResetModel();
    }

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : int(titles.size()); }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || !cell
            || (role != Qt::DisplayRole && role != Qt::TextAlignmentRole && role != Qt::FontRole)) {
            return {};
        }
        return cell(index.row(), index.column(), role);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < titles.size()) {
            return titles.at(section);
        }
        return QAbstractTableModel::headerData(section, orientation, role);
    }

private:
    QStringList titles;
    int rows = 0;
    std::function<QVariant(int, int, int)> cell;
};

QString germanAmount(double value)
{
    return QString::fromStdString(text::formatTwoDecimals(value, text::NumberStyle::german()));
}

QString germanCount(std::int64_t value)
{
    return QString::fromStdString(text::groupThousands(std::to_string(value), text::NumberStyle::german()));
}

CAnalysisPanel::CAnalysisPanel(QDialog* window, const QString& exportTitle, bool withChart, Texts texts)
    : QWidget(window)
    , exportTitle(exportTitle)
    , texts(std::move(texts))
{
    setObjectName(QStringLiteral("analysisPanel"));
    // The window's margins are the panel's.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(QMargins());
    header = new QVBoxLayout;
    layout->addLayout(header);

    warning = new QLabel(this);
    warning->setObjectName(QStringLiteral("warningLine"));
    warning->setWordWrap(true);
    warning->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    warning->hide();
    layout->addWidget(warning);

    outOfDate = new QLabel(this);
    outOfDate->setObjectName(QStringLiteral("outOfDateLine"));
    outOfDate->setWordWrap(true);
    outOfDate->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    outOfDate->hide();
    layout->addWidget(outOfDate);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    tableArea = new QFrame(splitter);
    tableArea->setFrameShape(QFrame::StyledPanel);
    auto* tableRow = new QHBoxLayout(tableArea);
    tableRow->setContentsMargins(QMargins() + tableArea->frameWidth());
    tableRow->setSpacing(0);
    model = new CAnalysisTableModel(tableArea);
    tableView = newTableView("table");
    tableRow->addWidget(tableView, 1);
    if (withChart) {
        chartView = new QChartView(splitter);
        chartView->setObjectName(QStringLiteral("chart"));
        chartView->setRenderHint(QPainter::Antialiasing);
    }
    // The chart needs the room for its axis titles and legend; the table scrolls.
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);
    splitter->setSizes({ 2000, 3000 });
    layout->addWidget(splitter, 1);

    // The window's commands at the left, "Schließen" at the right.
    buttons = new QHBoxLayout;
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addLayout(buttons);
    buttonRow->addStretch(1);
    exportButton = addButton("buttonExport", QStringLiteral("&Exportieren..."));
    printButton = addButton("buttonPrint", QStringLiteral("&Drucken..."));
    QPushButton* closeButton = newButton("buttonClose", QStringLiteral("Schließen"));
    buttonRow->addWidget(closeButton);
    layout->addLayout(buttonRow);

    connect(exportButton, &QPushButton::clicked, this, &CAnalysisPanel::OnExport);
    connect(printButton, &QPushButton::clicked, this, &CAnalysisPanel::OnPrint);
    connect(closeButton, &QPushButton::clicked, window, &QDialog::reject);
}

QTableView* CAnalysisPanel::newTableView(const char* name)
{
    auto* view = new QTableView(tableArea);
    view->setObjectName(QLatin1String(name));
    view->setFrameShape(QFrame::NoFrame);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setMinimumSectionSize(fontMetrics().height() + 4);
    view->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    // Column widths come from the first rows, not from every row of a large order.
    view->horizontalHeader()->setResizeContentsPrecision(200);
    return view;
}

QTableView* CAnalysisPanel::newPinnedView(const char* name, const std::vector<int>& columns)
{
    if (columns.empty()) {
        return nullptr;
    }
    QTableView* view = newTableView(name);
    view->setSelectionModel(tableView->selectionModel());
    view->setFocusPolicy(Qt::NoFocus);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Every view keeps the room of a horizontal scroll bar, so that their rows stay level.
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (QTableView* other : { tableView, pinnedLeft, pinnedRight }) {
        if (other) {
            connect(view->verticalScrollBar(), &QScrollBar::valueChanged, other->verticalScrollBar(),
                &QScrollBar::setValue);
            connect(other->verticalScrollBar(), &QScrollBar::valueChanged, view->verticalScrollBar(),
                &QScrollBar::setValue);
        }
    }
    return view;
}

void CAnalysisPanel::pinColumns(std::vector<int> left, std::vector<int> right)
{
    leftColumns = std::move(left);
    rightColumns = std::move(right);
    tableView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* tableRow = static_cast<QHBoxLayout*>(tableArea->layout());
    if ((pinnedLeft = newPinnedView("pinnedLeft", leftColumns))) {
        tableRow->insertWidget(0, pinnedLeft);
    }
    if ((pinnedRight = newPinnedView("pinnedRight", rightColumns))) {
        tableRow->addWidget(pinnedRight);
        // The scroll bar of all rows goes to the right edge of the table.
        pinnedRight->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        tableView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    showPinnedColumns();
}

void CAnalysisPanel::showPinnedColumns()
{
    const auto contains = [](const std::vector<int>& columns, int column) {
        return std::find(columns.begin(), columns.end(), column) != columns.end();
    };
    for (int column = 0; column < model->columnCount(QModelIndex()); ++column) {
        const bool left = contains(leftColumns, column);
        const bool right = contains(rightColumns, column);
        tableView->setColumnHidden(column, left || right);
        if (pinnedLeft) {
            pinnedLeft->setColumnHidden(column, !left);
        }
        if (pinnedRight) {
            pinnedRight->setColumnHidden(column, !right);
        }
    }
    for (QTableView* pinned : { pinnedLeft, pinnedRight }) {
        if (pinned) {
            pinned->resizeColumnsToContents();
            const int scrollBar = pinned == pinnedRight ? pinned->verticalScrollBar()->sizeHint().width() : 0;
            pinned->setFixedWidth(pinned->horizontalHeader()->length() + scrollBar);
        }
    }
}

QPushButton* CAnalysisPanel::newButton(const char* name, const QString& text)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QLatin1String(name));
    // Enter belongs to the fields of the window; no button may take it.
    button->setAutoDefault(false);
    return button;
}

QPushButton* CAnalysisPanel::addButton(const char* name, const QString& text)
{
    QPushButton* button = newButton(name, text);
    buttons->addWidget(button);
    return button;
}

void CAnalysisPanel::addBelowTable(QWidget* widget)
{
    auto* splitter = static_cast<QSplitter*>(tableArea->parentWidget());
    splitter->addWidget(widget);
    splitter->setStretchFactor(splitter->indexOf(widget), 1);
    splitter->setStretchFactor(0, 3);
}

void CAnalysisPanel::setTable(const QStringList& titles, int rows, CellFunction cell)
{
    model->reset(titles, rows, std::move(cell));
    tableView->resizeColumnsToContents();
    showPinnedColumns();
}

void CAnalysisPanel::setChart(QChart* newChart)
{
    QChart* old = chartView->chart();
    chartView->setChart(newChart ? newChart : new QChart);
    delete old;
}

void CAnalysisPanel::setUncosted(const QStringList& operations, const QString& orderNote)
{
    QStringList lines;
    if (!orderNote.isEmpty()) {
        lines << orderNote;
    }
    if (!operations.isEmpty()) {
        // A long list is cut short; the table marks every such row anyway.
        constexpr int named = 5;
        QString list = operations.mid(0, named).join(QStringLiteral(", "));
        if (operations.size() > named) {
            list += QStringLiteral(" und %1 weitere").arg(operations.size() - named);
        }
        lines << QStringLiteral("Achtung: Summen unvollständig, nicht berechnete Arbeitsgänge: ") + list;
    }
    warning->setText(lines.join(QLatin1Char('\n')));
    warning->setVisible(!lines.isEmpty());
}

void CAnalysisPanel::setCurrent(bool current)
{
    exportButton->setEnabled(current);
    printButton->setEnabled(current);
    tableArea->setEnabled(current);
    if (chartView)
        chartView->setEnabled(current);
    // A window without a chart has only its table to mark.
    outOfDate->setText(!chartView
            ? QStringLiteral("Die Tabelle ist veraltet: sie gehört nicht zum Auftrag, wie er jetzt ist, und kann weder "
                             "exportiert noch gedruckt werden.")
            : QStringLiteral("Tabelle und Diagramm sind veraltet: sie gehören nicht zum Auftrag, wie er jetzt ist, und "
                             "können weder exportiert noch gedruckt werden."));
    outOfDate->setVisible(!current && model->rowCount(QModelIndex()) > 0);
}

void CAnalysisPanel::showTableCommands(bool shown)
{
    exportButton->setVisible(shown);
    printButton->setVisible(shown);
}

bool CAnalysisPanel::isCurrent() const
{
    return exportButton->isEnabled();
}

void exportCsvWithDialog(QWidget* window, const QString& title, const std::string& csv)
{
    const QString path = uiServices().getSaveFileName(window,
        { title, QStringLiteral("CSV-Dateien (*.csv)"), QStringLiteral("*.csv"), QStringLiteral("csv"), true, {}, {} });
    if (path.isEmpty()) {
        return;
    }
    const files::FileResult result = files::saveBytes(path, csv);
    if (!result.ok()) {
        uiServices().showMessage(window, result.message, MessageIcon::Exclamation);
    }
}

void CAnalysisPanel::OnExport()
{
    exportCsvWithDialog(window(), exportTitle, texts.csv());
}

std::string CAnalysisPanel::printout() const
{
    return texts.print();
}

void CAnalysisPanel::OnPrint()
{
    printReportWithDialog(window(), printout());
}

} // namespace kalkora::ui
