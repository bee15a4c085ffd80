#include "files/DataFiles.h"

#include "model/MasterDataFile.h"
#include "model/OrderFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>
#include <string>
#include <string_view>

namespace kalkora::files {

namespace {

enum class FileKind { MasterData, Order };

QString displayName(const QString& path)
{
    return QFileInfo(path).fileName();
}

FileResult failure(FileStatus status, const QString& message)
{
    return FileResult { status, message };
}

// "(Maschine 3, Byte 130)": records are counted from 1 for the user.
QString location(const DecodeError& error, FileKind kind)
{
    if (error.record < 0)
        return QStringLiteral("(Byte %1)").arg(error.offset);
    const QString record = kind == FileKind::MasterData ? QStringLiteral("Maschine") : QStringLiteral("Arbeitsgang");
    return QStringLiteral("(%1 %2, Byte %3)").arg(record).arg(error.record + 1).arg(error.offset);
}

QString describe(const DecodeError& error, FileKind kind)
{
    const QString field = QString::fromStdString(error.field);
    const QString where = location(error, kind);
    switch (error.problem) {
    case DecodeProblem::Truncated:
        return QStringLiteral("Sie endet vorzeitig im Feld „%1“ %2.").arg(field, where);
    case DecodeProblem::TextTooLong:
        return QStringLiteral("Die Textlänge im Feld „%1“ %2 ist größer als der Rest der Datei.").arg(field, where);
    case DecodeProblem::BadTextPrefix:
        return QStringLiteral("Die Längenangabe des Textes im Feld „%1“ %2 ist ungültig.").arg(field, where);
    case DecodeProblem::Cancelled:
        return {};
    case DecodeProblem::CountTooLarge: {
        const QString records
            = kind == FileKind::MasterData ? QStringLiteral("Maschinen") : QStringLiteral("Arbeitsgänge");
        return QStringLiteral("Die angekündigte Anzahl der %1 (%2) passt nicht in den Rest der Datei %3.")
            .arg(records, QString::number(error.count), where);
    }
    }
    return {};
}

FileResult readWholeFile(const QString& path, QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return failure(FileStatus::CannotOpen,
            QStringLiteral("Die Datei „%1“ kann nicht geöffnet werden (%2).")
                .arg(displayName(path), file.errorString()));
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return failure(FileStatus::CannotOpen,
            QStringLiteral("Die Datei „%1“ kann nicht gelesen werden (%2).")
                .arg(displayName(path), file.errorString()));
    }
    return {};
}

template <typename Data, typename Decode> FileResult load(const QString& path, FileKind kind, Data& data, Decode decode)
{
    QByteArray bytes;
    if (FileResult read = readWholeFile(path, bytes); !read.ok())
        return read;
    const std::optional<DecodeError> error = decode(std::string_view(bytes.constData(), bytes.size()), data);
    if (error && error->problem == DecodeProblem::Cancelled)
        return failure(FileStatus::Cancelled, {});
    if (error) {
        return failure(FileStatus::Damaged,
            QStringLiteral("Die Datei „%1“ ist beschädigt oder unvollständig. %2 Es wurde nichts geladen.")
                .arg(displayName(path), describe(*error, kind)));
    }
    return {};
}

} // namespace

FileResult saveBytes(const QString& path, std::string_view bytes, const Progress& progress)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return failure(FileStatus::CannotOpen,
            QStringLiteral("Die Datei „%1“ kann nicht zum Schreiben geöffnet werden (%2).")
                .arg(displayName(path), file.errorString()));
    }
    // In pieces, so that the progress of a large file can be shown.
    constexpr std::size_t piece = std::size_t(4) << 20;
    bool written = true;
    for (std::size_t done = 0; written && done < bytes.size(); done += piece) {
        if (progress && !progress(std::int64_t(done), std::int64_t(bytes.size()))) {
            file.cancelWriting();
            return failure(FileStatus::Cancelled, {});
        }
        const std::string_view part = bytes.substr(done, piece);
        const auto size = static_cast<qint64>(part.size());
        written = file.write(part.data(), size) == size;
    }
    if (!written || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return failure(FileStatus::WriteFailed,
            QStringLiteral("Die Datei „%1“ konnte nicht vollständig geschrieben werden (%2). Eine bisherige "
                           "Datei dieses Namens bleibt unverändert.")
                .arg(displayName(path), reason));
    }
    return {};
}

FileResult loadMasterData(const QString& path, float factor, CPlantData& plantData, const Progress& progress)
{
    return load(path, FileKind::MasterData, plantData, [factor, &progress](std::string_view bytes, CPlantData& data) {
        return decodeMasterData(bytes, factor, data, progress);
    });
}

FileResult loadOrder(const QString& path, float factor, COrder& order, const Progress& progress)
{
    return load(path, FileKind::Order, order, [factor, &progress](std::string_view bytes, COrder& data) {
        return decodeOrder(bytes, factor, data, progress);
    });
}

FileResult saveMasterData(const QString& path, const CPlantData& plantData, const Progress& progress)
{
    return saveBytes(path, encodeMasterData(plantData), progress);
}

FileResult saveOrder(const QString& path, const COrder& order, const Progress& progress)
{
    return saveBytes(path, encodeOrder(order), progress);
}

} // namespace kalkora::files
