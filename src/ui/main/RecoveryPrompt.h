#pragma once

#include "documents/CrashRecovery.h"

namespace kalkora::ui {

class CMainDlg;

// Ties a run's crash recovery to its main window: what the window shows, a field being typed
// included, is what is kept; trouble keeping it is told to the user; at start the user is asked
// about the files of runs that did not end cleanly, newest first, until one is restored.
class RecoveryPrompt {
public:
    explicit RecoveryPrompt(CMainDlg& mainDlg, const QString& folder = documents::CrashRecovery::defaultFolder());

    void offerRestore();
    void schedule() { recovery.schedule(); }
    void finish() { recovery.finish(); }
    QString ownFile() const { return recovery.ownFile(); }

private:
    CMainDlg& mainDlg;
    documents::CrashRecovery recovery;
};

} // namespace kalkora::ui
