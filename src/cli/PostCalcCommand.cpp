#include "cli/AnalysisOptions.h"
#include "cli/Commands.h"
#include "costing/PostCalcTables.h"
#include "files/PostCalcFile.h"

#include <optional>

namespace kalkora::cli {

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
    const std::optional<OrderFiles> orderFiles
        = options.orderFilesOr(parser, 4, postCalc.masterFile, postCalc.orderFile,
            QStringLiteral("„postcalc“ braucht STAMMDATEN und AUFTRAG oder eine Nachkalkulation, die beide nennt."));
    if (!orderFiles)
        return exitUsageError;
    if (auto status = options.load(*orderFiles))
        return *status;
    // A quote file named is needed here: the comparison is what was asked for.
    const files::PostCalcOutcome outcome = files::costPostCalc(postCalc, options.order, options.plantData);
    if (!outcome.result || outcome.quoteUnreadable) {
        printMessage(outcome.result ? QString::fromStdString(outcome.result->noQuoteReason) : outcome.error);
        return exitFileError;
    }
    return options.finish(parser, *outcome.result, postCalcText, postCalcCsv, postCalcJson);
}

} // namespace kalkora::cli
