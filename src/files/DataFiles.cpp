#include "files/DataFiles.h"

#include "costing/MachineRates.h"
#include "model/MasterDataFile.h"
#include "model/OrderFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <unistd.h>

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

// The name the user knows a field by: its label in the dialog where it is entered, without the
// unit, and with the group where the label alone is ambiguous.
QString fieldLabel(const DecodeError& error, FileKind kind)
{
    struct Label {
        FileKind kind;
        bool inRecord;
        std::string_view member;
        const char* label;
    };
    static constexpr Label labels[] = {
        { FileKind::MasterData, false, "rentPerSqmYear", "Mietkosten" },
        { FileKind::MasterData, false, "energyPricePerKwh", "Energiepreis" },
        { FileKind::MasterData, false, "hoursPerShift", "Arbeitsstunden je Schicht" },
        { FileKind::MasterData, false, "workDaysPerYear", "Arbeitstage je Jahr" },
        { FileKind::MasterData, false, "interestRatePct", "Kalkulatorischer Zinssatz" },
        { FileKind::MasterData, false, "operatorVarRate12", "Variabler Stundensatz Personal, 1 und 2 Schichten" },
        { FileKind::MasterData, false, "operatorFixedRate12", "Fixer Stundensatz Personal, 1 und 2 Schichten" },
        { FileKind::MasterData, false, "operatorVarRate3", "Variabler Stundensatz Personal, 3 Schichten" },
        { FileKind::MasterData, false, "operatorFixedRate3", "Fixer Stundensatz Personal, 3 Schichten" },
        { FileKind::MasterData, false, "overheadExternalPct", "Gemeinkostenzuschlag Externer Arbeitsgang" },
        { FileKind::MasterData, false, "overheadMaterialPct", "Gemeinkostenzuschlag Materialeinkauf" },
        { FileKind::MasterData, false, "machines", "Anzahl der Maschinen" },
        { FileKind::MasterData, true, "name", "Bezeichnung" },
        { FileKind::MasterData, true, "floorAreaSqm", "Flächenbedarf" },
        { FileKind::MasterData, true, "purchaseCost", "Anschaffungskosten" },
        { FileKind::MasterData, true, "installedPowerKw", "Installierte Leistung" },
        { FileKind::MasterData, true, "powerUsagePct", "Nutzung der installierten Leistung" },
        { FileKind::MasterData, true, "usefulLifeYears", "Nutzungsdauer" },
        { FileKind::MasterData, true, "maintenancePerYear", "Wartung" },
        { FileKind::MasterData, true, "toolCostPerYear", "Werkzeugkosten" },
        { FileKind::Order, false, "name", "Auftragsname" },
        { FileKind::Order, false, "remark", "Bemerkung" },
        { FileKind::Order, false, "quantityBase", "Stückzahlbasis für Berechnung" },
        { FileKind::Order, false, "operations", "Anzahl der Arbeitsgänge" },
        { FileKind::Order, true, "name", "Bezeichnung Arbeitsgang" },
        { FileKind::Order, true, "isInternal", "Interner oder externer Arbeitsgang" },
        { FileKind::Order, true, "externalCostPerPiece", "Bearbeitungskosten" },
        { FileKind::Order, true, "externalLotSize", "Losgröße des externen Arbeitsgangs" },
        { FileKind::Order, true, "machineName", "Zugeordnete Maschine" },
        { FileKind::Order, true, "setupTimeMin", "Rüstzeit" },
        { FileKind::Order, true, "lotSize", "Losgröße" },
        { FileKind::Order, true, "shiftMode", "Schichtbetrieb" },
        { FileKind::Order, true, "machineTimeMin", "Maschinenzeit" },
        { FileKind::Order, true, "operatorTimeMin", "Bedienerzeit" },
        { FileKind::Order, true, "materialUtilPct", "Nutzungsgrad des Materials" },
        { FileKind::Order, true, "materialWeightKg", "Gewicht Rohmaterial" },
        { FileKind::Order, true, "materialPricePerKg", "Preis Rohmaterial" },
        { FileKind::Order, true, "machineUtilPct", "Nutzungsgrad der Maschine" },
    };
    const bool inRecord = error.record >= 0;
    for (const Label& label : labels) {
        if (label.kind == kind && label.inRecord == inRecord && label.member == error.field)
            return QString::fromUtf8(label.label);
    }
    return QString::fromStdString(error.field);
}

QString describe(const DecodeError& error, FileKind kind)
{
    const QString field = fieldLabel(error, kind);
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

// The bytes of a file being decoded; a large file in pages of its own. Decoding reads strictly
// forwards, so the pages behind it are given back as it goes: a large order is never held twice,
// as bytes and as records. A small file is read into the heap, which spares the many files of an
// assembly a mapping each.
class FileBuffer {
public:
    explicit FileBuffer(std::size_t size)
        : size(size)
    {
        constexpr std::size_t kMappedFrom = std::size_t(1) << 20;
        void* pages = size >= kMappedFrom
            ? mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)
            : MAP_FAILED;
        if (pages != MAP_FAILED)
            mapped = static_cast<char*>(pages);
        else
            fallback.resize(size);
    }
    ~FileBuffer()
    {
        if (mapped && released < size)
            munmap(mapped + released, size - released);
    }
    FileBuffer(const FileBuffer&) = delete;
    FileBuffer& operator=(const FileBuffer&) = delete;

    char* data() { return mapped ? mapped : fallback.data(); }
    // Nothing before `offset` is read again.
    void releaseBefore(std::size_t offset)
    {
        static const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        const std::size_t end = offset / page * page;
        if (mapped && end > released) {
            munmap(mapped + released, end - released);
            released = end;
        }
    }

private:
    std::size_t size;
    char* mapped = nullptr;
    std::size_t released = 0;
    std::string fallback;
};

template <typename Data, typename Decode>
FileResult load(const QString& path, FileKind kind, Data& data, Decode decode, const Progress& progress)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return failure(FileStatus::CannotOpen, cannotOpenMessage(path, file.errorString()));
    }
    // A pipe has no size to go by: its bytes are read whole.
    const QByteArray piped = file.isSequential() ? file.readAll() : QByteArray();
    const qint64 expected = file.isSequential() ? 0 : std::max<qint64>(0, file.size());
    FileBuffer buffer(static_cast<std::size_t>(expected));
    qint64 size = 0;
    for (qint64 got = 1; got > 0 && size < expected; size += got) {
        got = std::max<qint64>(0, file.read(buffer.data() + size, expected - size));
    }
    const std::string_view bytes = file.isSequential() ? std::string_view(piped.constData(), std::size_t(piped.size()))
                                                       : std::string_view(buffer.data(), std::size_t(size));
    if (file.error() != QFileDevice::NoError) {
        return failure(FileStatus::CannotOpen,
            QStringLiteral("Die Datei „%1“ kann nicht gelesen werden (%2).")
                .arg(displayName(path), file.errorString()));
    }
    // The decoders report the bytes they have read.
    const Progress releasing = [&](std::int64_t done, std::int64_t total) {
        buffer.releaseBefore(static_cast<std::size_t>(done));
        return !progress || progress(done, total);
    };
    const DecodeResult decoded = decode(bytes, data, releasing);
    if (decoded.cancelled())
        return failure(FileStatus::Cancelled, {});
    if (!decoded.ok()) {
        return failure(FileStatus::Damaged,
            QStringLiteral("Die Datei „%1“ ist beschädigt oder unvollständig. %2 Es wurde nichts geladen.")
                .arg(displayName(path), describe(decoded.error(), kind)));
    }
    return {};
}

} // namespace

QString cannotOpenMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("Die Datei „%1“ kann nicht geöffnet werden (%2).").arg(displayName(path), reason);
}

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
    FileResult result = load(
        path, FileKind::MasterData, plantData,
        [factor](std::string_view bytes, CPlantData& data, const Progress& decoded) {
            return decodeMasterData(bytes, factor, data, decoded);
        },
        progress);
    if (result.ok())
        computeAllMachineRates(plantData);
    return result;
}

FileResult loadOrder(const QString& path, float factor, COrder& order, const Progress& progress)
{
    return load(
        path, FileKind::Order, order,
        [factor](std::string_view bytes, COrder& data, const Progress& decoded) {
            return decodeOrder(bytes, factor, data, decoded);
        },
        progress);
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
