#pragma once

#include <QStringList>

namespace kalkora::cli {

// Exit statuses of kalkora-cli.
enum ExitStatus : int {
    exitSuccess = 0,
    exitFileError = 1, // a file could not be read or written, or was damaged
    exitUsageError = 2, // wrong usage
    exitUncosted = 3, // the report was written, but an operation could not be costed
};

// Runs one command line; `arguments` starts with the program name.
int runCli(const QStringList& arguments);

} // namespace kalkora::cli
