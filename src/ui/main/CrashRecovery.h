#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

namespace kalkora::ui {

class CMainDlg;

// Keeps the unsaved order and master data of the main window in a recovery file of this run,
// so that they survive a crash: within a second of a change the file is written again, and once
// nothing is unsaved (saved, discarded) it is removed. Every run has its own file and holds a
// lock beside it while it lives; a file whose lock nobody holds any more belongs to a run that
// did not end cleanly, and the next start offers to restore it.
class CrashRecovery : public QObject {
    Q_OBJECT

public:
    // Where the recovery files of the user are kept.
    static QString defaultFolder();

    explicit CrashRecovery(CMainDlg& mainDlg, const QString& folder = defaultFolder());
    ~CrashRecovery() override;

    // At start: asks about the files of runs that ended without closing, newest first, until the
    // user restores one. A file that cannot be read is reported and set aside; a file the user
    // does not restore stays for the next start.
    void offerRestore();
    // The documents may have changed: takes what is unsaved within the next second.
    void schedule();
    // The program ends cleanly: this run's file goes.
    void finish();

    QString ownFile() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // False when what is unsaved could not be kept.
    bool writeNow();
    bool lockOwnFile();
    void reportOnce(const QString& reason);
    void setAside(const QString& path, const QString& reason);

    CMainDlg& mainDlg;
    QString folder;
    QString ownName; // without extension; the lock is ownName + ".lock"
    std::unique_ptr<QLockFile> ownLock;
    QTimer timer;
    bool reported = false;
    bool finished = false;
};

} // namespace kalkora::ui
