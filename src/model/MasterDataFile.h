#pragma once

#include "model/ByteStream.h"
#include "model/CPlantData.h"
#include "model/Progress.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace kalkora {

// The .sta format: a headerless stream of the eleven plant values, the machine count N and N
// machine records (counted-text name, then seven floats). Derived values are not stored.

inline constexpr std::size_t plantValuesSize = 48; // eleven values and N
inline constexpr std::size_t minMachineRecordSize = 29;

std::string encodeMasterData(const CPlantData& plantData);

// Decodes a whole file into fresh objects, multiplying every money field by `factor`, and
// computes hoursPerYear; the machines' rates are left to the caller (computeAllMachineRates).
// `plantData` is replaced only on success; `progress` hears of the bytes read and may stop the
// decode (DecodeProblem::Cancelled).
DecodeResult decodeMasterData(
    std::string_view bytes, float factor, CPlantData& plantData, const Progress& progress = {});

} // namespace kalkora
