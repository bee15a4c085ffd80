#pragma once

#include "files/OfferFile.h"

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

class QPrinter;

namespace kalkora::report {

// The quote as it is sent to the customer: a German business letter on A4 with the sender at
// the top, the recipient in the window-envelope field of DIN 5008, the quote's number and dates
// beside it, the subject, the intro, the part offered and one line per quantity offered, the
// payment terms, the closing text, and on every page the company's legal details and the page
// number. It shows only what the customer pays; costs, surcharges and
// profit never appear on it.
struct QuoteLetter {
    QStringList sender;
    QString returnAddress; // the sender's first three lines in one, above the recipient
    QStringList recipient;
    std::vector<std::pair<QString, QString>> reference; // "Angebot Nr.", "Datum", "Gültig bis"
    QString subject;
    QStringList intro; // paragraphs
    QString part; // "Bezeichnung: Welle 20x200"; empty without a name
    QStringList tableHeader;
    std::vector<QStringList> tableRows;
    QStringList terms;
    QStringList closing;
    QStringList footer;
};

// The letter of `offer`: its texts and its offered prices ("Rabatt" only where one is given). A
// reference ("Angebot Nr.", "Datum", "Gültig bis") the offer has nothing for is left out.
QuoteLetter quoteLetter(const files::Offer& offer);

// The letter's text in reading order, one line per line of the letter; table cells are
// separated by " | ".
QString quoteLetterText(const QuoteLetter& letter);

// Prints the letter as the document "Angebot" on `printer`, which must be set up already, and
// returns the number of pages.
int printQuoteLetter(const QuoteLetter& letter, QPrinter& printer);

// Writes the letter to an A4 PDF at `path`. Needs a QGuiApplication. False when the file cannot
// be written.
bool writeQuoteLetterPdf(const QuoteLetter& letter, const QString& path);

} // namespace kalkora::report
