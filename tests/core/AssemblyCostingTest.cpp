#include "costing/AssemblyCosting.h"

#include "ExampleData.h"
#include "costing/AssemblyTables.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace kalkora;
using namespace kalkora::testing;

namespace {

// Trees built in memory, as the loader leaves them.
class AssemblyCostingTest : public ::testing::Test {
protected:
    const TreeOrder* order(const char* fileName, COrder data = exampleOrder())
    {
        return &tree.orders.emplace_back(TreeOrder { std::move(data), fileName, {} });
    }
    TreeAssembly& assembly(const char* name)
    {
        TreeAssembly& added = tree.assemblies.emplace_back();
        added.assembly.name = name;
        added.fileName = std::string(name) + ".bgr";
        tree.root = tree.root ? tree.root : &added;
        return added;
    }
    static void add(TreeAssembly& parent, Component component, const TreeOrder* order, const TreeAssembly* sub)
    {
        parent.assembly.components.push_back(std::move(component));
        parent.orders.push_back(order);
        parent.assemblies.push_back(sub);
    }
    static void addOrder(TreeAssembly& parent, const TreeOrder* order, std::int32_t count)
    {
        add(parent, fileComponent(ComponentKind::Order, order->fileName, count), order, nullptr);
    }
    static void addAssembly(TreeAssembly& parent, const TreeAssembly& sub, std::int32_t count)
    {
        add(parent, fileComponent(ComponentKind::Assembly, sub.fileName, count), nullptr, &sub);
    }
    static void addBought(TreeAssembly& parent, std::int32_t count, std::vector<PriceBreak> prices)
    {
        add(parent, boughtComponent("Lager", count, std::move(prices)), nullptr, nullptr);
    }

    std::int64_t orderCost(const TreeOrder* order, std::int32_t quantity) const
    {
        return moneyOf(computePriceScale(order->order, plant, { quantity }).rows[0].fullPerPiece)->count();
    }

    AssemblyTree tree;
    CPlantData plant = examplePlant();
};

} // namespace

// A part's setup spreads over the quantity it is needed at: three sub-assemblies of two shafts
// each are 30 shafts for 5 units, beside 5 more shafts at the top; the own order of an assembly
// goes at its own quantity. Each order is costed once per quantity.
TEST_F(AssemblyCostingTest, EachLineIsCostedAtTheQuantityItIsNeededAt)
{
    TreeAssembly& root = assembly("Getriebe");
    TreeAssembly& sub = assembly("Lagerbock");
    const TreeOrder* shaft = order("welle.auf");
    addAssembly(root, sub, 3);
    addOrder(sub, shaft, 2);
    sub.ownOrder = order("montage.auf");
    sub.assembly.ownOrder = "montage.auf";
    addOrder(root, shaft, 1);

    const AssemblyCosting costing = costAssembly(tree, plant, { 5, 5 });
    ASSERT_EQ(costing.rows.size(), 1u);
    const AssemblyRow& row = costing.rows[0];
    std::vector<std::tuple<std::string, std::int32_t, std::int64_t>> lines;
    for (std::size_t i = 0; i < costing.structure.size(); ++i)
        lines.emplace_back(costing.structure[i].position, costing.structure[i].level, row.lines[i].quantity);
    EXPECT_EQ(lines, (decltype(lines) { { "1", 1, 15 }, { "1.1", 2, 30 }, { "1.0", 2, 15 }, { "2", 1, 5 } }));

    const std::int64_t subUnit = 2 * orderCost(shaft, 30) + orderCost(sub.ownOrder, 15);
    EXPECT_EQ(row.lines[0].unitFull.count(), subUnit);
    EXPECT_EQ(row.lines[1].full.count(), 2 * orderCost(shaft, 30));
    EXPECT_EQ(row.fullPerPiece.count(), 3 * subUnit + orderCost(shaft, 5));
    EXPECT_EQ(row.fullTotal.count(), 5 * row.fullPerPiece.count());
    EXPECT_LT(row.directPerPiece, row.fullPerPiece);
    EXPECT_TRUE(row.priced && row.costed && costing.complete());
}

// A bought part at the price of its break for the needed quantity, in ten-thousandths of a
// euro, with the material overhead taken in whole hundredths of a percent and rounded half away
// from zero, each amount rounded once.
TEST_F(AssemblyCostingTest, BoughtPartsTakeTheirBreakAndTheMaterialOverhead)
{
    struct Row {
        float overheadPct;
        std::int32_t quantity;
        std::int64_t unitFull, unitDirect, full, direct;
    };
    const Row rows[] = {
        { 12, 1, 138, 123, 415, 370 }, // 3 × 1.2345 €: 4.14792 € full, not 3 × 1.38
        { 12, 166, 138, 123, 415, 370 }, // 498 needed
        { 12, 167, 1120, 1000, 3360, 3000 }, // 501 needed: the break from 500 on
        { 0.125f, 167, 1001, 1000, 3004, 3000 }, // 12.5 hundredths of a percent count as 13
        { -5, 1, 117, 123, 352, 370 },
    };
    TreeAssembly& root = assembly("Satz");
    addBought(root, 3, { { 1, 12345 }, { 500, 100000 }, { 1000, 1 } });
    for (const Row& expected : rows) {
        plant.overheadMaterialPct = expected.overheadPct;
        const AssemblyRow row = costAssembly(tree, plant, { expected.quantity }).rows[0];
        const LineCost& line = row.lines[0];
        EXPECT_EQ(std::vector<std::int64_t>({ line.unitFull.count(), line.unitDirect.count(), line.full.count(),
                      line.direct.count(), row.fullPerPiece.count() }),
            std::vector<std::int64_t>(
                { expected.unitFull, expected.unitDirect, expected.full, expected.direct, expected.full }))
            << expected.overheadPct << " at " << expected.quantity;
    }
}

// A quantity that cannot be priced has no amounts and a message; the others go on. An operation
// that cannot be costed marks its line and every assembly above it, counted once per order.
TEST_F(AssemblyCostingTest, UnpricedRowsAndUncostedOrdersAreMarked)
{
    TreeAssembly& root = assembly("Satz");
    TreeAssembly& sub = assembly("Teil");
    COrder broken = exampleOrder();
    broken.operations.add(turningOperation("Fräsen", "fehlt"));
    const TreeOrder* brokenOrder = order("kaputt.auf", std::move(broken));
    addAssembly(root, sub, 1);
    addOrder(sub, brokenOrder, 1);
    addOrder(root, brokenOrder, 2);
    addBought(root, 1'000'000, { { 1, 1 }, { 10'000'000, kMaxBoughtPrice } });

    AssemblyCosting costing = costAssembly(tree, plant, { 1, 10 });
    EXPECT_EQ(costing.uncostedOperations, 1);
    EXPECT_EQ(costing.unpricedRows, 1);
    EXPECT_EQ(costing.messages.size(), 2u);
    const AssemblyRow& priced = costing.rows[0];
    EXPECT_TRUE(priced.priced && !priced.costed);
    EXPECT_FALSE(priced.lines[0].costed || priced.lines[1].costed || priced.lines[2].costed);
    EXPECT_TRUE(priced.lines[3].costed);
    EXPECT_EQ(priced.lines[3].direct.count(), 10'000); // a million at a ten-thousandth of a euro
    const AssemblyRow& unpriced = costing.rows[1];
    EXPECT_FALSE(unpriced.priced);
    EXPECT_EQ(unpriced.fullPerPiece.count() + unpriced.lines[0].full.count() + unpriced.lines[1].unitFull.count(), 0);
    EXPECT_EQ(unpriced.lines[3].quantity, 10'000'000);

    // The printed tree says that its sums lack an operation.
    const std::string text = assemblyText(costing, text::NumberStyle::printed(true));
    EXPECT_EQ(text.substr(text.rfind("\r\n", text.size() - 3) + 2, 7), "ACHTUNG");
    EXPECT_TRUE(text.ends_with(": 1\r\n"));

    // Without a material overhead only a bought part that costs nothing can be priced.
    plant.overheadMaterialPct = std::numeric_limits<float>::quiet_NaN();
    costing = costAssembly(tree, plant, { 1 });
    EXPECT_FALSE(costing.rows[0].priced);
    AssemblyTree free;
    TreeAssembly& parts = free.assemblies.emplace_back();
    free.root = &parts;
    add(parts, boughtComponent("Scheibe", 3, { { 1, 0 } }), nullptr, nullptr);
    EXPECT_TRUE(costAssembly(free, plant, { 1 }).rows[0].priced);
}

// Errors name the position and the file, or the bought part.
TEST_F(AssemblyCostingTest, QuantitiesBeyondTheRangeAndBadOrdersAreErrors)
{
    TreeAssembly& root = assembly("Satz");
    TreeAssembly& sub = assembly("Teil");
    addAssembly(root, sub, 1000);
    COrder baseless = exampleOrder();
    baseless.quantityBase = 0;
    addOrder(sub, order("basis.auf", std::move(baseless)), 1);
    addBought(sub, 1000, { { 1, 1 } });
    const auto message = [&](std::int32_t quantity) {
        try {
            costAssembly(tree, plant, { quantity });
        } catch (const AssemblyError& error) {
            return std::string(error.what());
        }
        return std::string();
    };
    EXPECT_EQ(message(2148), "Position 1.2 (Lager): die benötigte Menge 2.148.000.000 übersteigt 2.147.483.647.");
    EXPECT_TRUE(message(1).starts_with("Position 1.1 (basis.auf): ")) << message(1);
}
