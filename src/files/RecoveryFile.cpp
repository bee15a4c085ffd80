#include "files/RecoveryFile.h"

#include "files/AssemblyFile.h"
#include "files/DataFiles.h"
#include "files/JsonReader.h"
#include "files/PostCalcFile.h"
#include "model/MasterDataFile.h"
#include "model/OrderFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <functional>

namespace kalkora::files {

namespace {

const QString kindValue = QStringLiteral("kalkora-wiederherstellung");

QJsonObject document(
    const QString& fileName, bool changed, const std::string& bytes, const std::optional<SeenFile>& seen)
{
    const QByteArray raw = QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size()));
    QJsonObject part { { QStringLiteral("file"), fileName }, { QStringLiteral("changed"), changed },
        { QStringLiteral("bytes"), QString::fromLatin1(raw.toBase64()) } };
    if (seen) {
        const FileFingerprint& print = seen->fingerprint;
        part.insert(QStringLiteral("seen"),
            QJsonObject { { QStringLiteral("file"), seen->path }, { QStringLiteral("size"), double(print.size) },
                { QStringLiteral("modified"), print.modified.toUTC().toString(Qt::ISODateWithMs) },
                { QStringLiteral("sha256"), QString::fromLatin1(print.sha256.toHex()) } });
    }
    return part;
}

QString badEntry(const QString& key)
{
    return QStringLiteral("Der Eintrag „%1“ fehlt oder ist ungültig.").arg(key);
}

// A text or a flag that the entry must have.
QString requiredText(JsonReader& entry, const char* key)
{
    if (!entry.value(key).isString())
        entry.fail(QLatin1String(key), QStringLiteral("ein Text erwartet"));
    return entry.text(key);
}

bool requiredFlag(JsonReader& entry, const char* key)
{
    if (!entry.value(key).isBool())
        entry.fail(QLatin1String(key), QStringLiteral("ja oder nein erwartet"));
    return entry.value(key).toBool();
}

// The file a document had open, where the entry names one.
void readSeen(JsonReader& entry, std::optional<SeenFile>& seen)
{
    entry.allowOnly({ "file", "size", "modified", "sha256" });
    const QString file = requiredText(entry, "file");
    const QJsonValue size = entry.value("size");
    const QDateTime modified = QDateTime::fromString(requiredText(entry, "modified"), Qt::ISODateWithMs);
    const QByteArray hash = QByteArray::fromHex(requiredText(entry, "sha256").toLatin1());
    if (!size.isDouble() || !modified.isValid() || hash.size() != 32)
        entry.fail(QStringLiteral("size"), QStringLiteral("Größe, Zeit und Prüfsumme erwartet"));
    seen = SeenFile { file, { qint64(size.toDouble()), modified.toLocalTime(), hash } };
}

// A document's name, flag and bytes, and the file it had open.
void readPart(JsonReader& part, QString& fileName, bool& changed, std::string& bytes, std::optional<SeenFile>& seen)
{
    part.allowOnly({ "file", "changed", "bytes", "seen" });
    fileName = requiredText(part, "file");
    changed = requiredFlag(part, "changed");
    const auto decoded = QByteArray::fromBase64Encoding(
        requiredText(part, "bytes").toLatin1(), QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        part.fail(QStringLiteral("bytes"), QStringLiteral("Base64 erwartet"));
    bytes.assign(decoded.decoded.constData(), std::size_t(decoded.decoded.size()));
    part.readObject("seen", [&](JsonReader& entry) { readSeen(entry, seen); });
}

// One of the two documents.
std::optional<QString> readDocument(const QJsonObject& root, const char* key, QString& fileName, bool& changed,
    std::string& bytes, std::optional<SeenFile>& seen)
{
    std::optional<QString> fault;
    JsonReader reader(root, QString(), fault, kDocumentWording);
    if (!root.value(QLatin1String(key)).isObject())
        return badEntry(QLatin1String(key));
    reader.readObject(key, [&](JsonReader& part) { readPart(part, fileName, changed, bytes, seen); });
    // The user learns which document cannot be restored; the key inside it would tell him nothing.
    return fault ? std::optional(badEntry(QLatin1String(key))) : std::nullopt;
}

// The assemblies or post-calculations under `key`, where the run had any open; each must read as
// its file would (`readable`), else `damaged` is said.
std::optional<QString> readOpenDocuments(const QJsonObject& root, const char* key, std::vector<RecoveredDocument>& open,
    const std::function<bool(const QByteArray&)>& readable, const QString& damaged)
{
    std::optional<QString> fault;
    JsonReader reader(root, QString(), fault, kDocumentWording);
    reader.readArray(key, [&](JsonReader& part) {
        RecoveredDocument& document = open.emplace_back();
        readPart(part, document.fileName, document.changed, document.json, document.seen);
    });
    if (fault)
        return badEntry(QLatin1String(key));
    for (const RecoveredDocument& document : open) {
        if (!readable(QByteArray::fromStdString(document.json)))
            return damaged;
    }
    return std::nullopt;
}

void writeOpenDocuments(QJsonObject& root, const QString& key, const std::vector<RecoveredDocument>& open)
{
    // Files of the versions before assemblies and post-calculations are read as they were.
    if (open.empty())
        return;
    QJsonArray parts;
    for (const RecoveredDocument& each : open)
        parts.append(document(each.fileName, each.changed, each.json, each.seen));
    root.insert(key, parts);
}

} // namespace

QByteArray recoveryToJson(const RecoveryData& data)
{
    QJsonObject root { { QStringLiteral("kind"), kindValue }, { QStringLiteral("version"), recoveryFormatVersion },
        { QStringLiteral("written"), data.written.toUTC().toString(Qt::ISODateWithMs) },
        { QStringLiteral("masterData"),
            document(data.masterDataFileName, data.masterDataChanged, data.masterDataBytes, data.masterDataSeen) },
        { QStringLiteral("order"),
            data.orderOpen
                ? QJsonValue(document(data.orderFileName, data.orderChanged, data.orderBytes, data.orderSeen))
                : QJsonValue(QJsonValue::Null) } };
    writeOpenDocuments(root, QStringLiteral("assemblies"), data.assemblies);
    writeOpenDocuments(root, QStringLiteral("postCalcs"), data.postCalcs);
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

std::optional<QString> recoveryFromJson(const QByteArray& json, RecoveryData& data)
{
    QJsonParseError error;
    const QJsonDocument parsed = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !parsed.isObject()
        || parsed.object().value(QStringLiteral("kind")).toString() != kindValue) {
        return QStringLiteral("Die Datei ist unvollständig oder beschädigt.");
    }
    const QJsonObject root = parsed.object();
    if (const QJsonValue version = root.value(QStringLiteral("version")); version != recoveryFormatVersion) {
        return QStringLiteral("Sie stammt von einer anderen Programmversion (Format %1).")
            .arg(version.isDouble() ? QString::number(version.toDouble()) : QStringLiteral("unbekannt"));
    }
    std::optional<QString> unknownKey;
    JsonReader(root, QString(), unknownKey, kDocumentWording)
        .allowOnly({ "kind", "version", "written", "masterData", "order", "assemblies", "postCalcs" });
    if (unknownKey)
        return QStringLiteral("Die Datei ist unvollständig oder beschädigt.");
    RecoveryData read;
    read.written = QDateTime::fromString(root.value(QStringLiteral("written")).toString(), Qt::ISODateWithMs);
    if (!read.written.isValid()) {
        return badEntry(QStringLiteral("written"));
    }
    if (auto problem = readDocument(root, "masterData", read.masterDataFileName, read.masterDataChanged,
            read.masterDataBytes, read.masterDataSeen)) {
        return problem;
    }
    read.orderOpen = !root.value(QStringLiteral("order")).isNull();
    if (read.orderOpen) {
        if (auto problem
            = readDocument(root, "order", read.orderFileName, read.orderChanged, read.orderBytes, read.orderSeen)) {
            return problem;
        }
    }
    const auto assemblyReads = [](const QByteArray& json) {
        Assembly assembly;
        return !assemblyFromJson(json, assembly);
    };
    if (auto problem = readOpenDocuments(
            root, "assemblies", read.assemblies, assemblyReads, QStringLiteral("Eine Baugruppe darin ist beschädigt.")))
        return problem;
    const auto postCalcReads = [](const QByteArray& json) {
        PostCalculation postCalc;
        return !postCalcFromJson(json, recoveredPathsFolder(), postCalc);
    };
    if (auto problem = readOpenDocuments(root, "postCalcs", read.postCalcs, postCalcReads,
            QStringLiteral("Eine Nachkalkulation darin ist beschädigt.")))
        return problem;
    // Only bytes that load as the files would are restored.
    CPlantData plantData;
    if (!decodeMasterData(read.masterDataBytes, 1.0f, plantData).ok()) {
        return QStringLiteral("Die Stammdaten darin sind beschädigt.");
    }
    COrder order;
    if (read.orderOpen && !decodeOrder(read.orderBytes, 1.0f, order).ok()) {
        return QStringLiteral("Der Auftrag darin ist beschädigt.");
    }
    data = std::move(read);
    return std::nullopt;
}

FileResult loadRecovery(const QString& path, RecoveryData& data)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    const QByteArray json = opened ? file.readAll() : QByteArray();
    if (!opened || file.error() != QFileDevice::NoError) {
        return { FileStatus::CannotOpen,
            QStringLiteral("Die Datei kann nicht gelesen werden (%1).").arg(file.errorString()) };
    }
    if (const std::optional<QString> problem = recoveryFromJson(json, data)) {
        return { FileStatus::Damaged, *problem };
    }
    return {};
}

FileResult saveRecovery(const QString& path, const RecoveryData& data)
{
    const QByteArray json = recoveryToJson(data);
    return saveBytes(path, std::string_view(json.constData(), std::size_t(json.size())));
}

} // namespace kalkora::files
