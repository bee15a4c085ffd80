#include "model/MasterDataFile.h"

#include "model/CountedText.h"
#include "model/FieldDecoder.h"

#include <memory>

namespace kalkora {

namespace {

void encodePlantValues(ByteWriter& out, const CPlantData& p)
{
    out.writeFloat(p.rentPerSqmYear);
    out.writeFloat(p.energyPricePerKwh);
    out.writeFloat(p.hoursPerShift);
    out.writeInt32(p.workDaysPerYear);
    out.writeFloat(p.interestRatePct);
    out.writeFloat(p.operatorVarRate12);
    out.writeFloat(p.operatorFixedRate12);
    out.writeFloat(p.operatorVarRate3);
    out.writeFloat(p.operatorFixedRate3);
    out.writeFloat(p.overheadExternalPct);
    out.writeFloat(p.overheadMaterialPct);
}

void encodeMachine(ByteWriter& out, const CMachine& m)
{
    writeCountedText(out, m.name);
    out.writeFloat(m.floorAreaSqm);
    out.writeFloat(m.purchaseCost);
    out.writeFloat(m.installedPowerKw);
    out.writeFloat(m.powerUsagePct);
    out.writeFloat(m.usefulLifeYears);
    out.writeFloat(m.maintenancePerYear);
    out.writeFloat(m.toolCostPerYear);
}

bool decodePlantValues(FieldDecoder& in, float factor, CPlantData& p)
{
    return in.readMoney(p.rentPerSqmYear, "rentPerSqmYear", factor)
        && in.readMoney(p.energyPricePerKwh, "energyPricePerKwh", factor) && in.read(p.hoursPerShift, "hoursPerShift")
        && in.read(p.workDaysPerYear, "workDaysPerYear") && in.read(p.interestRatePct, "interestRatePct")
        && in.readMoney(p.operatorVarRate12, "operatorVarRate12", factor)
        && in.readMoney(p.operatorFixedRate12, "operatorFixedRate12", factor)
        && in.readMoney(p.operatorVarRate3, "operatorVarRate3", factor)
        && in.readMoney(p.operatorFixedRate3, "operatorFixedRate3", factor)
        && in.read(p.overheadExternalPct, "overheadExternalPct")
        && in.read(p.overheadMaterialPct, "overheadMaterialPct");
}

bool decodeMachine(FieldDecoder& in, float factor, CMachine& m)
{
    return in.readText(m.name, "name") && in.read(m.floorAreaSqm, "floorAreaSqm")
        && in.readMoney(m.purchaseCost, "purchaseCost", factor) && in.read(m.installedPowerKw, "installedPowerKw")
        && in.read(m.powerUsagePct, "powerUsagePct") && in.read(m.usefulLifeYears, "usefulLifeYears")
        && in.readMoney(m.maintenancePerYear, "maintenancePerYear", factor)
        && in.readMoney(m.toolCostPerYear, "toolCostPerYear", factor);
}

std::size_t encodedSize(const CPlantData& plantData)
{
    std::size_t size = plantValuesSize;
    for (std::int32_t i = 0; i < plantData.machines.count(); ++i)
        size += minMachineRecordSize + plantData.machines.at(i)->name.size();
    return size;
}

} // namespace

std::string encodeMasterData(const CPlantData& plantData)
{
    std::string bytes;
    bytes.reserve(encodedSize(plantData));
    ByteWriter out(bytes);
    encodePlantValues(out, plantData);
    out.writeInt32(plantData.machines.count());
    for (std::int32_t i = 0; i < plantData.machines.count(); ++i)
        encodeMachine(out, *plantData.machines.at(i));
    return bytes;
}

DecodeResult decodeMasterData(std::string_view bytes, float factor, CPlantData& plantData, const Progress& progress)
{
    CPlantData fresh;
    FieldDecoder in(bytes);
    if (!decodePlantValues(in, factor, fresh))
        return in.error();
    fresh.computeHoursPerYear();

    std::int32_t machineCount = 0;
    if (!in.readCount(machineCount, "machines", minMachineRecordSize))
        return in.error();
    if (machineCount > 0)
        fresh.machines.reserve(machineCount);
    for (std::int32_t i = 0; i < machineCount; ++i) {
        if (!keepGoing(progress, i, std::int64_t(in.offset()), std::int64_t(bytes.size())))
            return DecodeError { DecodeProblem::Cancelled, in.offset(), "machines", i, 0 };
        in.beginRecord(i);
        CMachine& machine = fresh.machines.emplace();
        if (!decodeMachine(in, factor, machine))
            return in.error();
    }
    plantData = std::move(fresh);
    return {};
}

} // namespace kalkora
