#include "ui/quote/QuoteDefaultsDlg.h"

#include "documents/QuoteDefaults.h"
#include "documents/SchemeValues.h"
#include "ui/common/NumberField.h"
#include "ui/common/UiServices.h"
#include "ui/quote/SchemeLabels.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <array>
#include <optional>
#include <tuple>

namespace kalkora::ui {

using namespace documents;

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
    senderField = text("sender", QStringLiteral("&Absender:"), defaults.sender);
    for (std::size_t i = 0; i < kSchemeFields.size(); ++i) {
        const SchemeField& field = kSchemeFields[i];
        schemeFields[i] = line(field.key,
            QStringLiteral("%1 [%2]:")
                .arg(QString::fromUtf8(kSchemeLabels[i]), field.percent() ? QStringLiteral("%") : QStringLiteral("€")),
            typedValue(field.countIn(defaults.scheme)));
    }
    validityDaysField
        = line("validityDays", QStringLiteral("Gü&ltigkeit [Tage]:"), QString::number(defaults.validityDays));
    cashDiscountDaysField
        = line("cashDiscountDays", QStringLiteral("Skonto&frist [Tage]:"), QString::number(defaults.cashDiscountDays));
    paymentDaysField
        = line("paymentDays", QStringLiteral("&Zahlungsziel [Tage]:"), QString::number(defaults.paymentDays));
    introField = text("intro", QStringLiteral("&Einleitung:"), defaults.intro);
    closingField = text("closing", QStringLiteral("&Schluss:"), defaults.closing);
    footerField = text("footer", QStringLiteral("F&ußzeile:"), defaults.footer);
    footerField->setToolTip(QStringLiteral("Rechtsform, Sitz, Registergericht und -nummer, Geschäftsführer und "
                                           "USt-IdNr.: am Fuß jeder Seite des Angebots."));
    numberPrefixField = line("numberPrefix", QStringLiteral("Num&mernvorsatz:"), defaults.numberPrefix);
    numberPrefixField->setToolTip(QStringLiteral("Steht vor der gezählten Nummer, z. B. A-2026- für A-2026-17."));
    nextNumberField
        = line("nextNumber", QStringLiteral("Nächs&te Angebotsnummer:"), QString::number(defaults.nextNumber));

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
        const std::optional<std::int64_t> value = schemeValueOf(kSchemeFields[i], schemeFields[i]->text());
        if (!value)
            return refuse(schemeFields[i], schemeRefusal(kSchemeFields[i], schemeFields[i]->text()));
        kSchemeFields[i].setIn(defaults.scheme, *value);
    }
    if (!discountsLeaveAPrice(defaults.scheme))
        return refuse(schemeFields[4], discountsMessage());
    const std::optional<int> days = validityDaysOf(validityDaysField->text());
    if (!days)
        return refuse(
            validityDaysField, QStringLiteral("„Gültigkeit“: bitte eine ganze Zahl von 0 bis 3.650 Tagen eingeben."));
    std::array<int, 2> periods {};
    for (auto [field, period, name] : { std::tuple(cashDiscountDaysField, &periods[0], "Skontofrist"),
             std::tuple(paymentDaysField, &periods[1], "Zahlungsziel") }) {
        const std::optional<int> typed = validityDaysOf(field->text());
        if (!typed)
            return refuse(field,
                QStringLiteral("„%1“: bitte eine ganze Zahl von 0 bis 3.650 Tagen eingeben.").arg(QLatin1String(name)));
        *period = *typed;
    }
    const std::optional<int> number = quoteNumberOf(nextNumberField->text());
    if (!number)
        return refuse(
            nextNumberField, QStringLiteral("„Nächste Angebotsnummer“: bitte eine ganze Zahl ab 1 eingeben."));
    defaults.sender = senderField->toPlainText();
    defaults.validityDays = *days;
    defaults.intro = introField->toPlainText();
    defaults.closing = closingField->toPlainText();
    defaults.footer = footerField->toPlainText();
    defaults.cashDiscountDays = periods[0];
    defaults.paymentDays = periods[1];
    defaults.numberPrefix = numberPrefixField->text().trimmed();
    defaults.nextNumber = *number;
    saveQuoteDefaults(defaults);
    accept();
}

} // namespace kalkora::ui
