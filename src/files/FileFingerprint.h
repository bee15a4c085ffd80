#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace kalkora::files {

// What tells whether a file was changed by someone else: its size, modification time and
// content (all empty when it cannot be read).
struct FileFingerprint {
    qint64 size = 0;
    QDateTime modified;
    QByteArray sha256;

    bool operator==(const FileFingerprint&) const = default;
};

FileFingerprint fingerprintOf(const QString& path);

// A file as a document last saw it: when it opened or saved it.
struct SeenFile {
    QString path; // absolute
    FileFingerprint fingerprint;

    bool operator==(const SeenFile&) const = default;
};

} // namespace kalkora::files
