#include "ui/common/DialogUnits.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QStyle>
#include <QWidget>

#include <cmath>

namespace kalkora::ui {

namespace {

// The average width of the 52 Latin letters, as the dialog manager measures it.
int averageCharWidth(const QFontMetrics& metrics)
{
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int total = metrics.horizontalAdvance(letters);
    return std::max(1, (total / 26 + 1) / 2);
}

// units * base / divisor, rounded to nearest.
int scale(int units, int base, int divisor)
{
    return static_cast<int>(std::lround(static_cast<double>(units) * base / divisor));
}

} // namespace

DialogUnits::DialogUnits(const QFont& font)
    : avgCharWidth(averageCharWidth(QFontMetrics(font)))
    , charHeight(std::max(1, QFontMetrics(font).height()))
{
}

int DialogUnits::x(int units) const
{
    return scale(units, avgCharWidth, 4);
}

int DialogUnits::y(int units) const
{
    return scale(units, charHeight, 8);
}

QRect DialogUnits::rect(int x, int y, int width, int height) const
{
    return QRect(this->x(x), this->y(y), this->x(width), this->y(height));
}

QSize DialogUnits::size(int width, int height) const
{
    return QSize(x(width), y(height));
}

namespace {

int widestLine(const QString& text, const QFont& font)
{
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return widest;
}

// The width a widget leaves for its text, or -1 for widgets without a text of their own.
int textRoom(const QWidget* widget, QString& text)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        text = label->text();
        return label->contentsRect().width() - 2 * label->margin();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        text = button->text().remove(QLatin1Char('&'));
        const QStyle* style = button->style();
        return button->width() - style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, button)
            - style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, button) - 2;
    }
    return -1;
}

} // namespace

void fitTextToWidth(QWidget* widget)
{
    QString text;
    const int room = textRoom(widget, text);
    if (room <= 0 || text.isEmpty()) {
        return;
    }
    QFont font = widget->font();
    const bool inPoints = font.pointSizeF() > 0;
    while (widestLine(text, font) > room) {
        if (inPoints && font.pointSizeF() > 6.0) {
            font.setPointSizeF(font.pointSizeF() - 0.5);
        } else if (!inPoints && font.pixelSize() > 8) {
            font.setPixelSize(font.pixelSize() - 1);
        } else {
            break;
        }
    }
    if (font != widget->font()) {
        widget->setFont(font);
    }
}

void placeInDialogUnits(QWidget* widget, int x, int y, int width, int height)
{
    const QWidget* parent = widget->parentWidget();
    const DialogUnits units(parent ? parent->font() : widget->font());
    widget->setGeometry(units.rect(x, y, width, height));
}

} // namespace kalkora::ui
