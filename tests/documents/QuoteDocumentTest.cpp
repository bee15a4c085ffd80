#include "documents/QuoteDocument.h"

#include "core/ExampleData.h"
#include "documents/QuantityList.h"
#include "documents/SchemeValues.h"

#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kalkora::documents {
namespace {

class QuoteDocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        SalesScheme scheme;
        scheme.discountPct = Percent(500);
        saveQuoteDefaults({ QStringLiteral("Muster GmbH"), scheme, 14, QStringLiteral("Wir bieten an:"),
            QStringLiteral("Gruß"), QStringLiteral("Amtsgericht Ulm"), 10, 30, QStringLiteral("A-2026-"), 7 });
        files::Offer bare; // offered, but no quantities of its own
        bare.offered = { { 5, Money(900), {}, Money(900), Money(4500) } };
        ASSERT_TRUE(files::saveOffer(file("bare.ang"), bare).ok());
    }

    QString file(const char* name) const { return folder.filePath(QLatin1String(name)); }

    // Does `act` to the quote; any other act prices 100 and 1 pieces at a market price of 9 €, with
    // the files of the order and master data. A result that is not ok is told by the beginning of
    // its message.
    QString act(const QString& act)
    {
        files::FileResult result;
        if (act == u"dearer")
            order.operations.at(0)->machineTimeMin = 4;
        else if (act == u"base 0")
            order.quantityBase = 0;
        else if (act == u"order back")
            order = testing::exampleOrder();
        if (act == u"new")
            quote.startNew(loadQuoteDefaults(), QStringLiteral("Welle"), QDate(2026, 12, 7));
        else if (act == u"typo") {
            quote.markChanged();
            quote.markOutOfDate();
        } else if (act == u"renumber")
            quote.setLetter({ QStringLiteral("A-1"), {}, {}, {}, QStringLiteral("Kunde"), {}, {}, {}, 0, 0, {} });
        else if (act == u"take")
            quote.takeTodaysPrices();
        else if (act.startsWith(u"save "))
            result = quote.saveAs(file(act.mid(5).toUtf8()));
        else if (act.startsWith(u"open "))
            result = quote.open(file(act.mid(5).toUtf8()));
        else if (act.startsWith(u"without "))
            result = quote.openWithoutOrder(file(act.mid(8).toUtf8()));
        else
            try {
                quote.setDataFiles(file("welle.auf"), file("werk.sta"));
                quote.price({ quote.figures().scheme, { 100, 1 }, Money(900) },
                    [&](const auto& quantities) { return basisOf(computePriceScale(order, plant, quantities)); });
            } catch (const PriceScaleError& error) {
                result.message = QString::fromUtf8(error.what());
            }
        return result.message.isEmpty() ? QString() : QStringLiteral("! ") + result.message.section(u' ', 0, 3) + u' ';
    }

    // The quote's file and state, the prices it offers and those that differ today (offered >
    // today) and the quantities it shows.
    QString seen() const
    {
        QStringList offered;
        for (const OfferedPrice& price : quote.offeredPrices())
            offered << QStringLiteral("%1:%2").arg(price.quantity).arg(typedValue(price.targetPrice));
        QStringList changes;
        for (const PriceChange& change : quote.changedPrices().value_or(std::vector<PriceChange>()))
            changes << QStringLiteral("%1:%2>%3")
                           .arg(QString::number(change.quantity), typedValue(change.offered),
                               change.today ? typedValue(*change.today) : QStringLiteral("keiner"));
        const char* state = !quote.hasOrder() ? "without order" : quote.isPriced() ? "priced" : "unpriced";
        return QStringLiteral("%1 %2 %3 | %4 | %5 | %6")
            .arg(QFileInfo(quote.path()).fileName(), quote.isChanged() ? "changed" : "unchanged", state,
                offered.join(u' '), changes.join(u' '), quantityList(quote.shownQuantities(100)));
    }

    // The next quote number and what a.ang holds: the letter, the scheme's discount, the
    // quantities, the market price, the two files, the number of prices offered, the part, the
    // footer and the periods of payment.
    QString saved() const
    {
        files::Offer offer;
        if (!files::loadOffer(file("a.ang"), offer).ok())
            return QStringLiteral("none");
        return QStringList { QStringLiteral("next %1:").arg(loadQuoteDefaults().nextNumber), offer.number,
            offer.date.toString(Qt::ISODate), offer.validUntil.toString(Qt::ISODate), offer.subject, offer.sender,
            offer.recipient, offer.intro, offer.closing, typedValue(offer.scheme.discountPct),
            quantityList(offer.quantities), offer.marketPrice ? typedValue(*offer.marketPrice) : QStringLiteral("-"),
            QFileInfo(offer.orderFile).fileName(), QFileInfo(offer.masterFile).fileName(),
            QString::number(offer.offered.size()), offer.partName, offer.footer,
            QStringLiteral("%1/%2").arg(offer.cashDiscountDays).arg(offer.paymentDays) }
            .join(u' ');
    }

    QTemporaryDir settings;
    QTemporaryDir folder;
    COrder order = testing::exampleOrder();
    CPlantData plant = testing::examplePlant();
    QuoteDocument quote;
};

// Each step acts on the quote after the steps above it; a save also shows what a.ang holds. The
// example order's price per piece is 33,78 € at 1 piece and 5,29 € at 100; with a longer machine
// time 34,37 € and 5,88 €.
const std::pair<const char*, const char*> life[] = {
    { "new", " unchanged unpriced |  |  | 1, 10, 25, 50, 100, 250, 500, 1000" },
    { "save a.ang", "! Das Angebot ist nicht  unchanged unpriced |  |  | 1, 10, 25, 50, 100, 250, 500, 1000 | none" },
    { "price", " unchanged priced | 1:33,78 100:5,29 |  | 100, 1" },
    { "save a.ang",
        "a.ang unchanged priced | 1:33,78 100:5,29 |  | 100, 1 | next 8: A-2026-7 2026-12-07 2026-12-21 Welle Muster "
        "GmbH  "
        "Wir "
        "bieten an: Gruß 5 1, 100 9 welle.auf werk.sta 2 Welle Amtsgericht Ulm 10/30" },
    { "save a.ang",
        "a.ang unchanged priced | 1:33,78 100:5,29 |  | 100, 1 | next 8: A-2026-7 2026-12-07 2026-12-21 Welle Muster "
        "GmbH  "
        "Wir "
        "bieten an: Gruß 5 1, 100 9 welle.auf werk.sta 2 Welle Amtsgericht Ulm 10/30" },
    { "dearer", "a.ang unchanged priced | 1:34,37 100:5,88 |  | 100, 1" },
    { "open a.ang", "a.ang unchanged unpriced | 1:33,78 100:5,29 |  | 1, 100" },
    { "price", "a.ang unchanged priced | 1:33,78 100:5,29 | 1:33,78>34,37 100:5,29>5,88 | 100, 1" },
    { "typo", "a.ang changed unpriced | 1:33,78 100:5,29 |  | 100, 1" },
    { "price", "a.ang changed priced | 1:33,78 100:5,29 | 1:33,78>34,37 100:5,29>5,88 | 100, 1" },
    { "save fehlt/a.ang",
        "! Die Datei „a.ang“ kann a.ang changed priced | 1:33,78 100:5,29 | 1:33,78>34,37 100:5,29>5,88 | 100, 1 | "
        "next 8: A-2026-7 2026-12-07 2026-12-21 Welle Muster GmbH  Wir bieten an: Gruß 5 1, 100 9 welle.auf werk.sta "
        "2 Welle Amtsgericht Ulm 10/30" },
    { "take", "a.ang changed priced | 1:34,37 100:5,88 |  | 100, 1" },
    { "open fehlt.ang", "! Die Datei „fehlt.ang“ kann a.ang changed priced | 1:34,37 100:5,88 |  | 100, 1" },
    { "base 0", "! Die Stückzahlbasis des Auftrags a.ang changed unpriced | 1:34,37 100:5,88 |  | 100, 1" },
    { "without bare.ang", "bare.ang unchanged without order | 5:9 |  | 5" },
    { "without a.ang", "a.ang unchanged without order | 1:33,78 100:5,29 |  | 1, 100" },
    { "renumber", "a.ang unchanged without order | 1:33,78 100:5,29 |  | 1, 100" },
    { "save a.ang",
        "a.ang unchanged without order | 1:33,78 100:5,29 |  | 1, 100 | next 8: A-1     Kunde   5 1, 100 9 welle.auf "
        "werk.sta 2 Welle  0/0" },
    { "new", " unchanged unpriced |  |  | 1, 10, 25, 50, 100, 250, 500, 1000" },
    { "order back", " unchanged priced | 1:33,78 100:5,29 |  | 100, 1" },
    { "renumber", " unchanged priced | 1:33,78 100:5,29 |  | 100, 1" },
    { "save a.ang",
        "a.ang unchanged priced | 1:33,78 100:5,29 |  | 100, 1 | next 8: A-1     Kunde   5 1, 100 9 welle.auf werk.sta "
        "2 Welle  0/0" },
    { "open bare.ang", "bare.ang unchanged unpriced | 5:9 |  | 1, 10, 25, 50, 100, 250, 500, 1000" },
    { "price", "bare.ang unchanged priced | 5:9 | 5:9>keiner | 100, 1" },
};

TEST_F(QuoteDocumentTest, ALifeFromNewToSavedOpenedAndRepricedAndTheDefaults)
{
    for (const auto& [step, expected] : life) {
        SCOPED_TRACE(step);
        const QString act = QString::fromUtf8(step);
        const QString result = this->act(act);
        const QString shown = result + seen() + (act.startsWith(u"save") ? QStringLiteral(" | ") + saved() : QString());
        EXPECT_EQ(shown.toStdString(), expected);
    }
    // kalkora-cli's --vorgaben fills only the texts a quote leaves empty.
    files::Offer offer;
    offer.intro = QStringLiteral("Eigene Einleitung");
    fillLetterFrom(loadQuoteDefaults(), offer);
    EXPECT_EQ(QStringList({ offer.sender, offer.intro, offer.closing }),
        QStringList({ "Muster GmbH", "Eigene Einleitung", "Gruß" }));
}

// What a scheme field of the windows takes, and what it says when it refuses a text: a number
// outside the range is read and named, not called unreadable.
TEST(SchemeValues, AmountsTakeGermanGroupingAndARefusalSaysWhy)
{
    const SchemeField& oneOff = kSchemeFields[6];
    const SchemeField& profit = kSchemeFields[2];
    const char* unreadable = "kann nicht gelesen werden: bitte eine Zahl von ";
    const struct {
        const SchemeField& field;
        const char* typed;
        std::optional<std::int64_t> value;
        const char* refusal; // how the message goes on after the field's name
    } cases[] = { { oneOff, "1.000,00", 100000, "" }, { oneOff, " 1000 ", 100000, "" }, { oneOff, "1.000", 100000, "" },
        { oneOff, "12.345.678,9", 1234567890, "" }, { oneOff, "8.5", 850, "" }, { oneOff, "", 0, "" },
        { oneOff, "1.00,0", std::nullopt, unreadable }, { oneOff, "1.000.5", std::nullopt, unreadable },
        { oneOff, "1.000,5.5", std::nullopt, unreadable }, { oneOff, "1,000.00", std::nullopt, unreadable },
        { oneOff, "-0", std::nullopt, unreadable },
        { oneOff, "-1.000", std::nullopt, "-1.000,00 liegt außerhalb von 0,00 bis 99.999.999.999,99 €." },
        { oneOff, "100.000.000.000", std::nullopt,
            "100.000.000.000,00 liegt außerhalb von 0,00 bis 99.999.999.999,99 €." },
        { oneOff, "12345678901234567890", std::nullopt,
            "12345678901234567890 liegt außerhalb von 0,00 bis 99.999.999.999,99 €." },
        { profit, "1.000,00", 100000, "" },
        { profit, "1.000", std::nullopt, "kann nicht gelesen werden: bitte eine Zahl von -99,99 bis 1.000,00 % mit " },
        { profit, "-100", std::nullopt, "-100,00 liegt außerhalb von -99,99 bis 1.000,00 %." } };
    for (const auto& c : cases) {
        const QString typed = QString::fromUtf8(c.typed);
        EXPECT_EQ(schemeValueOf(c.field, typed), c.value) << c.typed;
        if (c.value)
            continue;
        const QString expected
            = QStringLiteral("„%1“ ").arg(QString::fromUtf8(c.field.germanName)) + QString::fromUtf8(c.refusal);
        EXPECT_TRUE(schemeRefusal(c.field, typed).startsWith(expected))
            << c.typed << ": " << schemeRefusal(c.field, typed).toStdString();
    }
}

} // namespace
} // namespace kalkora::documents
