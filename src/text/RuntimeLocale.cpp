#include "text/RuntimeLocale.h"

#include <atomic>

namespace kalkora::text {

namespace {
std::atomic<RuntimeLocale> currentLocale { RuntimeLocale::Default };
} // namespace

RuntimeLocale runtimeLocale()
{
    return currentLocale.load(std::memory_order_relaxed);
}

void setRuntimeLocale(RuntimeLocale locale)
{
    currentLocale.store(locale, std::memory_order_relaxed);
}

char decimalSeparator()
{
    return runtimeLocale() == RuntimeLocale::German ? ',' : '.';
}

} // namespace kalkora::text
