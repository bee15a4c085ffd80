#pragma once

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace kalkora::testing {

// Long expected texts live in files under tests/ and are compared byte for byte. Running the
// tests with KALKORA_UPDATE_GOLDEN=1 rewrites each file from what the program produces instead;
// the diff then shows what changed.
inline void expectGolden(const std::string& name, const std::string& actual)
{
    const std::string path = std::string(KALKORA_TESTS_DIR) + "/" + name;
    const char* update = std::getenv("KALKORA_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        std::ofstream(path, std::ios::binary) << actual;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path << " is missing; KALKORA_UPDATE_GOLDEN=1 writes it";
    EXPECT_EQ(actual, std::string(std::istreambuf_iterator<char>(in), {})) << path;
}

} // namespace kalkora::testing
