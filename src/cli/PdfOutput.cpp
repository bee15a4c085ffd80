#include "cli/PdfOutput.h"

#include "print/QuoteLetter.h"
#include "print/ReportPrinting.h"

#include <QGuiApplication>

namespace kalkora::cli {

bool pdfSupported()
{
    return true;
}

std::unique_ptr<QCoreApplication> createApplication(int& argc, char** argv, bool writesPdf)
{
    if (!writesPdf)
        return std::make_unique<QCoreApplication>(argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

bool writeReportPdf(const std::string& reportText, const QString& path)
{
    return report::writeReportPdf(reportText, path);
}

bool writeQuotePdf(const files::Offer& offer, const QString& path)
{
    return report::writeQuoteLetterPdf(report::quoteLetter(offer), path);
}

} // namespace kalkora::cli
