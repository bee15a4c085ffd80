#pragma once

#include <QColor>
#include <QString>

namespace kalkora::ui {

// The background of a field or a table cell whose content cannot be used as it is (a value that
// cannot be read, a file that is missing), the same in every window.
inline QColor markedBackground()
{
    return QColor(0xff, 0xd8, 0xd8);
}

// The same as a style sheet of a field.
inline QString markedStyle()
{
    return QStringLiteral("background-color: %1;").arg(markedBackground().name());
}

} // namespace kalkora::ui
