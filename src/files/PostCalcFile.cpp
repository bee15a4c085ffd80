#include "files/PostCalcFile.h"

#include "costing/JsonWriter.h"
#include "files/JsonReader.h"
#include "files/OfferFile.h"
#include "files/StoredPaths.h"
#include "text/NumberFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

#include <cmath>
#include <limits>
#include <set>

namespace kalkora::files {

namespace {

constexpr const char* kKind = "kalkora-nachkalkulation";
constexpr int kVersion = 1;
constexpr std::int64_t kMaxCount = std::numeric_limits<std::int32_t>::max();

// A measured value: a number that a float holds, not below 0. A negative zero (see parseJson)
// is 0.
std::optional<double> measuredValue(JsonReader& reader, const char* key)
{
    const QJsonValue json = reader.value(key);
    if (json.toString() == QLatin1String("-0"))
        return 0.0;
    const float value = float(json.toDouble());
    if (!json.isDouble())
        reader.fail(QLatin1String(key), QStringLiteral("eine Zahl erwartet"));
    else if (std::isinf(value))
        reader.fail(QLatin1String(key), QStringLiteral("liegt außerhalb des Bereichs einer einfachen Gleitkommazahl"));
    else if (value < 0)
        reader.fail(QLatin1String(key), QStringLiteral("eine Zahl ab 0 erwartet"));
    if (reader.failed())
        return std::nullopt;
    return double(value);
}

Actual readActual(JsonReader& reader)
{
    Actual actual;
    if (reader.present("operation"))
        actual.operation = std::int32_t(reader.wholeNumber("operation", 1, kMaxCount));
    if (reader.present("name"))
        actual.name = reader.text("name").toStdString();
    for (std::size_t i = 0; i < kActualFields.size() && !reader.failed(); ++i) {
        const ActualField& field = kActualFields[i];
        if (reader.value(field.key).isUndefined())
            continue;
        actual.values[i] = field.isLot() ? std::optional(double(reader.wholeNumber(field.key, 1, kMaxCount)))
                                         : measuredValue(reader, field.key);
    }
    reader.allowOnly(keysOf(kActualFields, { "operation", "name" }));
    return actual;
}

std::optional<std::int32_t> optionalQuantity(JsonReader& reader, const char* key, std::int64_t min)
{
    if (reader.value(key).isUndefined())
        return std::nullopt;
    return std::int32_t(reader.wholeNumber(key, min, kMaxCount));
}

void readPostCalc(JsonReader& reader, const QString& folder, PostCalculation& postCalc)
{
    if (reader.value("kind").toString() != QLatin1String(kKind))
        reader.fail(QStringLiteral("kind"), QStringLiteral("„%1“ erwartet").arg(QLatin1String(kKind)));
    if (reader.value("version") != QJsonValue(kVersion))
        reader.fail(QStringLiteral("version"), QStringLiteral("Version %1 erwartet").arg(kVersion));
    reader.allowOnly({ "kind", "version", "orderFile", "masterFile", "quoteFile", "date", "producedQuantity",
        "goodQuantity", "remark", "actuals" });
    for (const auto& [member, key] : { std::pair { &PostCalculation::orderFile, "orderFile" },
             { &PostCalculation::masterFile, "masterFile" }, { &PostCalculation::quoteFile, "quoteFile" } })
        postCalc.*member = resolvedPath(reader.text(key), folder);
    postCalc.date = reader.date("date");
    postCalc.producedQuantity = optionalQuantity(reader, "producedQuantity", 1);
    postCalc.goodQuantity = optionalQuantity(reader, "goodQuantity", 0);
    if (postCalc.producedQuantity && postCalc.goodQuantity && *postCalc.goodQuantity > *postCalc.producedQuantity)
        reader.fail(QStringLiteral("goodQuantity"), QStringLiteral("höchstens die produzierte Menge erwartet"));
    postCalc.remark = reader.text("remark");
}

// The actuals, each with a reader of its own so that a fault names the actual.
std::optional<QString> readActuals(const QJsonValue& json, std::vector<Actual>& actuals)
{
    if (json.isUndefined())
        return std::nullopt;
    if (!json.isArray())
        return QStringLiteral("Schlüssel „actuals“: %1").arg(QString::fromUtf8(kDocumentWording.list));
    const QJsonArray items = json.toArray();
    actuals.reserve(std::size_t(items.size()));
    std::set<std::int32_t> seen;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QString place = QStringLiteral("Ist-Wert %1").arg(i + 1);
        if (!items[i].isObject())
            return QStringLiteral("%1: %2").arg(place, QString::fromUtf8(kDocumentWording.object));
        std::optional<QString> error;
        JsonReader reader(items[i].toObject(), QStringLiteral("actuals[%1]").arg(i), error, kDocumentWording);
        Actual actual = readActual(reader);
        // The number only where it was read: a refused one reads as the lowest allowed.
        const bool numbered = reader.value("operation").toDouble() == actual.operation;
        const QString named = numbered ? QStringLiteral("%1 (Arbeitsgang %2)").arg(place).arg(actual.operation) : place;
        if (error)
            return QStringLiteral("%1: %2").arg(named, *error);
        if (!seen.insert(actual.operation).second)
            return QStringLiteral("%1: Arbeitsgang %2 hat schon einen Ist-Wert").arg(named).arg(actual.operation);
        actuals.push_back(std::move(actual));
    }
    return std::nullopt;
}

// The price a quote file offers at one quantity, or why there is none (a German message).
struct QuoteAtQuantity {
    std::optional<OfferedQuote> quote;
    QString missing;
    bool unreadable = false; // the file is missing or damaged
};

// The quote's price at `quantity` read from the quote file `path` (empty: none), the first row
// for it counting, or why there is none.
QuoteAtQuantity quoteAt(const QString& path, std::int32_t quantity)
{
    if (path.isEmpty())
        return { std::nullopt, QStringLiteral("Die Nachkalkulation nennt kein Angebot."), false };
    Offer offer;
    if (const FileResult read = loadOffer(path, offer); !read.ok())
        return { std::nullopt, read.message, true };
    for (const OfferedPrice& price : offer.offered)
        if (price.quantity == quantity)
            return { OfferedQuote { offer.scheme, price.listPrice }, QString(), false };
    return { std::nullopt,
        QStringLiteral("Das Angebot „%1“ hat keinen Preis für %2 Stück.")
            .arg(QFileInfo(path).fileName(), QString::fromStdString(text::germanInt(quantity))),
        false };
}

} // namespace

bool isPostCalcJson(const QByteArray& json)
{
    const QJsonDocument document = parseJson(json);
    return document.isObject() && document.object().value(QLatin1String("kind")) == QLatin1String(kKind);
}

QByteArray postCalcToJson(const PostCalculation& postCalc, const QString& folder)
{
    JsonWriter json;
    json.beginObject();
    json.utf8Text("kind", kKind);
    json.number("version", kVersion);
    for (const auto& [path, key] : { std::pair { &postCalc.orderFile, "orderFile" },
             { &postCalc.masterFile, "masterFile" }, { &postCalc.quoteFile, "quoteFile" } })
        json.utf8Text(key, relativePath(*path, folder).toStdString());
    json.utf8Text("date", postCalc.date.isValid() ? postCalc.date.toString(Qt::ISODate).toStdString() : "");
    if (postCalc.producedQuantity)
        json.number("producedQuantity", *postCalc.producedQuantity);
    if (postCalc.goodQuantity)
        json.number("goodQuantity", *postCalc.goodQuantity);
    json.utf8Text("remark", postCalc.remark.toStdString());
    json.beginArray("actuals");
    for (const Actual& actual : postCalc.actuals) {
        json.beginObject();
        json.number("operation", actual.operation);
        json.utf8Text("name", actual.name);
        for (std::size_t i = 0; i < kActualFields.size(); ++i) {
            if (!actual.values[i])
                continue;
            if (kActualFields[i].isLot())
                json.number(kActualFields[i].key, std::int64_t(*actual.values[i]));
            else
                json.number(kActualFields[i].key, float(*actual.values[i]));
        }
        json.endObject();
    }
    json.endArray();
    json.endObject();
    return QByteArray::fromStdString(json.take());
}

std::optional<QString> postCalcFromJson(
    const QByteArray& json, const QString& folder, PostCalculation& postCalc, PostCalcReading reading)
{
    const DocumentObject document = documentObject(json);
    if (document.error)
        return document.error;
    std::optional<QString> error;
    PostCalculation read;
    JsonReader reader(document.object, QString(), error, kDocumentWording);
    readPostCalc(reader, folder, read);
    if (error)
        return error;
    if (reading == PostCalcReading::Whole) {
        if (auto actualsError = readActuals(reader.value("actuals"), read.actuals))
            return actualsError;
    }
    postCalc = std::move(read);
    return std::nullopt;
}

FileResult loadPostCalc(const QString& path, PostCalculation& postCalc, PostCalcReading reading)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return { FileStatus::CannotOpen, cannotOpenMessage(path, file.errorString()) };
    const QFileInfo info(path);
    if (const auto error = postCalcFromJson(file.readAll(), info.absolutePath(), postCalc, reading)) {
        return { FileStatus::Damaged,
            QStringLiteral("Die Datei „%1“ ist keine lesbare Nachkalkulation: %2.").arg(info.fileName(), *error) };
    }
    return {};
}

FileResult savePostCalc(const QString& path, const PostCalculation& postCalc)
{
    const QByteArray json = postCalcToJson(postCalc, QFileInfo(path).absolutePath());
    return saveBytes(path, std::string_view(json.constData(), std::size_t(json.size())));
}

PostCalcOutcome costPostCalc(const PostCalculation& postCalc, const COrder& order, const CPlantData& plantData)
{
    const std::int32_t produced = postCalc.produced(order);
    const std::int32_t good = postCalc.good(order);
    if (const auto mismatch = actualsMismatch(order, postCalc.actuals, produced, good))
        return { std::nullopt, QString::fromStdString(*mismatch), false };
    const QuoteAtQuantity quote = quoteAt(postCalc.quoteFile, produced);
    try {
        PostCalcResult result = postCalculate(order, plantData, produced, good, postCalc.actuals, quote.quote);
        if (!quote.quote)
            result.noQuoteReason = quote.missing.toStdString();
        return { std::move(result), QString(), quote.unreadable };
    } catch (const PriceScaleError& error) {
        return { std::nullopt, QString::fromStdString(error.what()), quote.unreadable };
    }
}

} // namespace kalkora::files
