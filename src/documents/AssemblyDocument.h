#pragma once

#include "costing/AssemblyCosting.h"
#include "documents/FileDocument.h"
#include "files/RecoveryFile.h"
#include "model/Assembly.h"
#include "model/CPlantData.h"

#include <QFileSystemWatcher>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kalkora::documents {

// The assembly costed as it stands, or why it cannot be.
struct CostedAssembly {
    std::shared_ptr<const AssemblyTree> tree; // what the costing's lines point into
    std::optional<AssemblyCosting> costing;
    QString error;
    // The component whose file could not be read ("2.3", "0" for the own order); empty when
    // another cause stands in the way.
    QString failedPosition;
};

// An assembly (.bgr) being edited in its window. The files it names are kept as the file writes
// them: relative to the assembly's folder, or absolute while it has no file. Every edit is a step
// on the window's own history; saving to another folder rewrites the paths for it.
class AssemblyDocument : public FileDocument {
    Q_OBJECT

public:
    explicit AssemblyDocument(EditHistory& history);

    const Assembly& data() const { return assembly; }
    // "Kalkora - getriebe.bgr", "Kalkora - Neue Baugruppe" without a file; "[*]" where the
    // window marks unsaved changes, " [schreibgeschützt]" for a file another has open.
    QString title() const;

    void startNew();
    files::FileResult open(
        const QString& file, float factor, OpenFileGuard claimed, const Progress& progress = {}) override;
    files::FileResult save(const QString& file, const Progress& progress = {}) override;

    // What a crash would lose of it, and the same given back after one: its file held again
    // (read-only where another has it open now), unsaved as it was. False for data that do not
    // read as an assembly.
    files::RecoveredDocument recoveryState() const;
    bool restore(const files::RecoveredDocument& recovered);

    // One change of the assembly as a step that undo takes back; nothing when it changes nothing.
    // A change that would make the assembly contain itself is not made: the message naming the
    // chain of files comes back instead.
    std::optional<QString> edit(const QString& text, const std::function<void(Assembly&)>& change);
    // The master data the assembly is costed with, as it will name them; not a step of its own.
    void setMasterFile(const QString& file);

    // How the assembly names `file`, and the file a name stands for.
    std::string storedPath(const QString& file) const;
    QString resolvedPath(const std::string& stored) const;

    // The assembly as it is now with every file it names, read afresh, costed at `quantities`
    // (none: the default quantities of its quantity base). The files read are watched from then
    // on.
    CostedAssembly cost(const CPlantData& plantData, std::vector<std::int32_t> quantities);

signals:
    // The assembly changed: by an edit, undo or redo, or another file.
    void changed();
    // Saved: what is unsaved changed without a change to the assembly.
    void saved();
    // A file of the tree, as last costed, was changed or removed by someone else.
    void componentFileChanged(const QString& file);

private:
    void replace(Assembly next);
    QString currentFolder() const;
    // The file the assembly is read as: its own, or one in the current folder while it has none.
    QString asFile() const;
    void watch(const std::vector<std::string>& files);

    Assembly assembly;
    QFileSystemWatcher componentFiles;
};

} // namespace kalkora::documents
