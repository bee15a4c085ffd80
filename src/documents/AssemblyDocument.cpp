#include "documents/AssemblyDocument.h"

#include "files/AssemblyFile.h"
#include "files/StoredPaths.h"

#include <QDir>
#include <QFileInfo>

namespace kalkora::documents {

class AssemblyDocument::Step : public EditCommand {
public:
    Step(AssemblyDocument& document, const QString& text, Assembly before, Assembly after)
        : EditCommand(document.history, EditedData::Assembly, text)
        , document(document)
        , before(std::move(before))
        , after(std::move(after))
    {
    }

private:
    void make() override { document.replace(after); }
    void takeBack() override { document.replace(before); }

    AssemblyDocument& document;
    Assembly before;
    Assembly after;
};

AssemblyDocument::AssemblyDocument(EditHistory& history)
    : FileDocument(history, EditedData::Assembly,
        { QStringLiteral("Baugruppen"), QStringLiteral("bgr"),
            QStringLiteral("Die Baugruppe wurde geändert. Sollen die Änderungen gespeichert werden?") },
        QStringLiteral("folders/assembly"))
{
}

QString AssemblyDocument::title() const
{
    const QString name = path().isEmpty() ? QStringLiteral("Neue Baugruppe") : QFileInfo(path()).fileName();
    return QStringLiteral("Kalkora - ") + name + QStringLiteral("[*]")
        + (isReadOnly() ? QStringLiteral(" [schreibgeschützt]") : QString());
}

void AssemblyDocument::startNew()
{
    releaseFile();
    history.clear();
    history.markSaved(kind);
    replace(Assembly());
}

files::FileResult AssemblyDocument::open(const QString& file, float, OpenFileGuard claimed, const Progress&)
{
    Assembly read;
    files::FileResult result = files::loadAssembly(file, read);
    if (!result.ok())
        return result;
    opened(file, std::move(claimed));
    history.clear();
    history.markSaved(kind);
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
    return result;
}

void AssemblyDocument::edit(const QString& text, const std::function<void(Assembly&)>& change)
{
    Assembly after = assembly;
    change(after);
    if (after == assembly)
        return;
    history.push(std::make_unique<Step>(*this, text, assembly, std::move(after)));
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

files::FileResult AssemblyDocument::loadTree(AssemblyTree& tree) const
{
    const QString asFile = path().isEmpty() ? QDir::current().filePath(QStringLiteral("neu.bgr")) : path();
    return files::loadAssemblyTree(assembly, asFile, 1.0f, tree);
}

void AssemblyDocument::replace(Assembly next)
{
    assembly = std::move(next);
    emit changed();
}

QString AssemblyDocument::currentFolder() const
{
    return path().isEmpty() ? QDir::currentPath() : QFileInfo(path()).absolutePath();
}

} // namespace kalkora::documents
