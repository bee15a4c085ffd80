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

std::uint64_t ByteReader::takeLittleEndian(std::size_t size)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value |= std::uint64_t(static_cast<unsigned char>(bytes[pos + i])) << (8 * i);
    pos += size;
    return value;
}

bool ByteReader::readUInt8(std::uint8_t& value)
{
    if (remaining() < 1)
        return false;
    value = static_cast<std::uint8_t>(takeLittleEndian(1));
    return true;
}

bool ByteReader::readUInt16(std::uint16_t& value)
{
    if (remaining() < 2)
        return false;
    value = static_cast<std::uint16_t>(takeLittleEndian(2));
    return true;
}

bool ByteReader::readUInt32(std::uint32_t& value)
{
    if (remaining() < 4)
        return false;
    value = static_cast<std::uint32_t>(takeLittleEndian(4));
    return true;
}

bool ByteReader::readUInt64(std::uint64_t& value)
{
    if (remaining() < 8)
        return false;
    value = takeLittleEndian(8);
    return true;
}

bool ByteReader::readInt32(std::int32_t& value)
{
    std::uint32_t raw = 0;
    if (!readUInt32(raw))
        return false;
    value = static_cast<std::int32_t>(raw);
    return true;
}

bool ByteReader::readFloat(float& value)
{
    std::uint32_t raw = 0;
    if (!readUInt32(raw))
        return false;
    value = std::bit_cast<float>(raw);
    return true;
}

bool ByteReader::readBytes(std::size_t count, std::string_view& value)
{
    if (remaining() < count)
        return false;
    value = bytes.substr(pos, count);
    pos += count;
    return true;
}

} // namespace kalkora
