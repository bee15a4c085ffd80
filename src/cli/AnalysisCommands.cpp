#include "cli/AnalysisOptions.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "costing/AnalysisTables.h"
#include "costing/CostAnalysis.h"

#include <optional>

namespace kalkora::cli {

namespace {

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
    QuantityOption quantities;
    quantities.addTo(parser);
    if (auto status = parseCommand(parser, arguments, 2))
        return *status;
    if (auto status = options.readChoices(parser))
        return *status;
    if (auto status = quantities.read(parser))
        return *status;
    if (auto status = options.load(options.orderFiles(parser)))
        return *status;
    const std::optional<PriceScale> scale = quantities.scaleOf(options);
    if (!scale)
        return exitFileError;
    return options.finish(parser, *scale, priceScaleText, priceScaleCsv, scaleJson);
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
    if (auto status = options.load(options.orderFiles(parser)))
        return *status;

    const CostBreakdown breakdown = breakDownCosts(options.order, options.plantData);
    return options.finish(parser, breakdown, breakdownText, breakdownCsv, breakdownJson);
}

} // namespace kalkora::cli
