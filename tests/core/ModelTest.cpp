#include "model/COrder.h"
#include "model/CPlantData.h"

#include <gtest/gtest.h>

using namespace kalkora;

namespace {

std::unique_ptr<CMachine> machineNamed(const std::string& name, float cost = 0)
{
    auto m = std::make_unique<CMachine>();
    m->name = name;
    m->purchaseCost = cost;
    return m;
}

std::unique_ptr<COperation> operationNamed(const std::string& name)
{
    auto op = std::make_unique<COperation>();
    op->name = name;
    return op;
}

std::string names(const COperationList& list)
{
    std::string s;
    for (std::int32_t i = 0; i < list.count(); ++i)
        s += list.at(i)->name;
    return s;
}

} // namespace

TEST(FindMachine, ComparesNamesByteForByte)
{
    CPlantData plant;
    EXPECT_EQ(plant.findMachine("Drehmaschine 1"), nullptr);
    plant.machines.add(machineNamed("Drehmaschine 1", 1));
    plant.machines.add(machineNamed("Fräse", 2));
    plant.machines.add(machineNamed("Drehmaschine 1", 3));

    ASSERT_NE(plant.findMachine("Drehmaschine 1"), nullptr);
    EXPECT_EQ(plant.findMachine("Drehmaschine 1")->purchaseCost, 1) << "the first of two equal names wins";
    EXPECT_EQ(plant.findMachine("drehmaschine 1"), nullptr);
    EXPECT_EQ(plant.findMachine("Drehmaschine 1 "), nullptr);
    EXPECT_EQ(plant.findMachine(""), nullptr);
}

TEST(HoursPerYear, AreShiftHoursTimesWorkingDays)
{
    CPlantData plant;
    plant.workDaysPerYear = 220;
    plant.hoursPerShift = 8;
    plant.computeHoursPerYear();
    EXPECT_EQ(plant.hoursPerYear[0], 1760);
    EXPECT_EQ(plant.hoursPerYear[1], 3520);
    EXPECT_EQ(plant.hoursPerYear[2], 5280);

    plant.workDaysPerYear = 0;
    plant.computeHoursPerYear();
    EXPECT_EQ(plant.hoursPerYear[2], 0);

    // The integer is converted exactly: 16777217 has no float of its own.
    plant.workDaysPerYear = 16777217;
    plant.hoursPerShift = 1;
    plant.computeHoursPerYear();
    EXPECT_EQ(plant.hoursPerYear[0], static_cast<float>(16777217.0));
    EXPECT_EQ(plant.hoursPerYear[2], static_cast<float>(16777217.0 * 3));
}

TEST(OperationList, KeepsOrderWhenRemovingAndSwapping)
{
    COrder order;
    for (const char* n : { "a", "b", "c", "d" })
        order.operations.add(operationNamed(n));
    order.operations.removeAt(1);
    EXPECT_EQ(names(order.operations), "acd");
    order.operations.swap(0, 1);
    EXPECT_EQ(names(order.operations), "cad");
    EXPECT_EQ(order.operations.add(operationNamed("e")), 3);

    order.name = "x";
    order.remark = "y";
    order.quantityBase = 7;
    order.clear();
    EXPECT_EQ(order.operations.count(), 0);
    EXPECT_TRUE(order.name.empty() && order.remark.empty());
    EXPECT_EQ(order.quantityBase, 0);
}

TEST(MaterialDirectCost, IsGrossWeightTimesPrice)
{
    COrder order;
    EXPECT_EQ(order.materialDirectCost(0), 0);

    auto op = std::make_unique<COperation>();
    op->materialWeightKg = 2;
    op->materialUtilPct = 80;
    op->materialPricePerKg = 1.5f;
    order.operations.add(std::move(op));
    EXPECT_FLOAT_EQ(order.materialDirectCost(0), 3.75f);
    EXPECT_EQ(order.materialDirectCost(1), 0);
    EXPECT_EQ(order.materialDirectCost(-1), 0);

    order.operations.at(0)->materialWeightKg = 0;
    EXPECT_EQ(order.materialDirectCost(0), 0) << "a follow-up operation buys no material";

    // The gross weight is rounded to float before the price is applied.
    order.operations.at(0)->materialWeightKg = 1;
    order.operations.at(0)->materialUtilPct = 3;
    order.operations.at(0)->materialPricePerKg = 3;
    const float gross = static_cast<float>(1.0 / 3 * 100);
    EXPECT_EQ(order.materialDirectCost(0), static_cast<float>(double(gross) * 3));

    order.operations.at(0)->materialPricePerKg = -2;
    EXPECT_LT(order.materialDirectCost(0), 0) << "negative values are used unchanged";
}
