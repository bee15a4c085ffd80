#include "cli/CliCommands.h"

#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include <QLatin1String>

#include <string>

namespace kalkora::cli {

namespace {

struct Command {
    const char* name;
    const char* usage; // the arguments, continued lines aligned under the first
    const char* summary; // UTF-8
    int (*run)(const QStringList& arguments);
};

const Command commands[] = {
    { "report",
        "MASTER.sta ORDER.auf [--dm-master] [--dm-order] [--locale de|c]\n"
        "                     [--date YYYY-MM-DD] [--raw] [--pdf FILE] [-o FILE]",
        "kalkuliert den Auftrag mit den Stammdaten und gibt den Bericht aus", runReport },
    { "to-json", "FILE [--dm] [--kind master|order]", "gibt Stammdaten (.sta) oder einen Auftrag (.auf) als JSON aus",
        runToJson },
    { "from-json", "FILE.json OUT", "schreibt Stammdaten oder einen Auftrag aus JSON", runFromJson },
    { "convert-dm", "IN OUT [--kind master|order]", "rechnet eine alte DM-Datei in EUR um", runConvertDm },
    { "scale",
        "MASTER.sta ORDER.auf [--quantities 1,10,100] [--format text|csv|json]\n"
        "                    [--locale de|c] [--dm-master] [--dm-order] [-o FILE]",
        "Staffelpreise: Kosten je Stück für mehrere Mengen", runScale },
    { "breakdown",
        "MASTER.sta ORDER.auf [--format text|csv|json] [--locale de|c]\n"
        "                    [--dm-master] [--dm-order] [-o FILE]",
        "Kostenaufschlüsselung je Arbeitsgang und Auftrag", runBreakdown },
    { "quote",
        "[MASTER.sta ORDER.auf] [--angebot FILE.ang] [--quantities 1,10,100]\n"
        "                    [--admin P] [--sales P] [--profit P] [--cash-discount P] [--commission P]\n"
        "                    [--discount P] [--one-off EUR] [--sales-direct EUR] [--market-price EUR]\n"
        "                    [--vorgaben] [--format text|csv|json] [--locale de|c] [--dm-master]\n"
        "                    [--dm-order] [-o FILE]",
        "Angebotskalkulation: von den Herstellkosten zum Listenpreis je Menge", runQuote },
    { "assembly",
        "[MASTER.sta] ASSEMBLY.bgr [--quantities 1,10,100] [--format text|csv|json]\n"
        "                    [--locale de|c] [--dm-master] [--dm-order] [-o FILE]",
        "Baugruppe: Kosten des Erzeugnisses aus gefertigten und gekauften Teilen", runAssembly },
    { "postcalc",
        "[MASTER.sta ORDER.auf] FILE.nak [--format text|csv|json] [--locale de|c]\n"
        "                    [--dm-master] [--dm-order] [-o FILE]",
        "Nachkalkulation: Soll und Ist des gefertigten Auftrags, Gewinn gegen das Angebot", runPostCalc },
};

const char* const examplesAndStatuses = R"(
  kalkora-cli BEFEHL --help zeigt die Optionen eines Befehls.

Beispiele:
  kalkora-cli report werk.sta welle.auf --date 2024-03-01 -o bericht.txt
  kalkora-cli scale werk.sta welle.auf --quantities 1,10,100,1000
  kalkora-cli breakdown werk.sta welle.auf --format csv -o aufschluesselung.csv
  kalkora-cli quote werk.sta welle.auf --admin 12 --sales 6 --profit 15 --cash-discount 2 --discount 10
  kalkora-cli assembly fertigung.sta getriebe.bgr --quantities 1,100
  kalkora-cli postcalc welle.nak --format csv -o nachkalkulation.csv

Exit-Status: 0 Erfolg, 1 Dateifehler, 2 falscher Aufruf,
             3 Ergebnis geschrieben, aber Arbeitsgänge nicht berechnet.
)";

std::string usageText()
{
    std::string text = "Aufruf:\n";
    for (const Command& command : commands)
        text += std::string("  kalkora-cli ") + command.name + ' ' + command.usage + '\n';
    text += '\n';
    for (const Command& command : commands) {
        const std::string name = command.name;
        text += "  " + name + std::string(12 - name.size(), ' ') + command.summary + '\n';
    }
    return text + examplesAndStatuses;
}

QString commandList()
{
    QStringList names;
    for (const Command& command : commands)
        names << QLatin1String(command.name);
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" oder ") + last;
}

} // namespace

int runCli(const QStringList& arguments)
{
    const QString name = arguments.value(1);
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        writeToStdout(usageText());
        return exitSuccess;
    }
    for (const Command& command : commands) {
        if (name == QLatin1String(command.name))
            return command.run(arguments);
    }
    if (name.isEmpty())
        return usageError(QStringLiteral("Es fehlt ein Befehl: %1.").arg(commandList()));
    return usageError(QStringLiteral("Unbekannter Befehl „%1“.").arg(name));
}

} // namespace kalkora::cli
