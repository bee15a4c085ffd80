#pragma once

#include "ScriptedUiServices.h"
#include "core/ExampleData.h"
#include "text/RuntimeLocale.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace kalkora::ui::test {

using namespace kalkora::testing;
using Kind = ScriptedUiServices::Kind;

// Every window test: a scripted UiServices and the runtime locale as at program start.
class WindowTest : public ::testing::Test {
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

    ScriptedUiServices ui;
};

// The control named `name` in `window`; a missing one fails the test and crashes it at once.
template <typename T = QWidget> T* child(const QObject* window, const char* name)
{
    T* found = window->findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

inline void setText(const QObject* window, const char* field, const QString& text)
{
    child<QLineEdit>(window, field)->setText(text);
}

inline void click(const QObject* window, const char* button)
{
    child<QAbstractButton>(window, button)->click();
}

// The object names of the enabled controls that Tab visits in `window`, starting at `first`.
inline QStringList tabOrder(QWidget* window, QWidget* first)
{
    QStringList names;
    QWidget* widget = first;
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled())
            names << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != first && widget != window);
    return names;
}

} // namespace kalkora::ui::test
