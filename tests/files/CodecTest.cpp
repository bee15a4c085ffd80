#include "core/ExampleData.h"
#include "core/Golden.h"
#include "model/DmConversion.h"
#include "model/MasterDataFile.h"
#include "model/OrderFile.h"

#include <bit>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>

using namespace kalkora;
using namespace kalkora::testing;

namespace {

std::string int32Bytes(std::int32_t value)
{
    std::string bytes;
    ByteWriter(bytes).writeInt32(value);
    return bytes;
}

// A damaged file and where decoding must say it fails.
struct Damage {
    std::string bytes;
    DecodeProblem problem;
    std::string field;
    std::int32_t record;
    std::int64_t offsetOrCount; // the announced count for CountTooLarge, else the field's offset
};

// The .sta codec and its data.
struct MasterData {
    using Data = CPlantData;
    static std::string encode(const Data& data) { return encodeMasterData(data); }
    static auto decode(std::string_view bytes, float f, Data& data) { return decodeMasterData(bytes, f, data); }
    static Data example() { return examplePlant(); }
    static std::size_t countOffset() { return 44; }
    static constexpr const char* corpus = "master";
    static constexpr const char* stored = "files/golden/unusual.sta";

    // Every kind of float and text the file can hold.
    static Data unusual()
    {
        CPlantData plant = examplePlant({ "Drehmaschine 1", "" });
        plant.interestRatePct = -0.0f;
        plant.overheadMaterialPct = std::numeric_limits<float>::infinity();
        plant.operatorVarRate3 = std::bit_cast<float>(std::uint32_t(0x7FA00001)); // a signalling NaN
        plant.operatorFixedRate3 = std::numeric_limits<float>::denorm_min();
        plant.workDaysPerYear = -7;
        plant.machines.at(1)->name = std::string(300, '\xD6') + " mit Umlaut";
        return plant;
    }

    static std::vector<float*> money(Data& p)
    {
        std::vector<float*> fields { &p.rentPerSqmYear, &p.energyPricePerKwh, &p.operatorVarRate12,
            &p.operatorFixedRate12, &p.operatorVarRate3, &p.operatorFixedRate3 };
        for (std::int32_t i = 0; i < p.machines.count(); ++i) {
            CMachine& m = *p.machines.at(i);
            fields.insert(fields.end(), { &m.purchaseCost, &m.maintenancePerYear, &m.toolCostPerYear });
        }
        return fields;
    }

    static std::vector<Damage> damages()
    {
        const std::string one = encode(example());
        std::string hugeCount = encode(unusual());
        hugeCount.replace(countOffset(), 4, int32Bytes(std::numeric_limits<std::int32_t>::max()));
        // A machine name announcing 4 GiB.
        const std::string hugeName = std::string(44, '\0') + int32Bytes(1)
            + std::string("\xFF\xFF\xFF\xFE\xFF\xFF\xFF", 7) + std::string(40, 'x');
        return { { encode(unusual()).substr(0, 30), DecodeProblem::Truncated, "operatorVarRate3", -1, 28 },
            { one.substr(0, one.size() - 2), DecodeProblem::Truncated, "toolCostPerYear", 0,
                std::int64_t(one.size()) - 4 },
            { hugeCount, DecodeProblem::CountTooLarge, "machines", -1, std::numeric_limits<std::int32_t>::max() },
            { hugeName, DecodeProblem::TextTooLong, "name", 0, 48 } };
    }
};

// The .auf codec and its data.
struct Order {
    using Data = COrder;
    static std::string encode(const Data& data) { return encodeOrder(data); }
    static auto decode(std::string_view bytes, float factor, Data& data) { return decodeOrder(bytes, factor, data); }
    static Data example() { return exampleOrder(); }
    static std::size_t countOffset() { return 2 + example().name.size() + example().remark.size() + 4; }
    static constexpr const char* corpus = "order";
    static constexpr const char* stored = "files/golden/unusual.auf";

    static Data unusual()
    {
        COrder order = exampleOrder();
        order.remark = "Zeile 1\r\nZeile 2 mit \xE4\xF6\xFC\x80";
        order.quantityBase = -5;
        auto odd = std::make_unique<COperation>(COperation { 7, "Fr\xE4sen", 1, 2, std::string(70000, 'm'), 3, 4, 5, 6,
            7, 8, 9, 10, std::numeric_limits<float>::quiet_NaN() });
        order.operations.add(std::move(odd));
        return order;
    }

    static std::vector<float*> money(Data& order)
    {
        std::vector<float*> fields;
        for (std::int32_t i = 0; i < order.operations.count(); ++i) {
            COperation& op = *order.operations.at(i);
            fields.insert(fields.end(), { &op.externalCostPerPiece, &op.materialPricePerKg });
        }
        return fields;
    }

    static std::vector<Damage> damages()
    {
        // Three operations announced: a file ending after the first is too short for the count.
        COrder three = exampleOrder();
        three.operations.add(externalOperation());
        const std::string threeBytes = encode(three);
        // With a long first name the count fits, and the cut is found inside the second record.
        three.operations.at(0)->name = std::string(200, 'D');
        const std::string longBytes = encode(three);
        const std::size_t secondMachineName = longBytes.find("\x07Haerten") + 20;
        return { { threeBytes.substr(0, threeBytes.find("\x07Haerten")), DecodeProblem::CountTooLarge, "operations", -1,
                     3 },
            { longBytes.substr(0, secondMachineName + 2), DecodeProblem::TextTooLong, "machineName", 1,
                std::int64_t(secondMachineName) },
            { longBytes.substr(0, longBytes.size() - 1), DecodeProblem::Truncated, "machineUtilPct", 2,
                std::int64_t(longBytes.size()) - 4 },
            { std::string(2, '\xFF'), DecodeProblem::Truncated, "name", -1, 0 },
            { std::string("\0\3ab", 4), DecodeProblem::TextTooLong, "remark", -1, 1 } };
    }
};

template <typename> class Codec : public ::testing::Test {
};
using Codecs = ::testing::Types<MasterData, Order>;
TYPED_TEST_SUITE(Codec, Codecs);

} // namespace

// The unusual data, every field with a value of its own, as stored beside the tests; and what
// the stored file decodes to encodes to the same bytes.
TYPED_TEST(Codec, RoundTripKeepsEveryValueBitForBit)
{
    const std::string bytes = TypeParam::encode(TypeParam::unusual());
    kalkora::testing::expectGolden(TypeParam::stored, bytes);
    typename TypeParam::Data loaded;
    ASSERT_TRUE(TypeParam::decode(bytes, 1.0f, loaded).ok());
    EXPECT_EQ(TypeParam::encode(loaded), bytes);
}
TYPED_TEST(Codec, DmImportConvertsTheMoneyFieldsOnly)
{
    typename TypeParam::Data dm = TypeParam::unusual();
    for (float* field : TypeParam::money(dm))
        *field = 100;
    typename TypeParam::Data eur;
    ASSERT_TRUE(TypeParam::decode(TypeParam::encode(dm), dmToEurFactor, eur).ok());
    for (float* field : TypeParam::money(eur)) {
        EXPECT_EQ(std::bit_cast<std::uint32_t>(*field), 0x424C8449u); // 51.129188
        *field = 100;
    }
    EXPECT_EQ(TypeParam::encode(eur), TypeParam::encode(dm));
}

TYPED_TEST(Codec, TrailingBytesAreIgnoredAndANegativeCountReadsNoRecords)
{
    std::string bytes = TypeParam::encode(TypeParam::example());
    typename TypeParam::Data loaded;
    ASSERT_TRUE(TypeParam::decode(bytes + std::string(100, '\xFF'), 1.0f, loaded).ok());
    EXPECT_EQ(TypeParam::encode(loaded), bytes);

    bytes.replace(TypeParam::countOffset(), 4, int32Bytes(-3));
    ASSERT_TRUE(TypeParam::decode(bytes, 1.0f, loaded).ok());
    EXPECT_EQ(TypeParam::encode(loaded), bytes.substr(0, TypeParam::countOffset()) + int32Bytes(0));
}

TYPED_TEST(Codec, ReportsWhereTheFileIsDamaged)
{
    for (const Damage& damage : TypeParam::damages()) {
        typename TypeParam::Data target;
        const DecodeResult decoded = TypeParam::decode(damage.bytes, 1.0f, target);
        ASSERT_FALSE(decoded.ok()) << damage.field;
        const DecodeError* error = &decoded.error();
        EXPECT_EQ(error->problem, damage.problem) << damage.field;
        EXPECT_EQ(error->field, damage.field);
        EXPECT_EQ(error->record, damage.record) << damage.field;
        EXPECT_EQ(damage.problem == DecodeProblem::CountTooLarge ? error->count : std::int64_t(error->offset),
            damage.offsetOrCount)
            << damage.field;
    }
}

// The inputs the fuzzers found interesting: each decodes to an error or to data that encodes and
// decodes again to the same bytes.
TYPED_TEST(Codec, FuzzCorpusDecodesCleanly)
{
    int decoded = 0;
    for (const auto& entry :
        std::filesystem::directory_iterator(std::filesystem::path(KALKORA_FUZZ_CORPUS) / TypeParam::corpus)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string input { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
        for (const float factor : { 1.0f, dmToEurFactor }) {
            typename TypeParam::Data data;
            if (!TypeParam::decode(input, factor, data).ok())
                continue;
            ++decoded;
            const std::string bytes = TypeParam::encode(data);
            ASSERT_TRUE(TypeParam::decode(bytes, 1.0f, data).ok()) << entry.path();
            EXPECT_EQ(TypeParam::encode(data), bytes) << entry.path();
        }
    }
    EXPECT_GT(decoded, 0);
}
