#include "documents/PostCalcDocument.h"

#include "core/ExampleData.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kalkora::documents {
namespace {

using kalkora::testing::exampleOrder;
using kalkora::testing::examplePlant;

// Measured values go into one actual per operation, named as the order names it, in the
// order of the operations; taking back the last value drops the actual. What is saved opens
// again as it was, and costs as the command line costs it.
TEST(PostCalcDocument, EditsSavesAndCosts)
{
    QTemporaryDir dir;
    const COrder order = exampleOrder();
    PostCalcDocument document;
    document.startNew(
        dir.filePath(QStringLiteral("welle.auf")), dir.filePath(QStringLiteral("werk.sta")), QDate(2026, 12, 8));
    EXPECT_FALSE(document.isChanged());
    document.setActual(order, 2, ExternalCostField, 1.65);
    document.setActual(order, 1, SetupTimeField, 45);
    document.setActual(order, 1, MachineTimeField, 2.3); // kept as the float the operation holds
    document.setActual(order, 2, LotSizeField, 80);
    document.setActual(order, 2, LotSizeField, std::nullopt);
    document.setQuantities(100, 97);
    EXPECT_TRUE(document.isChanged());
    ASSERT_EQ(document.data().actuals.size(), 2u);
    EXPECT_EQ(document.data().actuals[0].operation, 1);
    EXPECT_EQ(document.actualOf(2)->name, "Haerten");
    EXPECT_FALSE(document.actualOf(2)->values[LotSizeField]);
    document.setActual(order, 2, ExternalCostField, std::nullopt);
    EXPECT_EQ(document.actualOf(2), nullptr);
    document.setActual(order, 2, ExternalCostField, 1.65);

    const QString path = dir.filePath(QStringLiteral("welle.nak"));
    ASSERT_TRUE(document.saveAs(path).ok());
    EXPECT_FALSE(document.isChanged());
    PostCalcDocument opened;
    ASSERT_TRUE(opened.open(path).ok());
    EXPECT_EQ(opened.data(), document.data());

    EXPECT_EQ(opened.path(), path);
    EXPECT_FALSE(opened.open(dir.filePath(QStringLiteral("fehlt.nak"))).ok());
    EXPECT_EQ(opened.path(), path);

    const files::PostCalcOutcome outcome = opened.cost(order, examplePlant());
    ASSERT_TRUE(outcome.result) << outcome.error.toStdString();
    EXPECT_EQ(moneyOf(outcome.result->fullPerPiece.actual), Money(569));
    EXPECT_FALSE(outcome.result->quote);
    EXPECT_EQ(outcome.result->noQuoteReason, "Die Nachkalkulation nennt kein Angebot.");
    COrder renamed = exampleOrder();
    renamed.operations.at(1)->name = "Nitrieren";
    EXPECT_EQ(opened.cost(renamed, examplePlant()).error,
        QStringLiteral("Arbeitsgang 2 heißt im Auftrag „Nitrieren“, in der Nachkalkulation „Haerten“."));
}

// Taking over the actual values changes the times, utilisation and material of the plan, never
// its lots or bought-in prices, and leaves out operations it would not change.
TEST(PostCalcDocument, TakingOverTheActualsChangesThePlansTimesAndMaterialOnly)
{
    const COrder order = exampleOrder();
    Actual turning { 1, "Drehen", {} };
    turning.values[SetupTimeField] = 45;
    turning.values[MaterialWeightField] = 0.75;
    turning.values[LotSizeField] = 50;
    Actual hardening { 2, "Haerten", {} };
    hardening.values[ExternalCostField] = 1.65;
    hardening.values[ExternalLotSizeField] = 50;
    const auto changes = takenOverActuals(order, { turning, hardening });
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].first, 0);
    COperation expected = *order.operations.at(0);
    expected.setupTimeMin = 45;
    expected.materialWeightKg = 0.75f;
    EXPECT_EQ(changes[0].second, expected);
}

} // namespace
} // namespace kalkora::documents
