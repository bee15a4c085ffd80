#pragma once

#include <QFont>
#include <QRect>

class QWidget;

namespace kalkora::ui {

// Window layouts are given in dialog units of the dialog font. One horizontal unit is a quarter
// of the font's average character width, one vertical unit an eighth of its height, so a
// layout grows with the desktop font. Each window converts with the font it is shown in.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int x(int units) const;
    int y(int units) const;
    QRect rect(int x, int y, int width, int height) const;
    QSize size(int width, int height) const;

    int baseWidth() const { return avgCharWidth; }
    int baseHeight() const { return charHeight; }

private:
    int avgCharWidth;
    int charHeight;
};

// Places `widget` at a rectangle given in dialog units of its parent's font.
void placeInDialogUnits(QWidget* widget, int x, int y, int width, int height);

// Desktop fonts run wider than the font the layouts were drawn for, so a label, radio button
// or check box whose text would be cut off at its width gets a slightly smaller font instead
// (down to 6 points). Call after the widget has its text and geometry.
void fitTextToWidth(QWidget* widget);

} // namespace kalkora::ui
