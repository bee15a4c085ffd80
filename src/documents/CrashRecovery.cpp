#include "documents/CrashRecovery.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace kalkora::documents {

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

CrashRecovery::CrashRecovery(std::function<files::RecoveryData()> state, const QString& folder)
    : state(std::move(state))
    , folder(QDir::cleanPath(folder))
    // The start time keeps the name apart from a crashed run that had the same process id.
    , ownName(QStringLiteral("recovery-%1-%2")
                  .arg(QCoreApplication::applicationPid())
                  .arg(QDateTime::currentMSecsSinceEpoch()))
{
    timer.setSingleShot(true);
    timer.setInterval(1000);
    connect(&timer, &QTimer::timeout, this, &CrashRecovery::writeNow);
}

CrashRecovery::~CrashRecovery() = default;

QString CrashRecovery::ownFile() const
{
    return folder + QLatin1Char('/') + ownName + fileSuffix;
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
    files::RecoveryData now = state();
    if (!now.hasUnsavedChanges()) {
        QFile::remove(ownFile());
        return true;
    }
    if (!lockOwnFile()) {
        return false;
    }
    now.written = QDateTime::currentDateTime();
    if (const files::FileResult saved = files::saveRecovery(ownFile(), now); !saved.ok()) {
        reportOnce(saved.message);
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
    emit problem(QStringLiteral(
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
    emit problem(
        QStringLiteral("Die ungesicherten Änderungen in „%1“ können nicht wiederhergestellt werden. %2\r\n%3")
            .arg(QDir::toNativeSeparators(path), reason,
                renamed ? QStringLiteral("Die Datei wurde als „%1“ beiseitegelegt.").arg(QFileInfo(aside).fileName())
                        : QStringLiteral("Die Datei kann nicht umbenannt werden.")));
}

std::vector<CrashRecovery::Offer> CrashRecovery::offers()
{
    std::vector<Offer> found;
    const QFileInfoList candidates
        = QDir(folder).entryInfoList({ QStringLiteral("recovery-*") + fileSuffix }, QDir::Files, QDir::Time);
    for (const QFileInfo& candidate : candidates) {
        const QString path = candidate.filePath();
        if (path == ownFile()) {
            continue;
        }
        // Held while the user is asked, so that a second window starting now leaves it alone.
        auto owner = std::make_shared<QLockFile>(lockFor(path));
        owner->setStaleLockTime(0); // a living run's lock is never stale, however old
        if (!owner->tryLock(0)) {
            continue;
        }
        files::RecoveryData data;
        if (const files::FileResult loaded = files::loadRecovery(path, data); !loaded.ok()) {
            setAside(path, loaded.message);
            continue;
        }
        if (!data.hasUnsavedChanges()) {
            QFile::remove(path);
            continue;
        }
        found.push_back({ path, std::move(data), std::move(owner) });
    }
    return found;
}

QString CrashRecovery::Offer::question() const
{
    return QStringLiteral("Kalkora wurde nicht ordnungsgemäß beendet. Sollen die ungesicherten Änderungen vom %1 "
                          "wiederhergestellt werden?")
        .arg(data.written.toLocalTime().toString(QStringLiteral("dd.MM.yyyy, HH:mm 'Uhr'")));
}

void CrashRecovery::restored(const Offer& offer)
{
    if (writeNow()) {
        QFile::remove(offer.file);
    }
}

} // namespace kalkora::documents
