#pragma once

#include "documents/EditHistory.h"
#include "documents/OpenFileGuard.h"
#include "files/DataFiles.h"
#include "files/RecoveryFile.h"
#include "model/Progress.h"

#include <QObject>
#include <QString>

namespace kalkora::documents {

// A document kept in a data file (.sta or .auf): the file it was opened from or saved to, the
// file's lock, and whether it is changed since (its steps in the shared edit history). Opening
// is two steps, so that the window can ask between them: claim() takes the file's lock, and
// open() loads the file with that claim. Loading replaces the data only when the whole file was
// read; saving is atomic.
class FileDocument : public QObject {
    Q_OBJECT

public:
    // How the file dialogs name the kind of file ("Auftragsdaten" with "auf", say), and the
    // question before a command discards changes.
    struct FileType {
        QString label;
        QString suffix;
        QString changedQuestion;
    };

    FileDocument(EditHistory& history, EditedData kind, FileType type, QString folderKey);

    const FileType& fileType() const { return type; }

    // The full path of the file, so that a save without dialog writes back to the file that was
    // opened or last saved; empty when none.
    const QString& path() const { return filePath; }
    // Opened read-only: another has the file open, so it is saved under another name only.
    bool isReadOnly() const { return guard.isReadOnly(); }
    // Changed since it was last opened or saved, and not undone.
    bool isChanged() const { return history.isChanged(kind); }

    // The folder of the file last chosen, opened or saved of this kind, where the next file
    // dialog starts.
    QString folder() const;
    void rememberFolder(const QString& chosenFile) const;

    OpenFileGuard claim(const QString& file) const { return guard.claim(file); }
    // `factor` converts DM files (see files::loadMasterData); `claimed` is claim(file).
    virtual files::FileResult open(
        const QString& file, float factor, OpenFileGuard claimed, const Progress& progress = {})
        = 0;
    WriteCheck checkWrite(const QString& file) const { return guard.checkWrite(file); }
    // The file the document has open, as it was opened or last saved.
    std::optional<files::SeenFile> seenFile() const { return guard.seenFile(); }
    // Writes the data to `file` (after checkWrite); it is then the document's file.
    virtual files::FileResult save(const QString& file, const Progress& progress = {}) = 0;

protected:
    // After the data was read from `file` with the lock of `claimed`.
    void opened(const QString& file, OpenFileGuard claimed);
    // After the data was written to `file`: saved as it is now.
    void written(const QString& file);
    void setPath(const QString& file) { filePath = file; }
    void releaseFile();
    // The steps of what the document held before are gone; the data is what its file holds, or
    // `unsaved` when no file holds it.
    void startHistory(bool unsaved);
    // "Kalkora - welle.auf[*]" for the document's file, `untitled` in its place without one;
    // " [schreibgeschützt]" follows for a file another has open.
    QString titleNaming(const QString& untitled) const;
    // What a crash would lose of a document whose data `json` holds as its file would, and the
    // document's file and saved state given back from it after one.
    files::RecoveredDocument recoveredAs(std::string json) const;
    void restoreFile(const files::RecoveredDocument& recovered);
    // Takes the lock of a file that a run which did not end cleanly had open, as that run saw it.
    void reclaim(const std::optional<files::SeenFile>& seen);

    EditHistory& history;
    const EditedData kind;

private:
    FileType type;
    QString folderKey;
    QString filePath;
    OpenFileGuard guard;
};

} // namespace kalkora::documents
