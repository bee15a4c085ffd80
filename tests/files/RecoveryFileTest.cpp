#include "files/RecoveryFile.h"

#include "core/ExampleData.h"
#include "core/Golden.h"
#include "model/MasterDataFile.h"
#include "model/OrderFile.h"

#include <functional>
#include <gtest/gtest.h>

using namespace kalkora;
using namespace kalkora::files;

namespace {

RecoveryData unsavedWork()
{
    COrder order = kalkora::testing::exampleOrder();
    order.name = "Welle ge\xE4ndert";
    const files::FileFingerprint opened { 812, QDateTime(QDate(2026, 12, 7), QTime(8, 2, 0)), QByteArray(32, '\x5A') };
    return { QDateTime(QDate(2026, 12, 7), QTime(23, 41, 5, 120), Qt::UTC),
        encodeMasterData(kalkora::testing::examplePlant({ "Presse", "Drehbank" })), QStringLiteral("/daten/werk.sta"),
        true, std::nullopt, true, encodeOrder(order), QStringLiteral("/daten/Welle ä.auf"), true,
        SeenFile { QStringLiteral("/daten/Welle ä.auf"), opened },
        { { R"({"kind":"kalkora-baugruppe","version":1,"name":"Getriebe ä"})", QStringLiteral("/daten/getriebe.bgr"),
            true, SeenFile { QStringLiteral("/daten/getriebe.bgr"), opened } } },
        { { R"({"kind":"kalkora-nachkalkulation","version":1,"orderFile":"daten/Welle ä.auf"})",
            QStringLiteral("/daten/welle.nak"), false, std::nullopt } } };
}

QByteArray json(const std::function<void(RecoveryData&)>& change)
{
    RecoveryData data = unsavedWork();
    change(data);
    return recoveryToJson(data);
}

// Every recovery file either reads back to exactly what was written or is refused whole, with
// the message stored beside the tests.
TEST(RecoveryFile, ReadsBackOrRefusesWhole)
{
    const QByteArray good = recoveryToJson(unsavedWork());
    const std::pair<const char*, QByteArray> rows[] = {
        { "complete", good },
        { "no order open", json([](RecoveryData& d) {
             d.orderOpen = d.orderChanged = false;
             d.orderBytes.clear();
             d.orderFileName.clear();
         }) },
        { "cut in half", good.left(good.size() / 2) },
        { "fingerprint without its hash", QByteArray(good).replace("\"sha256\"", "\"sha\"") },
        { "another kind of file", QByteArray(good).replace("kalkora-wiederherstellung", "kalkora-angebot") },
        { "a key it does not know", QByteArray(good).replace("\"written\"", "\"geschrieben\"") },
        { "a list, not an object", "[" + good + "]" },
        { "newer format", QByteArray(good).replace("\"version\":1", "\"version\":2") },
        { "order not base64", json([](RecoveryData& d) { d.orderBytes = "x"; }).replace("\"eA==\"", "\"e!A==\"") },
        { "order cut short", json([](RecoveryData& d) { d.orderBytes.resize(d.orderBytes.size() - 3); }) },
        { "no assembly open", json([](RecoveryData& d) { d.assemblies.clear(); }) },
        { "assembly of an unknown version",
            json([](RecoveryData& d) { d.assemblies[0].json.replace(d.assemblies[0].json.find(":1"), 2, ":7"); }) },
        { "post-calculation of an unknown version",
            json([](RecoveryData& d) { d.postCalcs[0].json.replace(d.postCalcs[0].json.find(":1"), 2, ":7"); }) },
        { "no post-calculation open", json([](RecoveryData& d) { d.postCalcs.clear(); }) },
        { "assembly not base64", QByteArray(good).replace("\"bytes\":\"eyJr", "\"bytes\":\"!yJr") },
        { "machine count too large", json([](RecoveryData& d) { d.masterDataBytes[44] = '\x7F'; }) },
    };
    std::string problems;
    for (const auto& [name, bytes] : rows) {
        RecoveryData read;
        read.orderFileName = QStringLiteral("unberührt");
        const std::optional<QString> problem = recoveryFromJson(bytes, read);
        problems += name + (": " + (problem ? problem->toStdString() : "reads back")) + "\n";
        if (problem)
            EXPECT_EQ(read.orderFileName, QStringLiteral("unberührt")) << name;
        else
            EXPECT_EQ(recoveryToJson(read), bytes) << name;
    }
    kalkora::testing::expectGolden("files/golden/recovery-problems.txt", problems);
    RecoveryData read;
    ASSERT_EQ(recoveryFromJson(good, read), std::nullopt);
    EXPECT_EQ(read, unsavedWork());
}

} // namespace
