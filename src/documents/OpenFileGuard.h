#pragma once

#include "files/FileFingerprint.h"

#include <QString>

#include <memory>
#include <optional>

class QLockFile;

namespace kalkora::documents {

// Whether a file may be written: free, held by another (say `message`), or changed on disk
// since it was opened or saved (ask `message`, a question, first).
struct WriteCheck {
    enum class Verdict { Free, Held, ChangedOnDisk };
    Verdict verdict = Verdict::Free;
    QString message;
};

// A data file (.sta or .auf) that a document has open, shared with other users of the same
// folder. While it is open, a hidden lock file beside it (".welle.auf.lock", QLockFile) tells a
// second Kalkora, on this or another machine, who has it open; that one opens it read-only or not
// at all. A lock left by a process that no longer runs on this machine is taken over, and a lock
// file that cannot be read is removed: neither blocks opening. The guard also remembers the file
// as it was opened or last saved, so that a change made by someone else is not overwritten unasked.
class OpenFileGuard {
public:
    OpenFileGuard() = default;

    // Before a document loads `path`: the guard for it, holding its lock; when another holds the
    // lock, the guard is read-only and readOnlyQuestion() asks whether to open it so. The file
    // this guard has open keeps its lock until the new guard replaces it.
    // `seen` is the file as a run that did not end cleanly saw it; by default as it is now.
    OpenFileGuard claim(const QString& path, const std::optional<files::FileFingerprint>& seen = {}) const;

    // Opened read-only: another has it open, so it is saved under another name only.
    bool isReadOnly() const { return readOnly; }
    // "Die Datei „welle.auf“ wird bereits von … bearbeitet.\r\nSoll sie schreibgeschützt
    // geöffnet werden?" for a claim that another's lock made read-only, else empty.
    QString readOnlyQuestion() const;

    // Before a document writes `path`: held when another has it open; changed when it is the
    // guarded file and was changed on disk since it was opened or last saved.
    WriteCheck checkWrite(const QString& path) const;
    // After the document wrote `path`: it is the guarded file, as now on disk; the lock moves to it.
    void saved(const QString& path);
    // The guarded file as it was opened or last saved; nothing without a file.
    std::optional<files::SeenFile> seenFile() const;

private:
    bool holdsLockOf(const QString& path) const;

    QString file; // absolute path; empty when none
    std::shared_ptr<QLockFile> lock; // shared by the guard of a file that is opened again
    bool readOnly = false;
    QString heldBy; // who holds the lock of a read-only claim
    files::FileFingerprint snapshot;
};

} // namespace kalkora::documents
