#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

class QLockFile;
class QWidget;

namespace kalkora::ui {

// A data file (.sta or .auf) that the main window has open, shared with other users of the same
// folder. While it is open, a hidden lock file beside it (".welle.auf.lock", QLockFile) tells a
// second Kalkora, on this or another machine, who has it open; that one opens it read-only or not
// at all. A lock left by a process that no longer runs on this machine is taken over, and a lock
// file that cannot be read is removed: neither blocks opening. The guard also remembers the file
// as it was opened or last saved, so that a change made by someone else is not overwritten unasked.
class OpenFileGuard {
public:
    OpenFileGuard() = default;

    // Before the window loads `path`: the guard for it, holding its lock; when another holds the
    // lock, the user is asked whether to open the file read-only. Nothing when the user chose not
    // to open it. The file this guard has open keeps its lock until the new guard replaces it.
    std::optional<OpenFileGuard> claim(QWidget* parent, const QString& path) const;

    // Opened read-only: another has it open, so it is saved under another name only.
    bool isReadOnly() const { return readOnly; }

    // Before the window writes `path`: false, after telling or asking the user, when another has
    // it open, or when it is the guarded file, has been changed on disk since it was opened or
    // last saved, and the user does not want to overwrite it.
    bool mayWrite(QWidget* parent, const QString& path) const;
    // After the window wrote `path`: it is the guarded file, as now on disk; the lock moves to it.
    void saved(const QString& path);

private:
    // What decides whether a file was changed: size, modification time and content (all empty
    // when it cannot be read).
    struct Snapshot {
        qint64 size = 0;
        QDateTime modified;
        QByteArray hash;

        bool operator==(const Snapshot&) const = default;
    };
    static Snapshot snapshotOf(const QString& path);
    bool holdsLockOf(const QString& path) const;

    QString file; // absolute path; empty when none
    std::shared_ptr<QLockFile> lock; // shared by the guard of a file that is opened again
    bool readOnly = false;
    Snapshot snapshot;
};

} // namespace kalkora::ui
