#include "model/MasterDataFile.h"

#include "core/ExampleData.h"
#include "model/DmConversion.h"

#include <bit>
#include <gtest/gtest.h>
#include <limits>

using namespace kalkora;
namespace examples = kalkora::testing;

namespace {

std::uint32_t bits(float value)
{
    return std::bit_cast<std::uint32_t>(value);
}

std::string int32Bytes(std::int32_t value)
{
    std::string bytes;
    ByteWriter(bytes).writeInt32(value);
    return bytes;
}

// Plant values and machines as the file holds them, compared bit for bit.
void expectSameStoredValues(const CPlantData& a, const CPlantData& b)
{
    EXPECT_EQ(encodeMasterData(a), encodeMasterData(b));
    ASSERT_EQ(a.machines.count(), b.machines.count());
}

CPlantData plantWithUnusualValues()
{
    CPlantData plant = examples::examplePlant();
    plant.interestRatePct = -0.0f;
    plant.overheadMaterialPct = std::numeric_limits<float>::infinity();
    plant.operatorVarRate3 = std::bit_cast<float>(std::uint32_t(0x7FA00001)); // a signalling NaN
    plant.operatorFixedRate3 = std::numeric_limits<float>::denorm_min();
    plant.workDaysPerYear = -7;
    auto second = std::make_unique<CMachine>(examples::exampleMachine());
    second->name = std::string(300, '\xD6') + " mit Umlaut";
    plant.machines.add(std::move(second));
    auto unnamed = std::make_unique<CMachine>();
    plant.machines.add(std::move(unnamed));
    return plant;
}

} // namespace

TEST(MasterDataFile, EncodesTheLayoutByteForByte)
{
    CPlantData empty;
    const std::string emptyBytes = encodeMasterData(empty);
    ASSERT_EQ(emptyBytes.size(), 48u);
    EXPECT_EQ(emptyBytes, std::string(48, '\0'));

    CPlantData plant = examples::examplePlant();
    const std::string bytes = encodeMasterData(plant);
    ASSERT_EQ(bytes.size(), 48u + 29u + 14u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x00\x00\x70\x42", 4)); // rent 60
    EXPECT_EQ(bytes.substr(12, 4), int32Bytes(250)); // working days
    EXPECT_EQ(bytes.substr(20, 4), std::string("\x00\x00\xC8\x41", 4)); // variable operator rate 25 first
    EXPECT_EQ(bytes.substr(44, 4), int32Bytes(1));
    EXPECT_EQ(bytes.substr(48, 15),
        "\x0E"
        "Drehmaschine 1");
    // floor area 15, then purchase cost 120000, ... tool cost 3000 last.
    EXPECT_EQ(bytes.substr(63, 4), std::string("\x00\x00\x70\x41", 4));
    EXPECT_EQ(bytes.substr(67, 4), std::string("\x00\x60\xEA\x47", 4));
    EXPECT_EQ(bytes.substr(87, 4), std::string("\x00\x80\x3B\x45", 4));
}

TEST(MasterDataFile, RoundTripKeepsEveryValueBitForBit)
{
    const CPlantData original = plantWithUnusualValues();
    CPlantData loaded;
    ASSERT_FALSE(decodeMasterData(encodeMasterData(original), 1.0f, loaded));
    expectSameStoredValues(original, loaded);
    EXPECT_EQ(loaded.machines.at(1)->name, original.machines.at(1)->name);
    EXPECT_EQ(bits(loaded.operatorVarRate3), 0x7FA00001u);
    EXPECT_EQ(bits(loaded.interestRatePct), 0x80000000u);
}

TEST(MasterDataFile, DmImportConvertsOnlyMoney)
{
    CPlantData dm = examples::examplePlant();
    dm.rentPerSqmYear = 100;
    dm.energyPricePerKwh = 50;
    dm.operatorVarRate12 = 1.95583f;
    dm.machines.at(0)->purchaseCost = 100;
    CPlantData eur;
    ASSERT_FALSE(decodeMasterData(encodeMasterData(dm), dmToEurFactor, eur));

    EXPECT_EQ(bits(dmToEurFactor), 0x3F02E406u);
    EXPECT_EQ(bits(eur.rentPerSqmYear), 0x424C8449u);
    EXPECT_EQ(bits(eur.energyPricePerKwh), 0x41CC8449u);
    EXPECT_EQ(bits(eur.operatorVarRate12), 0x3F7FFFFFu);
    EXPECT_EQ(eur.operatorFixedRate12, convertMoney(15, dmToEurFactor));
    EXPECT_EQ(eur.hoursPerShift, 8.0f);
    EXPECT_EQ(eur.workDaysPerYear, 250);
    EXPECT_EQ(eur.interestRatePct, 6.0f);
    EXPECT_EQ(eur.overheadMaterialPct, 5.0f);

    const CMachine& m = *eur.machines.at(0);
    EXPECT_EQ(bits(m.purchaseCost), 0x424C8449u);
    EXPECT_EQ(m.toolCostPerYear, convertMoney(3000, dmToEurFactor));
    EXPECT_EQ(m.maintenancePerYear, convertMoney(2000, dmToEurFactor));
    EXPECT_EQ(m.usefulLifeYears, 10.0f);
    EXPECT_EQ(m.powerUsagePct, 50.0f);
    EXPECT_EQ(m.floorAreaSqm, 15.0f);
}

TEST(MasterDataFile, CountsAndTrailingBytes)
{
    std::string bytes = encodeMasterData(examples::examplePlant());
    CPlantData loaded;
    ASSERT_FALSE(decodeMasterData(bytes + "garbage after the last record", 1.0f, loaded));
    EXPECT_EQ(loaded.machines.count(), 1);

    bytes.replace(44, 4, int32Bytes(-3));
    ASSERT_FALSE(decodeMasterData(bytes, 1.0f, loaded));
    EXPECT_EQ(loaded.machines.count(), 0);
    EXPECT_EQ(loaded.rentPerSqmYear, 60.0f);
}

TEST(MasterDataFile, DamagedFilesChangeNothing)
{
    const std::string bytes = encodeMasterData(plantWithUnusualValues());
    const CPlantData previous = examples::examplePlant();
    const std::string previousBytes = encodeMasterData(previous);
    // Cut at every length: a field boundary or the middle of a field, never a complete file.
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        CPlantData target = examples::examplePlant();
        const auto error = decodeMasterData(std::string_view(bytes).substr(0, length), 1.0f, target);
        ASSERT_TRUE(error) << length;
        EXPECT_TRUE(error->problem == DecodeProblem::Truncated || error->problem == DecodeProblem::TextTooLong
            || error->problem == DecodeProblem::CountTooLarge)
            << length;
        ASSERT_EQ(encodeMasterData(target), previousBytes) << length;
    }
}

TEST(MasterDataFile, ReportsWhereTheFileIsDamaged)
{
    std::string bytes = encodeMasterData(plantWithUnusualValues());
    CPlantData target;

    auto error = decodeMasterData(std::string_view(bytes).substr(0, 30), 1.0f, target);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->field, "operatorVarRate3");
    EXPECT_EQ(error->record, -1);
    EXPECT_EQ(error->offset, 28u);

    // Cut inside the tool cost of the only machine (record 0).
    const std::string oneMachine = encodeMasterData(examples::examplePlant());
    error = decodeMasterData(std::string_view(oneMachine).substr(0, oneMachine.size() - 2), 1.0f, target);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->field, "toolCostPerYear");
    EXPECT_EQ(error->record, 0);
    EXPECT_EQ(error->offset, oneMachine.size() - 4);

    // A count that cannot fit is refused at once, before anything is allocated for it.
    bytes.replace(44, 4, int32Bytes(std::numeric_limits<std::int32_t>::max()));
    error = decodeMasterData(bytes, 1.0f, target);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->problem, DecodeProblem::CountTooLarge);
    EXPECT_EQ(error->field, "machines");
    EXPECT_EQ(error->count, std::numeric_limits<std::int32_t>::max());

    // A machine name announcing 4 GiB.
    std::string hugeName = encodeMasterData(CPlantData());
    hugeName.replace(44, 4, int32Bytes(1));
    hugeName += std::string("\xFF\xFF\xFF\xFE\xFF\xFF\xFF", 7) + std::string(40, 'x');
    error = decodeMasterData(hugeName, 1.0f, target);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->problem, DecodeProblem::TextTooLong);
    EXPECT_EQ(error->field, "name");
    EXPECT_EQ(error->offset, 48u);
}
