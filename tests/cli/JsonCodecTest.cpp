#include "cli/JsonCodec.h"

#include "core/ExampleData.h"
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
using namespace kalkora::cli;
namespace examples = kalkora::testing;

namespace {

QJsonObject parsed(const std::string& json)
{
    QJsonParseError error;
    const QJsonDocument document = parseJson(QByteArray::fromStdString(json), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << "\n" << json;
    return document.object();
}

// The error of reading `json` as an order, or "" when it reads.
std::string orderError(const char* json)
{
    COrder order;
    const auto error = orderFromJson(parsed(json), order);
    return error ? error->toStdString() : std::string();
}

} // namespace

TEST(JsonCodec, MasterDataRoundTripsThroughJson)
{
    CPlantData plant = examples::examplePlant();
    plant.interestRatePct = -0.0f;
    plant.overheadMaterialPct = -std::numeric_limits<float>::infinity();
    plant.operatorVarRate3 = std::numeric_limits<float>::quiet_NaN();
    plant.operatorFixedRate3 = std::numeric_limits<float>::denorm_min();
    plant.hoursPerShift = std::numeric_limits<float>::max();
    plant.machines.at(0)->name = "Fr\xE4se \"5\\Achs\"\t\x80\x81";
    const std::string json = masterDataToJson(plant);
    EXPECT_NE(json.find("\"overheadMaterialPct\": \"-inf\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"operatorVarRate3\": \"nan\""), std::string::npos);
    EXPECT_NE(json.find("\"interestRatePct\": -0,"), std::string::npos);
    EXPECT_NE(json.find("\"energyPricePerKwh\": 0.15,"), std::string::npos);
    EXPECT_NE(json.find("\"fixedRate\": [10.05, 5.025, 3.3500001]"), std::string::npos);
    EXPECT_NE(json.find("Fräse \\\"5\\\\Achs\\\"\\t€\u0081"), std::string::npos);

    CPlantData back;
    ASSERT_FALSE(masterDataFromJson(parsed(json), back));
    EXPECT_EQ(encodeMasterData(back), encodeMasterData(plant));
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
    COrder back;
    ASSERT_FALSE(orderFromJson(parsed(orderToJson(order)), back));
    EXPECT_EQ(encodeOrder(back), encodeOrder(order));
}

// Qt's JSON reader drops the sign of a numeric zero; a negative zero must still read back as one,
// in every number form and in the string form earlier versions wrote, and nowhere else.
TEST(JsonCodec, NegativeZeroKeepsItsSign)
{
    const struct {
        const char* number;
        float value;
    } rows[] = { { "-0", -0.0f }, { "-0.0", -0.0f }, { "-0.00E-3", -0.0f }, { "\"-0\"", -0.0f }, { "0", 0.0f },
        { "-0.25", -0.25f } };
    for (const auto& row : rows) {
        const std::string json = std::string(R"({"operations":[{"name":"\"-0 -0","setupTimeMin":)") + row.number
            + R"(,"lotSize":-0,"shiftMode":-0.0}]})";
        COrder order;
        ASSERT_FALSE(orderFromJson(parsed(json), order)) << json;
        const COperation& op = *order.operations.at(0);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(op.setupTimeMin), std::bit_cast<std::uint32_t>(row.value)) << json;
        EXPECT_EQ(op.name, "\"-0 -0");
        EXPECT_EQ(op.lotSize, 0);
        EXPECT_EQ(op.shiftMode, 0);
    }
}

TEST(JsonCodec, MissingKeysKeepTheDefaultsAndDerivedKeysAreIgnored)
{
    COrder order;
    ASSERT_FALSE(orderFromJson(parsed(R"({"kind":"order","operations":[{"name":"Drehen"}]})"), order));
    ASSERT_EQ(order.operations.count(), 1);
    EXPECT_EQ(order.operations.at(0)->isInternal, 1);
    EXPECT_EQ(order.operations.at(0)->name, "Drehen");

    CPlantData plant;
    ASSERT_FALSE(masterDataFromJson(
        parsed(R"({"kind":"master","plant":{"hoursPerYear":[1,2,3]},"machines":[{"fixedRate":[9,9,9]}]})"), plant));
    EXPECT_EQ(
        encodeMasterData(plant), std::string(44, '\0') + std::string("\x01\x00\x00\x00", 4) + std::string(29, '\0'));
}

TEST(JsonCodec, ErrorsNameTheKey)
{
    const QString integer = QStringLiteral("ganze Zahl zwischen -2147483648 und 2147483647 erwartet.");
    const std::pair<const char*, QString> rows[] = {
        { R"({"kind":"order","nmae":"x"})", QStringLiteral("„nmae“: unbekannter Schlüssel.") },
        { R"({"operations":[{},{"lotSize":1.5}]})", QStringLiteral("„operations[1].lotSize“: ") + integer },
        { R"({"quantityBase":2147483648})", QStringLiteral("„quantityBase“: ") + integer },
        { R"({"quantityBase":"100"})", QStringLiteral("„quantityBase“: ") + integer },
        { R"({"operations":[{"setupTimeMin":"viel"}]})",
            QStringLiteral("„operations[0].setupTimeMin“: Zahl oder \"inf\", \"-inf\", \"nan\" erwartet.") },
        { R"({"operations":[{"machineTimeMin":1e39}]})",
            QStringLiteral(
                "„operations[0].machineTimeMin“: Zahl außerhalb des Bereichs einer einfachen Gleitkommazahl.") },
        { R"({"name":"Вал"})",
            QStringLiteral("„name“: der Text enthält Zeichen, die Windows-1252 nicht darstellen kann.") },
        { R"({"remark":7})", QStringLiteral("„remark“: Text erwartet.") },
        { R"({"operations":{}})", QStringLiteral("„operations“: Liste erwartet.") },
        { R"({"operations":[1]})", QStringLiteral("„operations[0]“: Objekt erwartet.") },
    };
    for (const auto& [json, message] : rows)
        EXPECT_EQ(orderError(json), (QStringLiteral("Schlüssel ") + message).toStdString()) << json;

    CPlantData plant = examples::examplePlant();
    const auto error = masterDataFromJson(parsed(R"({"plant":{"workDaysPerYear":250,"rent":60}})"), plant);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->toStdString(), "Schlüssel „plant.rent“: unbekannter Schlüssel.");
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
        CPlantData plant;
        if (!masterDataFromJson(document.object(), plant)) {
            CPlantData back;
            ASSERT_FALSE(masterDataFromJson(parsed(masterDataToJson(plant)), back)) << entry.path();
            EXPECT_EQ(encodeMasterData(back), encodeMasterData(plant)) << entry.path();
        }
        COrder order;
        if (!orderFromJson(document.object(), order)) {
            COrder back;
            ASSERT_FALSE(orderFromJson(parsed(orderToJson(order)), back)) << entry.path();
            EXPECT_EQ(encodeOrder(back), encodeOrder(order)) << entry.path();
        }
    }
    EXPECT_GT(documents, 0);
}
