#pragma once

#include "cli/CliSupport.h"
#include "costing/AnalysisTables.h"
#include "costing/AssemblyCosting.h"
#include "costing/CostAnalysis.h"
#include "files/AssemblyFile.h"
#include "model/DmConversion.h"
#include "text/Cp1252.h"
#include "text/RuntimeLocale.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kalkora::cli {

enum class Format { Text, Csv, Json };

// The options scale, breakdown and quote share, and what they were given.
struct AnalysisOptions {
    QCommandLineOption dmMaster { QStringLiteral("dm-master"), QStringLiteral("Stammdaten von DM in EUR umrechnen") };
    QCommandLineOption dmOrder { QStringLiteral("dm-order"), QStringLiteral("Auftrag von DM in EUR umrechnen") };
    QCommandLineOption format { QStringLiteral("format"),
        QStringLiteral("Ausgabe als Tabelle (text), CSV für Tabellenkalkulationen (csv; mit --locale de "
                       "„;“, Dezimalkomma, UTF-8 mit Byte-Order-Mark) oder JSON (json)"),
        QStringLiteral("text|csv|json"), QStringLiteral("text") };
    QCommandLineOption locale { QStringLiteral("locale"), QStringLiteral("de: Dezimalkomma (Vorgabe), c: Dezimalpunkt"),
        QStringLiteral("de|c"), QStringLiteral("de") };
    QCommandLineOption output { QStringLiteral("o"), QStringLiteral("in eine Datei statt auf stdout"),
        QStringLiteral("FILE") };

    Format chosenFormat = Format::Text;
    bool german = true;
    CPlantData plantData;
    COrder order;
    bool ofOrder = true; // false: the result is not of one order, which then has no warning

    void addTo(QCommandLineParser& parser) const
    {
        parser.addPositionalArgument(QStringLiteral("MASTER"), QStringLiteral("Stammdaten (.sta)"));
        parser.addPositionalArgument(QStringLiteral("ORDER"), QStringLiteral("Auftrag (.auf)"));
        addOptionsTo(parser);
    }
    void addOptionsTo(QCommandLineParser& parser) const
    {
        parser.addOptions({ dmMaster, dmOrder, format, locale, output });
    }

    // Checks --format and --locale; returns an exit status on wrong usage. Where `pdfChosen` is
    // given, "pdf" is a format too and sets it.
    std::optional<int> readChoices(const QCommandLineParser& parser, bool* pdfChosen = nullptr)
    {
        const bool pdfAllowed = pdfChosen != nullptr;
        const QString formatName = parser.value(format);
        if (formatName == QLatin1String("text"))
            chosenFormat = Format::Text;
        else if (formatName == QLatin1String("csv"))
            chosenFormat = Format::Csv;
        else if (formatName == QLatin1String("json"))
            chosenFormat = Format::Json;
        else if (formatName == QLatin1String("pdf") && pdfAllowed)
            *pdfChosen = true;
        else if (pdfAllowed)
            return usageError(
                QStringLiteral("--format erwartet „text“, „csv“, „json“ oder „pdf“, nicht „%1“.").arg(formatName));
        else
            return usageError(
                QStringLiteral("--format erwartet „text“, „csv“ oder „json“, nicht „%1“.").arg(formatName));
        const std::optional<text::RuntimeLocale> chosenLocale = localeChoice(parser.value(locale));
        if (!chosenLocale)
            return exitUsageError;
        german = *chosenLocale == text::RuntimeLocale::German;
        return std::nullopt;
    }

    // The two files named on the command line.
    OrderFiles orderFiles(const QCommandLineParser& parser) const
    {
        return { operand(parser, 0), operand(parser, 1), parser.isSet(dmMaster), parser.isSet(dmOrder) };
    }

    // MASTER and ORDER from the command line where it has `positionals` arguments (the command
    // among them), else the two a document names; nothing after the usage message `missing`
    // where neither gives both.
    std::optional<OrderFiles> orderFilesOr(const QCommandLineParser& parser, qsizetype positionals,
        const QString& masterPath, const QString& orderPath, const QString& missing) const
    {
        OrderFiles files { masterPath, orderPath, parser.isSet(dmMaster), parser.isSet(dmOrder) };
        if (parser.positionalArguments().size() == positionals) {
            files.masterPath = operand(parser, 0);
            files.orderPath = operand(parser, 1);
        }
        if (files.masterPath.isEmpty() || files.orderPath.isEmpty()) {
            usageError(missing);
            return std::nullopt;
        }
        return files;
    }

    // Loads master data and order as the report command does; returns an exit status on failure.
    std::optional<int> load(const OrderFiles& files)
    {
        if (!loadOrderFiles(files, plantData, order))
            return exitFileError;
        useLocale();
        return std::nullopt;
    }

    // Master data to cost with, then the assembly at `assemblyPath` and every file it names, the
    // DM warning of the orders once before the first; returns an exit status on failure.
    std::optional<int> loadAssembly(
        const QCommandLineParser& parser, const QString& masterPath, const QString& assemblyPath, AssemblyTree& tree)
    {
        ofOrder = false;
        if (!loadMachinesMasterData(masterPath, parser.isSet(dmMaster), plantData))
            return exitFileError;
        const bool dm = parser.isSet(dmOrder);
        const files::FileResult loaded = files::loadAssemblyTree(assemblyPath, dm ? dmToEurFactor : 1.0f, tree, [dm] {
            if (dm)
                printMessage(files::dmOrderWarning());
        });
        if (!loaded.ok()) {
            printMessage(loaded.message);
            return exitFileError;
        }
        useLocale();
        return std::nullopt;
    }

    void useLocale() const
    {
        text::setRuntimeLocale(german ? text::RuntimeLocale::German : text::RuntimeLocale::Default);
    }

    // The messages of `result` and the order's warning, on stderr.
    template <typename Result> void reportMessages(const Result& result) const
    {
        for (const std::string& message : result.messages)
            printCp1252Message(message);
        if (const std::string warning = ofOrder ? orderWarning(order) : std::string(); !warning.empty())
            printMessage(QString::fromStdString(warning));
    }

    // Writes `result` in the chosen format (text: the table `asText` gives, as UTF-8 with LF;
    // CSV in the chosen dialect); exit status 3 when operations were left out.
    template <typename Result>
    int finish(const QCommandLineParser& parser, const Result& result,
        std::string (*asText)(const Result&, text::NumberStyle), std::string (*asCsv)(const Result&, CsvDialect),
        std::string (*asJson)(const Result&)) const
    {
        reportMessages(result);
        std::string bytes;
        switch (chosenFormat) {
        case Format::Text:
            bytes = withUnixLineBreaks(text::cp1252ToUtf8(asText(result, text::NumberStyle::printed(german))));
            break;
        case Format::Csv:
            bytes = asCsv(result, german ? CsvDialect::German : CsvDialect::Standard);
            break;
        case Format::Json:
            bytes = asJson(result);
            break;
        }
        if (int status = writeOutput(bytes, parser.value(output)))
            return status;
        return result.complete() ? exitSuccess : exitUncosted;
    }
};

// --quantities of the commands on the price scale, and the scale at those quantities.
struct QuantityOption {
    QCommandLineOption option { QStringLiteral("quantities"),
        QStringLiteral("Mengen, durch Kommas getrennt (Vorgabe: 1, 10, 25, 50, 100, "
                       "250, 500, 1000 und die Stückzahlbasis des Auftrags)"),
        QStringLiteral("1,10,100") };
    std::optional<std::vector<std::int32_t>> given;

    void addTo(QCommandLineParser& parser) const { parser.addOption(option); }

    // Returns an exit status on wrong usage.
    std::optional<int> read(const QCommandLineParser& parser)
    {
        if (!parser.isSet(option))
            return std::nullopt;
        std::string error;
        if (!parseQuantities(parser.value(option).toStdString(), QuantityDialect::CommandLine, given.emplace(), error))
            return usageError(QStringLiteral("--quantities: ") + QString::fromStdString(error));
        return std::nullopt;
    }

    // Nothing after saying why when the assembly cannot be costed.
    std::optional<AssemblyCosting> costingOf(const AssemblyTree& tree, const CPlantData& plantData) const
    {
        try {
            return costAssembly(tree, plantData, given.value_or(defaultQuantities(tree.root->assembly.quantityBase)));
        } catch (const AssemblyError& error) {
            printMessage(QString::fromStdString(error.what()));
            return std::nullopt;
        }
    }

    // Nothing after saying why when the scale cannot be computed.
    std::optional<PriceScale> scaleOf(const AnalysisOptions& options) const
    {
        try {
            return computePriceScale(
                options.order, options.plantData, given.value_or(defaultQuantities(options.order.quantityBase)));
        } catch (const PriceScaleError& error) {
            printMessage(QString::fromStdString(error.what()));
            return std::nullopt;
        }
    }
};

} // namespace kalkora::cli
