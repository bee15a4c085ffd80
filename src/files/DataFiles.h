#pragma once

// files: the one loader and atomic saver of master data and orders, used by the desktop program
// and kalkora-cli alike. It uses Qt Core for file access and the core library, no windows.

#include "model/COrder.h"
#include "model/CPlantData.h"
#include "model/Progress.h"

#include <QString>

#include <string_view>

namespace kalkora::files {

// The one loader and saver of master data (.sta) and orders (.auf), used by the desktop
// program and by kalkora-cli. Loading decodes the whole file into fresh objects and replaces
// the caller's data only on success. Saving is atomic: the old file stays intact until the new
// one is completely written.

// Cancelled: the progress callback asked to stop; nothing was changed and there is no message.
enum class FileStatus { Ok, CannotOpen, Damaged, WriteFailed, Cancelled };

struct FileResult {
    FileStatus status = FileStatus::Ok;
    QString message; // German, names the file and the problem; empty on success

    bool ok() const { return status == FileStatus::Ok; }
    bool cancelled() const { return status == FileStatus::Cancelled; }
};

// `factor` multiplies every money field right after it is read (1.0f, or dmToEurFactor for
// old DM files). Master data comes back with hoursPerYear and every machine's rates computed.
// `progress` hears of the records decoded (loading) or the bytes written (saving).
FileResult loadMasterData(const QString& path, float factor, CPlantData& plantData, const Progress& progress = {});
FileResult loadOrder(const QString& path, float factor, COrder& order, const Progress& progress = {});

FileResult saveMasterData(const QString& path, const CPlantData& plantData, const Progress& progress = {});
FileResult saveOrder(const QString& path, const COrder& order, const Progress& progress = {});

// Writes `bytes` to `path` atomically, as the two savers do (for reports and other outputs).
FileResult saveBytes(const QString& path, std::string_view bytes, const Progress& progress = {});

// Fixed texts of the file commands, shown in message boxes by the desktop program and
// written to stderr by kalkora-cli.

// A file that cannot be opened for reading, named without its folder; `reason` is the system's.
QString cannotOpenMessage(const QString& path, const QString& reason);

inline QString noMachinesMessage()
{
    return QStringLiteral("Es sind keine Maschinendaten angelegt.\r\nEvtl. müssen Sie die zuerst die Stammdaten laden "
                          "!?\r\nLaden eines Auftrages wird abgebrochen.");
}
inline QString dmMasterDataWarning()
{
    return QStringLiteral("Der nachfolgend ausgewählte Stammdatensatz wird von DM in EUR umgerechnet.\r\nSie müssen "
                          "also einen auf DM basierenden Stammdatensatz laden !");
}
inline QString dmOrderWarning()
{
    return QStringLiteral("Der nachfolgend ausgewählte Auftragsdatendatensatz wird von DM in EUR umgerechnet.\r\nSie "
                          "müssen also einen auf DM basierenden Auftrag laden !");
}

} // namespace kalkora::files
