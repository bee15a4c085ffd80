#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class QLineEdit;

namespace kalkora::ui {

// The numeric field rule of every dialog, under the program's runtime locale: a float shows
// as "%.*g" at precision 6, an integer as "%d". Reading takes the leading number of the text
// (blanks skipped, the rest ignored); a float is read as double and stored rounded to float.
// A text that does not begin with a number is refused: a warning box is shown, the field gets
// the focus with its text selected, and nothing is returned, so the caller stops confirming.

void showFloat(QLineEdit* field, float value);
void showInt(QLineEdit* field, std::int32_t value);

std::optional<float> readFloat(QLineEdit* field);
std::optional<std::int32_t> readInt(QLineEdit* field);

// Overloads by the kind of value, for dialogs that list their fields in a table. readInto
// stores the value read in `target` and returns true; a refused field (see above) leaves
// `target` alone and returns false.
inline void showNumber(QLineEdit* field, float value)
{
    showFloat(field, value);
}
inline void showNumber(QLineEdit* field, std::int32_t value)
{
    showInt(field, value);
}
bool readInto(QLineEdit* field, float& target);
bool readInto(QLineEdit* field, std::int32_t& target);

// A whole number from `min` to `max` as typed, blanks around it allowed, points between thousands
// too; nothing otherwise. For fields that name their own refusal.
std::optional<std::int64_t> wholeNumber(const QString& text, std::int64_t min, std::int64_t max);

// Gives `field` the focus with its text selected, as for a refused field, so that the user
// can type over it.
void focusForCorrection(QLineEdit* field);

// The warning texts shown for a refused field.
inline QString numberExpectedMessage()
{
    return QStringLiteral("Bitte eine Zahl eingeben.");
}
inline QString wholeNumberExpectedMessage()
{
    return QStringLiteral("Bitte eine ganze Zahl eingeben.");
}

} // namespace kalkora::ui
