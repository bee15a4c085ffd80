#include "model/OrderFile.h"

#include "model/CountedText.h"
#include "model/FieldDecoder.h"

namespace kalkora {

namespace {

constexpr std::size_t orderNumbersSize = 8; // quantityBase and M

// The file order differs from the member order: the name comes first, and the material
// weight and price come before the machine utilisation.
void encodeOperation(ByteWriter& out, const COperation& op)
{
    writeCountedText(out, op.name);
    out.writeInt32(op.isInternal);
    out.writeFloat(op.externalCostPerPiece);
    out.writeInt32(op.externalLotSize);
    writeCountedText(out, op.machineName);
    out.writeFloat(op.setupTimeMin);
    out.writeInt32(op.lotSize);
    out.writeInt32(op.shiftMode);
    out.writeFloat(op.machineTimeMin);
    out.writeFloat(op.operatorTimeMin);
    out.writeFloat(op.materialUtilPct);
    out.writeFloat(op.materialWeightKg);
    out.writeFloat(op.materialPricePerKg);
    out.writeFloat(op.machineUtilPct);
}

bool decodeOperation(FieldDecoder& in, float factor, COperation& op)
{
    return in.readText(op.name, "name") && in.read(op.isInternal, "isInternal")
        && in.readMoney(op.externalCostPerPiece, "externalCostPerPiece", factor)
        && in.read(op.externalLotSize, "externalLotSize") && in.readText(op.machineName, "machineName")
        && in.read(op.setupTimeMin, "setupTimeMin") && in.read(op.lotSize, "lotSize")
        && in.read(op.shiftMode, "shiftMode") && in.read(op.machineTimeMin, "machineTimeMin")
        && in.read(op.operatorTimeMin, "operatorTimeMin") && in.read(op.materialUtilPct, "materialUtilPct")
        && in.read(op.materialWeightKg, "materialWeightKg")
        && in.readMoney(op.materialPricePerKg, "materialPricePerKg", factor)
        && in.read(op.machineUtilPct, "machineUtilPct");
}

std::size_t encodedSize(const COrder& order)
{
    // Each counted text is 1 byte of prefix for short texts; longer prefixes only add a little.
    std::size_t size = 2 + order.name.size() + order.remark.size() + orderNumbersSize;
    for (std::int32_t i = 0; i < order.operations.count(); ++i) {
        const COperation& op = *order.operations.at(i);
        size += minOperationRecordSize + op.name.size() + op.machineName.size();
    }
    return size;
}

} // namespace

std::string encodeOrder(const COrder& order)
{
    std::string bytes;
    bytes.reserve(encodedSize(order));
    ByteWriter out(bytes);
    writeCountedText(out, order.name);
    writeCountedText(out, order.remark);
    out.writeInt32(order.quantityBase);
    out.writeInt32(order.operations.count());
    for (std::int32_t i = 0; i < order.operations.count(); ++i)
        encodeOperation(out, *order.operations.at(i));
    return bytes;
}

DecodeResult decodeOrder(std::string_view bytes, float factor, COrder& order, const Progress& progress)
{
    COrder fresh;
    FieldDecoder in(bytes);
    std::int32_t operationCount = 0;
    if (!in.readText(fresh.name, "name") || !in.readText(fresh.remark, "remark")
        || !in.read(fresh.quantityBase, "quantityBase")
        || !in.readCount(operationCount, "operations", minOperationRecordSize))
        return in.error();
    if (operationCount > 0)
        fresh.operations.reserve(operationCount);
    for (std::int32_t i = 0; i < operationCount; ++i) {
        if (!keepGoing(progress, i, std::int64_t(in.offset()), std::int64_t(bytes.size())))
            return DecodeError { DecodeProblem::Cancelled, in.offset(), "operations", i, 0 };
        in.beginRecord(i);
        if (!decodeOperation(in, factor, fresh.operations.emplace()))
            return in.error();
    }
    order = std::move(fresh);
    return {};
}

} // namespace kalkora
