#pragma once

#include "text/RuntimeLocale.h"

#include <gtest/gtest.h>
#include <string>

namespace kalkora::text {

// The runtime locale is process-wide: every test sets the one it needs and the fixture puts
// back the default afterwards.
class TextTest : public ::testing::Test {
protected:
    void TearDown() override { setRuntimeLocale(RuntimeLocale::Default); }
};

inline const char* localeName(RuntimeLocale locale)
{
    return locale == RuntimeLocale::German ? "German" : "Default";
}

// The German form of a default-locale number text: the decimal point becomes a comma.
inline std::string withComma(std::string text)
{
    for (char& c : text) {
        if (c == '.')
            c = ',';
    }
    return text;
}

} // namespace kalkora::text
