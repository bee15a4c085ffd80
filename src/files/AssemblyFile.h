#pragma once

#include "costing/AssemblyCosting.h"
#include "files/DataFiles.h"
#include "model/Assembly.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace kalkora::files {

// An assembly (Baugruppe, .bgr): UTF-8 JSON. Reading is all-or-nothing, saving atomic.

// Whether `json` is an assembly file by its content, whatever its name.
bool isAssemblyJson(const QByteArray& json);
bool isAssemblyFile(const QString& path);

QByteArray assemblyToJson(const Assembly& assembly);

// The reverse. On an unknown key, a wrong type, a value out of range, a price with more than four
// decimals, breaks out of order or an unknown version, the result is a German message naming
// the key and the component by its position, under `position` ("2." for the components of
// component 2), and `assembly` is left unchanged.
std::optional<QString> assemblyFromJson(const QByteArray& json, Assembly& assembly, const QString& position = {});

// The master data file the assembly at `path` names, absolute; empty when it names none.
QString namedMasterData(const Assembly& assembly, const QString& path);

FileResult loadAssembly(const QString& path, Assembly& assembly, const QString& position = {});
FileResult saveAssembly(const QString& path, const Assembly& assembly);

// What reading a tree came to: where it failed, the full position of the component whose file
// could not be read ("2.3"; empty for the assembly itself).
struct TreeResult : FileResult {
    QString position;
    bool cycle = false; // an assembly that contains itself
};

// The assembly at `path` and every file it names, recursively, each file once. Orders are read
// with `orderFactor` (see loadOrder), `beforeFirstOrder` called once before the first is read.
// A file that cannot be read, or an assembly that contains itself, is a message naming the file
// and the position that names it; `tree` is then left unchanged.
TreeResult loadAssemblyTree(
    const QString& path, float orderFactor, AssemblyTree& tree, const std::function<void()>& beforeFirstOrder = {});
// The same for an assembly being edited, as if it were the file `path` (which need not exist yet).
TreeResult loadAssemblyTree(const Assembly& root, const QString& path, float orderFactor, AssemblyTree& tree,
    const std::function<void()>& beforeFirstOrder = {});

} // namespace kalkora::files
