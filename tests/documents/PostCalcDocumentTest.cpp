#include "documents/PostCalcDocument.h"

#include "core/ExampleData.h"
#include "documents/OrderCommands.h"

#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kalkora::documents {
namespace {

using kalkora::testing::exampleOrder;
using kalkora::testing::examplePlant;

// Opens `path` with its lock, as the window does.
files::FileResult openFile(PostCalcDocument& document, const QString& path)
{
    return document.open(path, 1.0f, document.claim(path));
}

// Measured values go into one actual per operation, named as the order names it, in the
// order of the operations; taking back the last value drops the actual. Each edit is a step that
// undo takes back. What is saved opens again as it was, costs as the command line costs it, and
// comes back as it was from what a crash would lose.
TEST(PostCalcDocument, EditsUndoesSavesRecoversAndCosts)
{
    QStandardPaths::setTestModeEnabled(true); // opening remembers the folder in the tests' settings
    QTemporaryDir dir;
    const COrder order = exampleOrder();
    EditHistory history;
    PostCalcDocument document(history);
    document.startNew(
        dir.filePath(QStringLiteral("welle.auf")), dir.filePath(QStringLiteral("werk.sta")), QDate(2026, 12, 8));
    EXPECT_FALSE(document.isChanged());
    document.setActual(order, 2, ExternalCostField, 1.65);
    document.setActual(order, 1, SetupTimeField, 45);
    document.setActual(order, 1, MachineTimeField, 2.3); // kept as the float the operation holds
    document.setActual(order, 2, LotSizeField, 80);
    document.setActual(order, 2, LotSizeField, std::nullopt);
    document.setQuantities(100, 97);
    document.setQuantities(100, 97); // no change, no step
    EXPECT_TRUE(document.isChanged());
    EXPECT_EQ(history.steps().count(), 6);
    ASSERT_EQ(document.data().actuals.size(), 2u);
    EXPECT_EQ(document.data().actuals[0].operation, 1);
    EXPECT_EQ(document.actualOf(2)->name, "Haerten");
    EXPECT_FALSE(document.actualOf(2)->values[LotSizeField]);
    document.setActual(order, 2, ExternalCostField, std::nullopt);
    EXPECT_EQ(document.actualOf(2), nullptr);
    history.steps().undo();
    EXPECT_EQ(document.actualOf(2)->values[ExternalCostField], double(1.65f));

    const QString path = dir.filePath(QStringLiteral("welle.nak"));
    ASSERT_TRUE(document.save(path).ok());
    EXPECT_FALSE(document.isChanged());
    EXPECT_EQ(document.title(), QStringLiteral("Kalkora - welle.nak[*]"));
    history.steps().undo();
    EXPECT_TRUE(document.isChanged());
    history.steps().redo();
    EXPECT_FALSE(document.isChanged());

    EditHistory otherHistory;
    PostCalcDocument opened(otherHistory);
    ASSERT_TRUE(openFile(opened, path).ok());
    EXPECT_EQ(opened.data(), document.data());
    EXPECT_EQ(opened.path(), path);
    EXPECT_FALSE(openFile(opened, dir.filePath(QStringLiteral("fehlt.nak"))).ok());
    EXPECT_EQ(opened.path(), path);

    document.setRemark(QStringLiteral("Charge 7"));
    EditHistory restoredHistory;
    PostCalcDocument restored(restoredHistory);
    ASSERT_TRUE(restored.restore(document.recoveryState()));
    EXPECT_EQ(restored.data(), document.data());
    EXPECT_EQ(restored.path(), path);
    EXPECT_TRUE(restored.isChanged());
    EXPECT_FALSE(restored.restore({ "{}", {}, false, {} }));
    // Started anew after steps, nothing of them is left to undo or to save.
    document.startNew({}, {}, QDate(2026, 12, 9));
    EXPECT_FALSE(document.isChanged());
    EXPECT_EQ(history.steps().count(), 0);

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

    // Taken over into the order as one step, and taken back by one undo.
    COrder edited = exampleOrder();
    EditHistory history;
    history.push(
        std::make_unique<ReplaceOperationsCommand>(history, edited, QStringLiteral("Ist-Werte übernehmen"), changes));
    EXPECT_EQ(*edited.operations.at(0), expected);
    EXPECT_TRUE(history.isChanged(EditedData::Order));
    history.steps().undo();
    EXPECT_EQ(*edited.operations.at(0), *exampleOrder().operations.at(0));
}

} // namespace
} // namespace kalkora::documents
