#pragma once

// ui/report: the report window, its text view for very long texts and printing. It uses
// ui/common, src/print, src/costing and src/text only.

#include "model/COrder.h"
#include "model/CPlantData.h"

#include <QDialog>

#include <string>

class QPushButton;

namespace kalkora::ui {

class ReportTextView;

// The modal window that shows the costing report read-only in a fixed-pitch font, so that
// its columns line up, and prints it with "Drucken...". Closing changes nothing.
//
// Object names for tests: "button1" Schließen, "edit1060" the text, "button1061" Drucken...
class CReportDlg : public QDialog {
    Q_OBJECT

public:
    explicit CReportDlg(QWidget* parent = nullptr);

    // The report as the costing wrote it: Windows-1252, lines ending in CR LF. The window
    // shows these very bytes, without a copy.
    void setReportText(std::string text);
    const std::string& getReportText() const { return reportText; }

public slots:
    void OnPrint();

private:
    std::string reportText;
    QPushButton* closeButton = nullptr;
    ReportTextView* reportView = nullptr;
    QPushButton* printButton = nullptr;
};

// Costs the order, shows the message of each operation that cannot be costed, then the report in
// its window. `orderFile` is the order's file (empty without one); cancelling the costing shows
// nothing.
void showCostingReport(QWidget* owner, const COrder& order, const CPlantData& plantData, const QString& orderFile);

} // namespace kalkora::ui
