// Writes the benchmark plant and an order of N operations as .sta and .auf files, so that
// kalkora-cli can be timed on the same data as the costing benchmark.
#include "BenchData.h"
#include "model/MasterDataFile.h"
#include "model/OrderFile.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

bool writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s OPERATIONS MASTER.sta ORDER.auf\n", argv[0]);
        return 2;
    }
    const int operations = std::atoi(argv[1]);
    const int machines = 20;
    if (!writeFile(argv[2], kalkora::encodeMasterData(kalkora::bench::benchPlant(machines)))
        || !writeFile(argv[3], kalkora::encodeOrder(kalkora::bench::mixedOrder(operations, machines)))) {
        std::perror("write");
        return 1;
    }
    return 0;
}
