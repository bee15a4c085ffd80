#include "cli/CliCommands.h"
#include "cli/PdfOutput.h"

#include <cstring>

namespace {

bool writesPdf(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--pdf") == 0 || std::strncmp(argv[i], "--pdf=", 6) == 0)
            return true;
        if (std::strcmp(argv[i], "--format=pdf") == 0
            || (std::strcmp(argv[i], "--format") == 0 && i + 1 < argc && std::strcmp(argv[i + 1], "pdf") == 0))
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    const auto app = kalkora::cli::createApplication(argc, argv, writesPdf(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("kalkora-cli"));
    return kalkora::cli::runCli(QCoreApplication::arguments());
}
