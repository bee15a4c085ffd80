#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/PdfOutput.h"
#include "costing/OrderCosting.h"
#include "text/Cp1252.h"
#include "text/PrintDate.h"
#include "text/RuntimeLocale.h"

#include <QCommandLineParser>
#include <QDate>
#include <QFileInfo>

#include <optional>
#include <string>
#include <string_view>

namespace kalkora::cli {

namespace {

std::optional<text::PrintDate> parseDate(const QString& value)
{
    const QDate date = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        return std::nullopt;
    return text::PrintDate { date.year(), date.month(), date.day() };
}

// What `report` was asked to do.
struct ReportOptions {
    OrderFiles files;
    text::RuntimeLocale locale = text::RuntimeLocale::German;
    text::PrintDate printDate;
    bool raw = false;
    QString pdfPath; // empty: no PDF
    QString outputPath; // empty: stdout
};

// Parses the command line of `report`; returns an exit status when the command must end here.
std::optional<int> parseReportArguments(const QStringList& arguments, ReportOptions& options)
{
    QCommandLineParser parser;
    describeCommand(
        parser, QStringLiteral("report"), QStringLiteral("Kalkuliert den Auftrag ORDER mit den Stammdaten MASTER."));
    parser.addPositionalArgument(QStringLiteral("MASTER"), QStringLiteral("Stammdaten (.sta)"));
    parser.addPositionalArgument(QStringLiteral("ORDER"), QStringLiteral("Auftrag (.auf)"));
    const QCommandLineOption dmMaster(
        QStringLiteral("dm-master"), QStringLiteral("Stammdaten von DM in EUR umrechnen"));
    const QCommandLineOption dmOrder(QStringLiteral("dm-order"), QStringLiteral("Auftrag von DM in EUR umrechnen"));
    const QCommandLineOption locale(QStringLiteral("locale"), QStringLiteral("de (Dezimalkomma) oder c (Dezimalpunkt)"),
        QStringLiteral("de|c"), QStringLiteral("de"));
    const QCommandLineOption date(
        QStringLiteral("date"), QStringLiteral("Druckdatum (Vorgabe: heute)"), QStringLiteral("YYYY-MM-DD"));
    const QCommandLineOption raw(QStringLiteral("raw"), QStringLiteral("Bericht unverändert (Windows-1252, CR LF)"));
    const QCommandLineOption pdf(QStringLiteral("pdf"), QStringLiteral("Bericht auch als PDF"), QStringLiteral("FILE"));
    const QCommandLineOption output(
        QStringLiteral("o"), QStringLiteral("in eine Datei statt auf stdout"), QStringLiteral("FILE"));
    parser.addOptions({ dmMaster, dmOrder, locale, date, raw, pdf, output });
    if (auto status = parseCommand(parser, arguments, 2))
        return *status;

    if (parser.isSet(pdf) && !pdfSupported())
        return usageError(QStringLiteral("--pdf ist in diesem Build nicht verfügbar: kalkora-cli wurde ohne den Druck "
                                         "des Desktop-Programms gebaut."));
    const std::optional<text::RuntimeLocale> chosenLocale = localeChoice(parser.value(locale));
    if (!chosenLocale)
        return exitUsageError;
    std::optional<text::PrintDate> printDate = text::PrintDate::today();
    if (parser.isSet(date))
        printDate = parseDate(parser.value(date));
    if (!printDate)
        return usageError(QStringLiteral("--date erwartet ein Datum JJJJ-MM-TT, nicht „%1“.").arg(parser.value(date)));

    options.files = { operand(parser, 0), operand(parser, 1), parser.isSet(dmMaster), parser.isSet(dmOrder) };
    options.locale = *chosenLocale;
    options.printDate = *printDate;
    options.raw = parser.isSet(raw);
    options.pdfPath = parser.value(pdf);
    options.outputPath = parser.value(output);
    return std::nullopt;
}

// Loads the two files as the desktop program does and costs the order; nothing when a file
// could not be loaded (after saying why). The data is freed before the report is written.
std::optional<CostingResult> costFromFiles(const ReportOptions& options)
{
    CPlantData plantData;
    COrder order;
    if (!loadOrderFiles(options.files, plantData, order))
        return std::nullopt;

    text::setRuntimeLocale(options.locale);
    const std::string orderFileName
        = text::utf16ToCp1252(QFileInfo(options.files.orderPath).fileName().toStdU16String());
    return costOrder(order, plantData, orderFileName, options.printDate);
}

// The report as written without --raw: UTF-8 with every CR LF as LF, in one pass.
std::string unixUtf8(std::string_view cp1252)
{
    std::string out;
    out.reserve(cp1252.size()); // the line breaks save more than the umlauts add
    const char* p = cp1252.data();
    const char* const end = p + cp1252.size();
    while (p != end) {
        const char* plain = p;
        while (p != end && *p != '\r' && static_cast<unsigned char>(*p) < 0x80)
            ++p;
        out.append(plain, p);
        if (p == end)
            break;
        if (*p != '\r')
            out += text::cp1252ToUtf8(std::string_view(p, 1));
        else if (p + 1 == end || p[1] != '\n')
            out += '\r';
        ++p;
    }
    return out;
}

// Writes the PDF, if asked for, then the report text; returns the exit status. The PDF comes
// first, so that a failure leaves nothing on stdout.
int writeReport(std::string reportText, const ReportOptions& options)
{
    if (!options.pdfPath.isEmpty() && !writeReportPdf(reportText, options.pdfPath)) {
        printMessage(QStringLiteral("Die PDF-Datei „%1“ kann nicht geschrieben werden.")
                         .arg(QFileInfo(options.pdfPath).fileName()));
        return exitFileError;
    }
    if (!options.raw)
        reportText = unixUtf8(reportText);
    return writeOutput(reportText, options.outputPath);
}

} // namespace

int runReport(const QStringList& arguments)
{
    ReportOptions options;
    if (auto status = parseReportArguments(arguments, options))
        return *status;
    std::optional<CostingResult> result = costFromFiles(options);
    if (!result)
        return exitFileError;
    for (const std::string& message : result->messages)
        printCp1252Message(message);
    if (int status = writeReport(std::move(result->reportText), options))
        return status;
    return result->uncostedOperations > 0 ? exitUncosted : exitSuccess;
}

} // namespace kalkora::cli
