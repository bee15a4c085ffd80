#include "ui/analysis/QuoteDlg.h"

#include "costing/QuoteTables.h"
#include "ui/analysis/QuantityList.h"
#include "ui/common/DialogUnits.h"

#include <QBoxLayout>
#include <QChartView>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <utility>

namespace kalkora::ui {

namespace {

// The labels of the scheme's fields, in the order of kSchemeFields, with mnemonics that the
// window's buttons leave free.
constexpr const char* kFieldLabels[] = { "&Verwaltungsgemeinkosten:", "Vertrie&bsgemeinkosten:", "&Gewinnzuschlag:",
    "Kunden&skonto:", "Vertreter&provision:", "Kunden&rabatt:", "Einmal&kosten:", "So&ndereinzelkosten Vertrieb:" };
constexpr const char* kAmountUnits[] = { "€ für die ganze Menge", "€ je Stück" };

QString fromHundredths(std::int64_t count)
{
    return QString::fromStdString(Hundredths(count).format(',', '.'));
}

QString typedLimit(std::int64_t count)
{
    const QString text = QString::fromStdString(Hundredths(count).format(','));
    return count % 100 == 0 ? text.chopped(3) : text;
}

QString rangeMessage(const SchemeField& field)
{
    return QStringLiteral("„%1“ kann nicht gelesen werden: bitte eine Zahl von %2 bis %3 %4 mit höchstens zwei "
                          "Nachkommastellen eingeben, ohne Tausenderpunkte.")
        .arg(QString::fromUtf8(field.germanName), typedLimit(field.min), typedLimit(field.max),
            field.percent ? QStringLiteral("%") : QStringLiteral("€"));
}

// The value of a field, 0 when it is empty; nothing when it cannot be read.
std::optional<Hundredths> valueOf(const SchemeField& field, const QString& typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return Hundredths();
    const std::optional<Hundredths> value = Hundredths::parse(text.toStdString());
    if (!value || !inRange(field, *value) || (field.min >= 0 && text.startsWith(QLatin1Char('-'))))
        return std::nullopt;
    return value;
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
    // The scheme is a table of figures: no chart.
    chart()->hide();

    for (QLineEdit* field : schemeFields)
        connect(field, &QLineEdit::textChanged, this, &CQuoteDlg::OnFieldChanged);
    for (QLineEdit* field : { quantities, marketPrice })
        connect(field, &QLineEdit::textChanged, this, &CQuoteDlg::OnFieldChanged);
    schemeFields[0]->setFocus(Qt::OtherFocusReason);
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
    quote.reset();
    setTable({}, 0, {});
    setUncosted({});
    quantities->setText(quantityList(startingQuantities(currentOrder().quantityBase)));
    recompute();
}

std::optional<SalesScheme> CQuoteDlg::typedScheme()
{
    SalesScheme scheme;
    for (std::size_t i = 0; i < kSchemeFields.size(); ++i) {
        const std::optional<Hundredths> value = valueOf(kSchemeFields[i], schemeFields[i]->text());
        if (!value) {
            showError(schemeFields[i], rangeMessage(kSchemeFields[i]));
            return std::nullopt;
        }
        scheme.*kSchemeFields[i].member = *value;
    }
    if (!discountsLeaveAPrice(scheme)) {
        showError(schemeFields[4],
            QStringLiteral("Kundenskonto und Vertreterprovision müssen zusammen unter 100 % bleiben."));
        return std::nullopt;
    }
    return scheme;
}

std::optional<std::optional<Hundredths>> CQuoteDlg::typedMarketPrice()
{
    if (marketPrice->text().trimmed().isEmpty())
        return std::optional<Hundredths>();
    const std::optional<Hundredths> value = valueOf(kMarketPriceField, marketPrice->text());
    if (!value) {
        showError(marketPrice, rangeMessage(kMarketPriceField));
        return std::nullopt;
    }
    return value;
}

void CQuoteDlg::recompute()
{
    for (QLineEdit* field : findChildren<QLineEdit*>())
        field->setStyleSheet(QString());
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

void CQuoteDlg::showError(QLineEdit* field, const QString& message)
{
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
}

std::string CQuoteDlg::csvText() const
{
    return quote ? quoteCsv(*quote, CsvDialect::German) : std::string();
}

std::string CQuoteDlg::printText() const
{
    return quote ? quoteText(*quote) : std::string();
}

void showQuote(QWidget* owner, const CPlantData& plantData, OrderSnapshot currentOrder)
{
    showWithSettings<CQuoteDlg>(owner, plantData, std::move(currentOrder));
}

} // namespace kalkora::ui
