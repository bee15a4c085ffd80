#include "model/ByteStream.h"

#include <bit>

namespace kalkora {

void ByteWriter::writeUInt16(std::uint16_t value)
{
    writeUInt8(static_cast<std::uint8_t>(value));
    writeUInt8(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::writeUInt32(std::uint32_t value)
{
    writeUInt16(static_cast<std::uint16_t>(value));
    writeUInt16(static_cast<std::uint16_t>(value >> 16));
}

void ByteWriter::writeUInt64(std::uint64_t value)
{
    writeUInt32(static_cast<std::uint32_t>(value));
    writeUInt32(static_cast<std::uint32_t>(value >> 32));
}

void ByteWriter::writeFloat(float value)
{
    writeUInt32(std::bit_cast<std::uint32_t>(value));
}

} // namespace kalkora
