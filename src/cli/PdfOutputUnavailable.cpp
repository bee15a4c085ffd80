#include "cli/PdfOutput.h"

namespace kalkora::cli {

// This build has no desktop program and therefore no printing code.

bool pdfSupported()
{
    return false;
}

std::unique_ptr<QCoreApplication> createApplication(int& argc, char** argv, bool)
{
    return std::make_unique<QCoreApplication>(argc, argv);
}

bool writeReportPdf(const std::string&, const QString&)
{
    return false;
}

bool writeQuotePdf(const files::Offer&, const QString&)
{
    return false;
}

} // namespace kalkora::cli
