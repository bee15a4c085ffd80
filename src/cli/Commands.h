#pragma once

#include <QStringList>

namespace kalkora::cli {

// The commands of kalkora-cli. Each parses its own options from `arguments`, which starts with
// the program name and the command, and returns the exit status.

int runReport(const QStringList& arguments); // ReportCommand.cpp
int runToJson(const QStringList& arguments); // ConversionCommands.cpp
int runFromJson(const QStringList& arguments);
int runConvertDm(const QStringList& arguments);
int runScale(const QStringList& arguments); // AnalysisCommands.cpp
int runBreakdown(const QStringList& arguments);
int runQuote(const QStringList& arguments); // QuoteCommand.cpp
int runAssembly(const QStringList& arguments); // AssemblyCommand.cpp
int runPostCalc(const QStringList& arguments); // PostCalcCommand.cpp

} // namespace kalkora::cli
