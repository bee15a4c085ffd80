#include "ui/analysis/CostBreakdownDlg.h"

#include "costing/AnalysisTables.h"
#include "ui/analysis/ResultCells.h"
#include "ui/common/QtText.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QColor>
#include <QCursor>
#include <QFont>
#include <QScrollBar>
#include <QStackedBarSeries>
#include <QTableView>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numeric>
#include <utility>

namespace kalkora::ui {

namespace {

double part(const CostParts& parts, int column)
{
    return std::get<double>(breakdownColumns()[std::size_t(column)].value({ nullptr, &parts, true }));
}

// The columns that add up to the full cost, stacked in the chart; the setup is a share of the
// machine and operator parts and would be counted twice. Each pair shares a hue: dark for the
// part, light for its overhead or fixed share.
constexpr std::pair<int, QRgb> stackedColumns[] = { { MaterialColumn, 0x1f77b4 }, { MaterialOverheadColumn, 0xaec7e8 },
    { MachineFixedColumn, 0xff7f0e }, { MachineVariableColumn, 0xffbb78 }, { OperatorFixedColumn, 0x2ca02c },
    { OperatorVariableColumn, 0x98df8a }, { ExternalColumn, 0x9467bd }, { ExternalOverheadColumn, 0xc5b0d5 } };

double finiteOrZero(double value)
{
    return std::isfinite(value) ? value : 0;
}

// The stacked parts of one bar, in the order of stackedColumns.
using StackedParts = std::array<double, std::size(stackedColumns)>;

StackedParts stacked(const CostParts& parts, double weight)
{
    StackedParts values {};
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = part(parts, stackedColumns[i].first) * weight;
    }
    return values;
}

// An operation's parts as its share of the order's cost per piece: weighted with its lot and
// divided by the quantity base, so that the shares of all operations add up to the order's row.
StackedParts shareOfOrder(const OperationBreakdown& operation, std::int32_t quantityBase)
{
    StackedParts share = stacked(operation.parts, double(operation.lot) / quantityBase);
    for (double& value : share) {
        value = finiteOrZero(value);
    }
    return share;
}

QChart* breakdownChart(const CostBreakdown& breakdown, std::int32_t quantityBase, const QStringList& titles)
{
    struct Bar {
        QString label;
        QString tooltip;
        StackedParts parts;
    };
    std::vector<Bar> operations;
    for (const OperationBreakdown& operation : breakdown.operations) {
        operations.push_back({ QString::number(operation.index),
            QStringLiteral("%1 %2").arg(operation.index).arg(fromCp1252(operation.name)),
            shareOfOrder(operation, quantityBase) });
    }
    std::stable_sort(operations.begin(), operations.end(), [](const Bar& a, const Bar& b) {
        return std::accumulate(a.parts.begin(), a.parts.end(), 0.0)
            > std::accumulate(b.parts.begin(), b.parts.end(), 0.0);
    });
    std::vector<Bar> bars(operations.begin(),
        operations.begin()
            + std::ptrdiff_t(std::min<std::size_t>(operations.size(), CCostBreakdownDlg::chartedOperations)));
    if (operations.size() > bars.size()) {
        Bar rest { QStringLiteral("übrige"),
            QStringLiteral("übrige %1 Arbeitsgänge").arg(operations.size() - bars.size()), {} };
        for (std::size_t i = bars.size(); i < operations.size(); ++i) {
            std::transform(
                rest.parts.begin(), rest.parts.end(), operations[i].parts.begin(), rest.parts.begin(), std::plus<>());
        }
        bars.push_back(rest);
    }
    bars.push_back({ QStringLiteral("Auftrag"), QStringLiteral("Auftrag je Stück"), stacked(breakdown.order, 1) });

    QChart* chart = newGermanChart(QStringLiteral("Anteile der Arbeitsgänge an den Kosten je Stück des Auftrags"));
    // Eight parts: in a row below the chart their names would be cut short.
    chart->legend()->setAlignment(Qt::AlignRight);

    QStringList categories;
    QStringList tooltips;
    for (const Bar& bar : bars) {
        categories << bar.label;
        tooltips << bar.tooltip;
    }

    auto* series = new QStackedBarSeries(chart);
    std::vector<double> positive(bars.size(), 0.0);
    std::vector<double> negative(bars.size(), 0.0);
    bool leftOut = false;
    for (std::size_t stack = 0; stack < std::size(stackedColumns); ++stack) {
        const auto [column, colour] = stackedColumns[stack];
        auto* set = new QBarSet(titles.at(column), series);
        set->setColor(QColor(colour));
        set->setBorderColor(QColor(colour).darker(130));
        for (std::size_t bar = 0; bar < bars.size(); ++bar) {
            // A non-finite part has no height; the table shows it as it is.
            leftOut = leftOut || !std::isfinite(bars[bar].parts[stack]);
            const double value = finiteOrZero(bars[bar].parts[stack]);
            set->append(value);
            (value < 0 ? negative : positive)[bar] += value;
        }
        QObject::connect(set, &QBarSet::hovered, chart, [tooltips](bool entered, int index) {
            if (entered) {
                QToolTip::showText(QCursor::pos(), tooltips.value(index));
            }
        });
        series->append(set);
    }
    chart->addSeries(series);
    if (leftOut) {
        noteLeftOutFigures(chart);
    }

    auto* operationAxis = new QBarCategoryAxis(chart);
    operationAxis->append(categories);
    operationAxis->setTitleText(QStringLiteral("Arbeitsgang (Nr.), die teuersten zuerst"));
    auto* costAxis = new QValueAxis(chart);
    costAxis->setLabelFormat(QStringLiteral("%.2f"));
    costAxis->setTitleText(QStringLiteral("Kosten je Stück des Auftrags (EUR)"));
    const double low = *std::min_element(negative.begin(), negative.end());
    const double high = *std::max_element(positive.begin(), positive.end());
    costAxis->setRange(low, high > low ? high * 1.05 : low + 1);
    costAxis->applyNiceNumbers();
    chart->addAxis(operationAxis, Qt::AlignBottom);
    chart->addAxis(costAxis, Qt::AlignLeft);
    series->attachAxis(operationAxis);
    series->attachAxis(costAxis);
    return chart;
}

} // namespace

CCostBreakdownDlg::CCostBreakdownDlg(const CPlantData& plantData, OrderSnapshot currentOrder, QWidget* parent)
    : CAnalysisDlg(parent, QStringLiteral("Kalkora - Kostenaufschlüsselung"),
        QStringLiteral("Kalkora - Kostenaufschlüsselung exportieren"))
    , plantData(plantData)
    , currentOrder(std::move(currentOrder))
{
    setObjectName(QStringLiteral("costBreakdownDlg"));
    // Which operation a row is and what it costs stay in sight while the parts scroll.
    panel()->pinColumns({ NumberColumn, NameColumn }, { FullColumn, DirectColumn });
}

void CCostBreakdownDlg::recompute()
{
    const COrder order = currentOrder();
    setOrderName(fromCp1252(order.name));
    breakdown = breakDownCosts(order, plantData);
    lines = breakdownLines(breakdown);
    const QStringList titles = titlesOf(windowColumns(breakdownColumns()));
    panel()->setTable(
        titles, int(lines.size()), [this](int row, int column, int role) { return cell(row, column, role); });
    table()->horizontalScrollBar()->setValue(0);
    // Without a quantity base there is no cost per piece of the order to share out.
    const bool computable = order.quantityBase > 0;
    panel()->setChart(computable ? breakdownChart(breakdown, order.quantityBase, titles) : nullptr);
    panel()->setUncosted(uncostedNames(breakdown.operations), QString::fromStdString(orderWarning(order)));
    panel()->setCurrent(computable);
}

void CCostBreakdownDlg::followOrder()
{
    recompute();
}

QVariant CCostBreakdownDlg::cell(int row, int column, int role) const
{
    const BreakdownLine& line = lines.at(std::size_t(row));
    if (role == Qt::FontRole) {
        if (line.operation)
            return {};
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    return shownCell(breakdownColumns()[std::size_t(column)], line, role);
}

std::string CCostBreakdownDlg::csvText() const
{
    return breakdownCsv(breakdown, CsvDialect::German);
}

std::string CCostBreakdownDlg::printText() const
{
    return breakdownText(breakdown, text::NumberStyle::printed(true));
}

void showCostBreakdown(QWidget* owner, const CPlantData& plantData, OrderSnapshot currentOrder)
{
    auto* window = owner->findChild<CCostBreakdownDlg*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new CCostBreakdownDlg(plantData, std::move(currentOrder), owner);
    }
    window->recompute();
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace kalkora::ui
