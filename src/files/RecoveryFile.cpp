#include "files/RecoveryFile.h"

#include "files/DataFiles.h"
#include "model/MasterDataFile.h"
#include "model/OrderFile.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

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

// The file a document had open, where the entry names one; false when it is malformed.
bool readSeen(const QJsonObject& part, std::optional<SeenFile>& seen)
{
    if (!part.contains(QStringLiteral("seen"))) {
        return true;
    }
    const QJsonObject entry = part.value(QStringLiteral("seen")).toObject();
    const QJsonValue file = entry.value(QStringLiteral("file"));
    const QJsonValue size = entry.value(QStringLiteral("size"));
    const QDateTime modified
        = QDateTime::fromString(entry.value(QStringLiteral("modified")).toString(), Qt::ISODateWithMs);
    const QByteArray hash = QByteArray::fromHex(entry.value(QStringLiteral("sha256")).toString().toLatin1());
    if (!file.isString() || !size.isDouble() || !modified.isValid() || hash.size() != 32) {
        return false;
    }
    seen = SeenFile { file.toString(), { qint64(size.toDouble()), modified.toLocalTime(), hash } };
    return true;
}

QString badEntry(const QString& key)
{
    return QStringLiteral("Der Eintrag „%1“ fehlt oder ist ungültig.").arg(key);
}

// One of the two documents: its name, flag and bytes, each of the right type.
std::optional<QString> readDocument(const QJsonObject& root, const QString& key, QString& fileName, bool& changed,
    std::string& bytes, std::optional<SeenFile>& seen)
{
    const QJsonObject part = root.value(key).toObject();
    const QJsonValue file = part.value(QStringLiteral("file"));
    const QJsonValue flag = part.value(QStringLiteral("changed"));
    const QJsonValue encoded = part.value(QStringLiteral("bytes"));
    if (!file.isString() || !flag.isBool() || !encoded.isString()) {
        return badEntry(key);
    }
    const auto decoded = QByteArray::fromBase64Encoding(
        encoded.toString().toLatin1(), QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || !readSeen(part, seen)) {
        return badEntry(key);
    }
    fileName = file.toString();
    changed = flag.toBool();
    bytes.assign(decoded.decoded.constData(), std::size_t(decoded.decoded.size()));
    return std::nullopt;
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
    RecoveryData read;
    read.written = QDateTime::fromString(root.value(QStringLiteral("written")).toString(), Qt::ISODateWithMs);
    if (!read.written.isValid()) {
        return badEntry(QStringLiteral("written"));
    }
    if (auto problem = readDocument(root, QStringLiteral("masterData"), read.masterDataFileName, read.masterDataChanged,
            read.masterDataBytes, read.masterDataSeen)) {
        return problem;
    }
    read.orderOpen = !root.value(QStringLiteral("order")).isNull();
    if (read.orderOpen) {
        if (auto problem = readDocument(root, QStringLiteral("order"), read.orderFileName, read.orderChanged,
                read.orderBytes, read.orderSeen)) {
            return problem;
        }
    }
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
