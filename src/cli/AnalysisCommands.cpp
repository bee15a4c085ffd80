#include "cli/AnalysisOptions.h"
#include "cli/Commands.h"
#include "costing/AnalysisTables.h"
#include "costing/CostAnalysis.h"

#include <optional>

namespace kalkora::cli {

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
    return options.finish(parser, *scale, priceScaleText, priceScaleCsv, priceScaleJson);
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
