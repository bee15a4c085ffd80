#pragma once

#include "model/ByteStream.h"
#include "model/COrder.h"
#include "model/Progress.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace kalkora {

// The .auf format: a headerless stream of the order's name and remark (counted texts), its
// quantity base, the operation count M and M operation records of fourteen fields each.

inline constexpr std::size_t minOperationRecordSize = 50; // two empty texts and twelve numbers

std::string encodeOrder(const COrder& order);

// Decodes a whole file into a fresh order, multiplying every money field by `factor`.
// `order` is replaced only on success; `progress` hears of the bytes read and may stop the
// decode (DecodeProblem::Cancelled, nothing replaced).
DecodeResult decodeOrder(std::string_view bytes, float factor, COrder& order, const Progress& progress = {});

} // namespace kalkora
