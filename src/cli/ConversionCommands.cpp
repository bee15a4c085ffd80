#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "files/DataFiles.h"
#include "files/JsonCodec.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

namespace kalkora::cli {

namespace {

enum class DataKind { MasterData, Order };

// The kind from --kind, else from the extension (.sta or .auf, any case).
std::optional<DataKind> dataKind(const QString& path, const QString& kindOption)
{
    if (!kindOption.isEmpty()) {
        if (kindOption == QLatin1String("master"))
            return DataKind::MasterData;
        if (kindOption == QLatin1String("order"))
            return DataKind::Order;
        return std::nullopt;
    }
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == QLatin1String("sta"))
        return DataKind::MasterData;
    if (extension == QLatin1String("auf"))
        return DataKind::Order;
    return std::nullopt;
}

int kindError(const QString& path, const QString& kindOption)
{
    if (!kindOption.isEmpty())
        return usageError(QStringLiteral("--kind erwartet „master“ oder „order“, nicht „%1“.").arg(kindOption));
    return usageError(
        QStringLiteral("Die Art der Datei „%1“ ist unbekannt: Endung .sta oder .auf oder --kind angeben.").arg(path));
}

int save(const files::FileResult& result)
{
    if (result.ok())
        return exitSuccess;
    printMessage(result.message);
    return exitFileError;
}

} // namespace

int runToJson(const QStringList& arguments)
{
    QCommandLineParser parser;
    describeCommand(
        parser, QStringLiteral("to-json"), QStringLiteral("Gibt Stammdaten oder einen Auftrag als JSON aus."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Stammdaten (.sta) oder Auftrag (.auf)"));
    const QCommandLineOption dm(QStringLiteral("dm"), QStringLiteral("von DM in EUR umrechnen"));
    const QCommandLineOption kind(
        QStringLiteral("kind"), QStringLiteral("Art der Datei"), QStringLiteral("master|order"));
    parser.addOptions({ dm, kind });
    if (auto status = parseCommand(parser, arguments, 1))
        return *status;

    const QString path = operand(parser, 0);
    const std::optional<DataKind> dataKindOfFile = dataKind(path, parser.value(kind));
    if (!dataKindOfFile)
        return kindError(path, parser.value(kind));
    if (*dataKindOfFile == DataKind::MasterData) {
        CPlantData plantData;
        if (!loadMasterData(path, parser.isSet(dm), plantData))
            return exitFileError;
        return writeOutput(files::masterDataToJson(plantData), QString());
    }
    COrder order;
    if (!loadOrder(path, parser.isSet(dm), order))
        return exitFileError;
    return writeOutput(files::orderToJson(order), QString());
}

namespace {

// Reads the JSON document of `path`; on failure prints why and returns nothing.
std::optional<QJsonObject> readJsonFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printMessage(files::cannotOpenMessage(path, file.errorString()));
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument document = files::parseJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        // One arg() call, so that a "%3" in the file name stays as it is.
        printMessage(
            QStringLiteral("Die Datei „%1“ ist kein gültiges JSON: %2 (Byte %3).")
                .arg(QFileInfo(path).fileName(), parseError.errorString(), QString::number(parseError.offset)));
        return std::nullopt;
    }
    if (!document.isObject()) {
        printMessage(QStringLiteral("Die Datei „%1“ enthält kein JSON-Objekt.").arg(QFileInfo(path).fileName()));
        return std::nullopt;
    }
    return document.object();
}

int jsonError(const QString& path, const QString& problem)
{
    printMessage(QStringLiteral("Fehler in „%1“: %2").arg(QFileInfo(path).fileName(), problem));
    return exitFileError;
}

} // namespace

int runFromJson(const QStringList& arguments)
{
    QCommandLineParser parser;
    describeCommand(
        parser, QStringLiteral("from-json"), QStringLiteral("Schreibt Stammdaten oder einen Auftrag aus JSON."));
    parser.addPositionalArgument(QStringLiteral("FILE.json"), QStringLiteral("JSON-Dokument"));
    parser.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("zu schreibende .sta- oder .auf-Datei"));
    if (auto status = parseCommand(parser, arguments, 2))
        return *status;

    const QString jsonPath = operand(parser, 0);
    const QString outPath = operand(parser, 1);
    const std::optional<QJsonObject> json = readJsonFile(jsonPath);
    if (!json)
        return exitFileError;
    const QString kind = json->value(QLatin1String("kind")).toString();
    if (kind == QLatin1String("master")) {
        CPlantData plantData;
        if (auto error = files::masterDataFromJson(*json, plantData))
            return jsonError(jsonPath, *error);
        return save(files::saveMasterData(outPath, plantData));
    }
    if (kind == QLatin1String("order")) {
        COrder order;
        if (auto error = files::orderFromJson(*json, order))
            return jsonError(jsonPath, *error);
        return save(files::saveOrder(outPath, order));
    }
    return jsonError(jsonPath, QStringLiteral("Schlüssel „kind“: „master“ oder „order“ erwartet."));
}

int runConvertDm(const QStringList& arguments)
{
    QCommandLineParser parser;
    describeCommand(
        parser, QStringLiteral("convert-dm"), QStringLiteral("Liest IN als alte DM-Datei und schreibt OUT in EUR."));
    parser.addPositionalArgument(QStringLiteral("IN"), QStringLiteral("alte DM-Datei"));
    parser.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("neue EUR-Datei"));
    const QCommandLineOption kind(
        QStringLiteral("kind"), QStringLiteral("Art der Datei"), QStringLiteral("master|order"));
    parser.addOption(kind);
    if (auto status = parseCommand(parser, arguments, 2))
        return *status;

    const QString inPath = operand(parser, 0);
    const QString outPath = operand(parser, 1);
    const std::optional<DataKind> dataKindOfFile = dataKind(inPath, parser.value(kind));
    if (!dataKindOfFile)
        return kindError(inPath, parser.value(kind));
    if (*dataKindOfFile == DataKind::MasterData) {
        CPlantData plantData;
        if (!loadMasterData(inPath, true, plantData))
            return exitFileError;
        return save(files::saveMasterData(outPath, plantData));
    }
    COrder order;
    if (!loadOrder(inPath, true, order))
        return exitFileError;
    return save(files::saveOrder(outPath, order));
}

} // namespace kalkora::cli
