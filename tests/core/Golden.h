#pragma once

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace kalkora::testing {

// The bytes of the file at `path`, or "<missing>".
inline std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
}

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
    const std::string expected = fileBytes(path);
    ASSERT_NE(expected, "<missing>") << path << " is missing; KALKORA_UPDATE_GOLDEN=1 writes it";
    EXPECT_EQ(actual, expected) << path;
}

} // namespace kalkora::testing
