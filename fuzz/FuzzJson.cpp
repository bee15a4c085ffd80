#include "cli/JsonCodec.h"
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
        = cli::parseJson(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!document.isObject())
        return 0;
    CPlantData plantData;
    if (!cli::masterDataFromJson(document.object(), plantData)) {
        CPlantData again;
        const auto json = cli::parseJson(QByteArray::fromStdString(cli::masterDataToJson(plantData)));
        if (cli::masterDataFromJson(json.object(), again) || encodeMasterData(again) != encodeMasterData(plantData))
            std::abort();
    }
    COrder order;
    if (!cli::orderFromJson(document.object(), order)) {
        COrder again;
        const auto json = cli::parseJson(QByteArray::fromStdString(cli::orderToJson(order)));
        if (cli::orderFromJson(json.object(), again) || encodeOrder(again) != encodeOrder(order))
            std::abort();
    }
    return 0;
}
