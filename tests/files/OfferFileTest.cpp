#include "files/OfferFile.h"

#include "core/Golden.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <filesystem>
#include <gtest/gtest.h>

using namespace kalkora;
using namespace kalkora::files;

namespace {

QByteArray corpusFile(const char* name)
{
    QFile file(QStringLiteral(KALKORA_FUZZ_CORPUS "/offer/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(OfferFile, SavedAndLoadedAsItWas)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("angebote"));
    ASSERT_TRUE(QDir().mkpath(folder));
    Offer offer;
    ASSERT_EQ(offerFromJson(corpusFile("full.ang"), folder, offer), std::nullopt);
    EXPECT_EQ(offer.masterFile, dir.filePath(QStringLiteral("stammdaten/werk.sta")));
    const QString path = folder + QStringLiteral("/a.ang");
    ASSERT_TRUE(saveOffer(path, offer).ok());
    Offer back;
    ASSERT_TRUE(loadOffer(path, back).ok());
    EXPECT_EQ(back, offer);
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    kalkora::testing::expectGolden("files/golden/full.ang", saved.readAll().toStdString());

    Offer minimal;
    minimal.number = QStringLiteral("alt");
    ASSERT_EQ(offerFromJson(corpusFile("minimal.ang"), folder, minimal), std::nullopt);
    EXPECT_EQ(minimal, Offer());
    ASSERT_EQ(offerFromJson(R"({"kind":"kalkora-angebot","version":1,"quantities":[2147483647]})", folder, minimal),
        std::nullopt);
    EXPECT_EQ(minimal.quantities, std::vector<std::int32_t> { 2147483647 });
}

// Each refused document and its message are stored beside the tests.
TEST(OfferFile, RefusesTheWholeDocumentNamingTheKey)
{
    std::vector<std::string> documents { R"({"version":1})", R"({"kind":"kalkora-angebot","version":2})", "[]", "{" };
    for (const char* key : { R"("farbe":"rot")", R"("number":5)", R"("date":"2026-13-01")",
             R"("scheme":{"adminPct":1000.01})", R"("scheme":{"profitPct":-100})", R"("scheme":{"discountPct":"5"})",
             R"("scheme":{"cashDiscountPct":60,"commissionPct":40})", R"("scheme":{"rabatt":1})", R"("scheme":[])",
             R"("quantities":[1,0])", R"("quantities":[1.5])", R"("quantities":"1,2")", R"("marketPrice":"8")",
             R"("offered":[{"quantity":1,"total":"x"}])", R"("offered":[{"quantity":1,"preis":1}])" })
        documents.push_back(std::string(R"({"kind":"kalkora-angebot","version":1,)") + key + "}");
    documents.push_back(corpusFile("three-decimals.ang").trimmed().toStdString());
    std::string messages;
    for (const std::string& json : documents) {
        Offer offer;
        offer.number = QStringLiteral("unverändert");
        const std::optional<QString> error = offerFromJson(QByteArray::fromStdString(json), QStringLiteral("/"), offer);
        ASSERT_TRUE(error) << json;
        messages += json + "\n    " + error->toStdString() + "\n";
        EXPECT_EQ(offer.number, QStringLiteral("unverändert")) << json;
    }
    kalkora::testing::expectGolden("files/golden/refused-offers.txt", messages);
}

// What reads writes a document that reads back to the same quote.
TEST(OfferFile, FuzzCorpusRoundTrips)
{
    int read = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KALKORA_FUZZ_CORPUS "/offer")) {
        Offer offer, back;
        if (offerFromJson(corpusFile(entry.path().filename().c_str()), QStringLiteral("/a"), offer))
            continue;
        ++read;
        ASSERT_EQ(offerFromJson(offerToJson(offer, QStringLiteral("/a")), QStringLiteral("/a"), back), std::nullopt);
        EXPECT_EQ(back, offer) << entry.path();
    }
    EXPECT_GE(read, 3);
}

TEST(OfferFile, MessagesNameTheFile)
{
    QTemporaryDir dir;
    Offer offer;
    EXPECT_EQ(loadOffer(dir.filePath(QStringLiteral("fehlt.ang")), offer).status, FileStatus::CannotOpen);
    QFile file(dir.filePath(QStringLiteral("kaputt.ang")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(R"({"kind":"kalkora-angebot","version":3})") > 0);
    file.close();
    const FileResult result = loadOffer(file.fileName(), offer);
    EXPECT_EQ(result.status, FileStatus::Damaged);
    EXPECT_EQ(result.message.toStdString(),
        "Die Datei „kaputt.ang“ ist kein lesbares Angebot: Schlüssel „version“: Version 1 erwartet.");
}

} // namespace
