#pragma once

#include "files/RecoveryFile.h"

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

namespace kalkora::documents {

// Keeps what a run has not saved in a recovery file of this run, so that it survives a crash:
// within a second of a change the file is written again, and once nothing is unsaved (saved,
// discarded) it is removed. Every run has its own file and holds a lock beside it while it lives;
// a file whose lock nobody holds any more belongs to a run that did not end cleanly, and the next
// start offers to restore it.
class CrashRecovery : public QObject {
    Q_OBJECT

public:
    // A file of a run that ended without closing, held while the user is asked about it.
    struct Offer {
        QString file;
        files::RecoveryData data;
        std::shared_ptr<QLockFile> lock;

        // "Kalkora wurde nicht ordnungsgemäß beendet. Sollen die ungesicherten Änderungen vom …
        // wiederhergestellt werden?"
        QString question() const;
    };

    // Where the recovery files of the user are kept.
    static QString defaultFolder();

    // `state` tells what a crash would lose now.
    explicit CrashRecovery(std::function<files::RecoveryData()> state, const QString& folder = defaultFolder());
    ~CrashRecovery() override;

    // At start: the files of runs that ended without closing, newest first. A file that cannot be
    // read is reported and set aside; one with nothing unsaved is removed.
    std::vector<Offer> offers();
    // After `offer` was restored: its file goes once this run's own file holds the data.
    void restored(const Offer& offer);
    // What is unsaved may have changed: taken within the next second.
    void schedule();
    // The program ends cleanly: this run's file goes.
    void finish();

    QString ownFile() const;

signals:
    // Something the user must hear of, said once per run where it would repeat.
    void problem(const QString& message);

private:
    // False when what is unsaved could not be kept.
    bool writeNow();
    bool lockOwnFile();
    void reportOnce(const QString& reason);
    void setAside(const QString& path, const QString& reason);

    std::function<files::RecoveryData()> state;
    QString folder;
    QString ownName; // without extension; the lock is ownName + ".lock"
    std::unique_ptr<QLockFile> ownLock;
    QTimer timer;
    bool reported = false;
    bool finished = false;
};

} // namespace kalkora::documents
