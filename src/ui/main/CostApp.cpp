#include "ui/main/CostApp.h"

#include "text/RuntimeLocale.h"
#include "ui/main/MainDlg.h"
#include "ui/main/RecoveryPrompt.h"

#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>

#include <cstdio>
#include <utility>

namespace kalkora::ui {

namespace {

QString helpText()
{
    return QStringLiteral("Aufruf: kalkora [Optionen] [DATEI.sta] [DATEI.auf] [DATEI.ang] [DATEI.nak]\n"
                          "Kalkora 1.0 EURO: Fertigungskostenberechnung.\n"
                          "\n"
                          "Beim Start werden die genannten Dateien geladen: zuerst die Stammdaten (.sta),\n"
                          "dann der Auftrag (.auf). Ohne Stammdaten wird zu einem Auftrag die zuletzt\n"
                          "geladene oder gespeicherte Stammdatendatei geladen.\n"
                          "\n"
                          "Optionen:\n"
                          "  -h, --help     Zeigt diese Hilfe an.\n"
                          "  -v, --version  Zeigt die Versionsnummer an.\n"
                          "\n"
                          "Argumente:\n"
                          "  DATEI.sta      Stammdaten, die beim Start geladen werden.\n"
                          "  DATEI.auf      Auftrag, der beim Start geöffnet wird.\n"
                          "  DATEI.ang      Angebot, das mit seinen Stammdaten und seinem Auftrag geöffnet wird.\n"
                          "  DATEI.nak      Nachkalkulation, die mit ihren Stammdaten und ihrem Auftrag geöffnet\n"
                          "                 wird.\n");
}

} // namespace

void printStartOutput(const StartRequest& request)
{
    for (const auto& [stream, text] :
        { std::pair { stdout, request.output }, std::pair { stderr, request.errorOutput } }) {
        if (!text.isEmpty()) {
            std::fputs(text.toLocal8Bit().constData(), stream);
            std::fflush(stream);
        }
    }
}

StartRequest parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help({ QStringLiteral("h"), QStringLiteral("help") }, QString());
    const QCommandLineOption version({ QStringLiteral("v"), QStringLiteral("version") }, QString());
    parser.addOption(help);
    parser.addOption(version);

    StartRequest request;
    if (!parser.parse(arguments)) {
        request.exitNow = true;
        request.exitCode = 2;
        const QStringList unknown = parser.unknownOptionNames();
        const QString problem = unknown.isEmpty()
            ? parser.errorText()
            : QStringLiteral("unbekannte Option „%1%2“")
                  .arg(unknown.constFirst().size() == 1 ? QStringLiteral("-") : QStringLiteral("--"),
                      unknown.constFirst());
        request.errorOutput = QStringLiteral("kalkora: %1\nWeitere Informationen mit „kalkora --help“.\n").arg(problem);
    } else if (parser.isSet(help)) {
        request.exitNow = true;
        request.output = helpText();
    } else if (parser.isSet(version)) {
        request.exitNow = true;
        request.output = QStringLiteral("kalkora %1\n").arg(QStringLiteral(KALKORA_VERSION));
    } else {
        request.files = parser.positionalArguments();
    }
    return request;
}

CCostApp::CCostApp(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("kalkora"));
    setApplicationVersion(QStringLiteral(KALKORA_VERSION));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // German numbers and dates from the start, so that a report never depends on whether a
    // data dialog has been opened before.
    text::setRuntimeLocale(text::RuntimeLocale::German);
    if (qtTranslator.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        installTranslator(&qtTranslator);
    }
}

int CCostApp::run()
{
    const StartRequest request = parseCommandLine(arguments());
    if (request.exitNow) {
        printStartOutput(request);
        return request.exitCode;
    }
    CMainDlg mainDlg;
    // Other top-level windows, such as the help window, do not keep the program alive.
    connect(&mainDlg, &CMainDlg::ended, this, [] { QCoreApplication::exit(0); });
    RecoveryPrompt recovery(mainDlg);
    mainDlg.show();
    // The files load once the window is on the screen, so that their messages have it as owner.
    // What a crashed run left comes first: a file named at start then asks before replacing it.
    QTimer::singleShot(0, &mainDlg, [&mainDlg, &recovery, files = request.files] {
        recovery.offerRestore();
        mainDlg.OpenStartFiles(files);
        recovery.schedule();
    });
    exec();
    recovery.finish();
    return 0;
}

} // namespace kalkora::ui
