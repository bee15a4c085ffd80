#pragma once

#include <bit>
#include <cstdint>

namespace kalkora {

// Old files of the DM edition hold money in Deutsche Mark. Loading multiplies each money field by
// this float, the one nearest 1 / 1.95583 (bit pattern 0x3F02E406), never divides by 1.95583.
inline constexpr float dmToEurFactor = std::bit_cast<float>(std::uint32_t(0x3F02E406));

// The product of two floats is exact in double, so this rounds exactly once. A factor of 1 keeps
// the value as read, bit for bit: multiplying would turn a signalling NaN into a quiet one.
inline float convertMoney(float value, float factor)
{
    if (factor == 1.0f)
        return value;
    return static_cast<float>(double(value) * double(factor));
}

} // namespace kalkora
