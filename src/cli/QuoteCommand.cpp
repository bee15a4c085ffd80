#include "cli/AnalysisOptions.h"
#include "cli/Commands.h"
#include "cli/PdfOutput.h"
#include "costing/QuoteTables.h"
#include "costing/SalesPrice.h"
#include "documents/QuoteDefaults.h"
#include "documents/SchemeValues.h"
#include "files/OfferFile.h"
#include "text/Cp1252.h"

#include <array>
#include <optional>

namespace kalkora::cli {

namespace {

QCommandLineOption optionOf(const SchemeField& field)
{
    return QCommandLineOption(QString::fromLatin1(field.option),
        QStringLiteral("%1 (%2, Vorgabe 0)").arg(QString::fromUtf8(field.germanName), documents::schemeRange(field)),
        field.percent() ? QStringLiteral("P") : QStringLiteral("EUR"));
}

// The value of `field`'s option, or nothing after a usage message naming it and its range.
std::optional<std::int64_t> readValue(const SchemeField& field, const QString& typed)
{
    const SchemeReading reading = readSchemeValue(field, typed.toStdString());
    if (reading.value)
        return reading.value;
    const QString option
        = QStringLiteral("--%1 (%2)").arg(QString::fromLatin1(field.option), QString::fromUtf8(field.germanName));
    if (reading.outOfRange)
        usageError(
            QStringLiteral("%1: „%2“ liegt außerhalb von %3.").arg(option, typed, documents::schemeRange(field)));
    else
        usageError(QStringLiteral("%1 erwartet eine Zahl von %2 mit höchstens zwei Nachkommastellen (Dezimalpunkt "
                                  "oder -komma, ohne Tausenderpunkte), nicht „%3“.")
                       .arg(option, documents::schemeRange(field), typed));
    return std::nullopt;
}

// The scheme and market price of the command line.
struct PricingOptions {
    std::array<QCommandLineOption, kSchemeFields.size()> scheme { optionOf(kSchemeFields[0]),
        optionOf(kSchemeFields[1]), optionOf(kSchemeFields[2]), optionOf(kSchemeFields[3]), optionOf(kSchemeFields[4]),
        optionOf(kSchemeFields[5]), optionOf(kSchemeFields[6]), optionOf(kSchemeFields[7]) };
    QCommandLineOption marketPrice { QStringLiteral("market-price"),
        QStringLiteral("Marktpreis: der Listenverkaufspreis je Stück, den der Kunde höchstens zahlt; rechnet "
                       "zurück, was als Selbstkosten und Gewinn bleibt (")
            + documents::schemeRange(kMarketPriceField) + u')',
        QStringLiteral("EUR") };
    QCommandLineOption angebot { QStringLiteral("angebot"),
        QStringLiteral("Schema, Mengen, Marktpreis und die Pfade von Stammdaten und Auftrag aus einer "
                       "Angebotsdatei (.ang); Angaben auf der Befehlszeile gehen vor"),
        QStringLiteral("FILE.ang") };
    QCommandLineOption vorgaben { QStringLiteral("vorgaben"),
        QStringLiteral("Schema, Absender, Einleitung und Schluss aus den Angebotsvorgaben des Desktop-Programms "
                       "(„Stammdaten > Angebotsvorgaben...“); eine Angebotsdatei und die Angaben auf der "
                       "Befehlszeile gehen vor, eine Angebotsnummer wird weder genommen noch gezählt") };

    files::Offer offer;
    SalesScheme chosenScheme;
    std::optional<Money> chosenMarketPrice;

    void addTo(QCommandLineParser& parser) const
    {
        for (const QCommandLineOption& option : scheme)
            parser.addOption(option);
        parser.addOptions({ marketPrice, angebot, vorgaben });
    }

    // Starts from the user's quote defaults if asked, then from the quote file's scheme and market
    // price, if one is given; the command line wins. Returns an exit status on wrong usage or a bad
    // quote file.
    std::optional<int> read(const QCommandLineParser& parser)
    {
        if (parser.isSet(angebot)) {
            const files::FileResult result = files::loadOffer(parser.value(angebot), offer);
            if (!result.ok()) {
                printMessage(result.message);
                return exitFileError;
            }
        }
        if (parser.isSet(vorgaben)) {
            const documents::QuoteDefaults defaults = documents::loadQuoteDefaults();
            if (!parser.isSet(angebot))
                offer.scheme = defaults.scheme;
            documents::fillLetterFrom(defaults, offer);
        }
        chosenScheme = offer.scheme;
        chosenMarketPrice = offer.marketPrice;
        for (std::size_t i = 0; i < kSchemeFields.size(); ++i) {
            if (!parser.isSet(scheme[i]))
                continue;
            const std::optional<std::int64_t> value = readValue(kSchemeFields[i], parser.value(scheme[i]));
            if (!value)
                return exitUsageError;
            kSchemeFields[i].setIn(chosenScheme, *value);
        }
        if (!discountsLeaveAPrice(chosenScheme))
            return usageError(QStringLiteral("--cash-discount und --commission: Kundenskonto und Vertreterprovision "
                                             "zusammen müssen unter 100 % bleiben."));
        if (parser.isSet(marketPrice)) {
            const std::optional<std::int64_t> cents = readValue(kMarketPriceField, parser.value(marketPrice));
            if (!cents)
                return exitUsageError;
            chosenMarketPrice = Money(*cents);
        }
        return std::nullopt;
    }
};

// The quote letter with the texts of the quote file and the prices of `quote`, naming `partName`.
// A letter without a date is dated today.
int writeQuoteLetter(const AnalysisOptions& options, const PricingOptions& pricing, const Quote& quote,
    const QString& partName, const QString& path)
{
    options.reportMessages(quote);
    files::Offer letter = pricing.offer;
    letter.partName = partName;
    if (letter.date.isNull())
        letter.date = QDate::currentDate();
    letter.scheme = pricing.chosenScheme;
    letter.marketPrice = pricing.chosenMarketPrice;
    letter.offered = offeredPrices(quote);
    if (!writeQuotePdf(letter, path)) {
        printMessage(QStringLiteral("Das Angebot kann nicht nach „%1“ geschrieben werden.").arg(path));
        return exitFileError;
    }
    return quote.complete() ? exitSuccess : exitUncosted;
}

// The costs per piece of the order, or of the assembly that stands in its place, and its name;
// nothing after saying why.
std::optional<QuoteBasis> basisOf(const QCommandLineParser& parser, const OrderFiles& files, AnalysisOptions& options,
    const QuantityOption& quantities, QString& name)
{
    if (files::isAssemblyFile(files.orderPath)) {
        AssemblyTree tree;
        if (options.loadAssembly(parser, files.masterPath, files.orderPath, tree))
            return std::nullopt;
        name = QString::fromStdString(tree.root->assembly.name);
        const std::optional<AssemblyCosting> costing = quantities.costingOf(tree, options.plantData);
        return costing ? std::optional(basisOf(*costing)) : std::nullopt;
    }
    if (options.load(files))
        return std::nullopt;
    name = QString::fromStdString(text::cp1252ToUtf8(options.order.name));
    const std::optional<PriceScale> scale = quantities.scaleOf(options);
    return scale ? std::optional(basisOf(*scale)) : std::nullopt;
}

} // namespace

int runQuote(const QStringList& arguments)
{
    QCommandLineParser parser;
    describeCommand(parser, QStringLiteral("quote"),
        QStringLiteral(
            "Angebotskalkulation: rechnet für jede Menge die Herstellkosten des Auftrags ORDER (Vollkosten je Stück "
            "wie in „scale“) weiter zum Preis: Einmalkosten je Stück, Verwaltungs- und Vertriebsgemeinkosten, "
            "Sondereinzelkosten des Vertriebs, Selbstkosten, Gewinn, Barverkaufspreis, Kundenskonto und "
            "Vertreterprovision „im Hundert“, Zielverkaufspreis, Kundenrabatt, Listenverkaufspreis und Gesamtpreis. "
            "Jeder Schritt wird auf den Cent gerundet (ab 0,5 Cent auf). Mit --market-price wird vom Marktpreis "
            "rückwärts gerechnet.\n\n"
            "Beispiel: Selbstkosten 100,00 €, --profit 10 --cash-discount 2 --discount 5 ergibt Barverkaufspreis "
            "110,00 €, Zielverkaufspreis 112,24 € (110,00 ÷ 0,98) und Listenverkaufspreis 118,15 € (112,24 ÷ 0,95)."));
    AnalysisOptions options;
    options.format.setValueName(QStringLiteral("text|csv|json|pdf"));
    options.format.setDescription(
        options.format.description() + QStringLiteral(" oder das Angebot als A4-Brief (pdf; braucht -o)"));
    options.addTo(parser);
    QuantityOption quantities;
    quantities.addTo(parser);
    PricingOptions pricing;
    pricing.addTo(parser);
    if (auto status = parseCommand(parser, arguments, 0, 2))
        return *status;
    bool pdf = false;
    if (auto status = options.readChoices(parser, &pdf))
        return *status;
    if (pdf && parser.value(options.output).isEmpty())
        return usageError(QStringLiteral("--format pdf braucht -o DATEI: das Angebot ist ein Dokument, kein Text."));
    if (pdf && !pdfSupported())
        return usageError(QStringLiteral("--format pdf: dieses kalkora-cli wurde ohne Druckausgabe gebaut."));
    if (auto status = quantities.read(parser))
        return *status;
    if (auto status = pricing.read(parser))
        return *status;
    if (!quantities.given && !pricing.offer.quantities.empty())
        quantities.given = pricing.offer.quantities;
    const std::optional<OrderFiles> files = options.orderFilesOr(parser, 3, pricing.offer.masterFile,
        pricing.offer.orderFile,
        QStringLiteral("„quote“ braucht STAMMDATEN und AUFTRAG oder eine Angebotsdatei (--angebot), die beide nennt."));
    if (!files)
        return exitUsageError;
    QString partName;
    const std::optional<QuoteBasis> basis = basisOf(parser, *files, options, quantities, partName);
    if (!basis)
        return exitFileError;
    const Quote quote = computeQuote(*basis, pricing.chosenScheme, pricing.chosenMarketPrice);
    if (pdf)
        return writeQuoteLetter(options, pricing, quote, partName, parser.value(options.output));
    return options.finish(parser, quote, quoteText, quoteCsv, quoteJson);
}

} // namespace kalkora::cli
