#pragma once

#include "costing/PostCalc.h"
#include "files/PostCalcFile.h"
#include "model/COrder.h"
#include "model/CPlantData.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace kalkora::documents {

// The post-calculation being edited ("Nachkalkulation"): its file, whether it changed since it
// was started, opened or saved, the quantities and the values measured for the operations of
// its order. Nothing here asks the user: the window shows the results and messages.
class PostCalcDocument {
public:
    // A new post-calculation of the order at `orderFile` with `masterFile`, dated `today`, with
    // nothing measured yet.
    void startNew(const QString& orderFile, const QString& masterFile, const QDate& today);
    // Opens the file `path`; on failure nothing changes.
    files::FileResult open(const QString& path);
    // Saves atomically to `path`, the document's file from then on.
    files::FileResult saveAs(const QString& path);

    const QString& path() const { return filePath; }
    bool isChanged() const { return changed; }
    const files::PostCalculation& data() const { return postCalc; }

    // Each edit marks the document changed.
    void setQuantities(std::optional<std::int32_t> produced, std::optional<std::int32_t> good);
    void setDate(const QDate& date);
    void setRemark(const QString& remark);
    void setQuoteFile(const QString& path);
    // The value of `field` measured for operation `operation` (1-based) of `order`; none takes
    // the plan's value again. A value is kept as the operation holds it (a float, or a lot in
    // int32). The actual names the operation as the order does now.
    void setActual(const COrder& order, std::int32_t operation, ActualFieldIndex field, std::optional<double> value);
    // What was measured for operation `operation`, or nothing.
    const Actual* actualOf(std::int32_t operation) const;

    // Plan and actual of `order` with `plantData`, as kalkora-cli computes them.
    files::PostCalcOutcome cost(const COrder& order, const CPlantData& plantData) const;

private:
    QString filePath;
    bool changed = false;
    files::PostCalculation postCalc;
};

// The operations of `order` whose plan takes what `actuals` measured of their times,
// utilisation and material, each with its index (0-based) and the operation as it becomes; lots,
// bought-in prices and the quantity base stay. Empty when nothing would change.
std::vector<std::pair<std::int32_t, COperation>> takenOverActuals(
    const COrder& order, const std::vector<Actual>& actuals);

} // namespace kalkora::documents
