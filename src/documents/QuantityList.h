#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace kalkora::documents {

// The "Mengen" field of the windows on the price scale.

// "1, 10, 100".
QString quantityList(const std::vector<std::int32_t>& quantities);

// The defaults as the user will read and edit them: ascending, each once, only valid ones (a
// quantity base of 0 is no quantity; the window then explains why it cannot be computed).
std::vector<std::int32_t> startingQuantities(std::int32_t quantityBase);

} // namespace kalkora::documents
