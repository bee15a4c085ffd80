#pragma once

#include "text/RuntimeLocale.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace kalkora::text {

// The runtime locale is process-wide: every test sets the one it needs and the fixture puts
// back the default afterwards.
class TextTest : public ::testing::Test {
protected:
    void TearDown() override { setRuntimeLocale(RuntimeLocale::Default); }
};

// The same for a block: its runtime locale, and the default again at its end.
class LocaleScope {
public:
    explicit LocaleScope(RuntimeLocale locale) { setRuntimeLocale(locale); }
    ~LocaleScope() { setRuntimeLocale(RuntimeLocale::Default); }
};

constexpr RuntimeLocale bothLocales[] = { RuntimeLocale::Default, RuntimeLocale::German };

inline const char* localeName(RuntimeLocale locale)
{
    return locale == RuntimeLocale::German ? "German" : "Default";
}

// A default-locale number text as the locale prints it: in German the point becomes a comma.
inline std::string localized(std::string text, RuntimeLocale locale)
{
    if (locale == RuntimeLocale::German)
        std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

} // namespace kalkora::text
