#pragma once

#include "costing/Money.h"

#include <QDate>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kalkora::files {

// The one strict reader of the program's JSON files: every key must be one the format knows, every
// value of the type and range it asks for, and the first fault is kept as a German message that
// names the key by its path ("machines[2].purchaseCost", "offered[0].total"). Reading goes on
// after a fault without effect, so that a format reads its keys in order and checks once.

// QJsonDocument::fromJson, except that a negative zero number keeps its sign, which Qt's
// reader drops: it reaches the readers as the string "-0" (the form earlier versions wrote),
// read as -0 in a float and as 0 in an integer. Errors are reported at their place in `json`.
QJsonDocument parseJson(const QByteArray& json, QJsonParseError* error = nullptr);

// The object at the top of a document (parsed as parseJson does), or why there is none, in the
// words of a message that goes on "ist kein lesbares …: ".
struct DocumentObject {
    QJsonObject object;
    std::optional<QString> error;
};
DocumentObject documentObject(const QByteArray& json);

// How a format words the faults every format can have. The conversion files of kalkora-cli say
// "Objekt erwartet.", the quote file "ein Objekt erwartet" inside a sentence of its own.
struct JsonWording {
    const char* object;
    const char* list;
    const char* unknownKey;
};
inline constexpr JsonWording kConversionWording { "Objekt erwartet.", "Liste erwartet.", "unbekannter Schlüssel." };
inline constexpr JsonWording kDocumentWording { "ein Objekt erwartet", "eine Liste erwartet", "unbekannter Schlüssel" };

// The keys of a format's fields, columns or members (anything with a `key`), for allowOnly.
template <typename Fields> std::vector<const char*> keysOf(const Fields& fields, std::vector<const char*> others = {})
{
    for (const auto& field : fields)
        others.push_back(field.key);
    return others;
}

class JsonReader {
public:
    // The fault goes to `error`, which the readers of nested objects share.
    JsonReader(const QJsonObject& object, QString path, std::optional<QString>& error, const JsonWording& wording);

    bool failed() const { return error.has_value(); }
    // Keeps the first fault only.
    void fail(const QString& key, const QString& problem);

    // Every key of the object must be one of `keys`.
    void allowOnly(std::initializer_list<const char*> keys) { allowOnly(std::span(keys.begin(), keys.end())); }
    void allowOnly(std::span<const char* const> keys);

    QJsonValue value(const char* key) const { return object.value(QLatin1String(key)); }
    // Whether a required key is there; says so where it is missing.
    bool present(const char* key);

    // The conversion files' members: a float (a number, or "inf", "-inf", "nan", "-0"), a 32-bit
    // integer, a text that Windows-1252 can hold. A missing key leaves the value as it is.
    void read(const char* key, float& value);
    void read(const char* key, std::int32_t& value);
    void read(const char* key, std::string& cp1252);

    // The quote file's members; a missing key is empty, or 0.
    QString text(const char* key);
    QDate date(const char* key);
    // A count of hundredths: at most two decimals, within [min, max]. The ...Of forms read a value
    // found at `path`, such as an item of an array.
    std::int64_t hundredths(const char* key, std::int64_t min, std::int64_t max) { return scaled(key, 2, min, max); }
    std::int64_t scaled(const char* key, int decimals, std::int64_t min, std::int64_t max)
    {
        const QJsonValue json = value(key);
        return json.isUndefined() ? 0 : scaledOf(json, qualified(QLatin1String(key)), decimals, min, max);
    }
    std::int64_t hundredthsOf(const QJsonValue& value, const QString& path, std::int64_t min, std::int64_t max)
    {
        return scaledOf(value, path, 2, min, max);
    }
    // The same with at most `decimals` decimals (two or four), as a count of their smallest unit.
    std::int64_t scaledOf(
        const QJsonValue& value, const QString& path, int decimals, std::int64_t min, std::int64_t max);
    // A whole number within [min, max]; required.
    std::int64_t wholeNumber(const char* key, std::int64_t min, std::int64_t max);
    // A whole number of pieces, 1 … 2^31-1; required.
    std::int32_t quantity(const char* key) { return quantityOf(value(key), qualified(QLatin1String(key))); }
    std::int32_t quantityOf(const QJsonValue& value, const QString& path);

    // The items of the array `key`, each handed to `readItem` with its path ("offered[2]"): a
    // reader of its own for an array of objects, the value for one of numbers.
    template <typename ReadItem> void readArray(const char* key, ReadItem readItem)
    {
        for (const auto& [item, path] : arrayItems(key)) {
            if (failed())
                return;
            if (!item.isObject()) {
                failAt(path, QString::fromUtf8(wording.object));
                return;
            }
            JsonReader itemReader(item.toObject(), path, error, wording);
            readItem(itemReader);
        }
    }
    template <typename ReadItem> void readValues(const char* key, ReadItem readItem)
    {
        for (const auto& [item, path] : arrayItems(key))
            readItem(item, path);
    }

    // The object `key`, handed to `readMembers` with its own reader; nothing when it is missing.
    template <typename ReadMembers> void readObject(const char* key, ReadMembers readMembers)
    {
        const QJsonValue json = value(key);
        if (json.isUndefined() || failed())
            return;
        if (!json.isObject()) {
            fail(QLatin1String(key), QString::fromUtf8(wording.object));
            return;
        }
        JsonReader members(json.toObject(), qualified(QLatin1String(key)), error, wording);
        readMembers(members);
    }

private:
    struct Item {
        QJsonValue value;
        QString path;
    };
    std::vector<Item> arrayItems(const char* key);
    QString qualified(const QString& key) const;
    void failAt(const QString& path, const QString& problem);
    void readNonFinite(const char* key, const QString& text, float& value);

    QJsonObject object;
    QString path;
    std::optional<QString>& error;
    const JsonWording& wording;
};

} // namespace kalkora::files
