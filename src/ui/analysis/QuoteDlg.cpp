#include "ui/analysis/QuoteDlg.h"

#include "costing/QuoteTables.h"
#include "print/QuoteLetter.h"
#include "ui/analysis/QuantityList.h"
#include "ui/analysis/QuoteDefaultsDlg.h"
#include "ui/analysis/SchemeValues.h"
#include "ui/common/DialogUnits.h"
#include "ui/common/QtText.h"
#include "ui/common/UiServices.h"

#include <QBoxLayout>
#include <QChartView>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <functional>
#include <utility>

namespace kalkora::ui {

namespace {

// The labels of the scheme's fields, in the order of kSchemeFields, with mnemonics that the
// window's buttons leave free.
constexpr const char* kFieldLabels[] = { "Ver&waltungsgemeinkosten:", "Vertrie&bsgemeinkosten:", "&Gewinnzuschlag:",
    "Kundens&konto:", "Vertreterprovisi&on:", "Kunden&rabatt:", "E&inmalkosten:", "So&ndereinzelkosten Vertrieb:" };
const QString dateFormat = QStringLiteral("dd.MM.yyyy");
constexpr const char* kAmountUnits[] = { "€ für die ganze Menge", "€ je Stück" };

QString fromHundredths(std::int64_t count)
{
    return QString::fromStdString(Hundredths(count).format(',', '.'));
}

FileDialogRequest quoteFileDialog(const QString& title)
{
    return { title, QStringLiteral("Angebote (*.ang)"), QStringLiteral("*.ang"), QStringLiteral("ang"), true, {} };
}

} // namespace

CQuoteDlg::CQuoteDlg(const CPlantData& plantData, OrderSnapshot currentOrder, QWidget* parent)
    : CAnalysisDlg(parent, QStringLiteral("Kalkora - Angebot"), QStringLiteral("Kalkora - Angebot exportieren"))
    , plantData(plantData)
    , currentOrder(std::move(currentOrder))
{
    setObjectName(QStringLiteral("quoteDlg"));
    fieldsGrid = new QGridLayout;
    fieldsGrid->setColumnStretch(1, 1);
    fieldsGrid->setColumnStretch(4, 1);
    fieldsGrid->setColumnMinimumWidth(2, DialogUnits(font()).x(70));
    headerArea()->addLayout(fieldsGrid);
    for (std::size_t i = 0; i < kSchemeFields.size(); ++i) {
        const SchemeField& field = kSchemeFields[i];
        schemeFields[i] = new QLineEdit(this);
        schemeFields[i]->setObjectName(QLatin1String(field.key));
        // Percentages in the left and right column, the two amounts in the last row.
        const int row = field.percent ? int(i % 3) : 3;
        const int column = field.percent ? int(i / 3) : int(i - 6);
        addField(row, column, QString::fromUtf8(kFieldLabels[i]),
            field.percent ? QStringLiteral("%") : QString::fromUtf8(kAmountUnits[i - 6]), schemeFields[i]);
    }
    quantities = new QLineEdit(this);
    quantities->setObjectName(QStringLiteral("quantities"));
    quantities->setToolTip(QStringLiteral("Stückzahlen, durch Kommas getrennt, z. B. 1, 10, 100."));
    addField(4, 0, QStringLiteral("&Mengen:"), QString(), quantities);
    marketPrice = new QLineEdit(this);
    marketPrice->setObjectName(QStringLiteral("marketPrice"));
    marketPrice->setToolTip(QStringLiteral("Der Listenpreis je Stück, den der Kunde höchstens zahlt: rechnet zurück, "
                                           "was als Selbstkosten und Gewinn bleibt. Leer: keine Rückwärtsrechnung."));
    addField(4, 1, QStringLiteral("M&arktpreis:"), QStringLiteral("€ je Stück"), marketPrice);

    quantityBase = new QLabel(this);
    headerArea()->addWidget(quantityBase);
    errorLine = new QLabel(this);
    errorLine->setObjectName(QStringLiteral("errorLine"));
    errorLine->setWordWrap(true);
    errorLine->setStyleSheet(QStringLiteral("color: #b00000;"));
    errorLine->hide();
    headerArea()->addWidget(errorLine);
    marketLine = new QLabel(this);
    marketLine->setObjectName(QStringLiteral("marketLine"));
    marketLine->setWordWrap(true);
    marketLine->hide();
    headerArea()->addWidget(marketLine);
    auto* offeredRow = new QHBoxLayout;
    offeredLine = new QLabel(this);
    offeredLine->setObjectName(QStringLiteral("offeredLine"));
    offeredLine->setWordWrap(true);
    offeredLine->setStyleSheet(QStringLiteral("color: #b00000;"));
    offeredRow->addWidget(offeredLine, 1);
    takePrices = new QPushButton(QStringLiteral("Preise &übernehmen"), this);
    takePrices->setObjectName(QStringLiteral("buttonTakePrices"));
    takePrices->setAutoDefault(false);
    connect(takePrices, &QPushButton::clicked, this, &CQuoteDlg::OnTakePrices);
    offeredRow->addWidget(takePrices, 0, Qt::AlignTop);
    headerArea()->addLayout(offeredRow);
    offeredLine->hide();
    takePrices->hide();
    // The scheme is a table of figures: no chart, the letter's texts instead.
    chart()->hide();
    createTexts();

    for (QLineEdit* field : schemeFields)
        connect(field, &QLineEdit::textChanged, this, &CQuoteDlg::OnFieldChanged);
    for (QLineEdit* field : { quantities, marketPrice })
        connect(field, &QLineEdit::textChanged, this, &CQuoteDlg::OnFieldChanged);
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
    place(0, 0, QStringLiteral("Angebo&t Nr.:"), number = line("number"));
    place(1, 0, QStringLiteral("Datum:"), date = line("date"));
    place(2, 0, QStringLiteral("Gültig bis:"), validUntil = line("validUntil"));
    place(3, 0, QStringLiteral("Betre&ff:"), subject = line("subject"));
    place(4, 0, QStringLiteral("Absender:"), sender = block("sender"));
    place(0, 1, QStringLiteral("Anschri&ft:"), recipient = block("recipient"));
    grid->addWidget(recipient, 0, 3, 4, 1);
    place(4, 1, QStringLiteral("Einleitung:"), intro = block("intro"));
    place(5, 1, QStringLiteral("Schluss:"), closing = block("closing"));
    grid->addWidget(sender, 4, 1, 2, 1, Qt::AlignTop); // beside its label, not centred in two rows
    for (QLineEdit* field : { date, validUntil })
        field->setToolTip(QStringLiteral("Ein Datum wie 07.12.2026."));
    addBelowTable(texts);

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
        connect(addButton(command.name, command.text), &QPushButton::clicked, this, command.handler);
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
    setWithoutOrder(std::nullopt);
    quote.reset();
    setTable({}, 0, {});
    setUncosted({});
    const COrder order = currentOrder();
    const QuoteDefaults defaults = loadQuoteDefaults();
    files::Offer offer;
    offer.number = QString::number(defaults.nextNumber);
    offer.date = QDate::currentDate();
    offer.validUntil = offer.date.addDays(defaults.validityDays);
    offer.sender = defaults.sender;
    offer.subject = fromCp1252(order.name);
    offer.intro = defaults.intro;
    offer.closing = defaults.closing;
    offer.scheme = defaults.scheme;
    showOffer(offer);
    quotePath.clear();
    newQuote = true;
    keptPrices.reset();
    showOfferedPrices();
}

void CQuoteDlg::OnFieldChanged()
{
    if (showing)
        return;
    quoteChanged = true;
    recompute();
}

void CQuoteDlg::OnTextChanged()
{
    // The letter's texts do not touch the figures: no need to price a large order again.
    if (!showing)
        quoteChanged = true;
}

void CQuoteDlg::showOffer(const files::Offer& offer)
{
    showing = true;
    number->setText(offer.number);
    date->setText(offer.date.toString(dateFormat));
    validUntil->setText(offer.validUntil.toString(dateFormat));
    subject->setText(offer.subject);
    sender->setPlainText(offer.sender);
    recipient->setPlainText(offer.recipient);
    intro->setPlainText(offer.intro);
    closing->setPlainText(offer.closing);
    for (std::size_t i = 0; i < kSchemeFields.size(); ++i) {
        const Hundredths value = offer.scheme.*kSchemeFields[i].member;
        schemeFields[i]->setText(value.count() == 0 ? QString() : typedValue(value));
    }
    marketPrice->setText(offer.marketPrice ? typedValue(*offer.marketPrice) : QString());
    std::vector<std::int32_t> list = offer.quantities;
    if (list.empty() && withoutOrder) {
        for (const files::OfferedPrice& price : offer.offered)
            list.push_back(price.quantity);
    }
    quantities->setText(quantityList(list.empty() ? startingQuantities(currentOrder().quantityBase) : list));
    quantities->setCursorPosition(0);
    showing = false;
    quoteChanged = false;
    recompute();
}

std::optional<QDate> CQuoteDlg::typedDate(QLineEdit* field, const QString& name)
{
    const QString text = field->text().trimmed();
    const QDate value = QDate::fromString(text, dateFormat);
    if (!text.isEmpty() && !value.isValid()) {
        showError(field,
            QStringLiteral("„%1“ kann nicht gelesen werden: bitte ein Datum wie 07.12.2026 eingeben.").arg(name),
            false);
        return std::nullopt;
    }
    return value;
}

std::optional<files::Offer> CQuoteDlg::typedOffer()
{
    std::optional<files::Offer> offer = withoutOrder ? withoutOrder : pricedOffer();
    if (!offer)
        return std::nullopt;
    const std::optional<QDate> dated = typedDate(date, QStringLiteral("Datum"));
    const std::optional<QDate> valid = dated ? typedDate(validUntil, QStringLiteral("Gültig bis")) : std::nullopt;
    if (!valid)
        return std::nullopt;
    offer->date = *dated;
    offer->validUntil = *valid;
    offer->number = number->text().trimmed();
    offer->subject = subject->text();
    offer->sender = sender->toPlainText();
    offer->recipient = recipient->toPlainText();
    offer->intro = intro->toPlainText();
    offer->closing = closing->toPlainText();
    return offer;
}

std::optional<files::Offer> CQuoteDlg::pricedOffer()
{
    recompute();
    if (!quote || !isCurrent()) {
        uiServices().showMessage(
            this, QStringLiteral("Das Angebot ist nicht vollständig: erst die rot markierte Angabe berichtigen."));
        return std::nullopt;
    }
    files::Offer offer;
    offer.scheme = quote->scheme;
    offer.marketPrice = quote->market ? std::optional(Hundredths(quote->market->listPrice)) : std::nullopt;
    for (const QuoteRow& row : quote->rows)
        offer.quantities.push_back(row.quantity);
    offer.offered = offeredPrices();
    if (dataFiles) {
        const QuoteDataFiles files = dataFiles();
        offer.orderFile = files.order;
        offer.masterFile = files.masterData;
    }
    return offer;
}

void CQuoteDlg::OnPreview()
{
    if (const std::optional<files::Offer> offer = typedOffer()) {
        const report::QuoteLetter letter = report::quoteLetter(*offer);
        uiServices().showPrintPreview(
            this, [&letter](QPrinter& printer) { report::printQuoteLetter(letter, printer); });
    }
}

void CQuoteDlg::OnSavePdf()
{
    const std::optional<files::Offer> offer = typedOffer();
    if (!offer)
        return;
    const QString path = uiServices().getSaveFileName(this,
        { QStringLiteral("Kalkora - Angebot als PDF speichern"), QStringLiteral("PDF-Dateien (*.pdf)"),
            QStringLiteral("*.pdf"), QStringLiteral("pdf"), true, {} });
    if (!path.isEmpty() && !report::writeQuoteLetterPdf(report::quoteLetter(*offer), path)) {
        uiServices().showMessage(this,
            QStringLiteral("Das Angebot kann nicht nach „%1“ geschrieben werden.").arg(QFileInfo(path).fileName()));
    }
}

void CQuoteDlg::OnOpenQuote()
{
    if (!mayClose())
        return;
    const QString path
        = uiServices().getOpenFileName(this, quoteFileDialog(QStringLiteral("Kalkora - Angebot öffnen")));
    if (!path.isEmpty())
        openQuoteFile(path);
}

bool CQuoteDlg::openQuoteFile(const QString& path)
{
    files::Offer offer;
    const files::FileResult result = files::loadOffer(path, offer);
    if (!result.ok()) {
        uiServices().showMessage(this, result.message);
        return false;
    }
    if (withoutOrder)
        setWithoutOrder(offer);
    keptPrices = offer.offered;
    showOffer(offer);
    quotePath = path;
    newQuote = false;
    return true;
}

bool CQuoteDlg::openQuoteWithoutOrder(const QString& path)
{
    const std::optional<files::Offer> before = withoutOrder;
    setWithoutOrder(files::Offer());
    if (openQuoteFile(path))
        return true;
    setWithoutOrder(before);
    return false;
}

void CQuoteDlg::setWithoutOrder(std::optional<files::Offer> offer)
{
    withoutOrder = std::move(offer);
    const bool priced = !withoutOrder;
    // Without the order nothing could price a change of the figures.
    for (QLineEdit* field : schemeFields)
        field->setEnabled(priced);
    quantities->setEnabled(priced);
    marketPrice->setEnabled(priced);
    quantityBase->setVisible(priced);
    showTableCommands(priced);
}

void CQuoteDlg::showOfferedOnly()
{
    errorLine->hide();
    marketLine->hide();
    quote.reset();
    setOrderName({});
    struct OfferedRow {
        const char* title;
        Hundredths files::OfferedPrice::*amount;
    };
    static constexpr OfferedRow rows[] = { { "Listenverkaufspreis", &files::OfferedPrice::listPrice },
        { "Kundenrabatt", &files::OfferedPrice::discount }, { "Zielverkaufspreis", &files::OfferedPrice::targetPrice },
        { "Gesamtpreis", &files::OfferedPrice::total } };
    const std::vector<files::OfferedPrice>& prices = withoutOrder->offered;
    QStringList titles { QStringLiteral("Angeboten") };
    for (const files::OfferedPrice& price : prices)
        titles << QStringLiteral("%1 Stück").arg(germanCount(price.quantity));
    setTable(titles, int(std::size(rows)), [prices](int row, int column, int role) -> QVariant {
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue((column == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
        if (role != Qt::DisplayRole)
            return {};
        const OfferedRow& shown = rows[row];
        return column == 0 ? QString::fromUtf8(shown.title)
                           : fromHundredths((prices.at(std::size_t(column - 1)).*shown.amount).count());
    });
    setUncosted({});
    setCurrent(true);
    const QString order = withoutOrder->orderFile.isEmpty()
        ? QStringLiteral("Der Auftrag des Angebots")
        : QStringLiteral("Der Auftrag „%1“").arg(QDir::toNativeSeparators(withoutOrder->orderFile));
    offeredLine->setText(order
        + QStringLiteral(" ist nicht geöffnet: die Tabelle zeigt die angebotenen Preise. Neu berechnen lässt sich das "
                         "Angebot erst, wenn sein Auftrag geöffnet ist."));
    offeredLine->show();
    takePrices->hide();
}

std::vector<files::OfferedPrice> CQuoteDlg::todaysPrices() const
{
    return quote ? files::offeredPrices(*quote) : std::vector<files::OfferedPrice>();
}

std::vector<files::OfferedPrice> CQuoteDlg::offeredPrices() const
{
    if (keptPrices)
        return *keptPrices;
    return todaysPrices();
}

void CQuoteDlg::OnTakePrices()
{
    keptPrices.reset();
    quoteChanged = true;
    showOfferedPrices();
}

void CQuoteDlg::showOfferedPrices()
{
    if (withoutOrder)
        return;
    const std::vector<files::OfferedPrice> today = todaysPrices();
    const bool differ = keptPrices && quote && isCurrent() && *keptPrices != today;
    if (differ) {
        QStringList prices;
        for (const files::OfferedPrice& offered : *keptPrices) {
            const auto now = std::find_if(today.begin(), today.end(),
                [&offered](const files::OfferedPrice& price) { return price.quantity == offered.quantity; });
            prices << QStringLiteral("%1 Stück: angeboten %2 €, heute %3")
                          .arg(germanCount(offered.quantity), fromHundredths(offered.targetPrice.count()),
                              now == today.end() ? QStringLiteral("keiner")
                                                 : fromHundredths(now->targetPrice.count()) + QStringLiteral(" €"));
        }
        offeredLine->setText(
            QStringLiteral("Auftrag und Stammdaten ergeben heute andere Preise als angeboten (Preis je "
                           "Stück): ")
            + prices.join(QStringLiteral("; ")) + u'.');
    }
    offeredLine->setVisible(differ);
    takePrices->setVisible(differ);
}

bool CQuoteDlg::OnSaveQuote()
{
    return quotePath.isEmpty() ? OnSaveQuoteAs() : saveQuoteTo(quotePath);
}

bool CQuoteDlg::OnSaveQuoteAs()
{
    const QString path
        = uiServices().getSaveFileName(this, quoteFileDialog(QStringLiteral("Kalkora - Angebot speichern")));
    return !path.isEmpty() && saveQuoteTo(path);
}

bool CQuoteDlg::saveQuoteTo(const QString& path)
{
    const std::optional<files::Offer> offer = typedOffer();
    if (!offer)
        return false;
    const files::FileResult result = files::saveOffer(path, *offer);
    if (!result.ok()) {
        // What was typed stays in the window, still marked as changed.
        uiServices().showMessage(this, result.message);
        return false;
    }
    quotePath = path;
    quoteChanged = false;
    // The number a new quote was given is used up once it is saved.
    if (std::exchange(newQuote, false)) {
        QuoteDefaults defaults = loadQuoteDefaults();
        if (offer->number == QString::number(defaults.nextNumber)) {
            ++defaults.nextNumber;
            saveQuoteDefaults(defaults);
        }
    }
    return true;
}

bool CQuoteDlg::mayClose()
{
    return maySave(this, quoteChanged, QStringLiteral("Das Angebot wurde geändert. Soll es gespeichert werden?"),
        [this] { return OnSaveQuote(); });
}

void CQuoteDlg::reject()
{
    if (mayClose())
        CAnalysisDlg::reject();
}

std::optional<SalesScheme> CQuoteDlg::typedScheme()
{
    SalesScheme scheme;
    for (std::size_t i = 0; i < kSchemeFields.size(); ++i) {
        const std::optional<Hundredths> value = schemeValueOf(kSchemeFields[i], schemeFields[i]->text());
        if (!value) {
            showError(schemeFields[i], schemeRangeMessage(kSchemeFields[i]));
            return std::nullopt;
        }
        scheme.*kSchemeFields[i].member = *value;
    }
    if (!discountsLeaveAPrice(scheme)) {
        showError(schemeFields[4], discountsMessage());
        return std::nullopt;
    }
    return scheme;
}

std::optional<std::optional<Hundredths>> CQuoteDlg::typedMarketPrice()
{
    if (marketPrice->text().trimmed().isEmpty())
        return std::optional<Hundredths>();
    const std::optional<Hundredths> value = schemeValueOf(kMarketPriceField, marketPrice->text());
    if (!value) {
        showError(marketPrice, schemeRangeMessage(kMarketPriceField));
        return std::nullopt;
    }
    return value;
}

void CQuoteDlg::recompute()
{
    for (QLineEdit* field : findChildren<QLineEdit*>())
        field->setStyleSheet(QString());
    if (withoutOrder) {
        showOfferedOnly();
        return;
    }
    const COrder order = currentOrder();
    setOrderName(order.name);
    quantityBase->setText(QStringLiteral("Stückzahlbasis des Auftrags: %1").arg(order.quantityBase));
    const std::optional<SalesScheme> scheme = typedScheme();
    if (!scheme)
        return;
    const std::optional<std::optional<Hundredths>> market = typedMarketPrice();
    if (!market)
        return;
    std::vector<std::int32_t> list;
    std::string error;
    if (!parseQuantities(withoutGrouping(quantities->text()).toStdString(), list, error)) {
        showError(quantities, QString::fromStdString(error));
        return;
    }
    try {
        showQuote(computeQuote(computePriceScale(order, plantData, std::move(list)), *scheme, *market), order);
    } catch (const PriceScaleError& failure) {
        showError(quantities, QString::fromUtf8(failure.what()));
    }
}

void CQuoteDlg::showError(QLineEdit* field, const QString& message, bool tableField)
{
    if (tableField)
        setCurrent(false);
    field->setStyleSheet(QStringLiteral("background-color: #ffd8d8;"));
    errorLine->setText(message);
    errorLine->show();
}

void CQuoteDlg::showQuote(Quote newQuote, const COrder& order)
{
    errorLine->hide();
    quote = std::move(newQuote);
    QStringList titles { QStringLiteral("Schritt") };
    for (const QuoteRow& row : quote->rows)
        titles << QStringLiteral("%1 Stück").arg(germanCount(row.quantity));
    const std::array<QuoteStep, 15>& steps = quoteSteps();
    const int marketRows = quote->market ? 2 : 0;
    setTable(titles, int(steps.size()) + marketRows, [this, &steps](int row, int column, int role) -> QVariant {
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue((column == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
        if (role != Qt::DisplayRole)
            return {};
        const bool stepRow = row < int(steps.size());
        if (column == 0) {
            if (!stepRow)
                return row == int(steps.size()) ? QStringLiteral("Gewinn beim Marktpreis")
                                                : QStringLiteral("Gewinn beim Marktpreis %");
            const QuoteStep& step = steps[std::size_t(row)];
            const QString title = QString::fromUtf8(step.title);
            return step.percent
                ? title + QStringLiteral(" (%1 %)").arg(fromHundredths((quote->scheme.*step.percent).count()))
                : title;
        }
        const QuoteRow& figures = quote->rows.at(std::size_t(column - 1));
        if (stepRow)
            return figures.priced ? fromHundredths(figures.*steps[std::size_t(row)].amount) : QStringLiteral("—");
        const MarketRow& market = quote->market->rows.at(std::size_t(column - 1));
        if (row == int(steps.size()))
            return market.priced ? fromHundredths(market.profit) : QStringLiteral("—");
        return market.profitPct ? fromHundredths(*market.profitPct) : QStringLiteral("—");
    });
    if (quote->market) {
        const MarketPricing& m = *quote->market;
        marketLine->setText(
            QStringLiteral("Vom Marktpreis %1 € bleiben nach Rabatt %2 € der Zielverkaufspreis %3 €, "
                           "nach Skonto und Provision der Barverkaufspreis %4 €; beim "
                           "Gewinnzuschlag erlaubt er Selbstkosten von %5 € je Stück.")
                .arg(fromHundredths(m.listPrice), fromHundredths(m.discount), fromHundredths(m.targetPrice),
                    fromHundredths(m.cashPrice), fromHundredths(m.allowedCostPrice)));
    }
    marketLine->setVisible(quote->market.has_value());
    QStringList notes = uncostedOperations(breakDownCosts(order, plantData));
    for (const QuoteRow& row : quote->rows) {
        if (!row.priced)
            notes << QStringLiteral("Menge %1 nicht bepreist (Beträge zu groß oder nicht endlich)").arg(row.quantity);
    }
    setUncosted(quote->complete() ? QStringList() : notes, QString::fromStdString(orderWarning(order)));
    setCurrent(true);
    showOfferedPrices();
}

std::string CQuoteDlg::csvText() const
{
    return quote ? quoteCsv(*quote, CsvDialect::German) : std::string();
}

std::string CQuoteDlg::printText() const
{
    return quote ? quoteText(*quote) : std::string();
}

void showQuote(
    QWidget* owner, const CPlantData& plantData, OrderSnapshot currentOrder, std::function<QuoteDataFiles()> dataFiles)
{
    showWithSettings<CQuoteDlg>(owner, plantData, std::move(currentOrder));
    owner->findChild<CQuoteDlg*>(QString(), Qt::FindDirectChildrenOnly)->setDataFiles(std::move(dataFiles));
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

} // namespace kalkora::ui
