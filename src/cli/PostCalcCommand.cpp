#include "cli/AnalysisOptions.h"
#include "cli/Commands.h"
#include "costing/PostCalc.h"
#include "costing/PostCalcTables.h"
#include "files/PostCalcFile.h"

#include <optional>

namespace kalkora::cli {

namespace {

// MASTER and ORDER from the command line, else from the post-calculation; nothing after a usage
// message where neither names both.
std::optional<OrderFiles> orderFilesOf(
    const QCommandLineParser& parser, const AnalysisOptions& options, const files::PostCalculation& postCalc)
{
    OrderFiles files { postCalc.masterFile, postCalc.orderFile, parser.isSet(options.dmMaster),
        parser.isSet(options.dmOrder) };
    if (parser.positionalArguments().size() == 4) {
        files.masterPath = operand(parser, 0);
        files.orderPath = operand(parser, 1);
    }
    if (files.masterPath.isEmpty() || files.orderPath.isEmpty()) {
        usageError(QStringLiteral("„postcalc“ braucht STAMMDATEN und AUFTRAG oder eine Nachkalkulation, die beide "
                                  "nennt."));
        return std::nullopt;
    }
    return files;
}

// The post-calculation of the loaded order; nothing after saying why it cannot be made.
std::optional<PostCalcResult> postCalcOf(const AnalysisOptions& options, const files::PostCalculation& postCalc)
{
    const std::int32_t produced = postCalc.produced(options.order);
    const std::int32_t good = postCalc.good(options.order);
    if (const auto mismatch = actualsMismatch(options.order, postCalc.actuals, produced, good)) {
        printMessage(QString::fromStdString(*mismatch));
        return std::nullopt;
    }
    const files::QuoteAtQuantity quote = files::quoteAt(postCalc.quoteFile, produced);
    if (quote.unreadable) {
        printMessage(quote.missing);
        return std::nullopt;
    }
    try {
        PostCalcResult result
            = postCalculate(options.order, options.plantData, produced, good, postCalc.actuals, quote.quote);
        if (!quote.quote)
            result.noQuoteReason = quote.missing.toStdString();
        return result;
    } catch (const PriceScaleError& error) {
        printMessage(QString::fromStdString(error.what()));
        return std::nullopt;
    }
}

} // namespace

int runPostCalc(const QStringList& arguments)
{
    QCommandLineParser parser;
    describeCommand(parser, QStringLiteral("postcalc"),
        QStringLiteral("Nachkalkulation: vergleicht je Arbeitsgang und für den Auftrag die geplanten mit den "
                       "tatsächlichen Kosten je produziertem Stück (Soll-Ist-Vergleich), gibt die Kosten je "
                       "Gutstück und, mit einem Angebot für die produzierte Menge, den geplanten und den "
                       "tatsächlichen Gewinn an. Der Auftrag wird auf die produzierte Menge hochgerechnet; die "
                       "Ist-Werte der Nachkalkulation FILE ersetzen die geplanten. Ohne MASTER und ORDER gelten "
                       "die Dateien, die die Nachkalkulation nennt."));
    AnalysisOptions options;
    parser.addPositionalArgument(
        QStringLiteral("[MASTER ORDER]"), QStringLiteral("Stammdaten (.sta) und Auftrag (.auf)"));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Nachkalkulation (.nak)"));
    options.addOptionsTo(parser);
    if (auto status = parseCommand(parser, arguments, 1, 3))
        return *status;
    if (parser.positionalArguments().size() == 3)
        return usageError(QStringLiteral("„postcalc“ erwartet MASTER und ORDER zusammen oder keines von beiden."));
    if (auto status = options.readChoices(parser))
        return *status;

    files::PostCalculation postCalc;
    if (const files::FileResult read
        = files::loadPostCalc(operand(parser, parser.positionalArguments().size() - 2), postCalc);
        !read.ok()) {
        printMessage(read.message);
        return exitFileError;
    }
    const std::optional<OrderFiles> orderFiles = orderFilesOf(parser, options, postCalc);
    if (!orderFiles)
        return exitUsageError;
    if (auto status = options.load(*orderFiles))
        return *status;
    const std::optional<PostCalcResult> result = postCalcOf(options, postCalc);
    if (!result)
        return exitFileError;
    return options.finish(parser, *result, postCalcText, postCalcCsv, postCalcJson);
}

} // namespace kalkora::cli
