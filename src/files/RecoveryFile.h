#pragma once

#include "files/DataFiles.h"
#include "files/FileFingerprint.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QString>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace kalkora::files {

// What a run of the desktop program keeps for the case that it does not end cleanly: the
// unsaved master data and order in their exact .sta and .auf bytes, the assemblies and
// post-calculations open in their windows as their .bgr and .nak files would hold them, with their
// file names and
// whether each was changed, and the file each had open as it was when opened or saved, so that a
// change made to it meanwhile is noticed after restoring. The file is UTF-8 JSON with the bytes in base64; reading is
// all-or-nothing, saving atomic.

inline constexpr int recoveryFormatVersion = 1;

// The folder the paths of a post-calculation kept for recovery are written relative to.
inline QString recoveredPathsFolder()
{
    return QDir::rootPath();
}

// An assembly or a post-calculation open in a window.
struct RecoveredDocument {
    std::string json; // as the .bgr or .nak file would hold it
    QString fileName; // full path, or empty for a new one
    bool changed = false;
    std::optional<SeenFile> seen;

    bool operator==(const RecoveredDocument&) const = default;
};

struct RecoveryData {
    QDateTime written; // when the data was taken
    std::string masterDataBytes;
    QString masterDataFileName; // the master data file last loaded or saved, or empty
    bool masterDataChanged = false;
    std::optional<SeenFile> masterDataSeen;
    bool orderOpen = false;
    std::string orderBytes; // empty without an open order
    QString orderFileName; // full path, or empty
    bool orderChanged = false;
    std::optional<SeenFile> orderSeen;
    std::vector<RecoveredDocument> assemblies;
    std::vector<RecoveredDocument> postCalcs;

    bool hasUnsavedChanges() const
    {
        const auto changed = [](const std::vector<RecoveredDocument>& open) {
            return std::any_of(open.begin(), open.end(), [](const auto& document) { return document.changed; });
        };
        return masterDataChanged || orderChanged || changed(assemblies) || changed(postCalcs);
    }
    bool operator==(const RecoveryData&) const = default;
};

QByteArray recoveryToJson(const RecoveryData& data);

// The reverse. A document that is incomplete, of another format version, or whose bytes do not
// decode as master data and order gives a German sentence saying why, and `data` is left as it
// was.
std::optional<QString> recoveryFromJson(const QByteArray& json, RecoveryData& data);

// The same for a file; the message of a file that cannot be read gives the system's reason, that
// of a damaged one the sentence of recoveryFromJson().
FileResult loadRecovery(const QString& path, RecoveryData& data);

// Writes atomically.
FileResult saveRecovery(const QString& path, const RecoveryData& data);

} // namespace kalkora::files
