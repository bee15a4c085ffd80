#include "ui/analysis/PriceScaleDlg.h"

#include "costing/AnalysisTables.h"
#include "documents/QuantityList.h"
#include "ui/analysis/ResultCells.h"
#include "ui/common/DialogUnits.h"

#include <QChart>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <utility>

namespace kalkora::ui {

QChart* costPerPieceChart(const std::vector<CostPoint>& points)
{
    QChart* chart = newGermanChart(QStringLiteral("Kosten je Stück nach Menge"));
    auto* full = new QLineSeries(chart);
    // The legend names the series as the table's columns are titled.
    full->setName(QString::fromUtf8(priceScaleColumns()[FullPerPieceColumn].title));
    auto* direct = new QLineSeries(chart);
    direct->setName(QString::fromUtf8(priceScaleColumns()[DirectPerPieceColumn].title));
    double low = 0;
    double high = 0;
    bool leftOut = false;
    for (const CostPoint& point : points) {
        for (auto [series, value] : { std::pair(full, point.full), std::pair(direct, point.direct) }) {
            if (!value)
                continue;
            if (std::isfinite(*value)) {
                series->append(point.quantity, *value);
                low = std::min(low, *value);
                high = std::max(high, *value);
            } else {
                leftOut = true;
            }
        }
    }
    if (leftOut) {
        noteLeftOutFigures(chart);
    }
    for (QLineSeries* series : { full, direct }) {
        series->setPointsVisible(true);
        chart->addSeries(series);
    }

    auto* quantityAxis = new QLogValueAxis(chart);
    quantityAxis->setBase(10);
    quantityAxis->setLabelFormat(QStringLiteral("%.0f"));
    quantityAxis->setMinorTickCount(8);
    quantityAxis->setTitleText(QStringLiteral("Menge (Stück, logarithmische Teilung)"));
    if (!points.empty()) {
        // A little room on both sides keeps the first and the last point off the frame; the range
        // reaches a power of ten on both sides, where the axis has its labels.
        const double first = points.front().quantity;
        const double last = points.back().quantity;
        quantityAxis->setRange(std::min(first / 1.5, std::pow(10.0, std::floor(std::log10(first)))),
            std::max(last * 1.5, std::pow(10.0, std::ceil(std::log10(last)))));
    }
    auto* costAxis = new QValueAxis(chart);
    costAxis->setLabelFormat(QStringLiteral("%.2f"));
    costAxis->setTitleText(QStringLiteral("Kosten je Stück (EUR)"));
    costAxis->setRange(low, high > low ? high * 1.05 : low + 1);
    costAxis->applyNiceNumbers();
    chart->addAxis(quantityAxis, Qt::AlignBottom);
    chart->addAxis(costAxis, Qt::AlignLeft);
    for (QLineSeries* series : { full, direct }) {
        series->attachAxis(quantityAxis);
        series->attachAxis(costAxis);
    }
    return chart;
}

namespace {

QChart* priceScaleChart(const PriceScale& scale)
{
    std::vector<CostPoint> points;
    for (const PriceScaleRow& row : scale.rows)
        points.push_back({ double(row.quantity), row.fullPerPiece, row.directPerPiece });
    return costPerPieceChart(points);
}

} // namespace

CPriceScaleDlg::CPriceScaleDlg(const CPlantData& plantData, OrderSnapshot currentOrder, QWidget* parent)
    : CScaleDlg(parent, QStringLiteral("Kalkora - Staffelpreise"),
        QStringLiteral("Kalkora - Staffelpreise exportieren"),
        QStringLiteral("Stückzahlen, durch Kommas getrennt, z. B. 1, 10, 100. Enter berechnet neu."))
    , plantData(plantData)
    , currentOrder(std::move(currentOrder))
{
    setObjectName(QStringLiteral("priceScaleDlg"));
}

void CPriceScaleDlg::restart()
{
    recompute(true);
}

void CPriceScaleDlg::OnQuantitiesEntered()
{
    recompute(false);
}

void CPriceScaleDlg::recompute(bool restarting)
{
    const COrder order = currentOrder();
    if (restarting) {
        showOrder(order);
        quantitiesField->setText(documents::quantityList(documents::startingQuantities(order.quantityBase)));
        // Nothing of another order may stay on screen should this one fail.
        scale.reset();
        panel()->setTable({}, 0, {});
        panel()->setChart(nullptr);
        panel()->setUncosted({});
    }
    std::vector<std::int32_t> list;
    std::string error;
    if (!parseQuantities(quantitiesField->text().toStdString(), QuantityDialect::Window, list, error)) {
        showOrder(order);
        showError(QString::fromStdString(error));
        return;
    }
    try {
        showScale(computePriceScale(order, plantData, std::move(list)), order);
    } catch (const PriceScaleError& failure) {
        showOrder(order);
        showError(QString::fromUtf8(failure.what()));
    }
}

void CPriceScaleDlg::followOrder()
{
    recompute(false);
}

void CPriceScaleDlg::showOrder(const COrder& order)
{
    setOrderName(fromCp1252(order.name));
    quantityBaseLine->setText(QStringLiteral("Stückzahlbasis des Auftrags: %1").arg(order.quantityBase));
}

void CPriceScaleDlg::showScale(PriceScale newScale, const COrder& order)
{
    errorLine->hide();
    showOrder(order);
    quantitiesField->setText(documents::quantityList([&newScale] {
        std::vector<std::int32_t> used;
        for (const PriceScaleRow& row : newScale.rows) {
            used.push_back(row.quantity);
        }
        return used;
    }()));
    scale = std::move(newScale);
    const auto columns = windowColumns(priceScaleColumns());
    panel()->setTable(titlesOf(columns), int(scale->rows.size()), [this, columns](int row, int column, int role) {
        return shownCell(*columns.at(std::size_t(column)), scale->rows.at(std::size_t(row)), role);
    });
    panel()->setChart(priceScaleChart(*scale));
    panel()->setUncosted(scale->complete() ? QStringList() : uncostedNames(breakDownCosts(order, plantData).operations),
        QString::fromStdString(orderWarning(order)));
    panel()->setCurrent(true);
}

std::string CPriceScaleDlg::csvText() const
{
    return scale ? priceScaleCsv(*scale, CsvDialect::German) : std::string();
}

std::string CPriceScaleDlg::printText() const
{
    return scale ? priceScaleText(*scale, text::NumberStyle::printed(true)) : std::string();
}

void showPriceScale(QWidget* owner, const CPlantData& plantData, OrderSnapshot currentOrder)
{
    showWithSettings<CPriceScaleDlg>(owner, plantData, std::move(currentOrder));
}

} // namespace kalkora::ui
