#include "ui/report/ReportDlg.h"

#include "ui/common/DialogUnits.h"
#include "ui/common/QtText.h"
#include "ui/report/PrintCommand.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPlainTextEdit>
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

    button1 = new QPushButton(QStringLiteral("Schließen"), this);
    button1->setObjectName(QStringLiteral("button1"));
    button1->setDefault(true);
    placeInDialogUnits(button1, 272, 280, 50, 14);

    edit1060 = new QPlainTextEdit(this);
    edit1060->setObjectName(QStringLiteral("edit1060"));
    edit1060->setReadOnly(true);
    edit1060->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit1060->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit1060->setFont(reportFont());
    // No label names the report; the window's title does.
    edit1060->setAccessibleName(windowTitle());
    placeInDialogUnits(edit1060, 7, 7, 343, 263);

    button1061 = new QPushButton(QStringLiteral("Drucken..."), this);
    button1061->setObjectName(QStringLiteral("button1061"));
    button1061->setAutoDefault(false);
    placeInDialogUnits(button1061, 5, 280, 50, 14);

    setTabOrder(button1, edit1060);
    setTabOrder(edit1060, button1061);
    button1->setFocus(Qt::OtherFocusReason);

    connect(button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(button1061, &QPushButton::clicked, this, &CReportDlg::OnPrint);
}

void CReportDlg::setReportText(std::string text)
{
    reportText = std::move(text);
    edit1060->setPlainText(fromCp1252(reportText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void CReportDlg::OnPrint()
{
    printReportWithDialog(this, reportText);
}

} // namespace kalkora::ui
