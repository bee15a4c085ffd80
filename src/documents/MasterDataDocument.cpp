#include "documents/MasterDataDocument.h"

#include "costing/MachineRates.h"
#include "documents/UserSettings.h"
#include "model/MasterDataFile.h"

#include <QFileInfo>

namespace kalkora::documents {

namespace {

const QString rememberedFileKey = QStringLiteral("masterDataFile");

// The bytes were encoded from master data of this run, so they always decode.
void decodeInto(CPlantData& plantData, const std::string& bytes)
{
    static_cast<void>(decodeMasterData(bytes, 1.0f, plantData));
    computeAllMachineRates(plantData);
}

// A change already made to the master data, from one encoded state to another.
class ChangeMasterDataCommand : public EditCommand {
public:
    ChangeMasterDataCommand(
        EditHistory& history, CPlantData& plantData, const QString& text, std::string before, std::string after)
        : EditCommand(history, EditedData::MasterData, text)
        , plantData(plantData)
        , before(std::move(before))
        , after(std::move(after))
    {
    }

protected:
    void make() override
    {
        if (!std::exchange(madeAlready, false)) {
            decodeInto(plantData, after);
        }
    }
    void takeBack() override { decodeInto(plantData, before); }

private:
    CPlantData& plantData;
    std::string before;
    std::string after;
    bool madeAlready = true;
};

} // namespace

MasterDataDocument::MasterDataDocument(EditHistory& history)
    : FileDocument(history, EditedData::MasterData,
        { QStringLiteral("Stammdaten"), QStringLiteral("sta"),
            QStringLiteral("Die Stammdaten wurden geändert. Sollen sie gespeichert werden?") },
        QStringLiteral("folders/masterData"))
{
}

QString MasterDataDocument::rememberedFile() const
{
    return userSettings()->value(rememberedFileKey).toString();
}

void MasterDataDocument::rememberFile(const QString& file) const
{
    userSettings()->setValue(rememberedFileKey, file);
}

files::FileResult MasterDataDocument::open(
    const QString& file, float factor, OpenFileGuard claimed, const Progress& progress)
{
    const std::string before = encodeMasterData(plantData);
    files::FileResult result = files::loadMasterData(file, factor, plantData, progress);
    if (!result.ok()) {
        return result;
    }
    opened(file, std::move(claimed));
    recordChange(QStringLiteral("Stammdaten „%1“ laden").arg(QFileInfo(file).fileName()), before);
    // Converted DM master data is unsaved work, and its file must not be loaded again as EUR.
    if (factor != 1.0f) {
        history.markUnsaved(kind);
    } else {
        history.markSaved(kind);
        rememberFile(QFileInfo(file).absoluteFilePath());
    }
    emit replaced();
    return result;
}

files::FileResult MasterDataDocument::save(const QString& file, const Progress& progress)
{
    files::FileResult result = files::saveMasterData(file, plantData, progress);
    if (result.ok()) {
        written(file);
        rememberFile(QFileInfo(file).absoluteFilePath());
    }
    return result;
}

void MasterDataDocument::recordChange(const QString& text, const std::string& before)
{
    std::string after = encodeMasterData(plantData);
    if (after != before) {
        history.push(std::make_unique<ChangeMasterDataCommand>(history, plantData, text, before, std::move(after)));
    }
}

void MasterDataDocument::recordDialogChange(const QString& text, const std::string& before, bool confirmed)
{
    plantData.computeHoursPerYear();
    if (confirmed) {
        computeAllMachineRates(plantData);
    }
    recordChange(text, before);
}

void MasterDataDocument::restore(
    const std::string& bytes, const QString& remembered, bool changed, const std::optional<files::SeenFile>& seen)
{
    decodeInto(plantData, bytes);
    reclaim(seen);
    setPath(seen ? seen->path : QString());
    if (changed) {
        history.markUnsaved(kind);
    } else {
        history.markSaved(kind);
    }
    if (!remembered.isEmpty()) {
        rememberFile(remembered);
    }
    emit replaced();
}

} // namespace kalkora::documents
