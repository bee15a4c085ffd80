#include "files/OfferFile.h"

#include "costing/QuoteTables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace kalkora::files {

namespace {

constexpr const char* kKind = "kalkora-angebot";
constexpr int kVersion = 1;

// What makes a document unreadable: the key and what it should hold.
struct BadKey {
    QString key;
    QString expected;
};

QString dateText(const QDate& date)
{
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

QJsonValue amount(Hundredths value)
{
    return double(value.count()) / 100.0; // exact to the cent: far below 2^53 cents
}

QJsonObject schemeToJson(const SalesScheme& scheme)
{
    QJsonObject json;
    for (const SchemeField& field : kSchemeFields)
        json.insert(QLatin1String(field.key), amount(scheme.*field.member));
    return json;
}

QJsonArray offeredToJson(const std::vector<OfferedPrice>& offered)
{
    QJsonArray json;
    for (const OfferedPrice& price : offered) {
        QJsonObject object;
        for (const auto& column : offeredColumns())
            object.insert(
                QLatin1String(column.key), column.extra ? amount(price.*column.extra) : QJsonValue(price.quantity));
        json.append(object);
    }
    return json;
}

QString relativePath(const QString& path, const QString& folder)
{
    return path.isEmpty() ? path : QDir(folder).relativeFilePath(path);
}

// A stored path made absolute. Resolved by hand: Qt would take a name starting with ':' for one
// of its resources.
QString resolvedPath(const QString& stored, const QString& folder)
{
    if (stored.isEmpty())
        return stored;
    return QDir::cleanPath(stored.startsWith(u'/') ? stored : folder + u'/' + stored);
}

// Reads the members of one JSON object; every key must be one it asks for.
class ObjectReader {
public:
    ObjectReader(const QJsonValue& value, QString path)
        : object(value.toObject())
        , path(std::move(path))
    {
        if (!value.isObject())
            throw BadKey { this->path, QStringLiteral("ein Objekt erwartet") };
    }

    QString text(const char* key) const
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined())
            return {};
        if (!value.isString())
            throw BadKey { name(key), QStringLiteral("ein Text erwartet") };
        return value.toString();
    }

    QDate date(const char* key) const
    {
        const QString typed = text(key);
        const QDate date = QDate::fromString(typed, Qt::ISODate);
        if (!typed.isEmpty() && !date.isValid())
            throw BadKey { name(key), QStringLiteral("ein Datum JJJJ-MM-TT erwartet") };
        return date;
    }

    // A number of hundredths with at most two decimals, within [min, max]; 0 when missing.
    Hundredths hundredths(const char* key, std::int64_t min, std::int64_t max) const
    {
        const QJsonValue value = object.value(QLatin1String(key));
        return value.isUndefined() ? Hundredths() : hundredthsOf(value, name(key), min, max);
    }

    std::int32_t quantity(const char* key) const { return quantityOf(object.value(QLatin1String(key)), name(key)); }

    QJsonValue value(const char* key) const { return object.value(QLatin1String(key)); }

    QString name(const char* key) const
    {
        return path.isEmpty() ? QLatin1String(key) : path + u'.' + QLatin1String(key);
    }

    // Refuses keys that were not asked for.
    void expectOnly(std::initializer_list<const char*> keys) const { expectOnly(std::span(keys.begin(), keys.end())); }
    template <typename Row, typename Extra> void expectOnly(Columns<Row, Extra> columns) const
    {
        std::vector<const char*> keys;
        for (const auto& column : columns)
            keys.push_back(column.key);
        expectOnly(std::span<const char* const>(keys));
    }
    void expectOnly(std::span<const char* const> keys) const
    {
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (std::none_of(keys.begin(), keys.end(), [&](const char* key) { return it.key() == QLatin1String(key); }))
                throw BadKey { name(it.key().toUtf8().constData()), QStringLiteral("unbekannter Schlüssel") };
        }
    }

    static Hundredths hundredthsOf(const QJsonValue& value, const QString& key, std::int64_t min, std::int64_t max)
    {
        const BadKey bad { key,
            QStringLiteral("eine Zahl von %1 bis %2 mit höchstens zwei Nachkommastellen erwartet")
                .arg(QString::fromStdString(Hundredths(min).format(',')),
                    QString::fromStdString(Hundredths(max).format(','))) };
        if (!value.isDouble())
            throw bad;
        // The shortest form that reads back to the same double is the number as it was written.
        char buffer[32];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value.toDouble()).ptr;
        const std::optional<Hundredths> parsed = Hundredths::parse(std::string_view(buffer, end - buffer));
        if (!parsed || parsed->count() < min || parsed->count() > max)
            throw bad;
        return *parsed;
    }

    static std::int32_t quantityOf(const QJsonValue& value, const QString& key)
    {
        const double number = value.toDouble();
        if (!value.isDouble() || number != std::floor(number) || number < 1
            || number > std::numeric_limits<std::int32_t>::max())
            throw BadKey { key, QStringLiteral("eine Stückzahl von 1 bis 2147483647 erwartet") };
        return std::int32_t(number);
    }

private:
    QJsonObject object;
    QString path;
};

QJsonArray arrayOf(const QJsonValue& value, const QString& key)
{
    if (!value.isUndefined() && !value.isArray())
        throw BadKey { key, QStringLiteral("eine Liste erwartet") };
    return value.toArray();
}

SalesScheme schemeFrom(const QJsonValue& value)
{
    SalesScheme scheme;
    if (value.isUndefined())
        return scheme;
    const ObjectReader reader(value, QStringLiteral("scheme"));
    for (const SchemeField& field : kSchemeFields) {
        scheme.*field.member = reader.hundredths(field.key, field.min, field.max);
    }
    reader.expectOnly({ "adminPct", "salesPct", "profitPct", "cashDiscountPct", "commissionPct", "discountPct",
        "oneOffCost", "salesDirectPerPiece" });
    if (!discountsLeaveAPrice(scheme))
        throw BadKey { QStringLiteral("scheme.commissionPct"),
            QStringLiteral("Kundenskonto und Vertreterprovision zusammen unter 100 erwartet") };
    return scheme;
}

std::vector<OfferedPrice> offeredFrom(const QJsonValue& value)
{
    std::vector<OfferedPrice> offered;
    const QJsonArray items = arrayOf(value, QStringLiteral("offered"));
    for (qsizetype i = 0; i < items.size(); ++i) {
        const ObjectReader reader(items[i], QStringLiteral("offered[%1]").arg(i));
        reader.expectOnly(offeredColumns());
        // Offered prices are kept whatever they were, within what a priced row can hold.
        constexpr std::int64_t limit = 9'999'999'999'999;
        OfferedPrice& price = offered.emplace_back();
        for (const auto& column : offeredColumns()) {
            if (column.extra)
                price.*column.extra = reader.hundredths(column.key, -limit, limit);
            else
                price.quantity = reader.quantity(column.key);
        }
    }
    return offered;
}

Offer offerFrom(const QJsonDocument& document, const QString& folder)
{
    const ObjectReader reader(document.object(), QString());
    if (reader.value("kind").toString() != QLatin1String(kKind))
        throw BadKey { QStringLiteral("kind"), QStringLiteral("„%1“ erwartet").arg(QLatin1String(kKind)) };
    if (reader.value("version") != QJsonValue(kVersion))
        throw BadKey { QStringLiteral("version"), QStringLiteral("Version %1 erwartet").arg(kVersion) };
    reader.expectOnly({ "kind", "version", "number", "date", "validUntil", "sender", "recipient", "subject", "intro",
        "closing", "orderFile", "masterFile", "scheme", "quantities", "marketPrice", "offered" });
    Offer offer;
    offer.number = reader.text("number");
    offer.date = reader.date("date");
    offer.validUntil = reader.date("validUntil");
    offer.sender = reader.text("sender");
    offer.recipient = reader.text("recipient");
    offer.subject = reader.text("subject");
    offer.intro = reader.text("intro");
    offer.closing = reader.text("closing");
    for (const auto& [member, key] :
        { std::pair { &Offer::orderFile, "orderFile" }, { &Offer::masterFile, "masterFile" } }) {
        const QString stored = reader.text(key);
        offer.*member = resolvedPath(stored, folder);
    }
    offer.scheme = schemeFrom(reader.value("scheme"));
    const QJsonArray quantities = arrayOf(reader.value("quantities"), QStringLiteral("quantities"));
    for (qsizetype i = 0; i < quantities.size(); ++i)
        offer.quantities.push_back(ObjectReader::quantityOf(quantities[i], QStringLiteral("quantities[%1]").arg(i)));
    if (const QJsonValue market = reader.value("marketPrice"); !market.isUndefined() && !market.isNull())
        offer.marketPrice = ObjectReader::hundredthsOf(
            market, QStringLiteral("marketPrice"), kMarketPriceField.min, kMarketPriceField.max);
    offer.offered = offeredFrom(reader.value("offered"));
    return offer;
}

} // namespace

QByteArray offerToJson(const Offer& offer, const QString& folder)
{
    QJsonArray quantities;
    for (const std::int32_t quantity : offer.quantities)
        quantities.append(quantity);
    const QJsonObject json { { QStringLiteral("kind"), QLatin1String(kKind) }, { QStringLiteral("version"), kVersion },
        { QStringLiteral("number"), offer.number }, { QStringLiteral("date"), dateText(offer.date) },
        { QStringLiteral("validUntil"), dateText(offer.validUntil) }, { QStringLiteral("sender"), offer.sender },
        { QStringLiteral("recipient"), offer.recipient }, { QStringLiteral("subject"), offer.subject },
        { QStringLiteral("intro"), offer.intro }, { QStringLiteral("closing"), offer.closing },
        { QStringLiteral("orderFile"), relativePath(offer.orderFile, folder) },
        { QStringLiteral("masterFile"), relativePath(offer.masterFile, folder) },
        { QStringLiteral("scheme"), schemeToJson(offer.scheme) }, { QStringLiteral("quantities"), quantities },
        { QStringLiteral("marketPrice"), offer.marketPrice ? amount(*offer.marketPrice) : QJsonValue() },
        { QStringLiteral("offered"), offeredToJson(offer.offered) } };
    return QJsonDocument(json).toJson();
}

std::optional<QString> offerFromJson(const QByteArray& json, const QString& folder, Offer& offer)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return QStringLiteral("kein gültiges JSON: %1 (Byte %2)").arg(parseError.errorString()).arg(parseError.offset);
    if (!document.isObject())
        return QStringLiteral("kein JSON-Objekt");
    try {
        offer = offerFrom(document, folder);
    } catch (const BadKey& bad) {
        return QStringLiteral("Schlüssel „%1“: %2").arg(bad.key, bad.expected);
    }
    return std::nullopt;
}

FileResult loadOffer(const QString& path, Offer& offer)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return { FileStatus::CannotOpen, cannotOpenMessage(path, file.errorString()) };
    const QFileInfo info(path);
    if (const auto error = offerFromJson(file.readAll(), info.absolutePath(), offer)) {
        return { FileStatus::Damaged,
            QStringLiteral("Die Datei „%1“ ist kein lesbares Angebot: %2.").arg(info.fileName(), *error) };
    }
    return {};
}

FileResult saveOffer(const QString& path, const Offer& offer)
{
    const QByteArray json = offerToJson(offer, QFileInfo(path).absolutePath());
    return saveBytes(path, std::string_view(json.constData(), std::size_t(json.size())));
}

} // namespace kalkora::files
