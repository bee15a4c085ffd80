#pragma once

#include "model/COrder.h"
#include "model/CPlantData.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <string_view>

namespace kalkora::cli {

// What the commands of kalkora-cli share: messages, output, argument parsing and loading.

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
// parseCommand returns an exit status when the command must end here (help or wrong usage).
void describeCommand(QCommandLineParser& parser, const QString& command, const QString& description);
std::optional<int> parseCommand(QCommandLineParser& parser, const QStringList& arguments, qsizetype operands);
QString operand(const QCommandLineParser& parser, qsizetype i);

// Loads as the desktop program's file commands do, messages on stderr; `dm` converts from DM.
bool loadMasterData(const QString& path, bool dm, CPlantData& plantData);
bool loadOrder(const QString& path, bool dm, COrder& order);

} // namespace kalkora::cli
