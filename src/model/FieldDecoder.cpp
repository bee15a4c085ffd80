#include "model/FieldDecoder.h"

#include "model/CountedText.h"
#include "model/DmConversion.h"

namespace kalkora {

bool FieldDecoder::fail(DecodeProblem problem, std::size_t offset, const char* field)
{
    lastError = DecodeError { problem, offset, field, record, 0 };
    return false;
}

bool FieldDecoder::readText(std::string& value, const char* field)
{
    const std::size_t start = reader.offset();
    if (auto problem = readCountedText(reader, value))
        return fail(*problem, start, field);
    return true;
}

bool FieldDecoder::readMoney(float& value, const char* field, float factor)
{
    if (!read(value, field))
        return false;
    value = convertMoney(value, factor);
    return true;
}

bool FieldDecoder::readCount(std::int32_t& count, const char* field, std::size_t minRecordSize)
{
    const std::size_t start = reader.offset();
    if (!read(count, field))
        return false;
    if (count > 0 && std::size_t(count) > reader.remaining() / minRecordSize) {
        fail(DecodeProblem::CountTooLarge, start, field);
        lastError.count = count;
        return false;
    }
    return true;
}

} // namespace kalkora
