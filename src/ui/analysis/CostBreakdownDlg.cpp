#include "ui/analysis/CostBreakdownDlg.h"

#include "costing/AnalysisTables.h"
#include "ui/common/QtText.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QColor>
#include <QFont>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace kalkora::ui {

namespace {

enum Column {
    Number,
    Name,
    Kind,
    Machine,
    Lot,
    Material,
    MaterialOverhead,
    MachineFixed,
    MachineVariable,
    OperatorFixed,
    OperatorVariable,
    Setup,
    External,
    ExternalOverhead,
    Full,
    Direct,
    Costed,
    ColumnCount
};

double part(const CostParts& parts, int column)
{
    switch (column) {
    case Material:
        return parts.material;
    case MaterialOverhead:
        return parts.materialOverhead;
    case MachineFixed:
        return parts.machineFixed;
    case MachineVariable:
        return parts.machineVariable;
    case OperatorFixed:
        return parts.operatorFixed;
    case OperatorVariable:
        return parts.operatorVariable;
    case Setup:
        return parts.setup;
    case External:
        return parts.external;
    case ExternalOverhead:
        return parts.externalOverhead;
    case Full:
        return parts.full;
    default:
        return parts.direct;
    }
}

QStringList columnTitles()
{
    return { QStringLiteral("Nr."), QStringLiteral("Arbeitsgang"), QStringLiteral("Art"), QStringLiteral("Maschine"),
        QStringLiteral("Losgröße"), QStringLiteral("Material"), QStringLiteral("Materialgemeinkosten"),
        QStringLiteral("Maschine fix"), QStringLiteral("Maschine variabel"), QStringLiteral("Personal fix"),
        QStringLiteral("Personal variabel"), QStringLiteral("davon Rüsten"), QStringLiteral("Fremdleistung"),
        QStringLiteral("Fremdleistungszuschlag"), QStringLiteral("Vollkosten/St."),
        QStringLiteral("Direkte Kosten/St."), QStringLiteral("berechnet") };
}

// The columns that add up to the full cost, stacked in the chart; the setup is a share of the
// machine and operator parts and would be counted twice. Each pair shares a hue: dark for the
// part, light for its overhead or fixed share.
constexpr std::pair<int, QRgb> stackedColumns[] = { { Material, 0x1f77b4 }, { MaterialOverhead, 0xaec7e8 },
    { MachineFixed, 0xff7f0e }, { MachineVariable, 0xffbb78 }, { OperatorFixed, 0x2ca02c },
    { OperatorVariable, 0x98df8a }, { External, 0x9467bd }, { ExternalOverhead, 0xc5b0d5 } };

double finiteOrZero(double value)
{
    return std::isfinite(value) ? value : 0;
}

// Indices of the operations the chart shows: all when there are few, else the most expensive
// per piece, in the order of the list.
std::vector<std::size_t> chartedOperations(const CostBreakdown& breakdown, std::size_t limit)
{
    std::vector<std::size_t> chosen(breakdown.operations.size());
    std::iota(chosen.begin(), chosen.end(), std::size_t(0));
    if (chosen.size() > limit) {
        const auto cost = [&breakdown](std::size_t i) { return finiteOrZero(breakdown.operations[i].parts.full); };
        std::nth_element(chosen.begin(), chosen.begin() + std::ptrdiff_t(limit), chosen.end(),
            [&cost](std::size_t a, std::size_t b) { return cost(a) > cost(b); });
        chosen.resize(limit);
        std::sort(chosen.begin(), chosen.end());
    }
    return chosen;
}

QChart* breakdownChart(const CostBreakdown& breakdown, const QStringList& titles)
{
    const std::vector<std::size_t> shown = chartedOperations(breakdown, CCostBreakdownDlg::chartedOperations);
    QString title = QStringLiteral("Kosten je Stück nach Anteilen");
    if (shown.size() < breakdown.operations.size()) {
        title += QStringLiteral(" (die %1 teuersten von %2 Arbeitsgängen)")
                     .arg(shown.size())
                     .arg(breakdown.operations.size());
    }
    QChart* chart = newGermanChart(title);
    // Eight parts: in a row below the chart their names would be cut short.
    chart->legend()->setAlignment(Qt::AlignRight);

    QStringList categories;
    for (std::size_t i : shown) {
        categories << QString::number(breakdown.operations[i].index);
    }
    categories << QStringLiteral("Auftrag");

    auto* series = new QStackedBarSeries(chart);
    std::vector<double> positive(std::size_t(categories.size()), 0.0);
    std::vector<double> negative(positive.size(), 0.0);
    bool leftOut = false;
    for (auto [column, colour] : stackedColumns) {
        auto* set = new QBarSet(titles.at(column), series);
        set->setColor(QColor(colour));
        set->setBorderColor(QColor(colour).darker(130));
        for (std::size_t bar = 0; bar < positive.size(); ++bar) {
            const CostParts& parts = bar < shown.size() ? breakdown.operations[shown[bar]].parts : breakdown.order;
            // A non-finite part has no height; the table shows it as it is.
            leftOut = leftOut || !std::isfinite(part(parts, column));
            const double value = finiteOrZero(part(parts, column));
            set->append(value);
            (value < 0 ? negative : positive)[bar] += value;
        }
        series->append(set);
    }
    chart->addSeries(series);
    if (leftOut) {
        noteLeftOutFigures(chart);
    }

    auto* operationAxis = new QBarCategoryAxis(chart);
    operationAxis->append(categories);
    operationAxis->setTitleText(QStringLiteral("Arbeitsgang (je Stück seines Loses) und Auftrag (je Stück)"));
    auto* costAxis = new QValueAxis(chart);
    costAxis->setLabelFormat(QStringLiteral("%.2f"));
    costAxis->setTitleText(QStringLiteral("Kosten je Stück (EUR)"));
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
}

void CCostBreakdownDlg::recompute()
{
    const COrder order = currentOrder();
    setOrderName(order.name);
    breakdown = breakDownCosts(order, plantData);
    const QStringList titles = columnTitles();
    setTable(titles, int(breakdown.operations.size()) + 1,
        [this](int row, int column, int role) { return cell(row, column, role); });
    setChart(breakdownChart(breakdown, titles));
    setUncosted(uncostedOperations(breakdown), QString::fromStdString(orderWarning(order)));
    enableOutput(true);
}

QVariant CCostBreakdownDlg::cell(int row, int column, int role) const
{
    const bool orderRow = std::size_t(row) == breakdown.operations.size();
    if (role == Qt::FontRole) {
        if (!orderRow) {
            return {};
        }
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    const bool text = column == Name || column == Kind || column == Machine || column == Costed;
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue((text ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    }
    if (orderRow) {
        if (column == Name) {
            return QStringLiteral("Auftrag je Stück");
        }
        return column >= Material && column <= Direct ? germanAmount(part(breakdown.order, column)) : QVariant();
    }
    const OperationBreakdown& operation = breakdown.operations[std::size_t(row)];
    const bool internal = operation.isInternal != 0;
    switch (column) {
    case Number:
        return QString::number(operation.index);
    case Name:
        return fromCp1252(operation.name);
    case Kind:
        return internal ? QStringLiteral("INTERN") : QStringLiteral("EXTERN");
    case Machine:
        return fromCp1252(operation.machineName);
    case Lot:
        return QString::number(operation.lot);
    case Costed:
        return operation.costed ? QStringLiteral("ja") : QStringLiteral("nein");
    default:
        break;
    }
    // Parts that do not belong to the kind of operation, and all parts of one that could not be
    // costed, stay empty rather than showing a zero that was never computed.
    const bool externalPart = column == External || column == ExternalOverhead;
    const bool ownPart = column == Full || column == Direct || externalPart != internal;
    return operation.costed && ownPart ? germanAmount(part(operation.parts, column)) : QVariant();
}

std::string CCostBreakdownDlg::csvText() const
{
    return breakdownCsv(breakdown, CsvDialect::German);
}

std::string CCostBreakdownDlg::printText() const
{
    return breakdownText(breakdown);
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
