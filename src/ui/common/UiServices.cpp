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

bool maySave(QWidget* parent, bool changed, const QString& question, const std::function<bool()>& save)
{
    if (!changed) {
        return true;
    }
    switch (uiServices().askYesNoCancel(parent, question, MessageIcon::Question)) {
    case Answer::Yes:
        return save();
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

} // namespace kalkora::ui
