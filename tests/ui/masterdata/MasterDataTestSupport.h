#pragma once

#include "WindowTest.h"
#include "core/ExampleData.h"
#include "costing/MachineRates.h"
#include "model/CPlantData.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace kalkora::ui::test {

// The machine of the worked example of the machine rates, under another name.
inline std::unique_ptr<CMachine> exampleMachine(const std::string& name)
{
    auto machine = std::make_unique<CMachine>(kalkora::testing::exampleMachine());
    machine->name = name;
    return machine;
}

inline void addMachine(CPlantData& plant, std::unique_ptr<CMachine> machine)
{
    computeMachineRates(plant, *machine);
    plant.machines.add(std::move(machine));
}

// A window test whose window is shown and active, so that focus changes happen as on screen.
class MasterDataTest : public WindowTest {
protected:
    // Shows `window` and makes it the active one, so that focus changes happen as on screen.
    static void activate(QWidget& window)
    {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

} // namespace kalkora::ui::test
