#include "cli/CliCommands.h"

#include "cli/AnalysisCommands.h"
#include "cli/CliSupport.h"
#include "cli/JsonCodec.h"
#include "cli/PdfOutput.h"
#include "costing/OrderCosting.h"
#include "files/DataFiles.h"
#include "model/DmConversion.h"
#include "text/Cp1252.h"
#include "text/PrintDate.h"
#include "text/RuntimeLocale.h"

#include <QCommandLineParser>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace kalkora::cli {

namespace {

enum class DataKind { MasterData, Order };

const char* const usageText = R"(Aufruf:
  kalkora-cli report MASTER.sta ORDER.auf [--dm-master] [--dm-order] [--locale de|c]
                     [--date YYYY-MM-DD] [--raw] [--pdf FILE] [-o FILE]
  kalkora-cli to-json FILE [--dm] [--kind master|order]
  kalkora-cli from-json FILE.json OUT
  kalkora-cli convert-dm IN OUT [--kind master|order]
  kalkora-cli scale MASTER.sta ORDER.auf [--quantities 1,10,100] [--format text|csv|json]
                    [--locale de|c] [--dm-master] [--dm-order] [-o FILE]
  kalkora-cli breakdown MASTER.sta ORDER.auf [--format text|csv|json] [--locale de|c]
                    [--dm-master] [--dm-order] [-o FILE]

  report      kalkuliert den Auftrag mit den Stammdaten und gibt den Bericht aus
  to-json     gibt Stammdaten (.sta) oder einen Auftrag (.auf) als JSON aus
  from-json   schreibt Stammdaten oder einen Auftrag aus JSON
  convert-dm  rechnet eine alte DM-Datei in EUR um
  scale       Staffelpreise: Kosten je Stück für mehrere Mengen
  breakdown   Kostenaufschlüsselung je Arbeitsgang und Auftrag

  kalkora-cli BEFEHL --help zeigt die Optionen eines Befehls.

Beispiele:
  kalkora-cli report werk.sta welle.auf --date 2024-03-01 -o bericht.txt
  kalkora-cli scale werk.sta welle.auf --quantities 1,10,100,1000
  kalkora-cli breakdown werk.sta welle.auf --format csv -o aufschluesselung.csv

Exit-Status: 0 Erfolg, 1 Dateifehler, 2 falscher Aufruf,
             3 Ergebnis geschrieben, aber Arbeitsgänge nicht berechnet.
)";

} // namespace

// Messages go to stderr in UTF-8, each on its own line, with CR LF written as LF.
std::string withUnixLineBreaks(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        result += text[i];
    }
    return result;
}

void printMessage(const QString& message)
{
    const std::string line = withUnixLineBreaks(message.toStdString()) + '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

void printCp1252Message(std::string_view message)
{
    printMessage(QString::fromStdString(text::cp1252ToUtf8(message)));
}

int usageError(const QString& problem)
{
    printMessage(problem);
    printMessage(QStringLiteral("„kalkora-cli --help“ zeigt den Aufruf."));
    return exitUsageError;
}

bool writeToStdout(std::string_view bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0;
}

// Writes to the file `outPath`, or to stdout when it is empty.
int writeOutput(std::string_view bytes, const QString& outPath)
{
    if (outPath.isEmpty()) {
        if (writeToStdout(bytes))
            return exitSuccess;
        printMessage(QStringLiteral("Die Ausgabe konnte nicht geschrieben werden."));
        return exitFileError;
    }
    const files::FileResult result = files::saveBytes(outPath, bytes);
    if (result.ok())
        return exitSuccess;
    printMessage(result.message);
    return exitFileError;
}

// The parser of one command. The command stays the first positional argument, so that the
// help text shows it in its usage line.
void describeCommand(QCommandLineParser& parser, const QString& command, const QString& description)
{
    parser.setApplicationDescription(description);
    parser.addPositionalArgument(command, QStringLiteral("Befehl"));
}

// Parses the arguments of one command; returns an exit status when the command must end here.
// `operands` counts the positional arguments after the command.
std::optional<int> parseCommand(QCommandLineParser& parser, const QStringList& arguments, qsizetype operands)
{
    const QCommandLineOption help = parser.addHelpOption();
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        writeToStdout(parser.helpText().toStdString());
        return exitSuccess;
    }
    if (parser.positionalArguments().size() != operands + 1)
        return usageError(QStringLiteral("Falsche Anzahl von Argumenten für „%1“.").arg(arguments.value(1)));
    return std::nullopt;
}

// The positional argument `i` after the command.
QString operand(const QCommandLineParser& parser, qsizetype i)
{
    return parser.positionalArguments().at(i + 1);
}

namespace {

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

} // namespace

// Loads like the desktop program's file commands, with the DM warning first when `dm` is set.
bool loadMasterData(const QString& path, bool dm, CPlantData& plantData)
{
    if (dm)
        printMessage(files::dmMasterDataWarning());
    const files::FileResult result = files::loadMasterData(path, dm ? dmToEurFactor : 1.0f, plantData);
    if (!result.ok())
        printMessage(result.message);
    return result.ok();
}

bool loadOrder(const QString& path, bool dm, COrder& order)
{
    if (dm)
        printMessage(files::dmOrderWarning());
    const files::FileResult result = files::loadOrder(path, dm ? dmToEurFactor : 1.0f, order);
    if (!result.ok())
        printMessage(result.message);
    return result.ok();
}

namespace {

int save(const files::FileResult& result)
{
    if (result.ok())
        return exitSuccess;
    printMessage(result.message);
    return exitFileError;
}

std::optional<text::PrintDate> parseDate(const QString& value)
{
    const QDate date = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        return std::nullopt;
    return text::PrintDate { date.year(), date.month(), date.day() };
}

// What `report` was asked to do.
struct ReportOptions {
    QString masterPath;
    QString orderPath;
    bool dmMaster = false;
    bool dmOrder = false;
    text::RuntimeLocale locale = text::RuntimeLocale::German;
    text::PrintDate printDate;
    bool raw = false;
    QString pdfPath; // empty: no PDF
    QString outputPath; // empty: stdout
};

// Parses the command line of `report`; returns an exit status when the command must end here.
std::optional<int> parseReportArguments(const QStringList& arguments, ReportOptions& options)
{
    QCommandLineParser parser;
    describeCommand(
        parser, QStringLiteral("report"), QStringLiteral("Kalkuliert den Auftrag ORDER mit den Stammdaten MASTER."));
    parser.addPositionalArgument(QStringLiteral("MASTER"), QStringLiteral("Stammdaten (.sta)"));
    parser.addPositionalArgument(QStringLiteral("ORDER"), QStringLiteral("Auftrag (.auf)"));
    const QCommandLineOption dmMaster(
        QStringLiteral("dm-master"), QStringLiteral("Stammdaten von DM in EUR umrechnen"));
    const QCommandLineOption dmOrder(QStringLiteral("dm-order"), QStringLiteral("Auftrag von DM in EUR umrechnen"));
    const QCommandLineOption locale(QStringLiteral("locale"), QStringLiteral("de (Dezimalkomma) oder c (Dezimalpunkt)"),
        QStringLiteral("de|c"), QStringLiteral("de"));
    const QCommandLineOption date(
        QStringLiteral("date"), QStringLiteral("Druckdatum (Vorgabe: heute)"), QStringLiteral("YYYY-MM-DD"));
    const QCommandLineOption raw(QStringLiteral("raw"), QStringLiteral("Bericht unverändert (Windows-1252, CR LF)"));
    const QCommandLineOption pdf(QStringLiteral("pdf"), QStringLiteral("Bericht auch als PDF"), QStringLiteral("FILE"));
    const QCommandLineOption output(
        QStringLiteral("o"), QStringLiteral("in eine Datei statt auf stdout"), QStringLiteral("FILE"));
    parser.addOptions({ dmMaster, dmOrder, locale, date, raw, pdf, output });
    if (auto status = parseCommand(parser, arguments, 2))
        return *status;

    if (parser.isSet(pdf) && !pdfSupported())
        return usageError(QStringLiteral("--pdf ist in diesem Build nicht verfügbar: kalkora-cli wurde ohne den Druck "
                                         "des Desktop-Programms gebaut."));
    const QString localeName = parser.value(locale);
    if (localeName != QLatin1String("de") && localeName != QLatin1String("c"))
        return usageError(QStringLiteral("--locale erwartet „de“ oder „c“, nicht „%1“.").arg(localeName));
    std::optional<text::PrintDate> printDate = text::PrintDate::today();
    if (parser.isSet(date))
        printDate = parseDate(parser.value(date));
    if (!printDate)
        return usageError(QStringLiteral("--date erwartet ein Datum JJJJ-MM-TT, nicht „%1“.").arg(parser.value(date)));

    options.masterPath = operand(parser, 0);
    options.orderPath = operand(parser, 1);
    options.dmMaster = parser.isSet(dmMaster);
    options.dmOrder = parser.isSet(dmOrder);
    options.locale = localeName == QLatin1String("de") ? text::RuntimeLocale::German : text::RuntimeLocale::Default;
    options.printDate = *printDate;
    options.raw = parser.isSet(raw);
    options.pdfPath = parser.value(pdf);
    options.outputPath = parser.value(output);
    return std::nullopt;
}

// Loads the two files as the desktop program does and costs the order; nothing when a file
// could not be loaded (after saying why). The data is freed before the report is written.
std::optional<CostingResult> costFromFiles(const ReportOptions& options)
{
    CPlantData plantData;
    if (!loadMasterData(options.masterPath, options.dmMaster, plantData))
        return std::nullopt;
    if (plantData.machines.count() == 0) {
        printMessage(files::noMachinesMessage());
        return std::nullopt;
    }
    COrder order;
    if (!loadOrder(options.orderPath, options.dmOrder, order))
        return std::nullopt;

    text::setRuntimeLocale(options.locale);
    const std::string orderFileName = text::utf16ToCp1252(QFileInfo(options.orderPath).fileName().toStdU16String());
    return costOrder(order, plantData, orderFileName, options.printDate);
}

// The report as written without --raw: UTF-8 with every CR LF as LF, in one pass.
std::string unixUtf8(std::string_view cp1252)
{
    std::string out;
    out.reserve(cp1252.size()); // the line breaks save more than the umlauts add
    const char* p = cp1252.data();
    const char* const end = p + cp1252.size();
    while (p != end) {
        const char* plain = p;
        while (p != end && *p != '\r' && static_cast<unsigned char>(*p) < 0x80)
            ++p;
        out.append(plain, p);
        if (p == end)
            break;
        if (*p != '\r')
            out += text::cp1252ToUtf8(std::string_view(p, 1));
        else if (p + 1 == end || p[1] != '\n')
            out += '\r';
        ++p;
    }
    return out;
}

// Writes the PDF, if asked for, then the report text; returns the exit status. The PDF comes
// first, so that a failure leaves nothing on stdout.
int writeReport(std::string reportText, const ReportOptions& options)
{
    if (!options.pdfPath.isEmpty() && !writeReportPdf(reportText, options.pdfPath)) {
        printMessage(QStringLiteral("Die PDF-Datei „%1“ kann nicht geschrieben werden.")
                         .arg(QFileInfo(options.pdfPath).fileName()));
        return exitFileError;
    }
    if (!options.raw)
        reportText = unixUtf8(reportText);
    return writeOutput(reportText, options.outputPath);
}

int runReport(const QStringList& arguments)
{
    ReportOptions options;
    if (auto status = parseReportArguments(arguments, options))
        return *status;
    std::optional<CostingResult> result = costFromFiles(options);
    if (!result)
        return exitFileError;
    for (const std::string& message : result->messages)
        printCp1252Message(message);
    if (int status = writeReport(std::move(result->reportText), options))
        return status;
    return result->uncostedOperations > 0 ? exitUncosted : exitSuccess;
}

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
        return writeOutput(masterDataToJson(plantData), QString());
    }
    COrder order;
    if (!loadOrder(path, parser.isSet(dm), order))
        return exitFileError;
    return writeOutput(orderToJson(order), QString());
}

// Reads the JSON document of `path`; on failure prints why and returns nothing.
std::optional<QJsonObject> readJsonFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printMessage(files::cannotOpenMessage(path, file.errorString()));
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument document = parseJson(file.readAll(), &parseError);
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
        if (auto error = masterDataFromJson(*json, plantData))
            return jsonError(jsonPath, *error);
        return save(files::saveMasterData(outPath, plantData));
    }
    if (kind == QLatin1String("order")) {
        COrder order;
        if (auto error = orderFromJson(*json, order))
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

} // namespace

int runCli(const QStringList& arguments)
{
    const QString command = arguments.value(1);
    if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help")) {
        writeToStdout(usageText);
        return exitSuccess;
    }
    // Each command parses its own options; it sees the command line with the program name first.
    if (command == QLatin1String("report"))
        return runReport(arguments);
    if (command == QLatin1String("to-json"))
        return runToJson(arguments);
    if (command == QLatin1String("from-json"))
        return runFromJson(arguments);
    if (command == QLatin1String("convert-dm"))
        return runConvertDm(arguments);
    if (command == QLatin1String("scale"))
        return runScale(arguments);
    if (command == QLatin1String("breakdown"))
        return runBreakdown(arguments);
    if (command.isEmpty())
        return usageError(QStringLiteral("Es fehlt ein Befehl: report, to-json, from-json, convert-dm, scale oder breakdown."));
    return usageError(QStringLiteral("Unbekannter Befehl „%1“.").arg(command));
}

} // namespace kalkora::cli
