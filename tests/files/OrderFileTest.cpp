#include "model/OrderFile.h"

#include "core/ExampleData.h"
#include "model/DmConversion.h"

#include <bit>
#include <gtest/gtest.h>
#include <limits>

using namespace kalkora;
namespace examples = kalkora::testing;

namespace {

std::string int32Bytes(std::int32_t value)
{
    std::string bytes;
    ByteWriter(bytes).writeInt32(value);
    return bytes;
}

std::string floatBytes(float value)
{
    std::string bytes;
    ByteWriter(bytes).writeFloat(value);
    return bytes;
}

COrder orderWithEveryField()
{
    COrder order = examples::exampleOrder();
    order.remark = "Zeile 1\r\nZeile 2 mit \xE4\xF6\xFC\x80";
    order.quantityBase = -5;
    auto odd = std::make_unique<COperation>();
    odd->isInternal = 7;
    odd->name = std::string(70000, 'n');
    odd->externalCostPerPiece = 1;
    odd->externalLotSize = 2;
    odd->machineName = "Fr\xE4se";
    odd->setupTimeMin = 3;
    odd->lotSize = 4;
    odd->shiftMode = 5;
    odd->machineTimeMin = 6;
    odd->operatorTimeMin = 7;
    odd->materialUtilPct = 8;
    odd->machineUtilPct = 9;
    odd->materialWeightKg = 10;
    odd->materialPricePerKg = std::numeric_limits<float>::quiet_NaN();
    order.operations.add(std::move(odd));
    return order;
}

} // namespace

TEST(OrderFile, EncodesTheLayoutByteForByte)
{
    EXPECT_EQ(encodeOrder(COrder()), std::string(10, '\0'));

    COrder order;
    order.operations.add(examples::hardeningOperation());
    const std::string expectedRecord = std::string("\x07"
                                                   "Haerten")
        + int32Bytes(0) + floatBytes(1.5f) + int32Bytes(100)
        + "\x06"
          "EXTERN"
        + std::string(36, '\0');
    EXPECT_EQ(encodeOrder(order), std::string(6, '\0') + int32Bytes(1) + expectedRecord);

    // The material weight and price come before the machine utilisation.
    COrder internal;
    auto op = std::make_unique<COperation>();
    op->materialWeightKg = 1;
    op->materialPricePerKg = 2;
    op->machineUtilPct = 3;
    internal.operations.add(std::move(op));
    const std::string bytes = encodeOrder(internal);
    ASSERT_EQ(bytes.size(), 10u + 50u);
    EXPECT_EQ(bytes.substr(10, 1 + 4), std::string("\x00\x01\x00\x00\x00", 5));
    EXPECT_EQ(bytes.substr(48), floatBytes(1) + floatBytes(2) + floatBytes(3));
}

TEST(OrderFile, RoundTripKeepsEveryFieldBitForBit)
{
    const COrder original = orderWithEveryField();
    COrder loaded;
    ASSERT_FALSE(decodeOrder(encodeOrder(original), 1.0f, loaded));
    EXPECT_EQ(encodeOrder(loaded), encodeOrder(original));
    ASSERT_EQ(loaded.operations.count(), 3);
    EXPECT_EQ(loaded.remark, original.remark);
    EXPECT_EQ(loaded.operations.at(0)->name, "Drehen");
    EXPECT_EQ(loaded.operations.at(1)->machineName, "EXTERN");
    EXPECT_EQ(loaded.operations.at(2)->isInternal, 7);
    EXPECT_EQ(loaded.operations.at(2)->shiftMode, 5);
    EXPECT_EQ(loaded.operations.at(2)->machineUtilPct, 9.0f);
    EXPECT_EQ(loaded.operations.at(2)->name.size(), 70000u);
}

TEST(OrderFile, DmImportConvertsThePriceFieldsOnly)
{
    COrder dm = orderWithEveryField();
    dm.operations.at(0)->materialPricePerKg = 100;
    dm.operations.at(1)->externalCostPerPiece = 50;
    COrder eur;
    ASSERT_FALSE(decodeOrder(encodeOrder(dm), dmToEurFactor, eur));
    EXPECT_EQ(std::bit_cast<std::uint32_t>(eur.operations.at(0)->materialPricePerKg), 0x424C8449u);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(eur.operations.at(1)->externalCostPerPiece), 0x41CC8449u);

    // Every other field is as in the file.
    eur.operations.at(0)->materialPricePerKg = 100;
    eur.operations.at(1)->externalCostPerPiece = 50;
    eur.operations.at(2)->externalCostPerPiece = 1;
    EXPECT_EQ(encodeOrder(eur), encodeOrder(dm));
}

TEST(OrderFile, CountsAndTrailingBytes)
{
    COrder loaded;
    std::string bytes = encodeOrder(examples::exampleOrder());
    ASSERT_FALSE(decodeOrder(bytes + std::string(100, '\xFF'), 1.0f, loaded));
    EXPECT_EQ(loaded.operations.count(), 2);

    const std::size_t countOffset = bytes.find("Drehen") - 1 - 4;
    bytes.replace(countOffset, 4, int32Bytes(-1));
    ASSERT_FALSE(decodeOrder(bytes, 1.0f, loaded));
    EXPECT_EQ(loaded.operations.count(), 0);
    EXPECT_EQ(loaded.name, "Welle 20x200");
}

TEST(OrderFile, DamagedFilesChangeNothing)
{
    const std::string bytes = encodeOrder(orderWithEveryField());
    const std::string previousBytes = encodeOrder(examples::exampleOrder());
    for (std::size_t length = 0; length < bytes.size();
         length += (length < 300 || length > bytes.size() - 300) ? 1 : 997) {
        COrder target = examples::exampleOrder();
        ASSERT_TRUE(decodeOrder(std::string_view(bytes).substr(0, length), 1.0f, target)) << length;
        ASSERT_EQ(encodeOrder(target), previousBytes) << length;
    }
}

TEST(OrderFile, ReportsWhereTheFileIsDamaged)
{
    // Three operations announced, the file ends after the first: too short for the count.
    COrder three = examples::exampleOrder();
    three.operations.add(examples::hardeningOperation());
    std::string bytes = encodeOrder(three);
    const std::size_t secondRecord = bytes.find("\x07"
                                                "Haerten");
    COrder target;
    auto error = decodeOrder(std::string_view(bytes).substr(0, secondRecord), 1.0f, target);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->problem, DecodeProblem::CountTooLarge);
    EXPECT_EQ(error->field, "operations");
    EXPECT_EQ(error->count, 3);

    // With a long first name the count fits, and the cut is found inside the second record.
    three.operations.at(0)->name = std::string(200, 'D');
    bytes = encodeOrder(three);
    const std::size_t machineNameOffset = bytes.find("\x07"
                                                     "Haerten")
        + 20;
    error = decodeOrder(std::string_view(bytes).substr(0, machineNameOffset + 2), 1.0f, target);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->problem, DecodeProblem::TextTooLong);
    EXPECT_EQ(error->field, "machineName");
    EXPECT_EQ(error->record, 1);
    EXPECT_EQ(error->offset, machineNameOffset);

    error = decodeOrder(std::string_view(bytes).substr(0, bytes.size() - 1), 1.0f, target);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->problem, DecodeProblem::Truncated);
    EXPECT_EQ(error->field, "machineUtilPct");
    EXPECT_EQ(error->record, 2);
    EXPECT_EQ(error->offset, bytes.size() - 4);

    EXPECT_EQ(decodeOrder(std::string(2, '\xFF'), 1.0f, target)->field, "name");
    EXPECT_EQ(decodeOrder(std::string("\x00\x03"
                                      "ab",
                              4),
                  1.0f, target)
                  ->field,
        "remark");
}
