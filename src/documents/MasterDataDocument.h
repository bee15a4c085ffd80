#pragma once

#include "documents/FileDocument.h"
#include "model/CPlantData.h"

#include <string>

namespace kalkora::documents {

// The master data of a run: plant values and machines, with every machine's rates computed.
// Loading a file is a step that undo takes back, as are the changes of the data dialogs.
class MasterDataDocument : public FileDocument {
    Q_OBJECT

public:
    explicit MasterDataDocument(EditHistory& history);

    CPlantData& data() { return plantData; }
    const CPlantData& data() const { return plantData; }
    bool hasMachines() const { return plantData.machines.count() > 0; }
    // The master data file last loaded or saved in any run, which an order opened without master
    // data brings along and a quote names; empty when none.
    QString rememberedFile() const;
    void rememberFile(const QString& file) const;

    files::FileResult open(
        const QString& file, float factor, OpenFileGuard claimed, const Progress& progress = {}) override;
    files::FileResult save(const QString& file, const Progress& progress = {}) override;

    // After a dialog changed the data in place: records the change from `before` (the encoded
    // data before the dialog) as a step, when there is one.
    void recordChange(const QString& text, const std::string& before);
    // After a data dialog changed the data in place: the hours per year follow the plant values,
    // and when the dialog was confirmed every machine's rates too, so that every costing shown is
    // current; then the change is recorded.
    void recordDialogChange(const QString& text, const std::string& before, bool confirmed);
    // Puts back master data that a run which did not end cleanly had; `bytes` were checked.
    // `remembered` is the file last loaded or saved, `seen` the one the run had open.
    void restore(
        const std::string& bytes, const QString& remembered, bool changed, const std::optional<files::SeenFile>& seen);

signals:
    // Master data from a file took the place of the data: what was computed from it is stale.
    void replaced();

private:
    CPlantData plantData;
};

} // namespace kalkora::documents
