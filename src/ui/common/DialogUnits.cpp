#include "ui/common/DialogUnits.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QRadioButton>
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

// Marks the controls that placeInDialogUnits placed, so that widenForTexts moves exactly those.
const char* const placedProperty = "placedInDialogUnits";

// The width a control needs to show its text uncut: 0 when it has none to measure. Word-wrapped
// labels break their lines instead.
int widthForText(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->wordWrap() || label->text().isEmpty() ? 0 : label->sizeHint().width();
    }
    if (qobject_cast<const QRadioButton*>(widget) || qobject_cast<const QCheckBox*>(widget)) {
        return widget->sizeHint().width();
    }
    return 0;
}

// The factor by which the widest text of `controls` overflows its control, or 1 when all fit.
double widestOverflow(const QList<QWidget*>& controls)
{
    double widest = 1.0;
    for (const QWidget* control : controls) {
        if (control->width() > 0) {
            widest = std::max(widest, static_cast<double>(widthForText(control)) / control->width());
        }
    }
    return widest;
}

// Left and right edge scaled and rounded apart, so that neighbours stay neighbours.
QRect widened(const QRect& rect, double factor)
{
    const int left = static_cast<int>(std::lround(rect.x() * factor));
    const int right = static_cast<int>(std::lround((rect.x() + rect.width()) * factor));
    return QRect(left, rect.y(), right - left, rect.height());
}

} // namespace

bool isPlacedInDialogUnits(const QWidget* widget)
{
    return widget->property(placedProperty).toBool();
}

void widenForTexts(QWidget* window)
{
    QList<QWidget*> controls;
    QList<QRect> places;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (isPlacedInDialogUnits(widget)) {
            controls << widget;
            places << widget->geometry();
        }
    }
    const bool fixedWidth = window->minimumWidth() == window->maximumWidth();
    const int width = window->width();
    double factor = 1.0;
    // The overflow is linear in the factor; a second round only takes up a rounded-off pixel.
    for (int round = 0; round < 4; ++round) {
        const double overflow = widestOverflow(controls);
        if (overflow <= 1.0) {
            return;
        }
        factor *= overflow;
        for (qsizetype i = 0; i < controls.size(); ++i) {
            QRect place = widened(places[i], factor);
            // A picture keeps its frame, centred where it was.
            if (const auto* label = qobject_cast<const QLabel*>(controls[i]); label && label->text().isEmpty()) {
                const QPoint centre = place.center();
                place.setSize(places[i].size());
                place.moveCenter(centre);
            }
            controls[i]->setGeometry(place);
        }
        const int widerWidth = static_cast<int>(std::lround(width * factor));
        if (fixedWidth) {
            window->setFixedWidth(widerWidth);
        } else {
            window->resize(widerWidth, window->height());
        }
    }
}

void placeInDialogUnits(QWidget* widget, int x, int y, int width, int height)
{
    const QWidget* parent = widget->parentWidget();
    const DialogUnits units(parent ? parent->font() : widget->font());
    widget->setGeometry(units.rect(x, y, width, height));
    widget->setProperty(placedProperty, true);
}

} // namespace kalkora::ui
