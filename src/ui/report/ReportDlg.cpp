#include "ui/report/ReportDlg.h"

#include "costing/OrderCosting.h"
#include "ui/common/DialogUnits.h"
#include "ui/common/LongTask.h"
#include "ui/common/QtText.h"
#include "ui/common/UiServices.h"
#include "ui/report/PrintCommand.h"
#include "ui/report/ReportTextView.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPushButton>

namespace kalkora::ui {

namespace {

bool hasFixedPitch(const QFont& font)
{
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(QLatin1Char('i')) == metrics.horizontalAdvance(QLatin1Char('W'));
}

// The desktop's fixed-pitch font; where the platform names none, any monospace family.
QFont reportFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (!hasFixedPitch(font)) {
        font.setFamily(QStringLiteral("monospace"));
        font.setStyleHint(QFont::Monospace);
        font.setFixedPitch(true);
    }
    return font;
}

} // namespace

CReportDlg::CReportDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("reportDlg"));
    setWindowTitle(QStringLiteral("Kalkora 1.0 EURO: Auftrag Berechnen"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(DialogUnits(font()).size(357, 301));

    closeButton = new QPushButton(QStringLiteral("Schließen"), this);
    closeButton->setObjectName(QStringLiteral("button1"));
    closeButton->setDefault(true);
    placeInDialogUnits(closeButton, 272, 280, 50, 14);

    reportView = new ReportTextView(this);
    reportView->setObjectName(QStringLiteral("edit1060"));
    reportView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    reportView->setFont(reportFont());
    // No label names the report; the window's title does.
    reportView->setAccessibleName(windowTitle());
    placeInDialogUnits(reportView, 7, 7, 343, 263);

    printButton = new QPushButton(QStringLiteral("Drucken..."), this);
    printButton->setObjectName(QStringLiteral("button1061"));
    printButton->setAutoDefault(false);
    placeInDialogUnits(printButton, 5, 280, 50, 14);

    setTabOrder(closeButton, reportView);
    setTabOrder(reportView, printButton);
    closeButton->setFocus(Qt::OtherFocusReason);

    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(printButton, &QPushButton::clicked, this, &CReportDlg::OnPrint);
}

void CReportDlg::setReportText(std::string text)
{
    reportText = std::move(text);
    reportView->setText(reportText);
}

void CReportDlg::OnPrint()
{
    printReportWithDialog(this, reportText);
}

void showCostingReport(QWidget* owner, const COrder& order, const CPlantData& plantData, const QString& orderFile)
{
    const std::string fileName = toCp1252(QFileInfo(orderFile).fileName());
    CostingResult result = costOrder(order, plantData, fileName, text::PrintDate::today(),
        LongTask(owner, QStringLiteral("Auftrag wird berechnet..."), true).callback());
    if (result.cancelled) {
        return;
    }
    for (const std::string& message : result.messages) {
        uiServices().showMessage(owner, fromCp1252(message));
    }
    CReportDlg report(owner);
    report.setReportText(std::move(result.reportText));
    report.exec();
}

} // namespace kalkora::ui
