#pragma once

#include "ui/analysis/AnalysisPanel.h"
#include "ui/analysis/OrderWindow.h"

#include <string>

class QChart;
class QLabel;
class QLineEdit;

namespace kalkora::ui {

// The price-scale and the cost-breakdown windows: the table panel with a chart below the table.
class CAnalysisDlg : public COrderWindow {
    Q_OBJECT

public:
    CAnalysisPanel* panel() const { return tablePanel; }
    QTableView* table() const { return tablePanel->table(); }
    QChartView* chart() const { return tablePanel->chart(); }
    QLabel* warningLine() const { return tablePanel->warningLine(); }
    std::string printout() const { return tablePanel->printout(); }
    bool isCurrent() const { return tablePanel->isCurrent(); }

public slots:
    void OnOrderChanged() override { followOrder(); }

protected:
    CAnalysisDlg(QWidget* parent, const QString& title, const QString& exportTitle);

    // The bytes "&Exportieren..." writes and the text "&Drucken..." prints (Windows-1252, CR LF).
    virtual std::string csvText() const = 0;
    virtual std::string printText() const = 0;
    // Computes again from the current order with the window's own settings.
    virtual void followOrder() = 0;

private:
    CAnalysisPanel* tablePanel = nullptr;
};

// A price scale: the quantities in a field above the table, the quantity base beside it and what
// cannot be computed below it; Enter in the field computes again (OnQuantitiesEntered).
class CScaleDlg : public CAnalysisDlg {
    Q_OBJECT

public slots:
    virtual void OnQuantitiesEntered() = 0;

protected:
    CScaleDlg(QWidget* parent, const QString& title, const QString& exportTitle, const QString& quantitiesTip);

    // Names the problem, marks the figures out of date and hands the field back to the user.
    void showError(const QString& message);

    QLineEdit* quantitiesField = nullptr;
    QLabel* quantityBaseLine = nullptr;
    QLabel* errorLine = nullptr;
};

// A chart with German number labels and the legend below, as both windows use it.
QChart* newGermanChart(const QString& title);
// Says in the title that figures without a value ("inf", "nan") are in the table only.
void noteLeftOutFigures(QChart* chart);

} // namespace kalkora::ui
