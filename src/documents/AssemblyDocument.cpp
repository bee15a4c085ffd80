#include "documents/AssemblyDocument.h"

#include "documents/QuantityList.h"
#include "files/AssemblyFile.h"
#include "files/StoredPaths.h"

#include <QDir>
#include <QFileInfo>

namespace kalkora::documents {

AssemblyDocument::AssemblyDocument(EditHistory& history)
    : FileDocument(history, EditedData::Assembly,
        { QStringLiteral("Baugruppen"), QStringLiteral("bgr"),
            QStringLiteral("Die Baugruppe wurde geändert. Sollen die Änderungen gespeichert werden?") },
        QStringLiteral("folders/assembly"))
{
    connect(&componentFiles, &QFileSystemWatcher::fileChanged, this, &AssemblyDocument::componentFileChanged);
}

QString AssemblyDocument::title() const
{
    return titleNaming(QStringLiteral("Neue Baugruppe"));
}

void AssemblyDocument::startNew()
{
    releaseFile();
    startHistory(false);
    replace(Assembly());
}

files::FileResult AssemblyDocument::open(const QString& file, float, OpenFileGuard claimed, const Progress&)
{
    Assembly read;
    files::FileResult result = files::loadAssembly(file, read);
    if (!result.ok())
        return result;
    opened(file, std::move(claimed));
    startHistory(false);
    replace(std::move(read));
    return result;
}

files::FileResult AssemblyDocument::save(const QString& file, const Progress&)
{
    // The same files, named from the folder of the file written.
    Assembly rebased = assembly;
    const QString folder = QFileInfo(file).absolutePath();
    const auto rebase = [&](std::string& stored) {
        if (!stored.empty())
            stored = files::relativePath(resolvedPath(stored), folder).toStdString();
    };
    for (Component& component : rebased.components)
        rebase(component.file);
    rebase(rebased.ownOrder);
    rebase(rebased.masterFile);
    files::FileResult result = files::saveAssembly(file, rebased);
    if (!result.ok())
        return result;
    assembly = std::move(rebased);
    written(file);
    emit saved();
    return result;
}

files::RecoveredDocument AssemblyDocument::recoveryState() const
{
    return recoveredAs(files::assemblyToJson(assembly).toStdString());
}

bool AssemblyDocument::restore(const files::RecoveredDocument& recovered)
{
    Assembly read;
    if (files::assemblyFromJson(QByteArray::fromStdString(recovered.json), read))
        return false;
    restoreFile(recovered);
    replace(std::move(read));
    return true;
}

std::optional<QString> AssemblyDocument::edit(const QString& text, const std::function<void(Assembly&)>& change)
{
    Assembly after = assembly;
    change(after);
    if (after == assembly)
        return std::nullopt;
    if (after.components != assembly.components) {
        AssemblyTree tree;
        if (const files::TreeResult loaded = files::loadAssemblyTree(after, asFile(), 1.0f, tree); loaded.cycle)
            return loaded.message;
    }
    history.push(std::make_unique<WholeDataStep<Assembly>>(
        history, kind, text, assembly, std::move(after), [this](const Assembly& data) { replace(data); }));
    return std::nullopt;
}

void AssemblyDocument::setMasterFile(const QString& file)
{
    assembly.masterFile = file.isEmpty() ? std::string() : storedPath(file);
}

std::string AssemblyDocument::storedPath(const QString& file) const
{
    const QString absolute = QFileInfo(file).absoluteFilePath();
    return (path().isEmpty() ? absolute : files::relativePath(absolute, currentFolder())).toStdString();
}

QString AssemblyDocument::resolvedPath(const std::string& stored) const
{
    return files::resolvedPath(QString::fromStdString(stored), currentFolder());
}

CostedAssembly AssemblyDocument::cost(const CPlantData& plantData, std::vector<std::int32_t> quantities)
{
    auto tree = std::make_shared<AssemblyTree>();
    const files::TreeResult loaded = files::loadAssemblyTree(assembly, asFile(), 1.0f, *tree);
    if (!loaded.ok())
        return { nullptr, std::nullopt, loaded.message, loaded.position };
    watch(tree->files);
    if (plantData.machines.count() == 0)
        return { nullptr, std::nullopt,
            QStringLiteral("Ohne Stammdaten mit Maschinen kann die Baugruppe nicht kalkuliert werden."), {} };
    if (quantities.empty())
        quantities = startingQuantities(assembly.quantityBase);
    try {
        AssemblyCosting costing = costAssembly(*tree, plantData, std::move(quantities));
        return { std::move(tree), std::move(costing), {}, {} };
    } catch (const AssemblyError& error) {
        return { nullptr, std::nullopt, QString::fromStdString(error.what()), {} };
    }
}

void AssemblyDocument::watch(const std::vector<std::string>& files)
{
    const QString own = QFileInfo(path()).absoluteFilePath();
    QStringList wanted;
    for (const std::string& file : files) {
        // The assembly's own file is this document's: its changes are asked about when saving.
        if (const QString name = QString::fromStdString(file); name != own)
            wanted << name;
    }
    // A file replaced by renaming another over it is a new file to the watcher: all are watched
    // afresh.
    if (const QStringList watched = componentFiles.files(); !watched.isEmpty())
        componentFiles.removePaths(watched);
    if (!wanted.isEmpty())
        componentFiles.addPaths(wanted);
}

void AssemblyDocument::replace(Assembly next)
{
    assembly = std::move(next);
    emit changed();
}

QString AssemblyDocument::asFile() const
{
    return path().isEmpty() ? QDir::current().filePath(QStringLiteral("neu.bgr")) : path();
}

QString AssemblyDocument::currentFolder() const
{
    return path().isEmpty() ? QDir::currentPath() : QFileInfo(path()).absolutePath();
}

} // namespace kalkora::documents
