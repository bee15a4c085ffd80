#include "ui/common/NumberField.h"

#include "costing/Money.h"
#include "text/NumberFormat.h"
#include "text/NumberScan.h"
#include "ui/common/QtText.h"
#include "ui/common/UiServices.h"

#include <QLineEdit>

namespace kalkora::ui {

namespace {

void refuse(QLineEdit* field, const QString& message)
{
    uiServices().showMessage(field->window(), message, MessageIcon::Exclamation);
    focusForCorrection(field);
}

// A number too long for its field shows its beginning, not its end.
void showFromStart(QLineEdit* field, const std::string& text)
{
    field->setText(fromCp1252(text));
    field->setCursorPosition(0);
}

template <typename T> bool store(const std::optional<T>& value, T& target)
{
    if (value)
        target = *value;
    return value.has_value();
}

} // namespace

std::optional<std::int64_t> wholeNumber(const QString& text, std::int64_t min, std::int64_t max)
{
    const std::optional<std::int64_t> value = parseScaled(text.trimmed().toStdString(), 0);
    return value && *value >= min && *value <= max ? value : std::nullopt;
}

void focusForCorrection(QLineEdit* field)
{
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

void showFloat(QLineEdit* field, float value)
{
    showFromStart(field, text::formatG6(value));
}

void showInt(QLineEdit* field, std::int32_t value)
{
    showFromStart(field, text::formatInt(value));
}

std::optional<float> readFloat(QLineEdit* field)
{
    const std::optional<double> value = text::scanDouble(toCp1252(field->text()));
    if (!value) {
        refuse(field, numberExpectedMessage());
        return std::nullopt;
    }
    return static_cast<float>(*value);
}

std::optional<std::int32_t> readInt(QLineEdit* field)
{
    const std::optional<std::int32_t> value = text::scanInt(toCp1252(field->text()));
    if (!value) {
        refuse(field, wholeNumberExpectedMessage());
    }
    return value;
}

bool readInto(QLineEdit* field, float& target)
{
    return store(readFloat(field), target);
}

bool readInto(QLineEdit* field, std::int32_t& target)
{
    return store(readInt(field), target);
}

} // namespace kalkora::ui
