#pragma once

#include "model/ByteStream.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kalkora {

// Reads the fields of one file in order and, when one fails, remembers what failed and where.
class FieldDecoder {
public:
    explicit FieldDecoder(std::string_view bytes)
        : reader(bytes)
    {
    }

    // Later failures are reported for record `index` (-1: outside the records).
    void beginRecord(std::int32_t index) { record = index; }

    bool read(std::int32_t& value, const char* field)
    {
        return reader.readInt32(value) || fail(DecodeProblem::Truncated, reader.offset(), field);
    }
    bool read(float& value, const char* field)
    {
        return reader.readFloat(value) || fail(DecodeProblem::Truncated, reader.offset(), field);
    }
    bool readText(std::string& value, const char* field);
    // A money field, multiplied by `factor` right after it is read.
    bool readMoney(float& value, const char* field, float factor);
    // A record count; a positive count whose records cannot fit in the rest of the file fails
    // at once, so a damaged count never makes the caller allocate for it.
    bool readCount(std::int32_t& count, const char* field, std::size_t minRecordSize);

    const DecodeError& error() const { return lastError; }
    std::size_t offset() const { return reader.offset(); }

private:
    bool fail(DecodeProblem problem, std::size_t offset, const char* field);

    ByteReader reader;
    std::int32_t record = -1;
    DecodeError lastError;
};

} // namespace kalkora
