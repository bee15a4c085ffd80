#include "ui/common/UiServices.h"

#include "ui/common/QtUiServices.h"

namespace kalkora::ui {

namespace {

UiServices* installedServices = nullptr;

} // namespace

UiServices& uiServices()
{
    if (installedServices) {
        return *installedServices;
    }
    static QtUiServices qtServices;
    return qtServices;
}

void setUiServices(UiServices* services)
{
    installedServices = services;
}

} // namespace kalkora::ui
