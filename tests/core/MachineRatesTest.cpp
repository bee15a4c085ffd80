#include "ExampleData.h"

#include <gtest/gtest.h>

using namespace kalkora;
using kalkora::testing::exampleMachine;
using kalkora::testing::examplePlant;

namespace {

struct RateRow {
    const char* name;
    float fixed[3];
    float variable[3];
};

void expectRates(const CMachine& m, const RateRow& expected)
{
    for (int k = 0; k < 3; ++k) {
        EXPECT_FLOAT_EQ(m.fixedRate[k], expected.fixed[k]) << expected.name << " fixed, shifts " << k + 1;
        EXPECT_FLOAT_EQ(m.variableRate[k], expected.variable[k]) << expected.name << " variable, shifts " << k + 1;
    }
}

} // namespace

TEST(MachineRates, WorkedExample)
{
    CPlantData plant = examplePlant();
    CMachine m = exampleMachine();
    computeMachineRates(plant, m);
    EXPECT_EQ(plant.hoursPerYear[0], 2000);
    EXPECT_EQ(plant.hoursPerYear[2], 6000);
    expectRates(m, { "example", { 10.05f, 5.025f, 3.35f }, { 4.0f, 2.75f, 2.3333333f } });
    // Each share is a float and the rate their double sum: not the float nearest 3.35.
    EXPECT_EQ(m.fixedRate[2], 3.3500001f);
    EXPECT_EQ(m.variableRate[0], 4.0f);
}

TEST(MachineRates, ZeroGuards)
{
    CPlantData plant = examplePlant();

    CMachine noLife = exampleMachine();
    noLife.usefulLifeYears = 0;
    computeMachineRates(plant, noLife);
    expectRates(noLife, { "no useful life", { 4.05f, 2.025f, 1.35f }, { 3.0f, 2.25f, 2.0f } });

    CMachine writtenOff = exampleMachine();
    writtenOff.purchaseCost = 0;
    writtenOff.usefulLifeYears = 0;
    computeMachineRates(plant, writtenOff);
    expectRates(writtenOff, { "written off", { 0.45f, 0.225f, 0.15f }, { 3.0f, 2.25f, 2.0f } });

    CMachine noPower = exampleMachine();
    noPower.powerUsagePct = 0;
    computeMachineRates(plant, noPower);
    expectRates(noPower, { "no power", { 10.05f, 5.025f, 3.35f }, { 2.5f, 1.25f, 0.8333333f } });

    CPlantData noHours = examplePlant();
    noHours.hoursPerShift = 0;
    noHours.computeHoursPerYear();
    CMachine m = exampleMachine();
    computeMachineRates(noHours, m);
    expectRates(m, { "no hours", { 0, 0, 0 }, { 1.5f, 1.5f, 1.5f } });
}
