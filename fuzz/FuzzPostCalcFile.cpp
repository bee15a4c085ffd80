#include "files/PostCalcFile.h"

#include <cstdlib>

using namespace kalkora;

// Any bytes read as a post-calculation or give a message; what reads writes a document that
// reads back to the same post-calculation.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray json = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString folder = QStringLiteral("/fuzz");
    files::PostCalculation postCalc;
    if (files::postCalcFromJson(json, folder, postCalc))
        return 0;
    files::PostCalculation again;
    if (files::postCalcFromJson(files::postCalcToJson(postCalc, folder), folder, again) || !(again == postCalc))
        std::abort();
    return 0;
}
