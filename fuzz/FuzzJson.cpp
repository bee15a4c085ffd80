#include "files/JsonCodec.h"
#include "model/MasterDataFile.h"
#include "model/OrderFile.h"

#include <QJsonDocument>

#include <cstdlib>

using namespace kalkora;

// Any JSON document reads as master data and as an order, or gives an error; what reads writes
// as JSON that reads back to the same file bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QJsonDocument document
        = files::parseJson(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!document.isObject())
        return 0;
    CPlantData plantData;
    if (!files::masterDataFromJson(document.object(), plantData)) {
        CPlantData again;
        const auto json = files::parseJson(QByteArray::fromStdString(files::masterDataToJson(plantData)));
        if (files::masterDataFromJson(json.object(), again) || encodeMasterData(again) != encodeMasterData(plantData))
            std::abort();
    }
    COrder order;
    if (!files::orderFromJson(document.object(), order)) {
        COrder again;
        const auto json = files::parseJson(QByteArray::fromStdString(files::orderToJson(order)));
        if (files::orderFromJson(json.object(), again) || encodeOrder(again) != encodeOrder(order))
            std::abort();
    }
    return 0;
}
