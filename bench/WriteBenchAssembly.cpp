// Writes the benchmark assemblies into a folder, for timing `kalkora-cli assembly` against
// `kalkora-cli scale` of one order holding the same operations: 1,000 orders of 100 operations
// under 10 × 10 sub-assemblies (three levels, every count 1) as tree.bgr, the same tree with each
// order listed ten times as tree10.bgr, and all the operations in one order as all.auf.
#include "BenchData.h"
#include "files/AssemblyFile.h"

#include <QDir>

#include <cstdio>
#include <string>

using namespace kalkora;

namespace {

constexpr int kBranches = 10;
constexpr int kOperations = 100;
constexpr int kMachines = 20;

bool write(const QString& path, const Assembly& assembly)
{
    return files::saveAssembly(path, assembly).ok();
}

// The orders of leaf `leaf`, each listed `times` times.
Assembly leafAssembly(int leaf, int times)
{
    Assembly assembly;
    assembly.name = "Teil " + std::to_string(leaf);
    for (int repeat = 0; repeat < times; ++repeat) {
        for (int i = 0; i < kBranches; ++i)
            assembly.components.push_back(
                fileComponent(ComponentKind::Order, "../auftrag" + std::to_string(leaf * kBranches + i) + ".auf"));
    }
    return assembly;
}

// The assemblies `prefix`first … `prefix`(first + 9).
Assembly branchAssembly(const std::string& name, const std::string& prefix, int first)
{
    Assembly assembly;
    assembly.name = name;
    for (int i = first; i < first + kBranches; ++i)
        assembly.components.push_back(fileComponent(ComponentKind::Assembly, prefix + std::to_string(i) + ".bgr"));
    return assembly;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    bool written = dir.mkpath(QStringLiteral("einmal")) && dir.mkpath(QStringLiteral("zehnmal"))
        && files::saveMasterData(dir.filePath(QStringLiteral("bench.sta")), bench::benchPlant(kMachines)).ok()
        && files::saveOrder(dir.filePath(QStringLiteral("all.auf")),
            bench::mixedOrder(kBranches * kBranches * kBranches * kOperations, kMachines))
               .ok();
    const COrder order = bench::mixedOrder(kOperations, kMachines);
    for (int i = 0; written && i < kBranches * kBranches * kBranches; ++i)
        written = files::saveOrder(dir.filePath(QStringLiteral("auftrag%1.auf").arg(i)), order).ok();
    for (int leaf = 0; written && leaf < kBranches * kBranches; ++leaf) {
        written = write(dir.filePath(QStringLiteral("einmal/teil%1.bgr").arg(leaf)), leafAssembly(leaf, 1))
            && write(dir.filePath(QStringLiteral("zehnmal/teil%1.bgr").arg(leaf)), leafAssembly(leaf, 10));
    }
    for (int branch = 0; written && branch < kBranches; ++branch) {
        const Assembly middle = branchAssembly("Gruppe " + std::to_string(branch), "teil", branch * kBranches);
        written = write(dir.filePath(QStringLiteral("einmal/gruppe%1.bgr").arg(branch)), middle)
            && write(dir.filePath(QStringLiteral("zehnmal/gruppe%1.bgr").arg(branch)), middle);
    }
    written = written
        && write(dir.filePath(QStringLiteral("tree.bgr")), branchAssembly("Erzeugnis", "einmal/gruppe", 0))
        && write(dir.filePath(QStringLiteral("tree10.bgr")), branchAssembly("Erzeugnis", "zehnmal/gruppe", 0));
    if (!written) {
        std::fprintf(stderr, "cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
