#pragma once

#include "documents/FileDocument.h"
#include "files/PostCalcFile.h"
#include "files/RecoveryFile.h"
#include "model/COrder.h"
#include "model/CPlantData.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace kalkora::documents {

// The post-calculation (.nak) being edited in its window: the quantities and the values measured
// for the operations of its order, its file with the file's lock, and whether it is changed since
// it was started, opened or saved. Every edit is a step on the window's own history. Nothing here
// asks the user: the window shows the results and messages.
class PostCalcDocument : public FileDocument {
    Q_OBJECT

public:
    explicit PostCalcDocument(EditHistory& history);

    const files::PostCalculation& data() const { return postCalc; }
    // "Kalkora - welle.nak", "Kalkora - Neue Nachkalkulation" without a file; "[*]" where the
    // window marks unsaved changes, " [schreibgeschützt]" for a file another has open.
    QString title() const;

    // A new post-calculation of the order at `orderFile` with `masterFile`, dated `today`, with
    // nothing measured yet.
    void startNew(const QString& orderFile, const QString& masterFile, const QDate& today);
    files::FileResult open(
        const QString& file, float factor, OpenFileGuard claimed, const Progress& progress = {}) override;
    files::FileResult save(const QString& file, const Progress& progress = {}) override;

    // What a crash would lose of it, and the same given back after one (see AssemblyDocument).
    files::RecoveredDocument recoveryState() const;
    bool restore(const files::RecoveredDocument& recovered);

    // The edits, each a step that undo takes back; nothing happens where nothing changes.
    void setQuantities(std::optional<std::int32_t> produced, std::optional<std::int32_t> good);
    void setDate(const QDate& date);
    void setRemark(const QString& remark);
    void setQuoteFile(const QString& path);
    // The files of the order and the master data it is compared with, absolute; not a step of
    // its own: they follow the main window's.
    void setDataFiles(const QString& orderFile, const QString& masterFile);
    // The value of `field` measured for operation `operation` (1-based) of `order`; none takes
    // the plan's value again. A value is kept as the operation holds it (a float, or a lot in
    // int32). The actual names the operation as the order does now.
    void setActual(const COrder& order, std::int32_t operation, ActualFieldIndex field, std::optional<double> value);
    // What was measured for operation `operation`, or nothing.
    const Actual* actualOf(std::int32_t operation) const;

    // Plan and actual of `order` with `plantData`, as kalkora-cli computes them.
    files::PostCalcOutcome cost(const COrder& order, const CPlantData& plantData) const;

signals:
    // The post-calculation changed: by an edit, undo or redo, or opening another.
    void changed();
    // Saved: what is unsaved changed without a change to the post-calculation.
    void saved();

private:
    void edit(const QString& text, const std::function<void(files::PostCalculation&)>& change);
    void replace(files::PostCalculation next);

    files::PostCalculation postCalc;
};

// The operations of `order` whose plan takes what `actuals` measured of their times,
// utilisation and material, each with its index (0-based) and the operation as it becomes; lots,
// bought-in prices and the quantity base stay. Empty when nothing would change.
std::vector<std::pair<std::int32_t, COperation>> takenOverActuals(
    const COrder& order, const std::vector<Actual>& actuals);

} // namespace kalkora::documents
