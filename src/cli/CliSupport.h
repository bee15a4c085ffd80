#pragma once

#include "model/COrder.h"
#include "model/CPlantData.h"
#include "text/RuntimeLocale.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalkora::cli {

// What the commands of kalkora-cli share: exit statuses, messages, output, argument parsing and
// the loading of master data and orders. Every command builds on this; the command table
// (CliCommands) sits on top of the commands.

enum ExitStatus : int {
    exitSuccess = 0,
    exitFileError = 1, // a file could not be read or written, or was damaged
    exitUsageError = 2, // wrong usage
    exitUncosted = 3, // the result was written, but an operation could not be costed or priced
};

// CR LF written as LF.
std::string withUnixLineBreaks(std::string_view text);

// A message on stderr in UTF-8, on its own line.
void printMessage(const QString& message);
void printCp1252Message(std::string_view message);

// Prints the problem and a hint to --help; returns the exit status of wrong usage.
int usageError(const QString& problem);

bool writeToStdout(std::string_view bytes);
// Writes to the file `outPath`, or to stdout when it is empty; returns an exit status.
int writeOutput(std::string_view bytes, const QString& outPath);

// The parser of one command; `operands` counts the positional arguments after the command.
// parseCommand returns an exit status when the command must end here (help or wrong usage);
// `maxOperands` above `operands` lets the last ones be left out.
void describeCommand(QCommandLineParser& parser, const QString& command, const QString& description);
std::optional<int> parseCommand(
    QCommandLineParser& parser, const QStringList& arguments, qsizetype operands, qsizetype maxOperands = -1);
QString operand(const QCommandLineParser& parser, qsizetype i);

// The value of --locale, "de" or "c"; nothing after a usage message otherwise.
std::optional<text::RuntimeLocale> localeChoice(const QString& name);

// Loads as the desktop program's file commands do, messages on stderr; `dm` converts from DM.
bool loadMasterData(const QString& path, bool dm, CPlantData& plantData);
bool loadOrder(const QString& path, bool dm, COrder& order);

// Master data to cost with, which must hold a machine; false after saying why.
bool loadMachinesMasterData(const QString& path, bool dm, CPlantData& plantData);

// Master data and an order to cost: the master data first, which must hold a machine, then the
// order. Returns false after saying why.
struct OrderFiles {
    QString masterPath;
    QString orderPath;
    bool dmMaster = false;
    bool dmOrder = false;
};
bool loadOrderFiles(const OrderFiles& input, CPlantData& plantData, COrder& order);

} // namespace kalkora::cli
