#include "documents/RecentFiles.h"

#include "documents/UserSettings.h"

#include <QFileInfo>

namespace kalkora::documents {

RecentFiles::RecentFiles(QString key, int size)
    : key(std::move(key))
    , size(size)
    , list(userSettings()->value(this->key).toStringList().mid(0, size))
{
}

void RecentFiles::remember(const QString& file)
{
    const QString absolute = QFileInfo(file).absoluteFilePath();
    list.removeAll(absolute);
    list.prepend(absolute);
    list = list.mid(0, size);
    store();
}

void RecentFiles::remove(int index)
{
    list.removeAt(index);
    store();
}

void RecentFiles::store() const
{
    userSettings()->setValue(key, list);
}

} // namespace kalkora::documents
