#pragma once

#include "costing/SalesPrice.h"

#include <QDialog>
#include <QString>

#include <array>

class QLineEdit;
class QPlainTextEdit;

namespace kalkora::ui {

// What a new quote starts from ("Angebotsvorgaben"), kept in the user's settings.
struct QuoteDefaults {
    QString sender;
    SalesScheme scheme;
    int validityDays = 30;
    QString intro;
    QString closing;
    int nextNumber = 1; // counted up when a new quote is saved
};

QuoteDefaults loadQuoteDefaults();
void saveQuoteDefaults(const QuoteDefaults& defaults);

// The dialog "Angebotsvorgaben": the sender block, the default scheme, the validity in days,
// intro and closing texts and the next quote number. OK stores them unless a value cannot be
// read; then the value's field gets the focus and a message says what it takes.
//
// Object names for tests: "quoteDefaultsDlg", the fields "sender", the scheme's keys,
// "validityDays", "intro", "closing", "nextNumber", the buttons "buttonOk" and "buttonCancel".
class CQuoteDefaultsDlg : public QDialog {
    Q_OBJECT

public:
    explicit CQuoteDefaultsDlg(QWidget* parent = nullptr);

public slots:
    void OnOK();

private:
    QPlainTextEdit* sender = nullptr;
    std::array<QLineEdit*, kSchemeFields.size()> schemeFields {};
    QLineEdit* validityDays = nullptr;
    QPlainTextEdit* intro = nullptr;
    QPlainTextEdit* closing = nullptr;
    QLineEdit* nextNumber = nullptr;
};

} // namespace kalkora::ui
