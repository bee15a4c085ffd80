#include "ui/common/Tooltips.h"

#include <QFontMetrics>
#include <QToolTip>
#include <QWidget>

namespace kalkora::ui {

QString formatTip(const QString& text)
{
    const QFontMetrics metrics(QToolTip::font());
    if (metrics.horizontalAdvance(text) <= maxTipWidth) {
        return text;
    }
    // A table of fixed width is the one rich-text way to make the tip label wrap at a width.
    return QStringLiteral("<table width=\"%1\"><tr><td>%2</td></tr></table>")
        .arg(maxTipWidth)
        .arg(text.toHtmlEscaped());
}

void setTip(QWidget* widget, const QString& text)
{
    widget->setProperty("plainToolTip", text);
    widget->setToolTip(formatTip(text));
    // Screen readers would otherwise read the wrapped tip's markup.
    widget->setAccessibleDescription(text);
}

} // namespace kalkora::ui
