#pragma once

// model: plant data, machines, orders and operations, the counted texts and the byte-exact
// .sta/.auf encoding with the DM conversion. Plain C++ on src/text only; no Qt, no costing.

#include "model/OwningList.h"

#include <cstdint>
#include <string>

namespace kalkora {

// One operation of an order: internal on a machine, or bought in (external).
struct COperation {
    std::int32_t isInternal = 1;
    std::string name;
    float externalCostPerPiece = 0;
    std::int32_t externalLotSize = 0;
    std::string machineName;
    float setupTimeMin = 0;
    std::int32_t lotSize = 0;
    std::int32_t shiftMode = 0; // 0, 1, 2 = 1, 2, 3 shifts
    float machineTimeMin = 0;
    float operatorTimeMin = 0;
    float materialUtilPct = 0;
    float machineUtilPct = 0;
    float materialWeightKg = 0;
    float materialPricePerKg = 0;

    bool operator==(const COperation&) const = default;
};

using COperationList = OwningList<COperation>;

// The production order being edited.
class COrder {
public:
    std::int32_t quantityBase = 0;
    std::string name; // Windows-1252
    std::string remark; // Windows-1252, may hold CR LF
    COperationList operations;

    void clear();
    // Raw material cost per piece of operation i; 0 outside the list or without material.
    float materialDirectCost(std::int32_t i) const;
};

} // namespace kalkora
