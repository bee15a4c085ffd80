#include "cli/JsonCodec.h"

#include "cli/JsonWriter.h"
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

namespace kalkora::cli {

namespace {

void writePlant(JsonWriter& json, const CPlantData& p)
{
    json.beginObject("plant");
    json.number("rentPerSqmYear", p.rentPerSqmYear);
    json.number("energyPricePerKwh", p.energyPricePerKwh);
    json.number("hoursPerShift", p.hoursPerShift);
    json.number("workDaysPerYear", p.workDaysPerYear);
    json.number("interestRatePct", p.interestRatePct);
    json.number("operatorVarRate12", p.operatorVarRate12);
    json.number("operatorFixedRate12", p.operatorFixedRate12);
    json.number("operatorVarRate3", p.operatorVarRate3);
    json.number("operatorFixedRate3", p.operatorFixedRate3);
    json.number("overheadExternalPct", p.overheadExternalPct);
    json.number("overheadMaterialPct", p.overheadMaterialPct);
    json.triple("hoursPerYear", p.hoursPerYear);
    json.endObject();
}

void writeMachine(JsonWriter& json, const CMachine& m)
{
    json.beginObject();
    json.text("name", m.name);
    json.number("purchaseCost", m.purchaseCost);
    json.number("usefulLifeYears", m.usefulLifeYears);
    json.number("installedPowerKw", m.installedPowerKw);
    json.number("floorAreaSqm", m.floorAreaSqm);
    json.number("toolCostPerYear", m.toolCostPerYear);
    json.number("maintenancePerYear", m.maintenancePerYear);
    json.number("powerUsagePct", m.powerUsagePct);
    json.triple("fixedRate", m.fixedRate);
    json.triple("variableRate", m.variableRate);
    json.endObject();
}

void writeOperation(JsonWriter& json, const COperation& op)
{
    json.beginObject();
    json.number("isInternal", op.isInternal);
    json.text("name", op.name);
    json.number("externalCostPerPiece", op.externalCostPerPiece);
    json.number("externalLotSize", op.externalLotSize);
    json.text("machineName", op.machineName);
    json.number("setupTimeMin", op.setupTimeMin);
    json.number("lotSize", op.lotSize);
    json.number("shiftMode", op.shiftMode);
    json.number("machineTimeMin", op.machineTimeMin);
    json.number("operatorTimeMin", op.operatorTimeMin);
    json.number("materialUtilPct", op.materialUtilPct);
    json.number("machineUtilPct", op.machineUtilPct);
    json.number("materialWeightKg", op.materialWeightKg);
    json.number("materialPricePerKg", op.materialPricePerKg);
    json.endObject();
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

    // Every key must be one of `known`.
    void allowOnly(std::initializer_list<const char*> known)
    {
        for (auto it = object.begin(); it != object.end() && !error; ++it) {
            if (std::find_if(known.begin(), known.end(), [&](const char* k) { return it.key() == QLatin1String(k); })
                == known.end())
                fail(it.key(), QStringLiteral("unbekannter Schlüssel."));
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

void readPlant(JsonReader& json, CPlantData& p)
{
    json.allowOnly({ "rentPerSqmYear", "energyPricePerKwh", "hoursPerShift", "workDaysPerYear", "interestRatePct",
        "operatorVarRate12", "operatorFixedRate12", "operatorVarRate3", "operatorFixedRate3", "overheadExternalPct",
        "overheadMaterialPct", "hoursPerYear" });
    json.read("rentPerSqmYear", p.rentPerSqmYear);
    json.read("energyPricePerKwh", p.energyPricePerKwh);
    json.read("hoursPerShift", p.hoursPerShift);
    json.read("workDaysPerYear", p.workDaysPerYear);
    json.read("interestRatePct", p.interestRatePct);
    json.read("operatorVarRate12", p.operatorVarRate12);
    json.read("operatorFixedRate12", p.operatorFixedRate12);
    json.read("operatorVarRate3", p.operatorVarRate3);
    json.read("operatorFixedRate3", p.operatorFixedRate3);
    json.read("overheadExternalPct", p.overheadExternalPct);
    json.read("overheadMaterialPct", p.overheadMaterialPct);
}

void readMachine(JsonReader& json, CMachine& m)
{
    json.allowOnly({ "name", "purchaseCost", "usefulLifeYears", "installedPowerKw", "floorAreaSqm", "toolCostPerYear",
        "maintenancePerYear", "powerUsagePct", "fixedRate", "variableRate" });
    json.read("name", m.name);
    json.read("purchaseCost", m.purchaseCost);
    json.read("usefulLifeYears", m.usefulLifeYears);
    json.read("installedPowerKw", m.installedPowerKw);
    json.read("floorAreaSqm", m.floorAreaSqm);
    json.read("toolCostPerYear", m.toolCostPerYear);
    json.read("maintenancePerYear", m.maintenancePerYear);
    json.read("powerUsagePct", m.powerUsagePct);
}

void readOperation(JsonReader& json, COperation& op)
{
    json.allowOnly({ "isInternal", "name", "externalCostPerPiece", "externalLotSize", "machineName", "setupTimeMin",
        "lotSize", "shiftMode", "machineTimeMin", "operatorTimeMin", "materialUtilPct", "machineUtilPct",
        "materialWeightKg", "materialPricePerKg" });
    json.read("isInternal", op.isInternal);
    json.read("name", op.name);
    json.read("externalCostPerPiece", op.externalCostPerPiece);
    json.read("externalLotSize", op.externalLotSize);
    json.read("machineName", op.machineName);
    json.read("setupTimeMin", op.setupTimeMin);
    json.read("lotSize", op.lotSize);
    json.read("shiftMode", op.shiftMode);
    json.read("machineTimeMin", op.machineTimeMin);
    json.read("operatorTimeMin", op.operatorTimeMin);
    json.read("materialUtilPct", op.materialUtilPct);
    json.read("machineUtilPct", op.machineUtilPct);
    json.read("materialWeightKg", op.materialWeightKg);
    json.read("materialPricePerKg", op.materialPricePerKg);
}

} // namespace

std::string masterDataToJson(const CPlantData& plantData)
{
    JsonWriter json;
    json.beginObject();
    json.text("kind", "master");
    writePlant(json, plantData);
    json.beginArray("machines");
    for (std::int32_t i = 0; i < plantData.machines.count(); ++i)
        writeMachine(json, *plantData.machines.at(i));
    json.endArray();
    json.endObject();
    return json.take();
}

std::string orderToJson(const COrder& order)
{
    JsonWriter json;
    json.beginObject();
    json.text("kind", "order");
    json.text("name", order.name);
    json.text("remark", order.remark);
    json.number("quantityBase", order.quantityBase);
    json.beginArray("operations");
    for (std::int32_t i = 0; i < order.operations.count(); ++i)
        writeOperation(json, *order.operations.at(i));
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
    json.readObject("plant", [&](JsonReader& plant) { readPlant(plant, fresh); });
    json.readArray("machines", [&](JsonReader& item) {
        auto machine = std::make_unique<CMachine>();
        readMachine(item, *machine);
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
    json.allowOnly({ "kind", "name", "remark", "quantityBase", "operations" });
    json.read("name", fresh.name);
    json.read("remark", fresh.remark);
    json.read("quantityBase", fresh.quantityBase);
    json.readArray("operations", [&](JsonReader& item) {
        auto operation = std::make_unique<COperation>();
        readOperation(item, *operation);
        fresh.operations.add(std::move(operation));
    });
    if (!error)
        order = std::move(fresh);
    return error;
}

} // namespace kalkora::cli
