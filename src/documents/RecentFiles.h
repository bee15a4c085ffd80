#pragma once

#include <QString>
#include <QStringList>

namespace kalkora::documents {

// The files of one kind last opened or saved, newest first, at most `size`, kept in the user's
// settings under `key`.
class RecentFiles {
public:
    RecentFiles(QString key, int size);

    const QStringList& files() const { return list; }
    // Puts `file` first (by its absolute path).
    void remember(const QString& file);
    // When the file at `index` is gone: takes it off the list and says so, in a message for the
    // user; else empty.
    QString dropIfGone(int index);

private:
    void store() const;

    QString key;
    int size;
    QStringList list;
};

} // namespace kalkora::documents
