#pragma once

// cli: kalkora-cli, batch costing, analysis, pricing and file conversion on the same loader,
// saver and costing as the desktop program. CliSupport holds what every command shares, each
// command file one group of commands, and CliCommands the table that dispatches to them. Uses
// src/files, src/costing and, for PDF output only, src/print.

#include <QStringList>

namespace kalkora::cli {

// Runs one command line; `arguments` starts with the program name. Returns the exit status.
int runCli(const QStringList& arguments);

} // namespace kalkora::cli
