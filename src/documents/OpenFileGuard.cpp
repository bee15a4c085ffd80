#include "documents/OpenFileGuard.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

namespace kalkora::documents {

namespace {

QString absolute(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

// Hidden beside the file, so that file managers do not list it next to the data files.
QString lockFileName(const QString& path)
{
    const QFileInfo info(path);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".lock");
}

// "Die Datei „welle.auf“ wird bereits von anna auf pc-17 bearbeitet"
QString heldText(const QString& path, const QString& user, const QString& host)
{
    return QStringLiteral("Die Datei „%1“ wird bereits von %2 auf %3 bearbeitet")
        .arg(QFileInfo(path).fileName(), user, host);
}

// Takes `lock` and returns an empty text, or, when another holds it, says so and leaves it
// unlocked. A folder where no lock file can be made is open to everybody: nobody can hold one.
QString takeLock(QLockFile& lock, const QString& path)
{
    // A file stays open for hours: only the lock of a process that is gone is stale.
    lock.setStaleLockTime(0);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (lock.tryLock(0) || lock.error() != QLockFile::LockFailedError) {
            return {};
        }
        QString host;
        if (lock.getLockInfo(nullptr, &host, nullptr)) {
            // QLockFile records no user; the lock file belongs to the user whose program made it.
            const QString user = QFileInfo(lock.fileName()).owner();
            return heldText(path, user.isEmpty() ? QStringLiteral("einem anderen Benutzer") : user,
                host.isEmpty() ? QSysInfo::machineHostName() : host);
        }
        // No Kalkora writes a lock that cannot be read. One that is being written right now is
        // still held natively by its maker, and then removing it fails.
        lock.removeStaleLockFile();
    }
    return {};
}

} // namespace

OpenFileGuard OpenFileGuard::claim(const QString& path, const std::optional<files::FileFingerprint>& seen) const
{
    OpenFileGuard guard;
    guard.file = absolute(path);
    // Taken before the file is read: a change while it is read counts as a change.
    guard.snapshot = seen ? *seen : files::fingerprintOf(path);
    if (holdsLockOf(path)) {
        guard.lock = lock;
        return guard;
    }
    auto taken = std::make_shared<QLockFile>(lockFileName(path));
    if (QString held = takeLock(*taken, path); !held.isEmpty()) {
        guard.readOnly = true;
        guard.heldBy = std::move(held);
    } else if (taken->isLocked()) {
        guard.lock = std::move(taken);
    }
    return guard;
}

QString OpenFileGuard::readOnlyQuestion() const
{
    return heldBy.isEmpty() ? QString() : heldBy + QStringLiteral(".\r\nSoll sie schreibgeschützt geöffnet werden?");
}

WriteCheck OpenFileGuard::checkWrite(const QString& path) const
{
    if (!holdsLockOf(path)) {
        // Only a look: saved() takes the lock once the file is written.
        QLockFile probe(lockFileName(path));
        if (const QString held = takeLock(probe, path); !held.isEmpty()) {
            return { WriteCheck::Verdict::Held, held + QStringLiteral(" und kann jetzt nicht überschrieben werden.") };
        }
    }
    if (absolute(path) != file || !QFileInfo::exists(path) || files::fingerprintOf(path) == snapshot) {
        return {};
    }
    return { WriteCheck::Verdict::ChangedOnDisk,
        QStringLiteral("Die Datei „%1“ wurde seit dem Öffnen geändert.\r\nSoll sie trotzdem überschrieben werden?")
            .arg(QFileInfo(path).fileName()) };
}

void OpenFileGuard::saved(const QString& path)
{
    if (!holdsLockOf(path)) {
        auto taken = std::make_shared<QLockFile>(lockFileName(path));
        // Taken by another since mayWrite(): this window has the file it wrote read-only.
        readOnly = !takeLock(*taken, path).isEmpty();
        lock = taken->isLocked() ? std::move(taken) : nullptr; // the previous file's lock goes
    }
    file = absolute(path);
    snapshot = files::fingerprintOf(path);
}

std::optional<files::SeenFile> OpenFileGuard::seenFile() const
{
    if (file.isEmpty()) {
        return std::nullopt;
    }
    return files::SeenFile { file, snapshot };
}

bool OpenFileGuard::holdsLockOf(const QString& path) const
{
    return lock && lock->isLocked() && absolute(path) == file;
}

} // namespace kalkora::documents
