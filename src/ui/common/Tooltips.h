#pragma once

#include <QString>

class QWidget;

namespace kalkora::ui {

// Hover tips of the data-entry windows. Tips wider than 150 pixels wrap at that width, as
// the program's tip windows always did; shorter ones stay on one line.
inline constexpr int maxTipWidth = 150;

// Gives `widget` the tip `text`; the plain text stays readable as the property "plainToolTip"
// and is the widget's accessible description.
void setTip(QWidget* widget, const QString& text);

// The tip text as Qt shows it: plain when it fits in maxTipWidth, else wrapped rich text.
QString formatTip(const QString& text);

} // namespace kalkora::ui
