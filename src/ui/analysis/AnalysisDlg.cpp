#include "ui/analysis/AnalysisDlg.h"

#include <QBoxLayout>
#include <QChart>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QLocale>
#include <QTableView>

namespace kalkora::ui {

CAnalysisDlg::CAnalysisDlg(QWidget* parent, const QString& title, const QString& exportTitle)
    : COrderWindow(parent, title)
{
    auto* layout = new QVBoxLayout(this);
    tablePanel
        = new CAnalysisPanel(this, exportTitle, true, { [this] { return csvText(); }, [this] { return printText(); } });
    layout->addWidget(tablePanel);
}

CScaleDlg::CScaleDlg(QWidget* parent, const QString& title, const QString& exportTitle, const QString& quantitiesTip)
    : CAnalysisDlg(parent, title, exportTitle)
{
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Mengen:"), this);
    quantitiesField = new QLineEdit(this);
    quantitiesField->setObjectName(QStringLiteral("quantities"));
    quantitiesField->setToolTip(quantitiesTip);
    label->setBuddy(quantitiesField);
    row->addWidget(label);
    row->addWidget(quantitiesField, 1);
    quantityBaseLine = new QLabel(this);
    row->addWidget(quantityBaseLine);
    panel()->headerArea()->addLayout(row);

    errorLine = new QLabel(this);
    errorLine->setObjectName(QStringLiteral("errorLine"));
    errorLine->setWordWrap(true);
    errorLine->setStyleSheet(QStringLiteral("color: #b00000;"));
    errorLine->hide();
    panel()->headerArea()->addWidget(errorLine);

    // Five columns share the width rather than leaving most of it empty.
    table()->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    connect(quantitiesField, &QLineEdit::returnPressed, this, &CScaleDlg::OnQuantitiesEntered);
    quantitiesField->setFocus(Qt::OtherFocusReason);
}

void CScaleDlg::showError(const QString& message)
{
    panel()->setCurrent(false);
    errorLine->setText(message);
    errorLine->show();
    quantitiesField->setFocus(Qt::OtherFocusReason);
    quantitiesField->selectAll();
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
