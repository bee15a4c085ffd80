// Writes the benchmark assemblies into a folder, for timing `kalkora-cli assembly` against
// `kalkora-cli scale` of one order holding the same operations (scripts/bench-assembly.sh).
#include "BenchAssembly.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    if (!kalkora::bench::writeBenchAssemblies(QDir(QString::fromLocal8Bit(argv[1])))) {
        std::fprintf(stderr, "cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
