#include "files/JsonCodec.h"

#include "costing/JsonWriter.h"
#include "files/JsonReader.h"

#include <QJsonArray>
#include <QJsonValue>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <type_traits>
#include <variant>

namespace kalkora::files {

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

// Every key must be one of `fields` or `others`.
template <typename Record, std::size_t N>
void allowOnly(JsonReader& json, const Field<Record> (&fields)[N], std::initializer_list<const char*> others = {})
{
    json.allowOnly(keysOf(fields, others));
}

// Reads every member of `fields` that is present; derived members are not read.
template <typename Record, std::size_t N>
void readFields(JsonReader& json, Record& record, const Field<Record> (&fields)[N])
{
    for (const Field<Record>& field : fields) {
        std::visit(
            [&](auto member) {
                if constexpr (!std::is_same_v<decltype(member), float(Record::*)[3]>)
                    json.read(field.key, record.*member);
            },
            field.member);
    }
}

} // namespace

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
    JsonReader json(object, QString(), error, kConversionWording);
    json.allowOnly({ "kind", "plant", "machines" });
    json.readObject("plant", [&](JsonReader& plant) {
        allowOnly(plant, plantFields);
        readFields(plant, fresh, plantFields);
    });
    json.readArray("machines", [&](JsonReader& item) {
        auto machine = std::make_unique<CMachine>();
        allowOnly(item, machineFields);
        readFields(item, *machine, machineFields);
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
    JsonReader json(object, QString(), error, kConversionWording);
    allowOnly(json, orderFields, { "kind", "operations" });
    readFields(json, fresh, orderFields);
    json.readArray("operations", [&](JsonReader& item) {
        auto operation = std::make_unique<COperation>();
        allowOnly(item, operationFields);
        readFields(item, *operation, operationFields);
        fresh.operations.add(std::move(operation));
    });
    if (!error)
        order = std::move(fresh);
    return error;
}

} // namespace kalkora::files
