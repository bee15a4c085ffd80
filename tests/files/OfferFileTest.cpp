#include "files/OfferFile.h"

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
    EXPECT_EQ(offer.scheme.profitPct, Hundredths(-9999));
    EXPECT_EQ(offer.scheme.commissionPct, Hundredths(350));
    EXPECT_EQ(offer.offered.at(0).total, Hundredths(73300));
    EXPECT_EQ(offer.marketPrice, Hundredths(850));
    EXPECT_EQ(offer.validUntil, QDate(2027, 1, 6));

    const QString path = folder + QStringLiteral("/a.ang");
    ASSERT_TRUE(saveOffer(path, offer).ok());
    Offer back;
    ASSERT_TRUE(loadOffer(path, back).ok());
    EXPECT_EQ(back, offer);
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    for (const char* part : { R"("masterFile": "../stammdaten/werk.sta")", R"("orderFile": "welle.auf")",
             R"("profitPct": -99.99)", R"("total": 733)" })
        EXPECT_TRUE(bytes.contains(part)) << part;

    Offer minimal;
    minimal.number = QStringLiteral("alt");
    ASSERT_EQ(offerFromJson(corpusFile("minimal.ang"), folder, minimal), std::nullopt);
    EXPECT_EQ(minimal, Offer());
}

TEST(OfferFile, RefusesTheWholeDocumentNamingTheKey)
{
    const std::pair<const char*, const char*> cases[] = {
        { R"({"version":1})", "„kind“" },
        { R"({"kind":"kalkora-angebot","version":2})", "„version“: Version 1 erwartet" },
        { R"({"kind":"kalkora-angebot","version":1,"farbe":"rot"})", "„farbe“: unbekannter Schlüssel" },
        { R"({"kind":"kalkora-angebot","version":1,"number":5})", "„number“: ein Text erwartet" },
        { R"({"kind":"kalkora-angebot","version":1,"date":"2026-13-01"})", "„date“" },
        { R"({"kind":"kalkora-angebot","version":1,"scheme":{"adminPct":1000.01}})",
            "„scheme.adminPct“: eine Zahl von 0,00 bis 1000,00" },
        { R"({"kind":"kalkora-angebot","version":1,"scheme":{"profitPct":-100}})", "„scheme.profitPct“" },
        { R"({"kind":"kalkora-angebot","version":1,"scheme":{"discountPct":"5"}})", "„scheme.discountPct“" },
        { R"({"kind":"kalkora-angebot","version":1,"scheme":{"cashDiscountPct":60,"commissionPct":40}})",
            "„scheme.commissionPct“" },
        { R"({"kind":"kalkora-angebot","version":1,"scheme":{"rabatt":1}})", "„scheme.rabatt“" },
        { R"({"kind":"kalkora-angebot","version":1,"scheme":[]})", "„scheme“: ein Objekt erwartet" },
        { R"({"kind":"kalkora-angebot","version":1,"quantities":[1,0]})", "„quantities[1]“" },
        { R"({"kind":"kalkora-angebot","version":1,"quantities":[1.5]})", "„quantities[0]“" },
        { R"({"kind":"kalkora-angebot","version":1,"quantities":"1,2"})", "„quantities“: eine Liste erwartet" },
        { R"({"kind":"kalkora-angebot","version":1,"marketPrice":"8"})", "„marketPrice“" },
        { R"({"kind":"kalkora-angebot","version":1,"offered":[{"quantity":1,"total":"x"}]})", "„offered[0].total“" },
        { R"({"kind":"kalkora-angebot","version":1,"offered":[{"quantity":1,"preis":1}]})", "„offered[0].preis“" },
        { "[]", "kein JSON-Objekt" },
        { "{", "kein gültiges JSON" },
    };
    for (const auto& [json, expected] : cases) {
        Offer offer;
        offer.number = QStringLiteral("unverändert");
        const std::optional<QString> error = offerFromJson(QByteArray(json), QStringLiteral("/"), offer);
        ASSERT_TRUE(error) << json;
        EXPECT_TRUE(error->contains(QString::fromUtf8(expected))) << json << ": " << error->toStdString();
        EXPECT_EQ(offer.number, QStringLiteral("unverändert")) << json;
    }
    EXPECT_TRUE(offerFromJson(corpusFile("three-decimals.ang"), QStringLiteral("/"), *std::make_unique<Offer>()));
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
    const QString bad = dir.filePath(QStringLiteral("kaputt.ang"));
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"kind":"kalkora-angebot","version":3})");
    file.close();
    const FileResult result = loadOffer(bad, offer);
    EXPECT_EQ(result.status, FileStatus::Damaged);
    EXPECT_TRUE(result.message.startsWith(QStringLiteral("Die Datei „kaputt.ang“ ist kein lesbares Angebot: "
                                                         "Schlüssel „version“")))
        << result.message.toStdString();
}

} // namespace
