#pragma once

#include "ScriptedUiServices.h"
#include "model/CPlantData.h"
#include "text/RuntimeLocale.h"

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace kalkora::ui::test {

// The plant data and machine of the worked example of the machine rates: 250 days of one
// 8-hour shift, rent 60, energy 0.15, interest 6 %; the machine costs 120000 over 10 years.
inline void fillExamplePlant(CPlantData& plant)
{
    plant.rentPerSqmYear = 60;
    plant.energyPricePerKwh = 0.15f;
    plant.hoursPerShift = 8;
    plant.workDaysPerYear = 250;
    plant.interestRatePct = 6;
    plant.operatorFixedRate12 = 15;
    plant.operatorVarRate12 = 25;
    plant.computeHoursPerYear();
}

inline std::unique_ptr<CMachine> exampleMachine(const std::string& name)
{
    auto machine = std::make_unique<CMachine>();
    machine->name = name;
    machine->purchaseCost = 120000;
    machine->usefulLifeYears = 10;
    machine->installedPowerKw = 20;
    machine->powerUsagePct = 50;
    machine->toolCostPerYear = 3000;
    machine->maintenancePerYear = 2000;
    machine->floorAreaSqm = 15;
    return machine;
}

inline void addMachine(CPlantData& plant, std::unique_ptr<CMachine> machine)
{
    plant.computeMachineRates(*machine);
    plant.machines.add(std::move(machine));
}

// The object names of the controls that Tab visits in `window`, starting at `first`.
inline QStringList tabOrder(QWidget* window, QWidget* first)
{
    QStringList names;
    QWidget* widget = first;
    do {
        if (widget->focusPolicy() & Qt::TabFocus) {
            names << widget->objectName();
        }
        widget = widget->nextInFocusChain();
    } while (widget != first && widget != window);
    return names;
}

// A window test: scripted message boxes and the runtime locale as at program start.
class MasterDataTest : public ::testing::Test {
protected:
    void SetUp() override { text::setRuntimeLocale(text::RuntimeLocale::Default); }
    void TearDown() override { text::setRuntimeLocale(text::RuntimeLocale::Default); }

    // Shows `window` and makes it the active one, so that focus changes happen as on screen.
    static void activate(QWidget& window)
    {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    ScriptedUiServices services;
};

} // namespace kalkora::ui::test
