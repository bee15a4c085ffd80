#include "ui/quote/QuoteDlg.h"

#include "costing/QuoteTables.h"
#include "documents/QuantityList.h"
#include "documents/QuoteDefaults.h"
#include "documents/SchemeValues.h"
#include "print/QuoteLetter.h"
#include "ui/analysis/ResultCells.h"
#include "ui/common/DialogUnits.h"
#include "ui/common/Marking.h"
#include "ui/common/QtText.h"
#include "ui/common/UiServices.h"
#include "ui/quote/SchemeLabels.h"

#include <QBoxLayout>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>

#include <functional>
#include <utility>

namespace kalkora::ui {

using documents::QuoteFigures;

namespace {

constexpr const char* kAmountUnits[] = { "€ für die ganze Menge", "€ je Stück" };

FileDialogRequest quoteFileDialog(const QString& title, const QString& fileName = {})
{
    return { title, QStringLiteral("Angebote (*.ang)"), QStringLiteral("*.ang"), QStringLiteral("ang"), true, {},
        fileName };
}

} // namespace

QuoteSubjectSnapshot orderSubject(const CPlantData& plantData, OrderSnapshot currentOrder)
{
    return [&plantData, currentOrder = std::move(currentOrder)] {
        auto order = std::make_shared<const COrder>(currentOrder());
        return QuoteSubject { fromCp1252(order->name), order->quantityBase,
            QStringLiteral("Stückzahlbasis des Auftrags: %1").arg(order->quantityBase),
            QString::fromStdString(orderWarning(*order)),
            [order, &plantData](const std::vector<std::int32_t>& quantities) {
                return basisOf(computePriceScale(*order, plantData, quantities));
            },
            [order, &plantData](const Quote&) { return uncostedNames(breakDownCosts(*order, plantData).operations); } };
    };
}

CQuoteDlg::CQuoteDlg(const CPlantData& plantData, OrderSnapshot currentOrder, QWidget* parent)
    : CQuoteDlg(orderSubject(plantData, std::move(currentOrder)), parent)
{
}

CQuoteDlg::CQuoteDlg(QuoteSubjectSnapshot currentSubject, QWidget* parent)
    : COrderWindow(parent, QStringLiteral("Kalkora - Angebot"))
    , currentSubject(std::move(currentSubject))
{
    setObjectName(QStringLiteral("quoteDlg"));
    auto* layout = new QVBoxLayout(this);
    // The scheme is a table of figures: no chart, the letter's texts below it instead.
    tablePanel = new CAnalysisPanel(this, QStringLiteral("Kalkora - Angebot exportieren"), false,
        { [this] { return quote.todaysQuote() ? quoteCsv(*quote.todaysQuote(), CsvDialect::German) : std::string(); },
            [this] {
                return quote.todaysQuote() ? quoteText(*quote.todaysQuote(), text::NumberStyle::printed(true))
                                           : std::string();
            } });
    layout->addWidget(tablePanel);
    QBoxLayout* header = tablePanel->headerArea();
    fieldsGrid = new QGridLayout;
    fieldsGrid->setColumnStretch(1, 1);
    fieldsGrid->setColumnStretch(4, 1);
    fieldsGrid->setColumnMinimumWidth(2, DialogUnits(font()).x(70));
    header->addLayout(fieldsGrid);
    for (std::size_t i = 0; i < kSchemeFields.size(); ++i) {
        const SchemeField& field = kSchemeFields[i];
        schemeFields[i] = new QLineEdit(this);
        schemeFields[i]->setObjectName(QLatin1String(field.key));
        // Percentages in the left and right column, the two amounts in the last row.
        const int row = field.percent() ? int(i % 3) : 3;
        const int column = field.percent() ? int(i / 3) : int(i - 6);
        addField(row, column, QString::fromUtf8(kSchemeLabels[i]) + u':',
            field.percent() ? QStringLiteral("%") : QString::fromUtf8(kAmountUnits[i - 6]), schemeFields[i]);
    }
    quantitiesField = new QLineEdit(this);
    quantitiesField->setObjectName(QStringLiteral("quantities"));
    quantitiesField->setToolTip(QStringLiteral("Stückzahlen, durch Kommas getrennt, z. B. 1, 10, 100."));
    addField(4, 0, QStringLiteral("&Mengen:"), QString(), quantitiesField);
    marketPriceField = new QLineEdit(this);
    marketPriceField->setObjectName(QStringLiteral("marketPrice"));
    marketPriceField->setToolTip(
        QStringLiteral("Der Listenpreis je Stück, den der Kunde höchstens zahlt: rechnet zurück, "
                       "was als Selbstkosten und Gewinn bleibt. Leer: keine Rückwärtsrechnung."));
    addField(4, 1, QStringLiteral("M&arktpreis:"), QStringLiteral("€ je Stück"), marketPriceField);

    quantityBaseLine = new QLabel(this);
    header->addWidget(quantityBaseLine);
    errorLine = new QLabel(this);
    errorLine->setObjectName(QStringLiteral("errorLine"));
    errorLine->setWordWrap(true);
    errorLine->setStyleSheet(QStringLiteral("color: #b00000;"));
    errorLine->hide();
    header->addWidget(errorLine);
    marketLine = new QLabel(this);
    marketLine->setObjectName(QStringLiteral("marketLine"));
    marketLine->setWordWrap(true);
    marketLine->hide();
    header->addWidget(marketLine);
    auto* offeredRow = new QHBoxLayout;
    offeredLine = new QLabel(this);
    offeredLine->setObjectName(QStringLiteral("offeredLine"));
    offeredLine->setWordWrap(true);
    offeredLine->setStyleSheet(QStringLiteral("color: #b00000;"));
    offeredRow->addWidget(offeredLine, 1);
    takePricesButton = new QPushButton(QStringLiteral("Preise &übernehmen"), this);
    takePricesButton->setObjectName(QStringLiteral("buttonTakePrices"));
    takePricesButton->setAutoDefault(false);
    connect(takePricesButton, &QPushButton::clicked, this, &CQuoteDlg::OnTakePrices);
    offeredRow->addWidget(takePricesButton, 0, Qt::AlignTop);
    header->addLayout(offeredRow);
    offeredLine->hide();
    takePricesButton->hide();
    createTexts();

    std::vector<QLineEdit*> figureFields(schemeFields.begin(), schemeFields.end());
    figureFields.insert(figureFields.end(), { quantitiesField, marketPriceField });
    for (QLineEdit* field : figureFields) {
        connect(field, &QLineEdit::textChanged, this, &CQuoteDlg::OnFieldChanged);
        field->installEventFilter(this);
    }
    schemeFields[0]->setFocus(Qt::OtherFocusReason);
}

void CQuoteDlg::createTexts()
{
    auto* texts = new QWidget(this);
    auto* grid = new QGridLayout(texts);
    const auto line = [this](const char* name) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QLatin1String(name));
        connect(field, &QLineEdit::textChanged, this, &CQuoteDlg::OnTextChanged);
        return field;
    };
    const auto block = [this](const char* name) {
        auto* field = new QPlainTextEdit(this);
        field->setObjectName(QLatin1String(name));
        field->setTabChangesFocus(true);
        // Room for an address of five lines; longer texts scroll.
        field->setMinimumHeight(DialogUnits(font()).y(40));
        field->setMaximumHeight(DialogUnits(font()).y(56));
        connect(field, &QPlainTextEdit::textChanged, this, &CQuoteDlg::OnTextChanged);
        return field;
    };
    const auto place = [this, grid](int row, int column, const QString& label, QWidget* field) {
        auto* caption = new QLabel(label, this);
        caption->setBuddy(field);
        grid->addWidget(caption, row, 2 * column, Qt::AlignTop);
        grid->addWidget(field, row, 2 * column + 1);
    };
    place(0, 0, QStringLiteral("Angebo&t Nr.:"), numberField = line("number"));
    place(1, 0, QStringLiteral("Datum:"), dateField = line("date"));
    place(2, 0, QStringLiteral("Gültig bis:"), validUntilField = line("validUntil"));
    place(3, 0, QStringLiteral("Betre&ff:"), subjectField = line("subject"));
    place(4, 0, QStringLiteral("Absender:"), senderField = block("sender"));
    place(0, 1, QStringLiteral("Ans&chrift:"), recipientField = block("recipient"));
    grid->addWidget(recipientField, 0, 3, 4, 1);
    place(4, 1, QStringLiteral("Einleitung:"), introField = block("intro"));
    place(5, 1, QStringLiteral("Schluss:"), closingField = block("closing"));
    place(6, 0, QStringLiteral("Skontofrist [Tage]:"), cashDiscountDaysField = line("cashDiscountDays"));
    place(6, 1, QStringLiteral("&Zahlungsziel [Tage]:"), paymentDaysField = line("paymentDays"));
    for (QLineEdit* field : { cashDiscountDaysField, paymentDaysField })
        field->setToolTip(QStringLiteral("Tage ab Rechnungsdatum, 0 bis 3.650; 0 nennt keine Frist."));
    // The letter is checked as each of its fields is left, not only when it is to be sent.
    for (QLineEdit* field : { numberField, dateField, validUntilField, cashDiscountDaysField, paymentDaysField })
        connect(field, &QLineEdit::editingFinished, this, &CQuoteDlg::showLetterProblems);
    recipientField->installEventFilter(this);
    letterLine = new QLabel(this);
    letterLine->setObjectName(QStringLiteral("letterLine"));
    letterLine->setStyleSheet(QStringLiteral("color: #b00000;"));
    letterLine->setWordWrap(true);
    grid->addWidget(letterLine, 7, 0, 1, 4);
    statusLine = new QLabel(this);
    statusLine->setObjectName(QStringLiteral("statusLine"));
    statusLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(statusLine, 8, 0, 1, 4);
    grid->addWidget(senderField, 4, 1, 2, 1, Qt::AlignTop); // beside its label, not centred in two rows
    for (QLineEdit* field : { dateField, validUntilField })
        field->setToolTip(QStringLiteral("Ein Datum wie 07.12.2026."));
    tablePanel->addBelowTable(texts);

    const struct {
        const char* name;
        QString text;
        std::function<void()> handler;
    } commands[] = { { "buttonPreview", QStringLiteral("&Vorschau..."), [this] { OnPreview(); } },
        { "buttonPdf", QStringLiteral("Als &PDF speichern..."), [this] { OnSavePdf(); } },
        { "buttonOpen", QStringLiteral("&Öffnen..."), [this] { OnOpenQuote(); } },
        { "buttonSave", QStringLiteral("&Speichern"), [this] { OnSaveQuote(); } },
        { "buttonSaveAs", QStringLiteral("Speichern &unter..."), [this] { OnSaveQuoteAs(); } } };
    for (const auto& command : commands)
        connect(tablePanel->addButton(command.name, command.text), &QPushButton::clicked, this, command.handler);
}

// Label, field and unit in three grid columns, so that the fields of one side line up.
void CQuoteDlg::addField(int row, int column, const QString& label, const QString& unit, QLineEdit* field)
{
    auto* caption = new QLabel(label, this);
    caption->setBuddy(field);
    fieldsGrid->addWidget(caption, row, 3 * column);
    fieldsGrid->addWidget(field, row, 3 * column + 1);
    if (!unit.isEmpty())
        fieldsGrid->addWidget(new QLabel(unit, this), row, 3 * column + 2);
}

void CQuoteDlg::restart()
{
    quote.startNew(documents::loadQuoteDefaults(), currentSubject().name, QDate::currentDate());
    enableFigures();
    tablePanel->setTable({}, 0, {});
    tablePanel->setUncosted({});
    showDocument();
    showOfferedPrices();
    growToShowTable();
}

void CQuoteDlg::growToShowTable()
{
    layout()->activate(); // the table's viewport at the window's present size
    const QTableView* table = tablePanel->table();
    // The table as it would stand with every row and column in sight.
    const QSize whole(table->verticalHeader()->sizeHint().width() + table->horizontalHeader()->length(),
        table->horizontalHeader()->sizeHint().height() + table->verticalHeader()->length()
            + table->horizontalScrollBar()->sizeHint().height());
    const QSize missing = (whole + QSize(2, 2) * table->frameWidth() - table->viewport()->size()).expandedTo({ 0, 0 });
    QSize wanted = (size() + missing).expandedTo(layout()->sizeHint());
    if (const QScreen* screen = this->screen())
        wanted = wanted.boundedTo(screen->availableGeometry().size() * 0.9);
    resize(size().expandedTo(wanted));
}

void CQuoteDlg::OnFieldChanged()
{
    if (showing)
        return;
    quote.markChanged();
    setWindowModified(true);
    recompute();
}

void CQuoteDlg::OnTextChanged()
{
    // The letter's texts do not touch the figures: no need to price a large order again.
    if (showing)
        return;
    quote.setLetter(typedLetter());
    quote.markChanged();
    setWindowModified(true);
}

void CQuoteDlg::showDocument()
{
    showing = true;
    const documents::LetterTexts& letter = quote.letter();
    numberField->setText(letter.number);
    dateField->setText(documents::quoteDateText(letter.date));
    validUntilField->setText(documents::quoteDateText(letter.validUntil));
    subjectField->setText(letter.subject);
    senderField->setPlainText(letter.sender);
    recipientField->setPlainText(letter.recipient);
    introField->setPlainText(letter.intro);
    closingField->setPlainText(letter.closing);
    cashDiscountDaysField->setText(QString::number(letter.cashDiscountDays));
    paymentDaysField->setText(QString::number(letter.paymentDays));
    letterLine->clear();
    statusLine->clear();
    for (QWidget* field : std::initializer_list<QWidget*> {
             numberField, dateField, validUntilField, recipientField, cashDiscountDaysField, paymentDaysField })
        field->setStyleSheet(QString());
    const QuoteFigures& figures = quote.figures();
    for (std::size_t i = 0; i < kSchemeFields.size(); ++i) {
        const std::int64_t value = kSchemeFields[i].countIn(figures.scheme);
        schemeFields[i]->setText(value == 0 ? QString() : documents::typedValue(value));
    }
    marketPriceField->setText(figures.marketPrice ? documents::typedValue(*figures.marketPrice) : QString());
    quantitiesField->setText(documents::quantityList(quote.shownQuantities(currentSubject().quantityBase)));
    quantitiesField->setCursorPosition(0);
    showing = false;
    setWindowModified(quote.isChanged());
    recompute();
    figuresBeforeEdit.reset();
    rememberFigures();
}

documents::LetterTexts CQuoteDlg::typedLetter() const
{
    const documents::LetterTexts& stored = quote.letter();
    return { numberField->text().trimmed(), documents::quoteDateOf(dateField->text()).value_or(stored.date),
        documents::quoteDateOf(validUntilField->text()).value_or(stored.validUntil), senderField->toPlainText(),
        recipientField->toPlainText(), subjectField->text(), introField->toPlainText(), closingField->toPlainText(),
        documents::validityDaysOf(cashDiscountDaysField->text()).value_or(stored.cashDiscountDays),
        documents::validityDaysOf(paymentDaysField->text()).value_or(stored.paymentDays), stored.footer };
}

bool CQuoteDlg::typedDate(QLineEdit* field, const QString& name)
{
    if (documents::quoteDateOf(field->text()))
        return true;
    showError(
        field, QStringLiteral("„%1“ kann nicht gelesen werden: bitte ein Datum wie 07.12.2026 eingeben.").arg(name));
    return false;
}

bool CQuoteDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == recipientField && event->type() == QEvent::FocusOut)
        showLetterProblems();
    // Besides the address the window watches only the figure fields.
    if (watched != recipientField && event->type() == QEvent::FocusIn)
        rememberFigures();
    return COrderWindow::eventFilter(watched, event);
}

QStringList CQuoteDlg::showLetterProblems()
{
    for (QWidget* field : std::initializer_list<QWidget*> { numberField, dateField, validUntilField, recipientField })
        field->setStyleSheet(QString());
    QStringList messages;
    for (auto [field, name] : { std::pair(dateField, "Datum"), std::pair(validUntilField, "Gültig bis") }) {
        if (documents::quoteDateOf(field->text()))
            continue;
        field->setStyleSheet(markedStyle());
        messages << QStringLiteral("„%1“ kann nicht gelesen werden: bitte ein Datum wie 07.12.2026 eingeben.")
                        .arg(QString::fromUtf8(name));
    }
    for (const documents::LetterProblem& problem : documents::letterProblems(typedLetter())) {
        findChild<QWidget*>(QLatin1String(problem.field))->setStyleSheet(markedStyle());
        messages << problem.message;
    }
    for (auto [field, name] :
        { std::pair(cashDiscountDaysField, "Skontofrist"), std::pair(paymentDaysField, "Zahlungsziel") }) {
        const bool readable = documents::validityDaysOf(field->text()).has_value();
        field->setStyleSheet(readable ? QString() : markedStyle());
        if (!readable)
            messages << QStringLiteral("„%1“: bitte eine ganze Zahl von 0 bis 3.650 Tagen eingeben.")
                            .arg(QLatin1String(name));
    }
    letterLine->setText(messages.join(u' '));
    return messages;
}

bool CQuoteDlg::letterReady()
{
    const QStringList problems = showLetterProblems();
    if (!problems.isEmpty())
        uiServices().showMessage(
            this, QStringLiteral("So kann das Angebot nicht versandt werden:\n") + problems.join(u'\n'));
    return problems.isEmpty();
}

std::optional<files::Offer> CQuoteDlg::sendableOffer()
{
    if (quote.hasOrder()) {
        recompute();
        if (!quote.isPriced()) {
            uiServices().showMessage(this, documents::incompleteQuoteMessage());
            return std::nullopt;
        }
        if (dataFiles) {
            const QuoteDataFiles files = dataFiles();
            quote.setDataFiles(files.order, files.masterData);
        }
    }
    if (!typedDate(dateField, QStringLiteral("Datum")) || !typedDate(validUntilField, QStringLiteral("Gültig bis")))
        return std::nullopt;
    return quote.offer();
}

void CQuoteDlg::OnPreview()
{
    if (!letterReady())
        return;
    if (const std::optional<files::Offer> offer = sendableOffer()) {
        const report::QuoteLetter letter = report::quoteLetter(*offer);
        uiServices().showPrintPreview(
            this, [&letter](QPrinter& printer) { report::printQuoteLetter(letter, printer); });
    }
}

void CQuoteDlg::OnSavePdf()
{
    if (!letterReady())
        return;
    const std::optional<files::Offer> offer = sendableOffer();
    if (!offer)
        return;
    const QString path = uiServices().getSaveFileName(this,
        { QStringLiteral("Kalkora - Angebot als PDF speichern"), QStringLiteral("PDF-Dateien (*.pdf)"),
            QStringLiteral("*.pdf"), QStringLiteral("pdf"), true, {},
            documents::quoteFileName(offer->number, QStringLiteral("pdf")) });
    if (path.isEmpty())
        return;
    if (!report::writeQuoteLetterPdf(report::quoteLetter(*offer), path)) {
        uiServices().showMessage(this,
            QStringLiteral("Das Angebot kann nicht nach „%1“ geschrieben werden.").arg(QFileInfo(path).fileName()));
        return;
    }
    statusLine->setText(
        QStringLiteral("Das Angebot wurde als PDF gespeichert: %1").arg(QDir::toNativeSeparators(path)));
}

void CQuoteDlg::OnOpenQuote()
{
    // The opener asks about this quote itself, after the order and master data it replaces.
    if (!quoteOpener && !mayClose())
        return;
    const QString path
        = uiServices().getOpenFileName(this, quoteFileDialog(QStringLiteral("Kalkora - Angebot öffnen")));
    if (path.isEmpty())
        return;
    if (quoteOpener)
        quoteOpener(path);
    else
        openQuoteFile(path);
}

bool CQuoteDlg::shownOpened(const files::FileResult& result)
{
    if (!result.ok()) {
        uiServices().showMessage(this, result.message);
    }
    return result.ok();
}

bool CQuoteDlg::openQuoteFile(const QString& path)
{
    if (!shownOpened(quote.open(path))) {
        return false;
    }
    showDocument();
    return true;
}

bool CQuoteDlg::openQuoteWithoutOrder(const QString& path)
{
    if (!shownOpened(quote.openWithoutOrder(path))) {
        return false;
    }
    enableFigures();
    showDocument();
    return true;
}

void CQuoteDlg::enableFigures()
{
    const bool priced = quote.hasOrder();
    // Without the order nothing could price a change of the figures.
    for (QLineEdit* field : schemeFields)
        field->setEnabled(priced);
    quantitiesField->setEnabled(priced);
    marketPriceField->setEnabled(priced);
    quantityBaseLine->setVisible(priced);
    tablePanel->showTableCommands(priced);
}

void CQuoteDlg::showOfferedOnly()
{
    errorLine->hide();
    marketLine->hide();
    setOrderName({});
    const std::vector<OfferedPrice> prices = quote.offeredPrices();
    QStringList titles { QStringLiteral("Angeboten") };
    for (const OfferedPrice& price : prices)
        titles << QStringLiteral("%1 Stück").arg(germanCount(price.quantity));
    const auto amounts = windowColumns(offeredColumns());
    tablePanel->setTable(titles, int(amounts.size()), [prices, amounts](int row, int column, int role) -> QVariant {
        const Column<OfferedPrice, OfferedAmount>& amount = *amounts.at(std::size_t(row));
        if (column > 0)
            return shownCell(amount, prices.at(std::size_t(column - 1)), role);
        if (role == Qt::TextAlignmentRole)
            return alignmentOf(ColumnKind::Text);
        return role == Qt::DisplayRole ? QString::fromUtf8(amount.title) : QVariant();
    });
    tablePanel->setUncosted({});
    tablePanel->setCurrent(true);
    const QString orderFile = quote.offer()->orderFile;
    const QString order = orderFile.isEmpty()
        ? QStringLiteral("Der Auftrag des Angebots")
        : QStringLiteral("Der Auftrag „%1“").arg(QDir::toNativeSeparators(orderFile));
    offeredLine->setText(order
        + QStringLiteral(" ist nicht geöffnet: die Tabelle zeigt die angebotenen Preise. Neu berechnen lässt sich das "
                         "Angebot erst, wenn sein Auftrag geöffnet ist."));
    offeredLine->show();
    takePricesButton->hide();
}

void CQuoteDlg::OnTakePrices()
{
    quote.takeTodaysPrices();
    showOfferedPrices();
}

void CQuoteDlg::showOfferedPrices()
{
    if (!quote.hasOrder())
        return;
    const std::optional<std::vector<documents::PriceChange>> changes = quote.changedPrices();
    if (changes) {
        QStringList prices;
        for (const documents::PriceChange& change : *changes) {
            prices << QStringLiteral("%1 Stück: angeboten %2 €, heute %3")
                          .arg(germanCount(change.quantity), grouped(change.offered),
                              change.today ? grouped(*change.today) + QStringLiteral(" €") : QStringLiteral("keiner"));
        }
        offeredLine->setText(
            QStringLiteral("Auftrag und Stammdaten ergeben heute andere Preise als angeboten (Preis je "
                           "Stück): ")
            + prices.join(QStringLiteral("; ")) + u'.');
    }
    offeredLine->setVisible(changes.has_value());
    takePricesButton->setVisible(changes.has_value());
}

bool CQuoteDlg::OnSaveQuote()
{
    return quote.path().isEmpty() ? OnSaveQuoteAs() : saveQuoteTo(quote.path());
}

bool CQuoteDlg::OnSaveQuoteAs()
{
    // What cannot be read is said before a name is asked for.
    if (!sendableOffer())
        return false;
    const QString path = uiServices().getSaveFileName(this,
        quoteFileDialog(QStringLiteral("Kalkora - Angebot speichern"),
            documents::quoteFileName(quote.letter().number, QStringLiteral("ang"))));
    return !path.isEmpty() && saveQuoteTo(path);
}

bool CQuoteDlg::saveQuoteTo(const QString& path)
{
    if (!sendableOffer())
        return false;
    const files::FileResult result = quote.saveAs(path);
    if (!result.ok()) {
        // What was typed stays in the window, still marked as changed.
        uiServices().showMessage(this, result.message);
        return false;
    }
    setWindowModified(false);
    return true;
}

bool CQuoteDlg::mayClose()
{
    return maySave(this, quote.isChanged(), QStringLiteral("Das Angebot wurde geändert. Soll es gespeichert werden?"),
        [this] { return OnSaveQuote(); });
}

void CQuoteDlg::reject()
{
    if (mayClose())
        COrderWindow::reject();
}

std::optional<SalesScheme> CQuoteDlg::typedScheme()
{
    SalesScheme scheme;
    for (std::size_t i = 0; i < kSchemeFields.size(); ++i) {
        const std::optional<std::int64_t> value = documents::schemeValueOf(kSchemeFields[i], schemeFields[i]->text());
        if (!value) {
            showError(schemeFields[i], documents::schemeRefusal(kSchemeFields[i], schemeFields[i]->text()));
            return std::nullopt;
        }
        kSchemeFields[i].setIn(scheme, *value);
    }
    if (!discountsLeaveAPrice(scheme)) {
        showError(schemeFields[4], documents::discountsMessage());
        return std::nullopt;
    }
    return scheme;
}

std::optional<std::optional<Money>> CQuoteDlg::typedMarketPrice()
{
    if (marketPriceField->text().trimmed().isEmpty())
        return std::optional<Money>();
    const std::optional<std::int64_t> cents = documents::schemeValueOf(kMarketPriceField, marketPriceField->text());
    if (!cents) {
        showError(marketPriceField, documents::schemeRefusal(kMarketPriceField, marketPriceField->text()));
        return std::nullopt;
    }
    return std::optional(Money(*cents));
}

std::optional<QuoteFigures> CQuoteDlg::typedFigures()
{
    QuoteFigures figures;
    const std::optional<SalesScheme> scheme = typedScheme();
    if (!scheme)
        return std::nullopt;
    figures.scheme = *scheme;
    const std::optional<std::optional<Money>> market = typedMarketPrice();
    if (!market)
        return std::nullopt;
    figures.marketPrice = *market;
    std::string error;
    if (!parseQuantities(quantitiesField->text().toStdString(), QuantityDialect::Window, figures.quantities, error)) {
        showError(quantitiesField, QString::fromStdString(error));
        return std::nullopt;
    }
    return figures;
}

void CQuoteDlg::recompute()
{
    for (QLineEdit* field : schemeFields)
        field->setStyleSheet(QString());
    for (QLineEdit* field : { quantitiesField, marketPriceField })
        field->setStyleSheet(QString());
    if (!quote.hasOrder()) {
        showOfferedOnly();
        return;
    }
    const QuoteSubject subject = currentSubject();
    quote.setPartName(subject.name);
    setOrderName(subject.name);
    quantityBaseLine->setText(subject.quantityBaseLine);
    if (std::optional<QuoteFigures> figures = typedFigures(); figures && priced(std::move(*figures), subject))
        showQuote(subject);
    else
        showRefused(subject);
}

bool CQuoteDlg::priced(QuoteFigures figures, const QuoteSubject& subject)
{
    try {
        quote.price(std::move(figures), subject.basisAt);
        return true;
    } catch (const std::runtime_error& failure) {
        showError(quantitiesField, QString::fromUtf8(failure.what()));
        return false;
    }
}

void CQuoteDlg::rememberFigures()
{
    if (quote.isPriced())
        figuresBeforeEdit = quote.figures();
}

void CQuoteDlg::showRefused(const QuoteSubject& subject)
{
    if (figuresBeforeEdit) {
        try {
            quote.price(*figuresBeforeEdit, subject.basisAt);
            showTable(*quote.todaysQuote(), subject);
        } catch (const std::runtime_error&) {
            // Priced no longer (the order changed), they leave the last table standing.
        }
    }
    quote.markOutOfDate();
    tablePanel->setCurrent(false);
    marketLine->setEnabled(false);
}

void CQuoteDlg::showError(QLineEdit* field, const QString& message)
{
    field->setStyleSheet(markedStyle());
    errorLine->setText(message);
    errorLine->show();
}

void CQuoteDlg::showQuote(const QuoteSubject& subject)
{
    errorLine->hide();
    showTable(*quote.todaysQuote(), subject);
    tablePanel->setCurrent(true);
    marketLine->setEnabled(true);
    showOfferedPrices();
}

// The table keeps its own copy: the document's prices change under it as the fields do.
void CQuoteDlg::showTable(const Quote& shown, const QuoteSubject& subject)
{
    QStringList titles { QStringLiteral("Schritt") };
    for (const QuoteRow& row : shown.rows)
        titles << QStringLiteral("%1 Stück").arg(germanCount(row.quantity));
    const auto steps = windowColumns(quoteColumns());
    const auto market = shown.market ? windowColumns(marketRowColumns()) : std::vector<const Column<MarketRow>*>();
    tablePanel->setTable(
        titles, int(steps.size() + market.size()), [shown, steps, market](int row, int column, int role) -> QVariant {
            const bool stepRow = row < int(steps.size());
            if (column == 0) {
                if (role == Qt::TextAlignmentRole)
                    return alignmentOf(ColumnKind::Text);
                if (role != Qt::DisplayRole)
                    return {};
                if (!stepRow)
                    return QString::fromUtf8(market.at(std::size_t(row) - steps.size())->title);
                const Column<QuoteRow, SchemePercent>& step = *steps[std::size_t(row)];
                const QString title = QString::fromUtf8(step.title);
                return step.extra ? title + QStringLiteral(" (%1 %)").arg(grouped(shown.scheme.*step.extra)) : title;
            }
            const std::size_t quantity = std::size_t(column - 1);
            if (stepRow)
                return shownCell(*steps[std::size_t(row)], shown.rows.at(quantity), role);
            return shownCell(*market.at(std::size_t(row) - steps.size()), shown.market->rows.at(quantity), role);
        });
    if (shown.market) {
        const MarketPricing& m = *shown.market;
        marketLine->setText(QStringLiteral("Vom Marktpreis %1 € bleiben nach Rabatt %2 € der Zielverkaufspreis %3 €, "
                                           "nach Skonto und Provision der Barverkaufspreis %4 €; beim "
                                           "Gewinnzuschlag erlaubt er Selbstkosten von %5 € je Stück.")
                                .arg(grouped(m.listPrice), grouped(m.discount), grouped(m.targetPrice),
                                    grouped(m.cashPrice), grouped(m.allowedCostPrice)));
    }
    marketLine->setVisible(shown.market.has_value());
    QStringList notes = subject.uncosted(shown);
    for (const QuoteRow& row : shown.rows) {
        if (!row.priced)
            notes << QStringLiteral("Menge %1 nicht bepreist (Beträge zu groß oder nicht endlich)").arg(row.quantity);
    }
    tablePanel->setUncosted(shown.complete() ? QStringList() : notes, subject.note);
}

void showQuote(
    QWidget* owner, const CPlantData& plantData, OrderSnapshot currentOrder, std::function<QuoteDataFiles()> dataFiles)
{
    showWithSettings<CQuoteDlg>(owner, plantData, std::move(currentOrder))->setDataFiles(std::move(dataFiles));
}

void showQuoteWithoutOrder(QWidget* owner, const CPlantData& plantData, OrderSnapshot currentOrder, const QString& path)
{
    auto* window = owner->findChild<CQuoteDlg*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new CQuoteDlg(plantData, std::move(currentOrder), owner);
    } else if (window->isVisible() && !window->mayClose()) {
        return;
    }
    if (window->openQuoteWithoutOrder(path))
        bringToFront(window);
}

void openQuoteFile(QWidget* owner, const CPlantData& plantData, OrderSnapshot currentOrder,
    std::function<QuoteDataFiles()> dataFiles, const QString& path, bool ownOrderOpen)
{
    // Priced against another order, the quote would show figures that were never its own.
    if (!ownOrderOpen) {
        showQuoteWithoutOrder(owner, plantData, std::move(currentOrder), path);
        return;
    }
    if (auto* shown = owner->findChild<CQuoteDlg*>(QString(), Qt::FindDirectChildrenOnly);
        shown && shown->isVisible() && !shown->mayClose()) {
        return;
    }
    showQuote(owner, plantData, std::move(currentOrder), std::move(dataFiles));
    owner->findChild<CQuoteDlg*>(QString(), Qt::FindDirectChildrenOnly)->openQuoteFile(path);
}

} // namespace kalkora::ui
