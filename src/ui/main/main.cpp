#include "ui/main/CostApp.h"

int main(int argc, char** argv)
{
    // --help and --version answer without a display, as in a terminal or a build without X.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    if (const kalkora::ui::StartRequest request = kalkora::ui::parseCommandLine(arguments);
        request.exitNow && request.exitCode == 0) {
        kalkora::ui::printStartOutput(request);
        return 0;
    }
    kalkora::ui::CCostApp app(argc, argv);
    return app.run();
}
