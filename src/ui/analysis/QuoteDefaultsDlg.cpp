#include "ui/analysis/QuoteDefaultsDlg.h"

#include "ui/analysis/SchemeValues.h"
#include "ui/common/NumberField.h"
#include "ui/common/UiServices.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>

#include <limits>
#include <memory>
#include <optional>

namespace kalkora::ui {

namespace {

std::unique_ptr<QSettings> quoteSettings()
{
    auto settings = std::make_unique<QSettings>(
        QSettings::NativeFormat, QSettings::UserScope, applicationTitle(), applicationTitle());
    settings->beginGroup(QStringLiteral("quoteDefaults"));
    return settings;
}

constexpr int maxValidityDays = 3650;

// A whole number from `min` to `max`, or nothing.
std::optional<int> wholeNumber(const QString& text, int min, int max)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= min && value <= max ? std::optional(value) : std::nullopt;
}

} // namespace

QuoteDefaults loadQuoteDefaults()
{
    const std::unique_ptr<QSettings> stored = quoteSettings();
    const QSettings& settings = *stored;
    QuoteDefaults defaults;
    defaults.sender = settings.value(QStringLiteral("sender")).toString();
    for (const SchemeField& field : kSchemeFields) {
        // A value another version stored out of range starts as 0.
        const std::optional<Hundredths> value
            = schemeValueOf(field, settings.value(QLatin1String(field.key)).toString());
        defaults.scheme.*field.member = value.value_or(Hundredths());
    }
    if (!discountsLeaveAPrice(defaults.scheme))
        defaults.scheme.commissionPct = Hundredths();
    defaults.validityDays
        = wholeNumber(settings.value(QStringLiteral("validityDays")).toString(), 0, maxValidityDays).value_or(30);
    defaults.intro = settings.value(QStringLiteral("intro")).toString();
    defaults.closing = settings.value(QStringLiteral("closing")).toString();
    defaults.nextNumber
        = wholeNumber(settings.value(QStringLiteral("nextNumber")).toString(), 1, std::numeric_limits<int>::max())
              .value_or(1);
    return defaults;
}

void saveQuoteDefaults(const QuoteDefaults& defaults)
{
    const std::unique_ptr<QSettings> stored = quoteSettings();
    QSettings& settings = *stored;
    settings.setValue(QStringLiteral("sender"), defaults.sender);
    for (const SchemeField& field : kSchemeFields)
        settings.setValue(QLatin1String(field.key), typedValue(defaults.scheme.*field.member));
    settings.setValue(QStringLiteral("validityDays"), QString::number(defaults.validityDays));
    settings.setValue(QStringLiteral("intro"), defaults.intro);
    settings.setValue(QStringLiteral("closing"), defaults.closing);
    settings.setValue(QStringLiteral("nextNumber"), QString::number(defaults.nextNumber));
}

CQuoteDefaultsDlg::CQuoteDefaultsDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("quoteDefaultsDlg"));
    setWindowTitle(QStringLiteral("Kalkora - Angebotsvorgaben"));
    const QuoteDefaults defaults = loadQuoteDefaults();
    auto* form = new QFormLayout(this);
    const auto text = [this, form](const char* name, const QString& label, const QString& value) {
        auto* field = new QPlainTextEdit(value, this);
        field->setObjectName(QLatin1String(name));
        field->setTabChangesFocus(true);
        field->setFixedHeight(fontMetrics().lineSpacing() * 5 + 10);
        form->addRow(label, field);
        return field;
    };
    const auto line = [this, form](const char* name, const QString& label, const QString& value) {
        auto* field = new QLineEdit(value, this);
        field->setObjectName(QLatin1String(name));
        form->addRow(label, field);
        return field;
    };
    sender = text("sender", QStringLiteral("&Absender:"), defaults.sender);
    for (std::size_t i = 0; i < kSchemeFields.size(); ++i) {
        const SchemeField& field = kSchemeFields[i];
        schemeFields[i] = line(field.key,
            QStringLiteral("%1 [%2]:")
                .arg(QString::fromUtf8(field.germanName), field.percent ? QStringLiteral("%") : QStringLiteral("€")),
            typedValue(defaults.scheme.*field.member));
    }
    validityDays = line("validityDays", QStringLiteral("&Gültigkeit [Tage]:"), QString::number(defaults.validityDays));
    intro = text("intro", QStringLiteral("&Einleitung:"), defaults.intro);
    closing = text("closing", QStringLiteral("&Schluss:"), defaults.closing);
    nextNumber = line("nextNumber", QStringLiteral("&Nächste Angebotsnummer:"), QString::number(defaults.nextNumber));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("buttonOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("buttonCancel"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    form->addRow(buttons);
    connect(ok, &QPushButton::clicked, this, &CQuoteDefaultsDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CQuoteDefaultsDlg::OnOK()
{
    const auto refuse = [this](QLineEdit* field, const QString& message) {
        uiServices().showMessage(this, message);
        focusForCorrection(field);
    };
    QuoteDefaults defaults = loadQuoteDefaults();
    for (std::size_t i = 0; i < kSchemeFields.size(); ++i) {
        const std::optional<Hundredths> value = schemeValueOf(kSchemeFields[i], schemeFields[i]->text());
        if (!value)
            return refuse(schemeFields[i], schemeRangeMessage(kSchemeFields[i]));
        defaults.scheme.*kSchemeFields[i].member = *value;
    }
    if (!discountsLeaveAPrice(defaults.scheme))
        return refuse(schemeFields[4], discountsMessage());
    const std::optional<int> days = wholeNumber(validityDays->text(), 0, maxValidityDays);
    if (!days)
        return refuse(
            validityDays, QStringLiteral("„Gültigkeit“: bitte eine ganze Zahl von 0 bis 3650 Tagen eingeben."));
    const std::optional<int> number = wholeNumber(nextNumber->text(), 1, std::numeric_limits<int>::max());
    if (!number)
        return refuse(nextNumber, QStringLiteral("„Nächste Angebotsnummer“: bitte eine ganze Zahl ab 1 eingeben."));
    defaults.sender = sender->toPlainText();
    defaults.validityDays = *days;
    defaults.intro = intro->toPlainText();
    defaults.closing = closing->toPlainText();
    defaults.nextNumber = *number;
    saveQuoteDefaults(defaults);
    accept();
}

} // namespace kalkora::ui
