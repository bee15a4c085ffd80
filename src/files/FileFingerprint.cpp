#include "files/FileFingerprint.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace kalkora::files {

FileFingerprint fingerprintOf(const QString& path)
{
    QFile data(path);
    if (!data.open(QIODevice::ReadOnly)) {
        return {};
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&data);
    return { QFileInfo(path).size(), QFileInfo(path).lastModified(), hash.result() };
}

} // namespace kalkora::files
