#include "documents/UserSettings.h"

namespace kalkora::documents {

std::unique_ptr<QSettings> userSettings(const QString& group)
{
    const QString name = QStringLiteral("kalkora");
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, name, name);
    if (!group.isEmpty()) {
        settings->beginGroup(group);
    }
    return settings;
}

} // namespace kalkora::documents
