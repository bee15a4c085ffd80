#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kalkora {

// Little-endian fields of the .sta and .auf formats, written to and read from byte buffers.

class ByteWriter {
public:
    explicit ByteWriter(std::string& out)
        : out(out)
    {
    }

    void writeUInt8(std::uint8_t value) { out.push_back(static_cast<char>(value)); }
    void writeUInt16(std::uint16_t value);
    void writeUInt32(std::uint32_t value);
    void writeUInt64(std::uint64_t value);
    void writeInt32(std::int32_t value) { writeUInt32(static_cast<std::uint32_t>(value)); }
    void writeFloat(float value);
    void writeBytes(std::string_view bytes) { out.append(bytes); }

private:
    std::string& out;
};

// Every read checks the bytes that are left and fails without moving when they don't suffice.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes)
        : bytes(bytes)
    {
    }

    std::size_t offset() const { return pos; }
    std::size_t remaining() const { return bytes.size() - pos; }

    // Inline: decoding a large order reads millions of fields.
    bool readUInt8(std::uint8_t& value) { return take(value); }
    bool readUInt16(std::uint16_t& value) { return take(value); }
    bool readUInt32(std::uint32_t& value) { return take(value); }
    bool readUInt64(std::uint64_t& value) { return take(value); }
    bool readInt32(std::int32_t& value)
    {
        std::uint32_t raw = 0;
        if (!take(raw))
            return false;
        value = static_cast<std::int32_t>(raw);
        return true;
    }
    bool readFloat(float& value)
    {
        std::uint32_t raw = 0;
        if (!take(raw))
            return false;
        value = std::bit_cast<float>(raw);
        return true;
    }
    // A view into the buffer; valid as long as the buffer is.
    bool readBytes(std::size_t count, std::string_view& value)
    {
        if (remaining() < count)
            return false;
        value = bytes.substr(pos, count);
        pos += count;
        return true;
    }

private:
    template <typename Unsigned> bool take(Unsigned& value)
    {
        if (remaining() < sizeof(Unsigned))
            return false;
        Unsigned result = 0;
        for (std::size_t i = 0; i < sizeof(Unsigned); ++i)
            result |= Unsigned(Unsigned(static_cast<unsigned char>(bytes[pos + i])) << (8 * i));
        value = result;
        pos += sizeof(Unsigned);
        return true;
    }

    std::string_view bytes;
    std::size_t pos = 0;
};

// Why a file could not be decoded, and where. Nothing is replaced when decoding fails.
enum class DecodeProblem {
    Truncated, // the file ends inside or before `field`
    TextTooLong, // the text length of `field` exceeds the rest of the file or 2^31
    BadTextPrefix, // the length prefix of `field` is not one of the counted-text forms
    CountTooLarge, // the record count `field` cannot fit in the rest of the file
    Cancelled, // the caller's progress callback asked to stop; not a fault of the file
};

struct DecodeError {
    DecodeProblem problem = DecodeProblem::Truncated;
    std::size_t offset = 0; // byte offset of the field that failed
    std::string field; // member name of that field; "machines" or "operations" for the record count
    std::int32_t record = -1; // index of the machine or operation record; -1 outside the records
    std::int64_t count = 0; // CountTooLarge: the announced count
};

// What decoding a file's bytes came to: complete, or the error that stopped it.
class [[nodiscard]] DecodeResult {
public:
    DecodeResult() = default;
    DecodeResult(DecodeError error)
        : failure(std::move(error))
    {
    }

    bool ok() const { return !failure; }
    bool cancelled() const { return failure && failure->problem == DecodeProblem::Cancelled; }
    const DecodeError& error() const { return *failure; }

private:
    std::optional<DecodeError> failure;
};

} // namespace kalkora
