#pragma once

#include <cstdint>
#include <functional>

namespace kalkora {

// How far long work has come: called with the steps done and the steps in all; returning false
// asks the work to stop. The desktop program shows it in a progress dialog; the command-line
// tool shows nothing.
using Progress = std::function<bool(std::int64_t done, std::int64_t total)>;

// For loops over records: tells `progress` how far the work has come (`done` of `total`) at
// the first record and every 4096th after it, so that a short loop calls it once and a long
// one often enough to keep a window painted. False when the work should stop.
inline bool keepGoing(const Progress& progress, std::int64_t record, std::int64_t done, std::int64_t total)
{
    constexpr std::int64_t interval = 4096;
    return !progress || record % interval != 0 || progress(done, total);
}

} // namespace kalkora
