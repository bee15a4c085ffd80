#include "files/JsonReader.h"

#include "text/Cp1252.h"

#include <QJsonArray>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace kalkora::files {

namespace {

bool isInt32(double number)
{
    return number == std::trunc(number) && number >= std::numeric_limits<std::int32_t>::min()
        && number <= std::numeric_limits<std::int32_t>::max();
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The end of the number at `i` when it is a negative zero ("-0", "-0.00", "-0e5"), else `i`.
qsizetype negativeZeroEnd(const QByteArray& json, qsizetype i)
{
    const qsizetype size = json.size();
    if (i + 1 >= size || json[i] != '-' || json[i + 1] != '0')
        return i;
    qsizetype end = i + 2;
    if (end < size && json[end] == '.') {
        for (++end; end < size && isDigit(json[end]); ++end) {
            if (json[end] != '0')
                return i;
        }
    }
    if (end < size && (json[end] == 'e' || json[end] == 'E')) {
        ++end;
        if (end < size && (json[end] == '+' || json[end] == '-'))
            ++end;
        while (end < size && isDigit(json[end]))
            ++end;
    }
    return end < size && isDigit(json[end]) ? i : end;
}

// `json` with every negative zero number outside strings replaced by the string "-0"; empty
// when it holds none.
QByteArray quoteNegativeZeros(const QByteArray& json)
{
    QByteArray out;
    bool inString = false;
    qsizetype copied = 0;
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (const qsizetype end = negativeZeroEnd(json, i); end != i) {
            out += json.mid(copied, i - copied);
            out += "\"-0\"";
            copied = end;
            i = end - 1;
        }
    }
    if (copied > 0)
        out += json.mid(copied);
    return out;
}

} // namespace

QJsonDocument parseJson(const QByteArray& json, QJsonParseError* error)
{
    // The original text decides what is valid and where an error lies; a valid one is read
    // again only when it holds a negative zero.
    QJsonParseError parseError;
    QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (error)
        *error = parseError;
    if (parseError.error != QJsonParseError::NoError)
        return document;
    const QByteArray quoted = quoteNegativeZeros(json);
    return quoted.isEmpty() ? document : QJsonDocument::fromJson(quoted);
}

JsonReader::JsonReader(
    const QJsonObject& object, QString path, std::optional<QString>& error, const JsonWording& wording)
    : object(object)
    , path(std::move(path))
    , error(error)
    , wording(wording)
{
}

DocumentObject documentObject(const QByteArray& json)
{
    QJsonParseError parseError;
    const QJsonDocument document = parseJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        return { {},
            QStringLiteral("kein gültiges JSON: %1 (Byte %2)").arg(parseError.errorString()).arg(parseError.offset) };
    }
    if (!document.isObject())
        return { {}, QStringLiteral("kein JSON-Objekt") };
    return { document.object(), std::nullopt };
}

void JsonReader::fail(const QString& key, const QString& problem)
{
    failAt(qualified(key), problem);
}

void JsonReader::failAt(const QString& at, const QString& problem)
{
    if (!error)
        error = QStringLiteral("Schlüssel „%1“: %2").arg(at, problem);
}

QString JsonReader::qualified(const QString& key) const
{
    return path.isEmpty() ? key : path + u'.' + key;
}

bool JsonReader::present(const char* key)
{
    if (!value(key).isUndefined())
        return true;
    fail(QLatin1String(key), QStringLiteral("fehlt"));
    return false;
}

void JsonReader::allowOnly(std::span<const char* const> keys)
{
    for (auto it = object.begin(); it != object.end() && !failed(); ++it) {
        if (std::none_of(keys.begin(), keys.end(), [&](const char* key) { return it.key() == QLatin1String(key); }))
            fail(it.key(), QString::fromUtf8(wording.unknownKey));
    }
}

void JsonReader::read(const char* key, float& value)
{
    const QJsonValue json = this->value(key);
    if (json.isUndefined() || failed())
        return;
    if (json.isString()) {
        readNonFinite(key, json.toString(), value);
        return;
    }
    if (!json.isDouble()) {
        fail(QLatin1String(key), QStringLiteral("Zahl oder \"inf\", \"-inf\", \"nan\" erwartet."));
        return;
    }
    const auto single = static_cast<float>(json.toDouble());
    if (std::isinf(single))
        fail(QLatin1String(key), QStringLiteral("Zahl außerhalb des Bereichs einer einfachen Gleitkommazahl."));
    else
        value = single;
}

void JsonReader::read(const char* key, std::int32_t& value)
{
    const QJsonValue json = this->value(key);
    if (json.isUndefined() || failed())
        return;
    if (json.isDouble() && isInt32(json.toDouble()))
        value = static_cast<std::int32_t>(json.toDouble());
    else if (json.toString() == QLatin1String("-0")) // a negative zero number, see parseJson
        value = 0;
    else
        fail(QLatin1String(key), QStringLiteral("ganze Zahl zwischen -2147483648 und 2147483647 erwartet."));
}

void JsonReader::read(const char* key, std::string& cp1252)
{
    const QJsonValue json = value(key);
    if (json.isUndefined() || failed())
        return;
    if (!json.isString()) {
        fail(QLatin1String(key), QStringLiteral("Text erwartet."));
        return;
    }
    bool lossy = false;
    std::string converted = text::utf16ToCp1252(json.toString().toStdU16String(), &lossy);
    if (lossy)
        fail(QLatin1String(key), QStringLiteral("der Text enthält Zeichen, die Windows-1252 nicht darstellen kann."));
    else
        cp1252 = std::move(converted);
}

void JsonReader::readNonFinite(const char* key, const QString& text, float& value)
{
    if (text == QLatin1String("inf"))
        value = std::numeric_limits<float>::infinity();
    else if (text == QLatin1String("-inf"))
        value = -std::numeric_limits<float>::infinity();
    else if (text == QLatin1String("nan"))
        value = std::numeric_limits<float>::quiet_NaN();
    else if (text == QLatin1String("-0"))
        value = -0.0f;
    else
        fail(QLatin1String(key), QStringLiteral("Zahl oder \"inf\", \"-inf\", \"nan\" erwartet."));
}

QString JsonReader::text(const char* key)
{
    const QJsonValue json = value(key);
    if (json.isUndefined())
        return {};
    if (!json.isString())
        fail(QLatin1String(key), QStringLiteral("ein Text erwartet"));
    return json.toString();
}

QDate JsonReader::date(const char* key)
{
    const QString typed = text(key);
    const QDate date = QDate::fromString(typed, Qt::ISODate);
    if (!typed.isEmpty() && !date.isValid())
        fail(QLatin1String(key), QStringLiteral("ein Datum JJJJ-MM-TT erwartet"));
    return date;
}

std::int64_t JsonReader::scaledOf(
    const QJsonValue& value, const QString& at, int decimals, std::int64_t min, std::int64_t max)
{
    std::optional<std::int64_t> parsed;
    if (value.isDouble()) {
        // The shortest form that reads back to the same double is the number as it was written.
        char buffer[400];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value.toDouble(), std::chars_format::fixed).ptr;
        parsed = parseScaled(std::string_view(buffer, std::size_t(end - buffer)), decimals);
    }
    if (parsed && *parsed >= min && *parsed <= max)
        return *parsed;
    failAt(at,
        QStringLiteral("eine Zahl von %1 bis %2 mit höchstens %3 Nachkommastellen erwartet")
            .arg(QString::fromStdString(formatScaled(min, decimals, ',')),
                QString::fromStdString(formatScaled(max, decimals, ',')),
                decimals == 2 ? QStringLiteral("zwei") : QStringLiteral("vier")));
    return 0;
}

std::int64_t JsonReader::wholeNumber(const char* key, std::int64_t min, std::int64_t max)
{
    const QJsonValue json = value(key);
    const double number = json.toDouble();
    if (json.isDouble() && number == std::floor(number) && number >= double(min) && number <= double(max))
        return std::int64_t(number);
    fail(QLatin1String(key), QStringLiteral("eine ganze Zahl von %1 bis %2 erwartet").arg(min).arg(max));
    return min;
}

std::int32_t JsonReader::quantityOf(const QJsonValue& value, const QString& at)
{
    const double number = value.toDouble();
    if (value.isDouble() && number == std::floor(number) && number >= 1
        && number <= std::numeric_limits<std::int32_t>::max())
        return std::int32_t(number);
    failAt(at, QStringLiteral("eine Stückzahl von 1 bis 2147483647 erwartet"));
    return 1;
}

std::vector<JsonReader::Item> JsonReader::arrayItems(const char* key)
{
    const QJsonValue json = value(key);
    if (json.isUndefined() || failed())
        return {};
    if (!json.isArray()) {
        fail(QLatin1String(key), QString::fromUtf8(wording.list));
        return {};
    }
    const QJsonArray array = json.toArray();
    std::vector<Item> items;
    for (qsizetype i = 0; i < array.size(); ++i)
        items.push_back({ array.at(i), QStringLiteral("%1[%2]").arg(qualified(QLatin1String(key))).arg(i) });
    return items;
}

} // namespace kalkora::files
