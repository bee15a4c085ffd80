#include "cli/CliCommands.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kalkora-cli"));
    return kalkora::cli::runCli(QCoreApplication::arguments());
}
