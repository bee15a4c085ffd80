#pragma once

#include <QDir>
#include <QString>

namespace kalkora::files {

// Paths a file keeps to other files: relative to its own folder where they lie beneath it, with '/'.

inline QString relativePath(const QString& path, const QString& folder)
{
    return path.isEmpty() ? path : QDir(folder).relativeFilePath(path);
}

// A stored path made absolute, "." and ".." resolved. Resolved by hand: Qt would take a name
// starting with ':' for one of its resources.
inline QString resolvedPath(const QString& stored, const QString& folder)
{
    if (stored.isEmpty())
        return stored;
    return QDir::cleanPath(stored.startsWith(u'/') ? stored : folder + u'/' + stored);
}

} // namespace kalkora::files
