#pragma once

// ui/quote: the quote window and the quote defaults dialog. The quote itself, its defaults and
// numbering live in src/documents; the window views and edits it on the table panel of ui/analysis.

#include "costing/SalesPrice.h"
#include "documents/QuoteDocument.h"
#include "documents/Session.h"
#include "model/CPlantData.h"
#include "ui/analysis/AnalysisPanel.h"
#include "ui/analysis/OrderWindow.h"

#include <array>
#include <functional>
#include <optional>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kalkora::ui {

using documents::QuoteDataFiles;

// What a quote is priced from, as it stands at this moment: the main window's order, or an
// assembly in its window.
struct QuoteSubject {
    QString name;
    std::int32_t quantityBase = 1;
    QString quantityBaseLine; // "Stückzahlbasis des Auftrags: 100"
    QString note; // said above what could not be costed: an order in DM
    documents::QuoteBasisAt basisAt;
    // What could not be costed in `quote`, as the warning line names it.
    std::function<QStringList(const Quote& quote)> uncosted;
};
using QuoteSubjectSnapshot = std::function<QuoteSubject()>;

// The main window's order as a quote's subject.
QuoteSubjectSnapshot orderSubject(const CPlantData& plantData, OrderSnapshot currentOrder);

// The sales price scheme ("Angebot"): the scheme's percentages and amounts, the quantities and
// a market price in fields, and the scheme as a table with one column per quantity, recomputed
// from the current order as the fields change and whenever the order changes. A field that
// cannot be read or is out of range is marked and named below the fields, and the table and the
// backward block are greyed, marked out of date, with the figures the field was entered with:
// never those of a value half typed. With a market price the profit it leaves follows in the last
// rows.
//
// Below the table are the texts of the letter to the customer, which "&Vorschau..." shows and
// "Als &PDF speichern..." writes; "&Öffnen...", "&Speichern" and "Speichern &unter..." keep the
// quote in a quote file (.ang) with the prices offered. The prices of an opened quote stay as they
// were offered; where today's order and master data give others, the window shows both, and
// "Preise &übernehmen" takes today's. A changed quote asks before it is closed or another is
// opened.
//
// Object names for tests: "quoteDlg", the fields by their keys ("adminPct" ... "marketPrice",
// "quantities", "number", "date", "validUntil", "sender", "recipient", "subject", "intro",
// "closing"), "errorLine" the message, "marketLine" the backward block, the buttons
// "buttonPreview", "buttonPdf", "buttonOpen", "buttonSave", "buttonSaveAs"; "offeredLine" and
// "buttonTakePrices" for prices that differ from today's.
class CQuoteDlg : public COrderWindow {
    Q_OBJECT

public:
    CQuoteDlg(const CPlantData& plantData, OrderSnapshot currentOrder, QWidget* parent = nullptr);
    CQuoteDlg(QuoteSubjectSnapshot currentSubject, QWidget* parent);

    // Starts a new quote from the quote defaults for the current order.
    void restart();
    const documents::QuoteDocument& document() const { return quote; }
    CAnalysisPanel* panel() const { return tablePanel; }
    void setDataFiles(std::function<QuoteDataFiles()> currentFiles) { dataFiles = std::move(currentFiles); }
    // How "Öffnen..." opens a quote file with the order or assembly and the master data it names,
    // asking about unsaved changes as opening them does; without one, the quote opens here.
    void setQuoteOpener(std::function<void(const QString&)> opener) { quoteOpener = std::move(opener); }
    // Shows the quote of `path` with its offered prices; a file that cannot be read is named in
    // a message and changes nothing.
    bool openQuoteFile(const QString& path);
    // The same for a quote whose order is not open (its file is gone, or the master data it
    // needs): the table shows the offered prices alone and the figures cannot be changed, while
    // the letter's texts can be edited, saved, previewed and written as PDF.
    bool openQuoteWithoutOrder(const QString& path);
    // Asks first when the quote was changed.
    bool mayClose() override;
    bool isChanged() const override { return quote.isChanged(); }

public slots:
    void OnOrderChanged() override { recompute(); }
    // A field of the scheme, the quantities or the market price was edited.
    void OnFieldChanged();
    // A text of the letter was edited.
    void OnTextChanged();
    void OnPreview();
    void OnSavePdf();
    void OnOpenQuote();
    bool OnSaveQuote();
    bool OnSaveQuoteAs();
    void OnTakePrices();
    // Asks first when the quote was changed.
    void reject() override;

private:
    // Opens large enough to show the whole table and every field, as far as the screen allows.
    void growToShowTable();
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Marks what keeps the letter from being sent and names it below the texts; the messages.
    QStringList showLetterProblems();
    // Whether the letter can be sent; if not, says why.
    bool letterReady();
    void addField(int row, int column, const QString& label, const QString& unit, QLineEdit* field);
    void createTexts();
    // The quote ready to be sent; nothing, with what cannot be read marked or named, when it is
    // not.
    std::optional<files::Offer> sendableOffer();
    // The letter's texts as typed; a date that cannot be read stays as it was.
    documents::LetterTexts typedLetter() const;
    bool typedDate(QLineEdit* field, const QString& name);
    // What the fields hold; nothing after marking the first that cannot be read.
    std::optional<documents::QuoteFigures> typedFigures();
    std::optional<SalesScheme> typedScheme();
    std::optional<std::optional<Money>> typedMarketPrice();
    // Fills the fields from the document and prices it.
    void showDocument();
    // Whether the figures can be changed: only while the quote's order is open.
    void enableFigures();
    void showOfferedOnly();
    void showOfferedPrices();
    bool saveQuoteTo(const QString& path);
    // Tells why a quote file could not be opened; true when it was.
    bool shownOpened(const files::FileResult& result);
    void recompute();
    // Prices `figures`; false after naming why they cannot be priced.
    bool priced(documents::QuoteFigures figures, const QuoteSubject& subject);
    // The figures as they are priced now, for a refused value to fall back on.
    void rememberFigures();
    // Greys the table, showing the figures remembered.
    void showRefused(const QuoteSubject& subject);
    void showQuote(const QuoteSubject& subject);
    void showTable(const Quote& shown, const QuoteSubject& subject);
    // Marks `field` and names the problem.
    void showError(QLineEdit* field, const QString& message);

    QuoteSubjectSnapshot currentSubject;
    std::function<QuoteDataFiles()> dataFiles;
    std::function<void(const QString&)> quoteOpener;
    documents::QuoteDocument quote;
    bool showing = false; // fields are being filled by the program, not typed
    // As priced when the figure field being edited was entered, or the document shown.
    std::optional<documents::QuoteFigures> figuresBeforeEdit;

    CAnalysisPanel* tablePanel = nullptr;
    QGridLayout* fieldsGrid = nullptr;
    std::array<QLineEdit*, kSchemeFields.size()> schemeFields {};
    QLineEdit* quantitiesField = nullptr;
    QLineEdit* marketPriceField = nullptr;
    QLabel* errorLine = nullptr;
    QLabel* marketLine = nullptr;
    QLabel* quantityBaseLine = nullptr;
    QLineEdit* numberField = nullptr;
    QLineEdit* dateField = nullptr;
    QLineEdit* validUntilField = nullptr;
    QLineEdit* subjectField = nullptr;
    QPlainTextEdit* senderField = nullptr;
    QPlainTextEdit* recipientField = nullptr;
    QPlainTextEdit* introField = nullptr;
    QPlainTextEdit* closingField = nullptr;
    QLineEdit* cashDiscountDaysField = nullptr;
    QLineEdit* paymentDaysField = nullptr;
    QLabel* letterLine = nullptr;
    QLabel* statusLine = nullptr;
    QLabel* offeredLine = nullptr;
    QPushButton* takePricesButton = nullptr;
};

// Opens the quote window of `owner` for the current order, or brings the open one to the front
// computed afresh with its fields.
void showQuote(
    QWidget* owner, const CPlantData& plantData, OrderSnapshot currentOrder, std::function<QuoteDataFiles()> dataFiles);
// Opens the quote window of `owner` on the quote file `path` whose order is not open, after
// asking about a changed quote shown there.
void showQuoteWithoutOrder(
    QWidget* owner, const CPlantData& plantData, OrderSnapshot currentOrder, const QString& path);
// Opens the quote file `path` in the quote window of `owner`: on the current order when that is
// the order it was priced from (`ownOrderOpen`), else with its offered prices alone. A changed
// quote shown there is asked about first.
void openQuoteFile(QWidget* owner, const CPlantData& plantData, OrderSnapshot currentOrder,
    std::function<QuoteDataFiles()> dataFiles, const QString& path, bool ownOrderOpen);

} // namespace kalkora::ui
