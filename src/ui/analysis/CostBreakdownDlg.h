#pragma once

#include "costing/AnalysisTables.h"
#include "costing/CostAnalysis.h"
#include "model/CPlantData.h"
#include "ui/analysis/AnalysisDlg.h"

namespace kalkora::ui {

// What the cost consists of ("Kostenaufschlüsselung"): a table with the parts of every
// operation per piece of its lot and the order's row per piece of the order, and a stacked bar
// chart of each operation's share of the order's cost per piece. It follows the order as it
// changes.
//
// Object name for tests: "costBreakdownDlg".
class CCostBreakdownDlg : public CAnalysisDlg {
    Q_OBJECT

public:
    CCostBreakdownDlg(const CPlantData& plantData, OrderSnapshot currentOrder, QWidget* parent = nullptr);

    // Computes again from the current order.
    void recompute();
    const CostBreakdown& shownBreakdown() const { return breakdown; }

    // The chart shows at most this many operations, those with the largest shares, then the
    // rest as one bar "übrige" and the order; thousands of bars would be neither readable nor quick,
    // and with more bars their labels no longer fit under them at the window's first size.
    static constexpr int chartedOperations = 8;

protected:
    std::string csvText() const override;
    std::string printText() const override;
    void followOrder() override;

private:
    QVariant cell(int row, int column, int role) const;

    const CPlantData& plantData;
    OrderSnapshot currentOrder;
    CostBreakdown breakdown;
    std::vector<BreakdownLine> lines; // into `breakdown`
};

// Opens the cost-breakdown window of `owner` for the current order, or brings the open one to
// the front computed afresh.
void showCostBreakdown(QWidget* owner, const CPlantData& plantData, OrderSnapshot currentOrder);

} // namespace kalkora::ui
