#include "files/PostCalcFile.h"

#include "core/Golden.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <filesystem>
#include <gtest/gtest.h>

using namespace kalkora;
using namespace kalkora::files;

namespace {

const std::string kHead = R"({"kind":"kalkora-nachkalkulation","version":1,)";

} // namespace

// The example reads with paths beside it and writes back the same; what is left out has its
// default; the fuzz corpus round-trips as the fuzz target demands.
TEST(PostCalcFile, SavedAndLoadedAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("welle.nak"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KALKORA_FUZZ_CORPUS "/postcalc/welle.nak"), path));
    PostCalculation example;
    ASSERT_TRUE(loadPostCalc(path, example).ok());
    EXPECT_EQ(example.orderFile, dir.filePath(QStringLiteral("welle.auf")));
    EXPECT_EQ(example.date, QDate(2026, 12, 8));
    EXPECT_EQ(example.goodQuantity, 97);
    ASSERT_EQ(example.actuals.size(), 2u);
    EXPECT_EQ(example.actuals[0].values[MachineTimeField], double(2.3f));
    EXPECT_FALSE(example.actuals[0].values[OperatorTimeField]);
    ASSERT_TRUE(savePostCalc(path, example).ok());
    PostCalculation back;
    ASSERT_TRUE(loadPostCalc(path, back).ok());
    EXPECT_EQ(back, example);
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains(R"("orderFile": "welle.auf")"));
    EXPECT_TRUE(isPostCalcJson(postCalcToJson(example, dir.path())));

    PostCalculation defaults;
    ASSERT_EQ(
        postCalcFromJson(QByteArray::fromStdString(kHead + R"("remark":""})"), dir.path(), defaults), std::nullopt);
    EXPECT_EQ(defaults, PostCalculation());
    COrder order;
    order.quantityBase = 250;
    EXPECT_EQ(defaults.produced(order), 250);
    EXPECT_EQ(defaults.good(order), 250);

    for (const auto& entry : std::filesystem::directory_iterator(KALKORA_FUZZ_CORPUS "/postcalc")) {
        QFile file(QString::fromStdString(entry.path().string()));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        PostCalculation read;
        ASSERT_EQ(postCalcFromJson(file.readAll(), dir.path(), read), std::nullopt) << entry.path();
        PostCalculation again;
        ASSERT_EQ(postCalcFromJson(postCalcToJson(read, dir.path()), dir.path(), again), std::nullopt);
        EXPECT_EQ(again, read) << entry.path();
    }
}

// Each refused document and its message, naming the key and the actual, are stored beside the
// tests; the post-calculation is left as it was.
TEST(PostCalcFile, RefusesTheWholeDocumentNamingTheKeyAndTheActual)
{
    std::vector<std::string> documents { R"({"version":1})", R"({"kind":"kalkora-nachkalkulation","version":2})",
        "[]" };
    const std::string drehen = R"({"operation":1,"name":"Drehen",)";
    for (const std::string& member :
        std::vector<std::string> { R"("farbe":"rot")", R"("producedQuantity":0)", R"("goodQuantity":-1)",
            R"("producedQuantity":10,"goodQuantity":11)", R"("date":"8.12.2026")", R"("quoteFile":1)",
            R"("actuals":{})", R"("actuals":[1])", R"("actuals":[{"name":"Drehen"}])", R"("actuals":[{"operation":1}])",
            R"("actuals":[{"operation":0,"name":"x"}])", R"("actuals":[)" + drehen + R"("setupTimeMin":-1}])",
            R"("actuals":[)" + drehen + R"("machineTimeMin":1e39}])",
            R"("actuals":[)" + drehen + R"("machineTimeMin":"2"}])", R"("actuals":[)" + drehen + R"("lotSize":0}])",
            R"("actuals":[)" + drehen + R"("lotSize":2.5}])", R"("actuals":[)" + drehen + R"("rabatt":1}])",
            R"("actuals":[)" + drehen + R"("lotSize":1},)" + drehen + R"("lotSize":2}])" })
        documents.push_back(kHead + member + "}");
    std::string messages;
    for (const std::string& json : documents) {
        PostCalculation postCalc;
        postCalc.remark = QStringLiteral("unverändert");
        messages += json + '\n'
            + postCalcFromJson(QByteArray::fromStdString(json), QStringLiteral("/tmp"), postCalc)
                  .value_or(QStringLiteral("angenommen"))
                  .toStdString()
            + "\n\n";
        EXPECT_EQ(postCalc.remark, QStringLiteral("unverändert"));
    }
    kalkora::testing::expectGolden("files/golden/refused-postcalcs.txt", messages);
}
