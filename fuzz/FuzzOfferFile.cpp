#include "files/OfferFile.h"

#include <cstdlib>

using namespace kalkora;

// Any bytes read as a quote file or give a message; what reads writes a document that reads back
// to the same quote.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray json = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString folder = QStringLiteral("/angebote");
    files::Offer offer;
    if (files::offerFromJson(json, folder, offer))
        return 0;
    files::Offer again;
    if (files::offerFromJson(files::offerToJson(offer, folder), folder, again) || !(again == offer))
        std::abort();
    return 0;
}
