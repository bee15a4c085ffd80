#pragma once

#include "costing/SalesPrice.h"
#include "files/OfferFile.h"
#include "model/CPlantData.h"
#include "ui/analysis/AnalysisDlg.h"

#include <array>
#include <functional>
#include <optional>

class QGridLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kalkora::ui {

// The files the order and the master data of the main window come from, absolute or empty, as
// a quote file names them.
struct QuoteDataFiles {
    QString order;
    QString masterData;
};

// The sales price scheme ("Angebot"): the scheme's percentages and amounts, the quantities and
// a market price in fields, and the scheme as a table with one column per quantity, recomputed
// from the current order as the fields change and whenever the order changes. A field that
// cannot be read is marked and named below the fields, and the last good table stays, marked
// out of date. With a market price the profit it leaves follows in the last rows.
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
class CQuoteDlg : public CAnalysisDlg {
    Q_OBJECT

public:
    CQuoteDlg(const CPlantData& plantData, OrderSnapshot currentOrder, QWidget* parent = nullptr);

    // Computes from the current order, starting again from its default quantities.
    void restart();
    // The table shown; nothing before the first good computation.
    const std::optional<Quote>& shownQuote() const { return quote; }
    bool isQuoteChanged() const { return quoteChanged; }
    void setDataFiles(std::function<QuoteDataFiles()> currentFiles) { dataFiles = std::move(currentFiles); }
    // Shows the quote of `path` with its offered prices; a file that cannot be read is named in
    // a message and changes nothing.
    bool openQuoteFile(const QString& path);
    // The same for a quote whose order is not open (its file is gone, or the master data it
    // needs): the table shows the offered prices alone and the figures cannot be changed, while
    // the letter's texts can be edited, saved, previewed and written as PDF.
    bool openQuoteWithoutOrder(const QString& path);
    QString quoteFile() const { return quotePath; }
    // Asks first when the quote was changed.
    bool mayClose() override;

public slots:
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

protected:
    std::string csvText() const override;
    std::string printText() const override;
    void followOrder() override { recompute(); }

private:
    void addField(int row, int column, const QString& label, const QString& unit, QLineEdit* field);
    void createTexts();
    // The quote as the window shows it, with the prices of the table; nothing, with the field
    // that cannot be read marked, when it is not complete.
    std::optional<files::Offer> typedOffer();
    // The figures of typedOffer() from the table.
    std::optional<files::Offer> pricedOffer();
    // Switches to showing `offer` without its order, or with nothing back to the current order.
    void setWithoutOrder(std::optional<files::Offer> offer);
    void showOfferedOnly();
    std::optional<QDate> typedDate(QLineEdit* field, const QString& name);
    void showOffer(const files::Offer& offer);
    // The prices the letter shows: those kept from the quote file, else today's.
    std::vector<files::OfferedPrice> offeredPrices() const;
    // What the table prices at each quantity it could price.
    std::vector<files::OfferedPrice> todaysPrices() const;
    void showOfferedPrices();
    bool saveQuoteTo(const QString& path);
    // What the fields hold; nothing after marking the first that cannot be read.
    std::optional<SalesScheme> typedScheme();
    std::optional<std::optional<Hundredths>> typedMarketPrice();
    void recompute();
    void showQuote(Quote newQuote, const COrder& order);
    // Marks `field` and names the problem; a field of the table's also marks it out of date.
    void showError(QLineEdit* field, const QString& message, bool tableField = true);

    const CPlantData& plantData;
    OrderSnapshot currentOrder;
    QGridLayout* fieldsGrid = nullptr;
    std::array<QLineEdit*, kSchemeFields.size()> schemeFields {};
    QLineEdit* quantities = nullptr;
    QLineEdit* marketPrice = nullptr;
    QLabel* errorLine = nullptr;
    QLabel* marketLine = nullptr;
    QLabel* quantityBase = nullptr;
    std::optional<Quote> quote;

    QLineEdit* number = nullptr;
    QLineEdit* date = nullptr;
    QLineEdit* validUntil = nullptr;
    QLineEdit* subject = nullptr;
    QPlainTextEdit* sender = nullptr;
    QPlainTextEdit* recipient = nullptr;
    QPlainTextEdit* intro = nullptr;
    QPlainTextEdit* closing = nullptr;
    QLabel* offeredLine = nullptr;
    QPushButton* takePrices = nullptr;
    std::optional<std::vector<files::OfferedPrice>> keptPrices;
    std::optional<files::Offer> withoutOrder; // the quote as its file has it, while its order is not open
    std::function<QuoteDataFiles()> dataFiles;
    QString quotePath;
    bool quoteChanged = false;
    bool showing = false; // fields are being filled by the program, not typed
    bool newQuote = false; // started from the quote defaults and not saved yet
};

// Opens the quote window of `owner` for the current order, or brings the open one to the front
// computed afresh with its fields.
void showQuote(
    QWidget* owner, const CPlantData& plantData, OrderSnapshot currentOrder, std::function<QuoteDataFiles()> dataFiles);
// Opens the quote window of `owner` on the quote file `path` whose order is not open, after
// asking about a changed quote shown there.
void showQuoteWithoutOrder(
    QWidget* owner, const CPlantData& plantData, OrderSnapshot currentOrder, const QString& path);

} // namespace kalkora::ui
