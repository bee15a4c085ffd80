#include "documents/RecentFiles.h"

#include "documents/UserSettings.h"

#include <QDir>
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

QString RecentFiles::dropIfGone(int index)
{
    const QString file = list.at(index);
    if (QFileInfo::exists(file)) {
        return {};
    }
    list.removeAt(index);
    store();
    return QStringLiteral("Die Datei „%1“ gibt es nicht mehr.\r\nSie wird aus der Liste der zuletzt benutzten Aufträge "
                          "entfernt.")
        .arg(QDir::toNativeSeparators(file));
}

void RecentFiles::store() const
{
    userSettings()->setValue(key, list);
}

} // namespace kalkora::documents
