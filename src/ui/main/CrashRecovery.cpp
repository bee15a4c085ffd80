#include "ui/main/CrashRecovery.h"

#include "files/RecoveryFile.h"
#include "ui/common/UiServices.h"
#include "ui/main/MainDlg.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStandardPaths>

namespace kalkora::ui {

namespace {

const QString fileSuffix = QStringLiteral(".json");
const QString lockSuffix = QStringLiteral(".lock");

QString lockFor(const QString& recoveryFile)
{
    return recoveryFile.chopped(fileSuffix.size()) + lockSuffix;
}

} // namespace

QString CrashRecovery::defaultFolder()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    return QStandardPaths::writableLocation(QStandardPaths::GenericStateLocation) + QStringLiteral("/kalkora/recovery");
#else
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/recovery");
#endif
}

CrashRecovery::CrashRecovery(CMainDlg& mainDlg, const QString& folder)
    : mainDlg(mainDlg)
    , folder(QDir::cleanPath(folder))
    // The start time keeps the name apart from a crashed run that had the same process id.
    , ownName(QStringLiteral("recovery-%1-%2")
                  .arg(QCoreApplication::applicationPid())
                  .arg(QDateTime::currentMSecsSinceEpoch()))
{
    timer.setSingleShot(true);
    timer.setInterval(1000);
    connect(&timer, &QTimer::timeout, this, &CrashRecovery::writeNow);
    connect(&mainDlg, &CMainDlg::documentsChanged, this, &CrashRecovery::schedule);
    // Closing may save one document and then be cancelled.
    mainDlg.installEventFilter(this);
    // What is being typed in the order panel counts before its field is left.
    for (auto* field : mainDlg.panel().findChildren<QLineEdit*>()) {
        connect(field, &QLineEdit::textEdited, this, &CrashRecovery::schedule);
    }
    for (auto* field : mainDlg.panel().findChildren<QPlainTextEdit*>()) {
        connect(field, &QPlainTextEdit::textChanged, this, &CrashRecovery::schedule);
    }
}

CrashRecovery::~CrashRecovery() = default;

QString CrashRecovery::ownFile() const
{
    return folder + QLatin1Char('/') + ownName + fileSuffix;
}

bool CrashRecovery::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Close) {
        schedule();
    }
    return QObject::eventFilter(watched, event);
}

void CrashRecovery::schedule()
{
    // Not restarted by every key: while the user types, the file follows once a second.
    if (!finished && !timer.isActive()) {
        timer.start();
    }
}

void CrashRecovery::finish()
{
    finished = true;
    timer.stop();
    QFile::remove(ownFile());
    ownLock.reset();
}

bool CrashRecovery::lockOwnFile()
{
    if (ownLock) {
        return true;
    }
    if (!QDir().mkpath(folder)) {
        reportOnce(QStringLiteral("Der Ordner „%1“ kann nicht angelegt werden.").arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    auto lock = std::make_unique<QLockFile>(folder + QLatin1Char('/') + ownName + lockSuffix);
    if (!lock->tryLock(0)) {
        reportOnce(
            QStringLiteral("Im Ordner „%1“ kann keine Datei angelegt werden.").arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    ownLock = std::move(lock);
    return true;
}

bool CrashRecovery::writeNow()
{
    if (finished) {
        return false;
    }
    files::RecoveryData state = mainDlg.session().recoveryState(mainDlg.panel().orderWithPendingField());
    if (!state.hasUnsavedChanges()) {
        QFile::remove(ownFile());
        return true;
    }
    if (!lockOwnFile()) {
        return false;
    }
    state.written = QDateTime::currentDateTime();
    if (const auto problem = files::saveRecovery(ownFile(), state)) {
        reportOnce(*problem);
        return false;
    }
    return true;
}

void CrashRecovery::reportOnce(const QString& reason)
{
    // Said once per run; the program works on, and a later write may succeed again.
    if (reported) {
        return;
    }
    reported = true;
    uiServices().showMessage(&mainDlg,
        QStringLiteral(
            "Die Daten für eine Wiederherstellung nach einem Absturz können nicht gespeichert werden:\r\n%1\r\n"
            "Kalkora arbeitet normal weiter, aber ungesicherte Änderungen lassen sich nach einem Absturz "
            "nicht wiederherstellen.")
            .arg(reason));
}

void CrashRecovery::setAside(const QString& path, const QString& reason)
{
    // Renamed, so that no later start reads it again; the user may still look into it.
    const QString aside = path + QStringLiteral(".defekt");
    QFile::remove(aside);
    const bool renamed = QFile::rename(path, aside);
    uiServices().showMessage(&mainDlg,
        QStringLiteral("Die ungesicherten Änderungen in „%1“ können nicht wiederhergestellt werden. %2\r\n%3")
            .arg(QDir::toNativeSeparators(path), reason,
                renamed ? QStringLiteral("Die Datei wurde als „%1“ beiseitegelegt.").arg(QFileInfo(aside).fileName())
                        : QStringLiteral("Die Datei kann nicht umbenannt werden.")));
}

void CrashRecovery::offerRestore()
{
    const QFileInfoList candidates
        = QDir(folder).entryInfoList({ QStringLiteral("recovery-*") + fileSuffix }, QDir::Files, QDir::Time);
    for (const QFileInfo& candidate : candidates) {
        const QString path = candidate.filePath();
        if (path == ownFile()) {
            continue;
        }
        // Held while the question is open, so that a second window starting now leaves it alone.
        QLockFile owner(lockFor(path));
        owner.setStaleLockTime(0); // a living run's lock is never stale, however old
        if (!owner.tryLock(0)) {
            continue;
        }
        files::RecoveryData data;
        if (const auto problem = files::loadRecovery(path, data)) {
            setAside(path, *problem);
            continue;
        }
        if (!data.hasUnsavedChanges()) {
            QFile::remove(path);
            continue;
        }
        const QString when = data.written.toLocalTime().toString(QStringLiteral("dd.MM.yyyy, HH:mm 'Uhr'"));
        if (!uiServices().askYesNo(&mainDlg,
                QStringLiteral("Kalkora wurde nicht ordnungsgemäß beendet. Sollen die ungesicherten Änderungen vom "
                               "%1 wiederhergestellt werden?")
                    .arg(when))) {
            continue;
        }
        mainDlg.session().restore(data);
        // The old file goes only once this run's own file holds the data.
        if (writeNow()) {
            QFile::remove(path);
        }
        return;
    }
}

} // namespace kalkora::ui
