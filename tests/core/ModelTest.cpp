#include "ExampleData.h"

#include <gtest/gtest.h>

using namespace kalkora;
using namespace kalkora::testing;

TEST(FindMachine, ComparesNamesByteForByteAndTheFirstOfTwoEqualNamesWins)
{
    CPlantData plant = examplePlant({});
    EXPECT_EQ(plant.findMachine("Drehmaschine 1"), nullptr);
    plant = examplePlant({ "Drehmaschine 1", "Fräse", "Drehmaschine 1" });
    EXPECT_EQ(plant.findMachine("Drehmaschine 1"), plant.machines.at(0));
    EXPECT_EQ(plant.findMachine("Fräse"), plant.machines.at(1));
    for (const char* other : { "drehmaschine 1", "Drehmaschine 1 ", "" })
        EXPECT_EQ(plant.findMachine(other), nullptr) << other;
}

TEST(HoursPerYear, AreShiftHoursTimesWorkingDaysTimesShifts)
{
    const struct {
        std::int32_t days;
        float hours;
        float perYear[3];
    } rows[] = { { 220, 8, { 1760, 3520, 5280 } }, { 0, 8, { 0, 0, 0 } },
        // The integer is converted exactly: 16777217 has no float of its own.
        { 16777217, 1, { float(16777217.0), float(16777217.0 * 2), float(16777217.0 * 3) } } };
    for (const auto& row : rows) {
        CPlantData plant;
        plant.workDaysPerYear = row.days;
        plant.hoursPerShift = row.hours;
        plant.computeHoursPerYear();
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(plant.hoursPerYear[k], row.perYear[k]) << row.days << " days, shifts " << k + 1;
    }
}

// The gross weight (net weight over the material utilisation) is rounded to float before the
// price is applied; negative values are used unchanged; no weight or no utilisation, no material.
TEST(MaterialDirectCost, IsGrossWeightTimesPrice)
{
    const struct {
        float weight, utilisation, price, cost;
    } rows[] = { { 2, 80, 1.5f, 3.75f }, { 0, 80, 1.5f, 0 }, { 1, 3, 3, float(double(float(1.0 / 3 * 100)) * 3) },
        { 1, 50, -2, -4 }, { 2, 0, 1.5f, 0 } };
    for (const auto& row : rows) {
        COrder order;
        auto op = turningOperation();
        op->materialWeightKg = row.weight;
        op->materialUtilPct = row.utilisation;
        op->materialPricePerKg = row.price;
        order.operations.add(std::move(op));
        EXPECT_EQ(order.materialDirectCost(0), row.cost) << row.weight << " kg at " << row.utilisation << " %";
        EXPECT_EQ(order.materialDirectCost(1), 0);
        EXPECT_EQ(order.materialDirectCost(-1), 0);
    }
}
