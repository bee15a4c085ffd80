#include "model/DmConversion.h"
#include "model/OrderFile.h"

#include <cstdlib>

using namespace kalkora;

// Any input decodes to an error or to an order whose encoding decodes again to itself.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const float factor : { 1.0f, dmToEurFactor }) {
        COrder order;
        if (!decodeOrder(bytes, factor, order).ok())
            continue;
        const std::string encoded = encodeOrder(order);
        COrder again;
        if (!decodeOrder(encoded, 1.0f, again).ok() || encodeOrder(again) != encoded)
            std::abort();
    }
    return 0;
}
