#pragma once

#include "costing/SalesPrice.h"

#include <QDialog>
#include <QString>

#include <array>

class QLineEdit;
class QPlainTextEdit;

namespace kalkora::ui {

// The dialog "Angebotsvorgaben": the sender block, the default scheme, the validity, the period for
// the Skonto and of payment in days, intro and closing texts, the footer with the company's legal
// details and the quote number's prefix and next number, as the user's settings keep them. OK stores them unless a
// value cannot be read; then the value's field gets the focus and a message says what it takes.
//
// Object names for tests: "quoteDefaultsDlg", the fields "sender", the scheme's keys,
// "validityDays", "cashDiscountDays", "paymentDays", "intro", "closing", "footer", "numberPrefix",
// "nextNumber", the buttons "buttonOk" and "buttonCancel".
class CQuoteDefaultsDlg : public QDialog {
    Q_OBJECT

public:
    explicit CQuoteDefaultsDlg(QWidget* parent = nullptr);

public slots:
    void OnOK();

private:
    QPlainTextEdit* senderField = nullptr;
    std::array<QLineEdit*, kSchemeFields.size()> schemeFields {};
    QLineEdit* validityDaysField = nullptr;
    QLineEdit* cashDiscountDaysField = nullptr;
    QLineEdit* paymentDaysField = nullptr;
    QPlainTextEdit* footerField = nullptr;
    QLineEdit* numberPrefixField = nullptr;
    QPlainTextEdit* introField = nullptr;
    QPlainTextEdit* closingField = nullptr;
    QLineEdit* nextNumberField = nullptr;
};

} // namespace kalkora::ui
