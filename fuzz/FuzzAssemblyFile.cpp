#include "files/AssemblyFile.h"

#include <cstdlib>

using namespace kalkora;

// Any bytes read as an assembly file or give a message; what reads writes a document that reads
// back to the same assembly.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray json = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    Assembly assembly;
    if (files::assemblyFromJson(json, assembly))
        return 0;
    Assembly again;
    if (files::assemblyFromJson(files::assemblyToJson(assembly), again) || !(again == assembly))
        std::abort();
    return 0;
}
