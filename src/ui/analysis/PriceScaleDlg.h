#pragma once

#include "costing/CostAnalysis.h"
#include "model/CPlantData.h"
#include "ui/analysis/AnalysisDlg.h"

#include <optional>
#include <vector>

namespace kalkora::ui {

// A quantity's cost per piece in euros; none where it has no amount.
struct CostPoint {
    double quantity = 0;
    std::optional<double> full;
    std::optional<double> direct;
};

// Full and direct cost per piece over a logarithmic quantity axis, points ascending by quantity.
// Non-finite figures (an operation without utilisation, a lot of 0) have no place on an axis and
// are left out, said in the title.
QChart* costPerPieceChart(const std::vector<CostPoint>& points);

// The price per piece at several quantities ("Staffelpreise"): the quantities in an editable
// field, recomputed from the current order on Enter and whenever the order changes; a table and
// a line chart of the full and the direct cost per piece over the quantity. A bad entry is
// explained below the field and the last good table stays, marked out of date.
//
// Object names for tests: "priceScaleDlg", "quantities" the field, "errorLine" its message.
class CPriceScaleDlg : public CScaleDlg {
    Q_OBJECT

public:
    CPriceScaleDlg(const CPlantData& plantData, OrderSnapshot currentOrder, QWidget* parent = nullptr);

    // Computes from the current order, starting again from the default quantities.
    void restart();
    // The table shown; nothing before the first good computation.
    const std::optional<PriceScale>& shownScale() const { return scale; }

public slots:
    // Enter in the quantities field.
    void OnQuantitiesEntered() override;

protected:
    std::string csvText() const override;
    std::string printText() const override;
    void followOrder() override;

private:
    void recompute(bool restarting);
    void showOrder(const COrder& order);
    void showScale(PriceScale newScale, const COrder& order);

    const CPlantData& plantData;
    OrderSnapshot currentOrder;
    std::optional<PriceScale> scale;
};

// Opens the price-scale window of `owner` for the current order, or brings the open one to
// the front computed afresh with its quantities.
void showPriceScale(QWidget* owner, const CPlantData& plantData, OrderSnapshot currentOrder);

} // namespace kalkora::ui
