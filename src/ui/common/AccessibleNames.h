#pragma once

class QWidget;

namespace kalkora::ui {

// Screen readers announce a field by its name. The windows place each label beside or above its
// field, as the dialog manager did, so the pairs are found by position once a window is laid
// out: a field takes the nearest label on its left in the same row, else the label just above
// it, else the title of the group box around it. The label becomes the field's buddy and its
// text the field's accessible name; a name that would occur twice in the window is followed by
// the group box's title ("1 Schicht, Fixer Maschinenstundensatz [EUR]"). Fields that already
// have an accessible name keep it.
void nameFieldsByLabels(QWidget* window);

} // namespace kalkora::ui
