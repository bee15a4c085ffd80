#include "files/AssemblyFile.h"

#include "core/ExampleData.h"
#include "core/Golden.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <filesystem>
#include <gtest/gtest.h>

using namespace kalkora;
using namespace kalkora::files;

namespace {

QByteArray exampleAssembly()
{
    QFile file(QStringLiteral(KALKORA_TESTS_DIR "/../examples/getriebe.bgr"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class AssemblyTreeTest : public ::testing::Test {
protected:
    void write(const char* name, const std::string& bytes) const
    {
        ASSERT_TRUE(saveBytes(dir.filePath(QLatin1String(name)), bytes).ok());
    }
    void writeOrder(const char* name) const
    {
        ASSERT_TRUE(saveOrder(dir.filePath(QLatin1String(name)), kalkora::testing::exampleOrder()).ok());
    }
    // An assembly of the components given as JSON.
    void writeAssembly(const char* name, const std::string& components) const
    {
        write(name, R"({"kind":"kalkora-baugruppe","version":1,"components":[)" + components + "]}");
    }
    FileResult load(const char* name)
    {
        return loadAssemblyTree(dir.filePath(QLatin1String(name)), 1.0f, tree, [this] { ++warnings; });
    }

    QTemporaryDir dir;
    AssemblyTree tree;
    int warnings = 0;
};

} // namespace

// What is written reads back the same; prices keep their four decimals, and the file names its
// kind whatever it is called.
TEST(AssemblyFile, WritesWhatItReads)
{
    Assembly example;
    ASSERT_EQ(assemblyFromJson(exampleAssembly(), example), std::nullopt);
    EXPECT_EQ(example.components.size(), 3u);
    EXPECT_EQ(example.components[2].prices, (std::vector<PriceBreak> { { 1, 18500 }, { 500, 16000 } }));
    example.components[2].prices.push_back({ 2000, 1 });
    example.name = "Getriebe „G1“ mit Вал";
    Assembly again;
    const QByteArray written = assemblyToJson(example);
    ASSERT_EQ(assemblyFromJson(written, again), std::nullopt) << written.toStdString();
    EXPECT_EQ(again, example);
    EXPECT_TRUE(written.contains(R"("price": 0.0001)") && written.contains("\"price\": 1.60\n"));
    EXPECT_TRUE(isAssemblyJson(written));
    EXPECT_FALSE(isAssemblyJson(R"({"kind":"kalkora-angebot"})"));

    // The fuzz corpus reads and round-trips as the fuzz target demands.
    for (const auto& entry : std::filesystem::directory_iterator(KALKORA_FUZZ_CORPUS "/assembly")) {
        QFile file(QString::fromStdString(entry.path().string()));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        Assembly read;
        ASSERT_EQ(assemblyFromJson(file.readAll(), read), std::nullopt) << entry.path();
        ASSERT_EQ(assemblyFromJson(assemblyToJson(read), again), std::nullopt);
        EXPECT_EQ(again, read) << entry.path();
    }

    Assembly defaults;
    ASSERT_EQ(assemblyFromJson(R"({"kind":"kalkora-baugruppe","version":1})", defaults), std::nullopt);
    EXPECT_EQ(defaults, Assembly());
}

// Each refusal names the key and the component by its position, and leaves the assembly as it was.
TEST(AssemblyFile, RefusalsNameTheKeyAndTheComponent)
{
    const std::string head = R"({"kind":"kalkora-baugruppe","version":1,)";
    const std::string bought = R"({"kind":"bought","count":4,"prices":)";
    std::string errors;
    const std::string refused[] = { R"({"version":1})", R"({"kind":"kalkora-angebot","version":1})",
        head + R"("name":"x","nmae":"x"})", R"({"kind":"kalkora-baugruppe","version":2})",
        head + R"("quantityBase":0})", head + R"("components":{}})", head + R"("components":[1]})",
        head + R"("components":[{"kind":"order","file":"a.auf"}]})",
        head + R"("components":[{"kind":"order","file":"a.auf","count":1000001}]})",
        head + R"("components":[{"kind":"order","file":"","count":1}]})",
        head + R"("components":[{"kind":"teil","count":1}]})",
        head + R"("components":[{"kind":"order","file":"a.auf","count":1,"prices":[]}]})",
        head + R"("components":[)" + bought + R"([]}]})",
        head + R"("components":[)" + bought + R"([{"from":2,"price":1}]}]})",
        head + R"("components":[)" + bought + R"([{"from":1,"price":1},{"from":1,"price":2}]}]})",
        head + R"("components":[)" + bought + R"([{"from":1,"price":1.23456}]}]})",
        head + R"("components":[)" + bought + R"([{"from":1,"price":-1}]}]})",
        head + R"("components":[{"kind":"assembly","file":"b.bgr","count":1},)" + bought
            + R"([{"from":1,"price":1,"rabatt":3}]}]})" };
    for (const std::string& json : refused) {
        Assembly assembly;
        assembly.name = "unverändert";
        errors += json + '\n'
            + assemblyFromJson(QByteArray::fromStdString(json), assembly, QStringLiteral("2."))
                  .value_or(QStringLiteral("angenommen"))
                  .toStdString()
            + '\n';
        EXPECT_EQ(assembly.name, "unverändert");
    }
    kalkora::testing::expectGolden("files/golden/assembly-errors.txt", errors);
}

// Each file is read once however often it is named; paths are relative to the file naming them.
TEST_F(AssemblyTreeTest, ReadsEachFileOnceAndRefusesAnAssemblyInItself)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("teile")));
    writeOrder("welle.auf");
    writeAssembly("teile/bock.bgr", R"({"kind":"order","file":"../welle.auf","count":2})");
    writeAssembly("getriebe.bgr",
        R"({"kind":"order","file":"welle.auf","count":1},{"kind":"assembly","file":"teile/bock.bgr","count":1},
           {"kind":"assembly","file":"./teile/../teile/bock.bgr","count":3})");
    ASSERT_TRUE(load("getriebe.bgr").ok());
    EXPECT_EQ(tree.orders.size(), 1u);
    EXPECT_EQ(tree.assemblies.size(), 2u);
    EXPECT_EQ(tree.root->assemblies[1], tree.root->assemblies[2]);
    EXPECT_EQ(tree.root->assemblies[1]->orders[0], tree.root->orders[0]);
    EXPECT_EQ(warnings, 1);

    const std::pair<const char*, QString> faults[] = {
        { R"({"kind":"assembly","file":"teile/../kreis.bgr","count":1})",
            QStringLiteral("Position 1: Die Baugruppe enthält sich selbst: kreis.bgr → kreis.bgr.") },
        { R"({"kind":"assembly","file":"teile/zurueck.bgr","count":1})",
            QStringLiteral("Position 1.1: Die Baugruppe enthält sich selbst: kreis.bgr → zurueck.bgr → kreis.bgr.") },
        { R"({"kind":"order","file":"welle.auf","count":1},{"kind":"assembly","file":"teile/fehlt.bgr","count":1})",
            QStringLiteral("Position 2: Die Datei „fehlt.bgr“ kann nicht geöffnet werden") },
        { R"({"kind":"assembly","file":"teile/kaputt.bgr","count":1})",
            QStringLiteral("Position 1: Die Datei „kaputt.bgr“ ist keine lesbare Baugruppe: Komponente 1.1: "
                           "Schlüssel „count“: fehlt.") },
    };
    writeAssembly("teile/zurueck.bgr", R"({"kind":"assembly","file":"../kreis.bgr","count":1})");
    writeAssembly("teile/kaputt.bgr", R"({"kind":"order","file":"welle.auf"})");
    for (const auto& [components, message] : faults) {
        writeAssembly("kreis.bgr", components);
        tree = {};
        const FileResult result = load("kreis.bgr");
        EXPECT_TRUE(result.message.startsWith(message)) << result.message.toStdString();
        EXPECT_TRUE(tree.root == nullptr);
    }
}
