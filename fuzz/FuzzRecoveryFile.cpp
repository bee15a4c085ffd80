#include "files/RecoveryFile.h"

#include <cstdlib>

using namespace kalkora;

// Any bytes read as a recovery file or give a reason; what reads writes a document that reads
// back to the same data.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray json = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    files::RecoveryData recovery;
    if (files::recoveryFromJson(json, recovery))
        return 0;
    files::RecoveryData again;
    if (files::recoveryFromJson(files::recoveryToJson(recovery), again) || !(again == recovery))
        std::abort();
    return 0;
}
