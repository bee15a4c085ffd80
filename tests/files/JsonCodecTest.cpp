#include "files/JsonCodec.h"

#include "core/ExampleData.h"
#include "core/Golden.h"
#include "model/MasterDataFile.h"
#include "model/OrderFile.h"

#include <QJsonDocument>

#include <bit>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>
#include <random>

using namespace kalkora;
using namespace kalkora::files;
namespace examples = kalkora::testing;

namespace {

QJsonObject parsed(const std::string& json)
{
    QJsonParseError error;
    const QJsonDocument document = parseJson(QByteArray::fromStdString(json), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << "\n" << json;
    return document.object();
}

// `record` written as JSON by `write` reads back with `read` to the same file bytes.
template <typename Record, typename Read, typename Write, typename Encode>
void expectReadsBack(const Record& record, Read read, Write write, Encode encode)
{
    Record back;
    ASSERT_FALSE(read(parsed(write(record)), back));
    EXPECT_EQ(encode(back), encode(record));
}

} // namespace

TEST(JsonCodec, MasterDataRoundTripsThroughJson)
{
    CPlantData plant = examples::examplePlant();
    plant.interestRatePct = -0.0f;
    plant.overheadMaterialPct = -std::numeric_limits<float>::infinity();
    plant.overheadExternalPct = std::numeric_limits<float>::infinity();
    plant.operatorVarRate3 = std::numeric_limits<float>::quiet_NaN();
    plant.operatorFixedRate3 = std::numeric_limits<float>::denorm_min();
    plant.hoursPerShift = std::numeric_limits<float>::max();
    plant.machines.at(0)->name = "Fr\xE4se \"5\\Achs\"\t\x80\x81";
    kalkora::testing::expectGolden("files/golden/master-data.json", masterDataToJson(plant));
    expectReadsBack(plant, masterDataFromJson, masterDataToJson, encodeMasterData);
}

TEST(JsonCodec, EveryFloatReadsBackBitForBit)
{
    std::mt19937 random(20240301);
    COrder order;
    for (int i = 0; i < 2000; ++i) {
        auto op = std::make_unique<COperation>();
        float* fields[] = { &op->externalCostPerPiece, &op->setupTimeMin, &op->machineTimeMin, &op->operatorTimeMin,
            &op->materialUtilPct, &op->machineUtilPct, &op->materialWeightKg, &op->materialPricePerKg };
        for (float* field : fields) {
            do
                *field = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
            while (std::isnan(*field));
        }
        op->lotSize = static_cast<std::int32_t>(random());
        order.operations.add(std::move(op));
    }
    order.quantityBase = std::numeric_limits<std::int32_t>::min();
    expectReadsBack(order, orderFromJson, orderToJson, encodeOrder);
}

// Qt's JSON reader drops the sign of a numeric zero; a negative zero must still read back as one,
// in every number form and in the string form earlier versions wrote, and nowhere else.
TEST(JsonCodec, NegativeZeroKeepsItsSign)
{
    const struct {
        const char* number;
        float value;
    } rows[] = { { "-0", -0.0f }, { "-0.0", -0.0f }, { "-0.00E-3", -0.0f }, { "-0e-0", -0.0f }, { "\"-0\"", -0.0f },
        { "0", 0.0f }, { "-0.25", -0.25f } };
    for (const auto& row : rows) {
        const std::string json = std::string(R"({"operations":[{"name":"\"-0 -0","setupTimeMin":)") + row.number
            + R"(,"lotSize":-0,"shiftMode":-0.0}]})";
        COrder order;
        ASSERT_FALSE(orderFromJson(parsed(json), order)) << json;
        const COperation& op = *order.operations.at(0);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(op.setupTimeMin), std::bit_cast<std::uint32_t>(row.value)) << json;
        EXPECT_TRUE(op.name == "\"-0 -0" && op.lotSize == 0 && op.shiftMode == 0) << json;
    }
}

// Each error names the key and what was expected there; master data with an error stay as they
// were.
TEST(JsonCodec, ErrorsNameTheKey)
{
    std::string errors;
    COrder order;
    for (const char* json : { R"({"kind":"order","nmae":"x"})", R"({"operations":[{},{"lotSize":1.5}]})",
             R"({"quantityBase":2147483648})", R"({"quantityBase":"100"})",
             R"({"operations":[{"setupTimeMin":"viel"}]})", R"({"operations":[{"machineTimeMin":1e39}]})",
             R"({"name":"Вал"})", R"({"remark":7})", R"({"operations":{}})", R"({"operations":[1]})" })
        errors
            += std::string(json) + '\n' + orderFromJson(parsed(json), order).value_or(QString()).toStdString() + '\n';
    CPlantData plant = examples::examplePlant();
    for (const char* json : { R"({"plant":{"workDaysPerYear":250,"rent":60}})", R"({"kind":"master","werk":{}})" })
        errors += masterDataFromJson(parsed(json), plant).value_or(QString()).toStdString() + "\n";
    kalkora::testing::expectGolden("files/golden/json-errors.txt", errors);
    EXPECT_EQ(plant.machines.count(), 1); // unchanged
}

// Replays the documents the JSON fuzzer found interesting: each reads as master data or as an
// order, or gives an error; what reads writes JSON that reads back to the same file bytes.
TEST(JsonCodec, FuzzCorpusReadsCleanly)
{
    int documents = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KALKORA_FUZZ_CORPUS "/json")) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string input((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const QJsonDocument document = parseJson(QByteArray::fromStdString(input));
        ++documents;
        SCOPED_TRACE(entry.path().string());
        CPlantData plant;
        if (!masterDataFromJson(document.object(), plant))
            expectReadsBack(plant, masterDataFromJson, masterDataToJson, encodeMasterData);
        COrder order;
        if (!orderFromJson(document.object(), order))
            expectReadsBack(order, orderFromJson, orderToJson, encodeOrder);
    }
    EXPECT_GT(documents, 0);
}
