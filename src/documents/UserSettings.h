#pragma once

// documents: what the desktop program has open, master data, order and quote, each owning its
// file, lock, saved state, undo steps and crash-recovery snapshot, and the session that holds
// them with the recent files and the rules for files given at start. Windows view and edit the
// documents; nothing here shows a widget or asks the user. It uses the core and src/files.

#include <QSettings>

#include <memory>

namespace kalkora::documents {

// The user's settings of Kalkora (what it remembers between runs), shared by the desktop
// program and kalkora-cli; `group` opens one group of them.
std::unique_ptr<QSettings> userSettings(const QString& group = QString());

} // namespace kalkora::documents
