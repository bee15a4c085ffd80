#pragma once

#include "costing/AssemblyCosting.h"
#include "documents/FileDocument.h"
#include "model/Assembly.h"

#include <functional>
#include <string>

namespace kalkora::documents {

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

    // One change of the assembly as a step that undo takes back; nothing when it changes nothing.
    void edit(const QString& text, const std::function<void(Assembly&)>& change);
    // The master data the assembly is costed with, as it will name them; not a step of its own.
    void setMasterFile(const QString& file);

    // How the assembly names `file`, and the file a name stands for.
    std::string storedPath(const QString& file) const;
    QString resolvedPath(const std::string& stored) const;

    // The assembly as it is now with every file it names, read afresh.
    files::FileResult loadTree(AssemblyTree& tree) const;

signals:
    // The assembly changed: by an edit, undo or redo, or another file.
    void changed();

private:
    class Step;
    void replace(Assembly next);
    QString currentFolder() const;

    Assembly assembly;
};

} // namespace kalkora::documents
