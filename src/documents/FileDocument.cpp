#include "documents/FileDocument.h"

#include "documents/UserSettings.h"

#include <QFileInfo>

namespace kalkora::documents {

FileDocument::FileDocument(EditHistory& history, EditedData kind, FileType type, QString folderKey)
    : history(history)
    , kind(kind)
    , type(std::move(type))
    , folderKey(std::move(folderKey))
{
}

QString FileDocument::folder() const
{
    return userSettings()->value(folderKey).toString();
}

void FileDocument::rememberFolder(const QString& chosenFile) const
{
    userSettings()->setValue(folderKey, QFileInfo(chosenFile).absolutePath());
}

void FileDocument::opened(const QString& file, OpenFileGuard claimed)
{
    guard = std::move(claimed);
    filePath = file;
    rememberFolder(file);
}

void FileDocument::written(const QString& file)
{
    guard.saved(file);
    filePath = file;
    history.markSaved(kind);
}

void FileDocument::reclaim(const std::optional<files::SeenFile>& seen)
{
    guard = seen ? guard.claim(seen->path, seen->fingerprint) : OpenFileGuard();
}

void FileDocument::startHistory(bool unsaved)
{
    history.clear();
    if (unsaved)
        history.markUnsaved(kind);
    else
        history.markSaved(kind);
}

QString FileDocument::titleNaming(const QString& untitled) const
{
    const QString name = path().isEmpty() ? untitled : QFileInfo(path()).fileName();
    return QStringLiteral("Kalkora - ") + name + QStringLiteral("[*]")
        + (isReadOnly() ? QStringLiteral(" [schreibgeschützt]") : QString());
}

files::RecoveredDocument FileDocument::recoveredAs(std::string json) const
{
    return { std::move(json), path().isEmpty() ? QString() : QFileInfo(path()).absoluteFilePath(), isChanged(),
        seenFile() };
}

void FileDocument::restoreFile(const files::RecoveredDocument& recovered)
{
    reclaim(recovered.seen);
    setPath(recovered.fileName);
    startHistory(recovered.changed);
}

void FileDocument::releaseFile()
{
    guard = {};
    filePath.clear();
}

} // namespace kalkora::documents
