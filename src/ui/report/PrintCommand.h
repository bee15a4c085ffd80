#pragma once

#include <string>

class QWidget;

namespace kalkora::ui {

// The print command of the report window: the print dialog, then the report printed under the
// wait cursor, then "Datenausgabe erfolgt.". Cancelling the dialog ends it silently; a printer
// or file that cannot be opened is reported instead of the completion message.
void printReportWithDialog(QWidget* parent, const std::string& reportText);

inline constexpr const char* printDoneMessage = "Datenausgabe erfolgt.";
inline constexpr const char* printFailedMessage
    = "Datenausgabe fehlgeschlagen: Drucker oder Datei konnte nicht geöffnet werden.";

} // namespace kalkora::ui
