#pragma once

#include <QStringList>

namespace kalkora::cli {

// kalkora-cli scale and breakdown; `arguments` starts with the program name. Return the exit
// status.
int runScale(const QStringList& arguments);
int runBreakdown(const QStringList& arguments);

} // namespace kalkora::cli
