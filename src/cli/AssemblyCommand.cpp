#include "cli/AnalysisOptions.h"
#include "cli/Commands.h"
#include "costing/AssemblyTables.h"
#include "files/AssemblyFile.h"

#include <QFileInfo>

namespace kalkora::cli {

namespace {

// The master data given, or else the one the assembly names; empty after saying why.
QString masterPathOf(const QCommandLineParser& parser, const QString& assemblyPath)
{
    if (parser.positionalArguments().size() == 3)
        return operand(parser, 0);
    Assembly assembly;
    if (const files::FileResult read = files::loadAssembly(assemblyPath, assembly); !read.ok()) {
        printMessage(read.message);
        return {};
    }
    if (assembly.masterFile.empty()) {
        printMessage(QStringLiteral("Die Baugruppe „%1“ nennt keine Stammdaten; geben Sie MASTER an.")
                         .arg(QFileInfo(assemblyPath).fileName()));
        return {};
    }
    return files::namedMasterData(assembly, assemblyPath);
}

} // namespace

int runAssembly(const QStringList& arguments)
{
    QCommandLineParser parser;
    describeCommand(parser, QStringLiteral("assembly"),
        QStringLiteral("Baugruppe: Vollkosten und direkte Kosten je Stück und gesamt der Baugruppe ASSEMBLY "
                       "für mehrere Mengen, mit jeder Komponente bei der Menge, in der sie gebraucht wird. "
                       "Ohne MASTER gelten die Stammdaten, die die Baugruppe nennt."));
    AnalysisOptions options;
    parser.addPositionalArgument(QStringLiteral("[MASTER]"), QStringLiteral("Stammdaten (.sta)"));
    parser.addPositionalArgument(QStringLiteral("ASSEMBLY"), QStringLiteral("Baugruppe (.bgr)"));
    options.addOptionsTo(parser);
    QuantityOption quantities;
    quantities.addTo(parser);
    if (auto status = parseCommand(parser, arguments, 1, 2))
        return *status;
    if (auto status = options.readChoices(parser))
        return *status;
    if (auto status = quantities.read(parser))
        return *status;

    const QString assemblyPath = operand(parser, parser.positionalArguments().size() - 2);
    const QString masterPath = masterPathOf(parser, assemblyPath);
    if (masterPath.isEmpty())
        return exitFileError;
    AssemblyTree tree;
    if (auto status = options.loadAssembly(parser, masterPath, assemblyPath, tree))
        return *status;
    const std::optional<AssemblyCosting> costing = quantities.costingOf(tree, options.plantData);
    if (!costing)
        return exitFileError;
    return options.finish(parser, *costing, assemblyText, assemblyCsv, assemblyJson);
}

} // namespace kalkora::cli
