#include "cli/JsonCodec.h"

#include "costing/JsonWriter.h"
#include "text/Cp1252.h"

#include <QJsonArray>
#include <QJsonValue>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <memory>
#include <string_view>
#include <type_traits>
#include <variant>

namespace kalkora::cli {

namespace {

// One member of a record under its JSON key. The three-float members are derived from the
// others: written, allowed on input, never read.
template <typename Record> struct Field {
    const char* key;
    std::variant<float Record::*, std::int32_t Record::*, std::string Record::*, float (Record::*)[3]> member;
};

const Field<CPlantData> plantFields[] = {
    { "rentPerSqmYear", &CPlantData::rentPerSqmYear },
    { "energyPricePerKwh", &CPlantData::energyPricePerKwh },
    { "hoursPerShift", &CPlantData::hoursPerShift },
    { "workDaysPerYear", &CPlantData::workDaysPerYear },
    { "interestRatePct", &CPlantData::interestRatePct },
    { "operatorVarRate12", &CPlantData::operatorVarRate12 },
    { "operatorFixedRate12", &CPlantData::operatorFixedRate12 },
    { "operatorVarRate3", &CPlantData::operatorVarRate3 },
    { "operatorFixedRate3", &CPlantData::operatorFixedRate3 },
    { "overheadExternalPct", &CPlantData::overheadExternalPct },
    { "overheadMaterialPct", &CPlantData::overheadMaterialPct },
    { "hoursPerYear", &CPlantData::hoursPerYear },
};

const Field<CMachine> machineFields[] = {
    { "name", &CMachine::name },
    { "purchaseCost", &CMachine::purchaseCost },
    { "usefulLifeYears", &CMachine::usefulLifeYears },
    { "installedPowerKw", &CMachine::installedPowerKw },
    { "floorAreaSqm", &CMachine::floorAreaSqm },
    { "toolCostPerYear", &CMachine::toolCostPerYear },
    { "maintenancePerYear", &CMachine::maintenancePerYear },
    { "powerUsagePct", &CMachine::powerUsagePct },
    { "fixedRate", &CMachine::fixedRate },
    { "variableRate", &CMachine::variableRate },
};

// The order's own members; "kind" comes before them and "operations" after them.
const Field<COrder> orderFields[] = {
    { "name", &COrder::name },
    { "remark", &COrder::remark },
    { "quantityBase", &COrder::quantityBase },
};

const Field<COperation> operationFields[] = {
    { "isInternal", &COperation::isInternal },
    { "name", &COperation::name },
    { "externalCostPerPiece", &COperation::externalCostPerPiece },
    { "externalLotSize", &COperation::externalLotSize },
    { "machineName", &COperation::machineName },
    { "setupTimeMin", &COperation::setupTimeMin },
    { "lotSize", &COperation::lotSize },
    { "shiftMode", &COperation::shiftMode },
    { "machineTimeMin", &COperation::machineTimeMin },
    { "operatorTimeMin", &COperation::operatorTimeMin },
    { "materialUtilPct", &COperation::materialUtilPct },
    { "machineUtilPct", &COperation::machineUtilPct },
    { "materialWeightKg", &COperation::materialWeightKg },
    { "materialPricePerKg", &COperation::materialPricePerKg },
};

template <typename Record, std::size_t N>
void writeFields(JsonWriter& json, const Record& record, const Field<Record> (&fields)[N])
{
    for (const Field<Record>& field : fields) {
        std::visit(
            [&](auto member) {
                if constexpr (std::is_same_v<decltype(member), std::string Record::*>)
                    json.text(field.key, record.*member);
                else if constexpr (std::is_same_v<decltype(member), float(Record::*)[3]>)
                    json.triple(field.key, record.*member);
                else
                    json.number(field.key, record.*member);
            },
            field.member);
    }
}

bool isInt32(double number)
{
    return number == std::trunc(number) && number >= std::numeric_limits<std::int32_t>::min()
        && number <= std::numeric_limits<std::int32_t>::max();
}

// Reads the members of one JSON object and keeps the first error, named by the key's path
// ("machines[2].purchaseCost").
class JsonReader {
public:
    JsonReader(const QJsonObject& object, QString path, std::optional<QString>& error)
        : object(object)
        , path(std::move(path))
        , error(error)
    {
    }

    // Every key must be one of `fields` or `others`.
    template <typename Record, std::size_t N>
    void allowOnly(const Field<Record> (&fields)[N], std::initializer_list<const char*> others = {})
    {
        rejectUnknownKeys([&](const QString& key) {
            return std::any_of(std::begin(fields), std::end(fields), [&](const Field<Record>& field) {
                return key == QLatin1String(field.key);
            }) || isOneOf(key, others);
        });
    }
    void allowOnly(std::initializer_list<const char*> keys)
    {
        rejectUnknownKeys([&](const QString& key) { return isOneOf(key, keys); });
    }

    // Reads every member of `fields` that is present; derived members are not read.
    template <typename Record, std::size_t N> void readFields(Record& record, const Field<Record> (&fields)[N])
    {
        for (const Field<Record>& field : fields) {
            std::visit(
                [&](auto member) {
                    if constexpr (!std::is_same_v<decltype(member), float(Record::*)[3]>)
                        read(field.key, record.*member);
                },
                field.member);
        }
    }

    void read(const char* key, float& value)
    {
        const QJsonValue json = object.value(QLatin1String(key));
        if (json.isUndefined() || error)
            return;
        if (json.isString()) {
            readNonFinite(key, json.toString(), value);
            return;
        }
        if (!json.isDouble()) {
            fail(key, QStringLiteral("Zahl oder \"inf\", \"-inf\", \"nan\" erwartet."));
            return;
        }
        const double number = json.toDouble();
        const auto single = static_cast<float>(number);
        if (std::isinf(single))
            fail(key, QStringLiteral("Zahl außerhalb des Bereichs einer einfachen Gleitkommazahl."));
        else
            value = single;
    }

    void read(const char* key, std::int32_t& value)
    {
        const QJsonValue json = object.value(QLatin1String(key));
        if (json.isUndefined() || error)
            return;
        if (json.isDouble() && isInt32(json.toDouble()))
            value = static_cast<std::int32_t>(json.toDouble());
        else if (json.toString() == QLatin1String("-0")) // a negative zero number, see parseJson
            value = 0;
        else
            fail(key, QStringLiteral("ganze Zahl zwischen -2147483648 und 2147483647 erwartet."));
    }

    void read(const char* key, std::string& value)
    {
        const QJsonValue json = object.value(QLatin1String(key));
        if (json.isUndefined() || error)
            return;
        if (!json.isString()) {
            fail(key, QStringLiteral("Text erwartet."));
            return;
        }
        bool lossy = false;
        std::string cp1252 = text::utf16ToCp1252(json.toString().toStdU16String(), &lossy);
        if (lossy)
            fail(key, QStringLiteral("der Text enthält Zeichen, die Windows-1252 nicht darstellen kann."));
        else
            value = std::move(cp1252);
    }

    // The objects of the array `key`, each handed to `readItem` with its own reader.
    template <typename ReadItem> void readArray(const char* key, ReadItem readItem)
    {
        const QJsonValue json = object.value(QLatin1String(key));
        if (json.isUndefined() || error)
            return;
        if (!json.isArray()) {
            fail(key, QStringLiteral("Liste erwartet."));
            return;
        }
        const QJsonArray array = json.toArray();
        for (qsizetype i = 0; i < array.size() && !error; ++i) {
            const QString itemPath = QStringLiteral("%1[%2]").arg(qualified(QLatin1String(key))).arg(i);
            if (!array.at(i).isObject()) {
                error = QStringLiteral("Schlüssel „%1“: Objekt erwartet.").arg(itemPath);
                return;
            }
            JsonReader item(array.at(i).toObject(), itemPath, error);
            readItem(item);
        }
    }

    // The object `key`, handed to `readMembers` with its own reader.
    template <typename ReadMembers> void readObject(const char* key, ReadMembers readMembers)
    {
        const QJsonValue json = object.value(QLatin1String(key));
        if (json.isUndefined() || error)
            return;
        if (!json.isObject()) {
            fail(key, QStringLiteral("Objekt erwartet."));
            return;
        }
        JsonReader members(json.toObject(), qualified(QLatin1String(key)), error);
        readMembers(members);
    }

private:
    static bool isOneOf(const QString& key, std::initializer_list<const char*> keys)
    {
        return std::any_of(keys.begin(), keys.end(), [&](const char* k) { return key == QLatin1String(k); });
    }

    template <typename Known> void rejectUnknownKeys(Known known)
    {
        for (auto it = object.begin(); it != object.end() && !error; ++it) {
            if (!known(it.key()))
                fail(it.key(), QStringLiteral("unbekannter Schlüssel."));
        }
    }

    void readNonFinite(const char* key, const QString& text, float& value)
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
            fail(key, QStringLiteral("Zahl oder \"inf\", \"-inf\", \"nan\" erwartet."));
    }

    QString qualified(const QString& key) const { return path.isEmpty() ? key : path + u'.' + key; }

    void fail(const QString& key, const QString& problem)
    {
        error = QStringLiteral("Schlüssel „%1“: %2").arg(qualified(key), problem);
    }
    void fail(const char* key, const QString& problem) { fail(QLatin1String(key), problem); }

    QJsonObject object;
    QString path;
    std::optional<QString>& error;
};

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

std::string masterDataToJson(const CPlantData& plantData)
{
    JsonWriter json;
    json.beginObject();
    json.text("kind", "master");
    json.beginObject("plant");
    writeFields(json, plantData, plantFields);
    json.endObject();
    json.beginArray("machines");
    for (std::int32_t i = 0; i < plantData.machines.count(); ++i) {
        json.beginObject();
        writeFields(json, *plantData.machines.at(i), machineFields);
        json.endObject();
    }
    json.endArray();
    json.endObject();
    return json.take();
}

std::string orderToJson(const COrder& order)
{
    JsonWriter json;
    json.beginObject();
    json.text("kind", "order");
    writeFields(json, order, orderFields);
    json.beginArray("operations");
    for (std::int32_t i = 0; i < order.operations.count(); ++i) {
        json.beginObject();
        writeFields(json, *order.operations.at(i), operationFields);
        json.endObject();
    }
    json.endArray();
    json.endObject();
    return json.take();
}

std::optional<QString> masterDataFromJson(const QJsonObject& object, CPlantData& plantData)
{
    std::optional<QString> error;
    CPlantData fresh;
    JsonReader json(object, QString(), error);
    json.allowOnly({ "kind", "plant", "machines" });
    json.readObject("plant", [&](JsonReader& plant) {
        plant.allowOnly(plantFields);
        plant.readFields(fresh, plantFields);
    });
    json.readArray("machines", [&](JsonReader& item) {
        auto machine = std::make_unique<CMachine>();
        item.allowOnly(machineFields);
        item.readFields(*machine, machineFields);
        fresh.machines.add(std::move(machine));
    });
    if (!error)
        plantData = std::move(fresh);
    return error;
}

std::optional<QString> orderFromJson(const QJsonObject& object, COrder& order)
{
    std::optional<QString> error;
    COrder fresh;
    JsonReader json(object, QString(), error);
    json.allowOnly(orderFields, { "kind", "operations" });
    json.readFields(fresh, orderFields);
    json.readArray("operations", [&](JsonReader& item) {
        auto operation = std::make_unique<COperation>();
        item.allowOnly(operationFields);
        item.readFields(*operation, operationFields);
        fresh.operations.add(std::move(operation));
    });
    if (!error)
        order = std::move(fresh);
    return error;
}

} // namespace kalkora::cli
