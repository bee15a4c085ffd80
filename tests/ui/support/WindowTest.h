#pragma once

#include "ScriptedUiServices.h"
#include "model/CPlantData.h"
#include "text/RuntimeLocale.h"

#include <QStringList>
#include <QWidget>

#include <gtest/gtest.h>

namespace kalkora::ui::test {

// Every window test: a scripted UiServices and the runtime locale as at program start.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { text::setRuntimeLocale(text::RuntimeLocale::Default); }
    void TearDown() override { text::setRuntimeLocale(text::RuntimeLocale::Default); }

    ScriptedUiServices ui;
};

// The plant values of the worked example: 250 days of one 8-hour shift, rent 60, energy 0.15,
// interest 6 %, operator rates 25 (variable) and 15 (fixed); hours per year computed.
inline void setExamplePlantValues(CPlantData& plant)
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

// The object names of the controls that Tab visits in `window`, starting at `first`.
inline QStringList tabOrder(QWidget* window, QWidget* first)
{
    QStringList names;
    QWidget* widget = first;
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            names << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != first && widget != window);
    return names;
}

} // namespace kalkora::ui::test
