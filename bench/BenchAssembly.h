#pragma once

// The benchmark assemblies: 1,000 orders of 100 operations under 10 × 10 sub-assemblies (three
// levels, every count 1) as tree.bgr, the same tree with each order listed ten times as
// tree10.bgr, all the operations in one order as all.auf, and their master data bench.sta.

#include "BenchData.h"
#include "files/AssemblyFile.h"
#include "files/DataFiles.h"

#include <QDir>

#include <string>

namespace kalkora::bench {

inline constexpr int kBranches = 10;
inline constexpr int kOperations = 100;
inline constexpr int kMachines = 20;

inline bool writeAssemblyFile(const QString& path, const Assembly& assembly)
{
    return files::saveAssembly(path, assembly).ok();
}

// The orders of leaf `leaf`, each listed `times` times.
inline Assembly leafAssembly(int leaf, int times)
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
inline Assembly branchAssembly(const std::string& name, const std::string& prefix, int first)
{
    Assembly assembly;
    assembly.name = name;
    for (int i = first; i < first + kBranches; ++i)
        assembly.components.push_back(fileComponent(ComponentKind::Assembly, prefix + std::to_string(i) + ".bgr"));
    return assembly;
}

// Writes the files into `dir`; false when one cannot be written.
inline bool writeBenchAssemblies(const QDir& dir)
{
    bool written = dir.mkpath(QStringLiteral("einmal")) && dir.mkpath(QStringLiteral("zehnmal"))
        && files::saveMasterData(dir.filePath(QStringLiteral("bench.sta")), benchPlant(kMachines)).ok()
        && files::saveOrder(dir.filePath(QStringLiteral("all.auf")),
            mixedOrder(kBranches * kBranches * kBranches * kOperations, kMachines))
               .ok();
    const COrder order = mixedOrder(kOperations, kMachines);
    for (int i = 0; written && i < kBranches * kBranches * kBranches; ++i)
        written = files::saveOrder(dir.filePath(QStringLiteral("auftrag%1.auf").arg(i)), order).ok();
    for (int leaf = 0; written && leaf < kBranches * kBranches; ++leaf) {
        written = writeAssemblyFile(dir.filePath(QStringLiteral("einmal/teil%1.bgr").arg(leaf)), leafAssembly(leaf, 1))
            && writeAssemblyFile(dir.filePath(QStringLiteral("zehnmal/teil%1.bgr").arg(leaf)), leafAssembly(leaf, 10));
    }
    for (int branch = 0; written && branch < kBranches; ++branch) {
        const Assembly middle = branchAssembly("Gruppe " + std::to_string(branch), "teil", branch * kBranches);
        written = writeAssemblyFile(dir.filePath(QStringLiteral("einmal/gruppe%1.bgr").arg(branch)), middle)
            && writeAssemblyFile(dir.filePath(QStringLiteral("zehnmal/gruppe%1.bgr").arg(branch)), middle);
    }
    written = written
        && writeAssemblyFile(dir.filePath(QStringLiteral("tree.bgr")), branchAssembly("Erzeugnis", "einmal/gruppe", 0))
        && writeAssemblyFile(
            dir.filePath(QStringLiteral("tree10.bgr")), branchAssembly("Erzeugnis", "zehnmal/gruppe", 0));
    return written;
}

} // namespace kalkora::bench
