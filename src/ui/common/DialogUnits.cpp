#include "ui/common/DialogUnits.h"

#include <QFontMetrics>
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

void placeInDialogUnits(QWidget* widget, int x, int y, int width, int height)
{
    const QWidget* parent = widget->parentWidget();
    const DialogUnits units(parent ? parent->font() : widget->font());
    widget->setGeometry(units.rect(x, y, width, height));
}

} // namespace kalkora::ui
