#include "files/OfferFile.h"

#include "costing/QuoteTables.h"
#include "files/JsonReader.h"
#include "files/StoredPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace kalkora::files {

namespace {

constexpr const char* kKind = "kalkora-angebot";
constexpr int kVersion = 1;

QString dateText(const QDate& date)
{
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

// Exact to the cent: far below 2^53 cents.
QJsonValue amount(std::int64_t hundredths)
{
    return double(hundredths) / 100.0;
}

QJsonObject schemeToJson(const SalesScheme& scheme)
{
    QJsonObject json;
    for (const SchemeField& field : kSchemeFields)
        json.insert(QLatin1String(field.key), amount(field.countIn(scheme)));
    return json;
}

QJsonArray offeredToJson(const std::vector<OfferedPrice>& offered)
{
    QJsonArray json;
    for (const OfferedPrice& price : offered) {
        QJsonObject object;
        for (const auto& column : offeredColumns())
            object.insert(QLatin1String(column.key),
                column.extra ? amount((price.*column.extra).count()) : QJsonValue(price.quantity));
        json.append(object);
    }
    return json;
}

void readScheme(JsonReader& reader, SalesScheme& scheme)
{
    for (const SchemeField& field : kSchemeFields)
        field.setIn(scheme, reader.hundredths(field.key, field.min, field.max));
    reader.allowOnly(keysOf(kSchemeFields));
    if (!discountsLeaveAPrice(scheme))
        reader.fail(QStringLiteral("commissionPct"),
            QStringLiteral("Kundenskonto und Vertreterprovision zusammen unter 100 erwartet"));
}

void readOffered(JsonReader& reader, OfferedPrice& price)
{
    reader.allowOnly(keysOf(offeredColumns()));
    // Offered prices are kept whatever they were, within what a priced row can hold.
    constexpr std::int64_t limit = 9'999'999'999'999;
    for (const auto& column : offeredColumns()) {
        if (column.extra)
            price.*column.extra = Money(reader.hundredths(column.key, -limit, limit));
        else
            price.quantity = reader.quantity(column.key);
    }
}

void readOffer(JsonReader& reader, const QString& folder, Offer& offer)
{
    if (reader.value("kind").toString() != QLatin1String(kKind))
        reader.fail(QStringLiteral("kind"), QStringLiteral("„%1“ erwartet").arg(QLatin1String(kKind)));
    if (reader.value("version") != QJsonValue(kVersion))
        reader.fail(QStringLiteral("version"), QStringLiteral("Version %1 erwartet").arg(kVersion));
    reader.allowOnly({ "kind", "version", "number", "date", "validUntil", "sender", "recipient", "subject", "intro",
        "closing", "footer", "partName", "cashDiscountDays", "paymentDays", "orderFile", "masterFile", "scheme",
        "quantities", "marketPrice", "offered" });
    offer.number = reader.text("number");
    offer.date = reader.date("date");
    offer.validUntil = reader.date("validUntil");
    offer.sender = reader.text("sender");
    offer.recipient = reader.text("recipient");
    offer.subject = reader.text("subject");
    offer.intro = reader.text("intro");
    offer.closing = reader.text("closing");
    offer.footer = reader.text("footer");
    offer.partName = reader.text("partName");
    for (const auto& [member, key] :
        { std::pair { &Offer::cashDiscountDays, "cashDiscountDays" }, { &Offer::paymentDays, "paymentDays" } }) {
        if (!reader.value(key).isUndefined())
            offer.*member = int(reader.wholeNumber(key, 0, kMaxPaymentDays));
    }
    for (const auto& [member, key] :
        { std::pair { &Offer::orderFile, "orderFile" }, { &Offer::masterFile, "masterFile" } }) {
        const QString stored = reader.text(key);
        offer.*member = resolvedPath(stored, folder);
    }
    reader.readObject("scheme", [&](JsonReader& scheme) { readScheme(scheme, offer.scheme); });
    reader.readValues("quantities", [&](const QJsonValue& quantity, const QString& path) {
        offer.quantities.push_back(reader.quantityOf(quantity, path));
    });
    if (const QJsonValue market = reader.value("marketPrice"); !market.isUndefined() && !market.isNull())
        offer.marketPrice = Money(
            reader.hundredthsOf(market, QStringLiteral("marketPrice"), kMarketPriceField.min, kMarketPriceField.max));
    reader.readArray("offered", [&](JsonReader& item) { readOffered(item, offer.offered.emplace_back()); });
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
        { QStringLiteral("footer"), offer.footer }, { QStringLiteral("partName"), offer.partName },
        { QStringLiteral("cashDiscountDays"), offer.cashDiscountDays },
        { QStringLiteral("paymentDays"), offer.paymentDays },
        { QStringLiteral("orderFile"), relativePath(offer.orderFile, folder) },
        { QStringLiteral("masterFile"), relativePath(offer.masterFile, folder) },
        { QStringLiteral("scheme"), schemeToJson(offer.scheme) }, { QStringLiteral("quantities"), quantities },
        { QStringLiteral("marketPrice"), offer.marketPrice ? amount(offer.marketPrice->count()) : QJsonValue() },
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
    std::optional<QString> error;
    Offer read;
    JsonReader reader(document.object(), QString(), error, kDocumentWording);
    readOffer(reader, folder, read);
    if (!error)
        offer = std::move(read);
    return error;
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
