#pragma once

#include "costing/SalesPrice.h"
#include "model/CPlantData.h"
#include "ui/analysis/AnalysisDlg.h"

#include <array>
#include <optional>

class QGridLayout;
class QLineEdit;

namespace kalkora::ui {

// The sales price scheme ("Angebot"): the scheme's percentages and amounts, the quantities and
// a market price in fields, and the scheme as a table with one column per quantity, recomputed
// from the current order as the fields change and whenever the order changes. A field that
// cannot be read is marked and named below the fields, and the last good table stays, marked
// out of date. With a market price the profit it leaves follows in the last rows.
//
// Object names for tests: "quoteDlg", the fields by their keys ("adminPct" ... "marketPrice",
// "quantities"), "errorLine" the message, "marketLine" the backward block.
class CQuoteDlg : public CAnalysisDlg {
    Q_OBJECT

public:
    CQuoteDlg(const CPlantData& plantData, OrderSnapshot currentOrder, QWidget* parent = nullptr);

    // Computes from the current order, starting again from its default quantities.
    void restart();
    // The table shown; nothing before the first good computation.
    const std::optional<Quote>& shownQuote() const { return quote; }

public slots:
    // Any field was edited.
    void OnFieldChanged() { recompute(); }

protected:
    std::string csvText() const override;
    std::string printText() const override;
    void followOrder() override { recompute(); }

private:
    void addField(int row, int column, const QString& label, const QString& unit, QLineEdit* field);
    // What the fields hold; nothing after marking the first that cannot be read.
    std::optional<SalesScheme> typedScheme();
    std::optional<std::optional<Hundredths>> typedMarketPrice();
    void recompute();
    void showQuote(Quote newQuote, const COrder& order);
    void showError(QLineEdit* field, const QString& message);

    const CPlantData& plantData;
    OrderSnapshot currentOrder;
    QGridLayout* fieldsGrid = nullptr;
    std::array<QLineEdit*, kSchemeFields.size()> schemeFields {};
    QLineEdit* quantities = nullptr;
    QLineEdit* marketPrice = nullptr;
    QLabel* errorLine = nullptr;
    QLabel* marketLine = nullptr;
    QLabel* quantityBase = nullptr;
    std::optional<Quote> quote;
};

// Opens the quote window of `owner` for the current order, or brings the open one to the front
// computed afresh with its fields.
void showQuote(QWidget* owner, const CPlantData& plantData, OrderSnapshot currentOrder);

} // namespace kalkora::ui
