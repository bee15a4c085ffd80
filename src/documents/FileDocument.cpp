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

void FileDocument::releaseFile()
{
    guard = {};
    filePath.clear();
}

} // namespace kalkora::documents
