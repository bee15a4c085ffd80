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

// Whether `widget` is one of a window's own controls, placed by placeInDialogUnits.
bool isPlacedInDialogUnits(const QWidget* widget);

// Desktop fonts run wider than the font the layouts were drawn for, so a label, radio button or
// check box may need more than its width. Then the horizontal unit of the whole of `window` is
// widened until the widest text just fits: every control placed in dialog units, and the
// window's fixed width, grow in proportion, and all texts keep the window's one font. Call once
// the window's controls have their texts and places.
void widenForTexts(QWidget* window);

} // namespace kalkora::ui
