#pragma once

#include "costing/PostCalc.h"
#include "files/DataFiles.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace kalkora::files {

// A post-calculation (Nachkalkulation, .nak): what was produced of an order and what was measured,
// with the order, master data and quote it is compared with. UTF-8 JSON, always in euro; reading
// is all-or-nothing, saving atomic.

struct PostCalculation {
    QString orderFile; // absolute, or empty
    QString masterFile;
    QString quoteFile;
    QDate date; // null when not given
    std::optional<std::int32_t> producedQuantity; // none: the order's quantity base
    std::optional<std::int32_t> goodQuantity; // none: all produced pieces
    QString remark;
    std::vector<Actual> actuals; // each operation at most once

    bool operator==(const PostCalculation&) const = default;

    // The quantities once the order is known.
    std::int32_t produced(const COrder& order) const { return producedQuantity.value_or(order.quantityBase); }
    std::int32_t good(const COrder& order) const { return goodQuantity.value_or(produced(order)); }
};

// Whether `json` is a post-calculation by its content.
bool isPostCalcJson(const QByteArray& json);

// The paths are written relative to `folder` where they lie beneath it.
QByteArray postCalcToJson(const PostCalculation& postCalc, const QString& folder);

// How much of a post-calculation is read: all, or all but the actuals (to learn the files it
// names, say), which are then neither checked nor kept.
enum class PostCalcReading { Whole, WithoutActuals };

// The reverse, relative paths resolved against `folder`. On an unknown key, a wrong type, a value
// out of range, an operation given twice or an unknown version, the result is a German message
// naming the key and the actual, and `postCalc` is left unchanged.
std::optional<QString> postCalcFromJson(const QByteArray& json, const QString& folder, PostCalculation& postCalc,
    PostCalcReading reading = PostCalcReading::Whole);

FileResult loadPostCalc(
    const QString& path, PostCalculation& postCalc, PostCalcReading reading = PostCalcReading::Whole);
FileResult savePostCalc(const QString& path, const PostCalculation& postCalc);

// The post-calculation of `order` costed with `plantData`, or why it cannot be: the actuals do
// not fit the order, or the order cannot be scaled to the quantity produced (`error`, German).
// A quote file that is missing or damaged leaves the comparison out and says why in the result,
// and `quoteUnreadable` is set.
struct PostCalcOutcome {
    std::optional<PostCalcResult> result;
    QString error;
    bool quoteUnreadable = false;
};
PostCalcOutcome costPostCalc(const PostCalculation& postCalc, const COrder& order, const CPlantData& plantData);

} // namespace kalkora::files
