#include "ui/analysis/AnalysisDlg.h"

#include <QBoxLayout>
#include <QChart>
#include <QLegend>
#include <QLocale>

namespace kalkora::ui {

CAnalysisDlg::CAnalysisDlg(QWidget* parent, const QString& title, const QString& exportTitle)
    : COrderWindow(parent, title)
{
    auto* layout = new QVBoxLayout(this);
    tablePanel
        = new CAnalysisPanel(this, exportTitle, true, { [this] { return csvText(); }, [this] { return printText(); } });
    layout->addWidget(tablePanel);
}

QChart* newGermanChart(const QString& title)
{
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setLocale(QLocale(QLocale::German, QLocale::Germany));
    chart->setLocalizeNumbers(true);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setAnimationOptions(QChart::NoAnimation);
    return chart;
}

void noteLeftOutFigures(QChart* chart)
{
    chart->setTitle(chart->title() + QStringLiteral(" – Werte „inf“ und „nan“ nur in der Tabelle"));
}

} // namespace kalkora::ui
