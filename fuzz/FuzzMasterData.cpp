#include "model/DmConversion.h"
#include "model/MasterDataFile.h"

#include <cstdlib>

using namespace kalkora;

// Any input decodes to an error or to master data whose encoding decodes again to itself.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const float factor : { 1.0f, dmToEurFactor }) {
        CPlantData plantData;
        if (!decodeMasterData(bytes, factor, plantData).ok())
            continue;
        const std::string encoded = encodeMasterData(plantData);
        CPlantData again;
        if (!decodeMasterData(encoded, 1.0f, again).ok() || encodeMasterData(again) != encoded)
            std::abort();
    }
    return 0;
}
