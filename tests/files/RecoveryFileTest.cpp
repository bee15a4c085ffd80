#include "files/RecoveryFile.h"

#include "core/ExampleData.h"
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
    return { QDateTime(QDate(2026, 12, 7), QTime(23, 41, 5, 120), Qt::UTC),
        encodeMasterData(kalkora::testing::examplePlant({ "Presse", "Drehbank" })), QStringLiteral("/daten/werk.sta"),
        true, true, encodeOrder(order), QStringLiteral("/daten/Welle ä.auf"), true };
}

QByteArray json(const std::function<void(RecoveryData&)>& change)
{
    RecoveryData data = unsavedWork();
    change(data);
    return recoveryToJson(data);
}

// Every recovery file either reads back to exactly what was written or is refused whole.
TEST(RecoveryFile, ReadsBackOrRefusesWhole)
{
    const QByteArray good = recoveryToJson(unsavedWork());
    struct Row {
        const char* name;
        QByteArray json;
        const char* problem; // nullptr: reads back as written
    } rows[] = {
        { "complete", good, nullptr },
        { "no order open", json([](RecoveryData& d) {
             d.orderOpen = d.orderChanged = false;
             d.orderBytes.clear();
             d.orderFileName.clear();
         }),
            nullptr },
        { "cut in half", good.left(good.size() / 2), "Die Datei ist unvollständig oder beschädigt." },
        { "newer format", QByteArray(good).replace("\"version\":1", "\"version\":2"),
            "Sie stammt von einer anderen Programmversion (Format 2)." },
        { "order not base64", json([](RecoveryData& d) { d.orderBytes = "x"; }).replace("\"eA==\"", "\"e!A==\""),
            "Der Eintrag „order“ fehlt oder ist ungültig." },
        { "order cut short", json([](RecoveryData& d) { d.orderBytes.resize(d.orderBytes.size() - 3); }),
            "Der Auftrag darin ist beschädigt." },
        { "machine count too large", json([](RecoveryData& d) { d.masterDataBytes[44] = '\x7F'; }),
            "Die Stammdaten darin sind beschädigt." },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecoveryData read;
        read.orderFileName = QStringLiteral("unberührt");
        const std::optional<QString> problem = recoveryFromJson(row.json, read);
        if (!row.problem) {
            ASSERT_EQ(problem, std::nullopt);
            EXPECT_EQ(recoveryToJson(read), row.json);
            continue;
        }
        ASSERT_TRUE(problem.has_value());
        EXPECT_TRUE(problem->contains(QString::fromUtf8(row.problem))) << problem->toStdString();
        EXPECT_EQ(read.orderFileName, QStringLiteral("unberührt"));
    }
    RecoveryData read;
    ASSERT_EQ(recoveryFromJson(good, read), std::nullopt);
    EXPECT_EQ(read, unsavedWork());
}

} // namespace
