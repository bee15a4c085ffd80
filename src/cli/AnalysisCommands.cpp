#include "cli/AnalysisCommands.h"

#include "cli/CliCommands.h"
#include "cli/CliSupport.h"
#include "cli/JsonWriter.h"
#include "costing/AnalysisTables.h"
#include "costing/CostAnalysis.h"
#include "files/DataFiles.h"
#include "text/Cp1252.h"
#include "text/RuntimeLocale.h"

#include <optional>

namespace kalkora::cli {

namespace {

enum class Format { Text, Csv, Json };

// The options scale and breakdown share, and what they were given.
struct AnalysisOptions {
    QCommandLineOption dmMaster { QStringLiteral("dm-master"), QStringLiteral("Stammdaten von DM in EUR umrechnen") };
    QCommandLineOption dmOrder { QStringLiteral("dm-order"), QStringLiteral("Auftrag von DM in EUR umrechnen") };
    QCommandLineOption format { QStringLiteral("format"),
        QStringLiteral("Ausgabe als Tabelle (text), CSV für Tabellenkalkulationen (csv; mit --locale de "
                       "„;“, Dezimalkomma, UTF-8 mit Byte-Order-Mark) oder JSON (json)"),
        QStringLiteral("text|csv|json"), QStringLiteral("text") };
    QCommandLineOption locale { QStringLiteral("locale"), QStringLiteral("de: Dezimalkomma (Vorgabe), c: Dezimalpunkt"),
        QStringLiteral("de|c"), QStringLiteral("de") };
    QCommandLineOption output { QStringLiteral("o"), QStringLiteral("in eine Datei statt auf stdout"),
        QStringLiteral("FILE") };

    Format chosenFormat = Format::Text;
    bool german = true;
    CPlantData plantData;
    COrder order;

    void addTo(QCommandLineParser& parser) const
    {
        parser.addPositionalArgument(QStringLiteral("MASTER"), QStringLiteral("Stammdaten (.sta)"));
        parser.addPositionalArgument(QStringLiteral("ORDER"), QStringLiteral("Auftrag (.auf)"));
        parser.addOptions({ dmMaster, dmOrder, format, locale, output });
    }

    // Checks --format and --locale; returns an exit status on wrong usage.
    std::optional<int> readChoices(const QCommandLineParser& parser)
    {
        const QString formatName = parser.value(format);
        if (formatName == QLatin1String("text"))
            chosenFormat = Format::Text;
        else if (formatName == QLatin1String("csv"))
            chosenFormat = Format::Csv;
        else if (formatName == QLatin1String("json"))
            chosenFormat = Format::Json;
        else
            return usageError(
                QStringLiteral("--format erwartet „text“, „csv“ oder „json“, nicht „%1“.").arg(formatName));
        const QString localeName = parser.value(locale);
        if (localeName != QLatin1String("de") && localeName != QLatin1String("c"))
            return usageError(QStringLiteral("--locale erwartet „de“ oder „c“, nicht „%1“.").arg(localeName));
        german = localeName == QLatin1String("de");
        return std::nullopt;
    }

    // Loads master data and order as the report command does; returns an exit status on failure.
    std::optional<int> load(const QCommandLineParser& parser)
    {
        if (!loadMasterData(operand(parser, 0), parser.isSet(dmMaster), plantData))
            return exitFileError;
        if (plantData.machines.count() == 0) {
            printMessage(files::noMachinesMessage());
            return exitFileError;
        }
        if (!loadOrder(operand(parser, 1), parser.isSet(dmOrder), order))
            return exitFileError;
        text::setRuntimeLocale(german ? text::RuntimeLocale::German : text::RuntimeLocale::Default);
        return std::nullopt;
    }

    // Writes `result` in the chosen format (text: the table `asText` gives, as UTF-8 with LF;
    // CSV in the chosen dialect); exit status 3 when operations were left out.
    template <typename Result>
    int finish(const QCommandLineParser& parser, const Result& result, std::string (*asText)(const Result&),
        std::string (*asCsv)(const Result&, CsvDialect), std::string (*asJson)(const Result&)) const
    {
        for (const std::string& message : result.messages)
            printCp1252Message(message);
        if (const std::string warning = orderWarning(order); !warning.empty())
            printMessage(QString::fromStdString(warning));
        std::string bytes;
        switch (chosenFormat) {
        case Format::Text:
            bytes = withUnixLineBreaks(text::cp1252ToUtf8(asText(result)));
            break;
        case Format::Csv:
            bytes = asCsv(result, german ? CsvDialect::German : CsvDialect::Standard);
            break;
        case Format::Json:
            bytes = asJson(result);
            break;
        }
        if (int status = writeOutput(bytes, parser.value(output)))
            return status;
        return result.complete() ? exitSuccess : exitUncosted;
    }
};

void jsonParts(JsonWriter& json, const CostParts& p)
{
    json.number("material", p.material);
    json.number("materialOverhead", p.materialOverhead);
    json.number("machineFixed", p.machineFixed);
    json.number("machineVariable", p.machineVariable);
    json.number("operatorFixed", p.operatorFixed);
    json.number("operatorVariable", p.operatorVariable);
    json.number("setup", p.setup);
    json.number("external", p.external);
    json.number("externalOverhead", p.externalOverhead);
    json.number("full", p.full);
    json.number("direct", p.direct);
}

std::string scaleJson(const PriceScale& scale)
{
    JsonWriter json;
    json.beginObject();
    json.text("kind", "scale");
    json.number("quantityBase", scale.quantityBase);
    json.boolean("complete", scale.complete());
    json.beginArray("rows");
    for (const PriceScaleRow& row : scale.rows) {
        json.beginObject();
        json.number("quantity", row.quantity);
        json.number("fullPerPiece", row.fullPerPiece);
        json.number("directPerPiece", row.directPerPiece);
        json.number("setupPerPiece", row.setupPerPiece);
        json.number("fullTotal", row.fullTotal);
        json.number("directTotal", row.directTotal);
        json.endObject();
    }
    json.endArray();
    json.endObject();
    return json.take();
}

std::string breakdownJson(const CostBreakdown& breakdown)
{
    JsonWriter json;
    json.beginObject();
    json.text("kind", "breakdown");
    json.boolean("complete", breakdown.complete());
    json.beginArray("operations");
    for (const OperationBreakdown& op : breakdown.operations) {
        json.beginObject();
        json.number("index", op.index);
        json.text("name", op.name);
        json.number("isInternal", op.isInternal);
        json.text("machineName", op.machineName);
        json.number("lot", op.lot);
        json.boolean("costed", op.costed);
        jsonParts(json, op.parts);
        json.endObject();
    }
    json.endArray();
    json.beginObject("order");
    jsonParts(json, breakdown.order);
    json.endObject();
    json.endObject();
    return json.take();
}

} // namespace

int runScale(const QStringList& arguments)
{
    QCommandLineParser parser;
    describeCommand(parser, QStringLiteral("scale"),
        QStringLiteral("Staffelpreise: Vollkosten und direkte Kosten je Stück, Rüstanteil je Stück und "
                       "Vollkosten gesamt des Auftrags ORDER für mehrere Mengen. Jede Losgröße wird im "
                       "Verhältnis Menge zu Stückzahlbasis hochgerechnet und aufgerundet; ein "
                       "Ausschusszuschlag bleibt so erhalten."));
    AnalysisOptions options;
    options.addTo(parser);
    const QCommandLineOption quantities(QStringLiteral("quantities"),
        QStringLiteral("Mengen, durch Kommas getrennt (Vorgabe: 1, 10, 25, 50, 100, "
                       "250, 500, 1000 und die Stückzahlbasis des Auftrags)"),
        QStringLiteral("1,10,100"));
    parser.addOption(quantities);
    if (auto status = parseCommand(parser, arguments, 2))
        return *status;
    if (auto status = options.readChoices(parser))
        return *status;
    std::vector<std::int32_t> givenQuantities;
    if (parser.isSet(quantities)) {
        std::string error;
        if (!parseQuantities(parser.value(quantities).toStdString(), givenQuantities, error))
            return usageError(QStringLiteral("--quantities: ") + QString::fromStdString(error));
    }
    if (auto status = options.load(parser))
        return *status;

    PriceScale scale;
    try {
        scale = computePriceScale(options.order, options.plantData,
            parser.isSet(quantities) ? givenQuantities : defaultQuantities(options.order.quantityBase));
    } catch (const PriceScaleError& error) {
        printMessage(QString::fromStdString(error.what()));
        return exitFileError;
    }
    return options.finish(parser, scale, priceScaleText, priceScaleCsv, scaleJson);
}

int runBreakdown(const QStringList& arguments)
{
    QCommandLineParser parser;
    describeCommand(parser, QStringLiteral("breakdown"),
        QStringLiteral("Kostenaufschlüsselung: woraus die Kosten je Stück jedes Arbeitsgangs (je Stück "
                       "seines Loses) und des Auftrags ORDER bestehen: Material und Materialgemeinkosten, "
                       "Maschine und Personal fix und variabel (davon Rüsten), Fremdleistung und "
                       "Fremdleistungszuschlag."));
    AnalysisOptions options;
    options.addTo(parser);
    if (auto status = parseCommand(parser, arguments, 2))
        return *status;
    if (auto status = options.readChoices(parser))
        return *status;
    if (auto status = options.load(parser))
        return *status;

    const CostBreakdown breakdown = breakDownCosts(options.order, options.plantData);
    return options.finish(parser, breakdown, breakdownText, breakdownCsv, breakdownJson);
}

} // namespace kalkora::cli
