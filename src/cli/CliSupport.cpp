#include "cli/CliSupport.h"

#include "files/DataFiles.h"
#include "model/DmConversion.h"
#include "text/Cp1252.h"

#include <cstdio>

namespace kalkora::cli {

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

std::optional<int> parseCommand(
    QCommandLineParser& parser, const QStringList& arguments, qsizetype operands, qsizetype maxOperands)
{
    const QCommandLineOption help = parser.addHelpOption();
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        writeToStdout(parser.helpText().toStdString());
        return exitSuccess;
    }
    const qsizetype given = parser.positionalArguments().size() - 1;
    if (given != operands && (given < operands || given > maxOperands))
        return usageError(QStringLiteral("Falsche Anzahl von Argumenten für „%1“.").arg(arguments.value(1)));
    return std::nullopt;
}

// The positional argument `i` after the command.
QString operand(const QCommandLineParser& parser, qsizetype i)
{
    return parser.positionalArguments().at(i + 1);
}

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

std::optional<text::RuntimeLocale> localeChoice(const QString& name)
{
    if (name == QLatin1String("de"))
        return text::RuntimeLocale::German;
    if (name == QLatin1String("c"))
        return text::RuntimeLocale::Default;
    usageError(QStringLiteral("--locale erwartet „de“ oder „c“, nicht „%1“.").arg(name));
    return std::nullopt;
}

bool loadMachinesMasterData(const QString& path, bool dm, CPlantData& plantData)
{
    if (!loadMasterData(path, dm, plantData))
        return false;
    if (plantData.machines.count() == 0) {
        printMessage(files::noMachinesMessage());
        return false;
    }
    return true;
}

bool loadOrderFiles(const OrderFiles& input, CPlantData& plantData, COrder& order)
{
    return loadMachinesMasterData(input.masterPath, input.dmMaster, plantData)
        && loadOrder(input.orderPath, input.dmOrder, order);
}

} // namespace kalkora::cli
