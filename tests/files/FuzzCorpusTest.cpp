#include "model/MasterDataFile.h"
#include "model/OrderFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

using namespace kalkora;

// Replays the inputs the fuzzers found interesting: each decodes to an error or to data that
// encodes and decodes again to the same bytes.

namespace {

std::vector<std::string> corpus(const char* name)
{
    std::vector<std::string> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(KALKORA_FUZZ_CORPUS) / name)) {
        std::ifstream in(entry.path(), std::ios::binary);
        inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return inputs;
}

template <typename Data, typename Encode, typename Decode>
void replay(const std::vector<std::string>& inputs, Encode encode, Decode decode)
{
    ASSERT_FALSE(inputs.empty());
    int decoded = 0;
    for (const std::string& input : inputs) {
        for (const float factor : { 1.0f, 0.51129186f }) {
            Data data;
            if (decode(input, factor, data))
                continue;
            ++decoded;
            const std::string bytes = encode(data);
            Data again;
            ASSERT_FALSE(decode(bytes, 1.0f, again));
            EXPECT_EQ(encode(again), bytes);
        }
    }
    EXPECT_GT(decoded, 0);
}

} // namespace

TEST(FuzzCorpus, MasterDataInputsDecodeCleanly)
{
    replay<CPlantData>(corpus("master"), encodeMasterData, [](auto&&... args) { return decodeMasterData(args...); });
}

TEST(FuzzCorpus, OrderInputsDecodeCleanly)
{
    replay<COrder>(corpus("order"), encodeOrder, [](auto&&... args) { return decodeOrder(args...); });
}
