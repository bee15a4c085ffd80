#include "costing/CostAnalysis.h"

#include "costing/OrderCosting.h"
#include "text/Cp1252.h"
#include "text/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <memory>

namespace kalkora {

namespace {

// "1 bis 2.147.483.647": the whole numbers from `min` that a count holds, as messages write them.
std::string countRange(std::int64_t min)
{
    return text::germanInt(min) + " bis " + text::germanInt(std::numeric_limits<std::int32_t>::max());
}

// The part of the four machine and operator figures per piece that the setup causes.
double setupPart(const InternalOperationCosting& c)
{
    const double s = c.setupSharePerPiece;
    const InternalOperationFigures& f = c.figures;
    return s * (double(f.operatorFixedRate) + f.operatorVarRate) / 60
        + s * (double(c.machineFixedRateEff) + c.machineVarRateEff) / 60;
}

} // namespace

CostParts internalParts(const InternalOperationCosting& c)
{
    const InternalOperationFigures& f = c.figures;
    CostParts p;
    p.material = f.materialDirectCost;
    p.materialOverhead = double(f.materialFullCost) - f.materialDirectCost;
    p.machineFixed = double(c.machineFixedRateEff) * c.machineMinutesPerPiece / 60;
    p.machineVariable = double(c.machineVarRateEff) * c.machineMinutesPerPiece / 60;
    p.operatorFixed = double(f.operatorFixedRate) * c.operatorMinutesPerPiece / 60;
    p.operatorVariable = double(f.operatorVarRate) * c.operatorMinutesPerPiece / 60;
    p.setup = setupPart(c);
    p.full = f.fullCostPerPiece;
    p.direct = f.directCostPerPiece;
    return p;
}

CostParts externalParts(const COperation& op, double surcharge)
{
    CostParts p;
    p.external = op.externalCostPerPiece;
    p.externalOverhead = surcharge * op.externalCostPerPiece - op.externalCostPerPiece;
    p.full = surcharge * op.externalCostPerPiece;
    p.direct = op.externalCostPerPiece;
    return p;
}

namespace {

// sum += weight * parts, for the parts other than full and direct.
void addWeighted(CostParts& sum, const CostParts& parts, double weight)
{
    sum.material += weight * parts.material;
    sum.materialOverhead += weight * parts.materialOverhead;
    sum.machineFixed += weight * parts.machineFixed;
    sum.machineVariable += weight * parts.machineVariable;
    sum.operatorFixed += weight * parts.operatorFixed;
    sum.operatorVariable += weight * parts.operatorVariable;
    sum.setup += weight * parts.setup;
    sum.external += weight * parts.external;
    sum.externalOverhead += weight * parts.externalOverhead;
}

// Copies of texts in blocks that never move, so that views of them stay valid while more are
// added: one allocation per block instead of one per text.
class TextBlocks {
public:
    std::string_view keep(std::string_view text)
    {
        if (text.empty())
            return {};
        if (text.size() > capacity - used) {
            capacity = std::max(text.size(), std::min(2 * capacity + 1024, kLargestBlock));
            blocks.push_back(std::make_unique_for_overwrite<char[]>(capacity));
            used = 0;
        }
        char* at = blocks.back().get() + used;
        std::copy(text.begin(), text.end(), at);
        used += text.size();
        return { at, text.size() };
    }

private:
    static constexpr std::size_t kLargestBlock = std::size_t(1) << 20;
    std::vector<std::unique_ptr<char[]>> blocks;
    std::size_t used = 0;
    std::size_t capacity = 0;
};

class BreakdownObserver : public CostingObserver {
public:
    explicit BreakdownObserver(const COrder& order)
        : texts(std::make_shared<TextBlocks>())
    {
        result.operations.reserve(std::size_t(order.operations.count()));
        result.texts = texts;
    }

    void internalOperationCosted(
        std::int32_t index, const COperation& op, std::int32_t lot, const InternalOperationCosting& costing) override
    {
        const CostParts parts = internalParts(costing);
        addWeighted(totals, parts, double(lot));
        add(index, op, lot, true, parts);
    }

    void operationNotCosted(std::int32_t index, const COperation& op, std::string_view) override
    {
        add(index, op, op.lotSize, false, CostParts {});
    }

    void externalOperationCosted(std::int32_t index, const COperation& op, double surcharge, float lot) override
    {
        const CostParts parts = externalParts(op, surcharge);
        addWeighted(totals, parts, double(lot));
        add(index, op, op.externalLotSize, true, parts);
    }

    CostBreakdown result;
    CostParts totals; // weighted with the lots, not yet divided by the quantity base

private:
    void add(std::int32_t index, const COperation& op, std::int32_t lot, bool costed, const CostParts& parts)
    {
        OperationBreakdown& row = result.operations.emplace_back();
        row.index = index + 1;
        row.isInternal = op.isInternal;
        row.name = texts->keep(op.name);
        row.machineName = texts->keep(op.machineName);
        row.lot = lot;
        row.costed = costed;
        row.parts = parts;
    }

    std::shared_ptr<TextBlocks> texts;
};

// Sums the setup part over the operations, weighted with their lots.
class SetupObserver : public CostingObserver {
public:
    void internalOperationCosted(
        std::int32_t, const COperation&, std::int32_t lot, const InternalOperationCosting& costing) override
    {
        setupTotal += double(lot) * setupPart(costing);
    }

    double setupTotal = 0;
};

[[noreturn]] void fail(const std::string& message)
{
    throw PriceScaleError(message);
}

// An entry as the user typed it, for a message; a long one is cut at a character boundary.
std::string quoted(std::string_view utf8)
{
    constexpr std::size_t kShown = 24;
    if (utf8.size() <= kShown)
        return "„" + std::string(utf8) + "“";
    std::size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80)
        --cut;
    return "„" + std::string(utf8.substr(0, cut)) + "…“";
}

// ⌈lot · quantity ÷ base⌉ for base > 0, exact: |lot · quantity| < 2^62.
std::int64_t scaledLot(std::int32_t lot, std::int32_t quantity, std::int32_t base)
{
    const std::int64_t product = std::int64_t(lot) * quantity;
    std::int64_t quotient = product / base; // truncates towards zero: the ceiling below zero
    if (product % base > 0)
        ++quotient;
    return quotient;
}

} // namespace

void requirePositiveBase(const COrder& order, std::string_view consequence)
{
    if (order.quantityBase <= 0)
        fail("Die Stückzahlbasis des Auftrags ist " + std::to_string(order.quantityBase) + "; "
            + std::string(consequence));
}

std::int32_t scaledLotOf(const COrder& order, std::int32_t index, std::int32_t quantity, std::string_view consequence)
{
    const COperation& op = *order.operations.at(index);
    const std::int32_t lot = op.isInternal != 0 ? op.lotSize : op.externalLotSize;
    const std::int64_t scaled = scaledLot(lot, quantity, order.quantityBase);
    if (scaled < std::numeric_limits<std::int32_t>::min() || scaled > std::numeric_limits<std::int32_t>::max()) {
        fail("Arbeitsgang " + std::to_string(index + 1) + " „" + text::cp1252ToUtf8(op.name) + "“: Die Losgröße "
            + text::germanInt(lot) + " wird für die Menge " + text::germanInt(quantity) + " zu "
            + text::germanInt(scaled) + " und liegt damit außerhalb von "
            + countRange(std::numeric_limits<std::int32_t>::min()) + "; " + std::string(consequence));
    }
    return std::int32_t(scaled);
}

namespace {

constexpr std::string_view kNoScale = "Staffelpreise können nicht berechnet werden.";

// The costing of the order scaled to one quantity.
struct ScaledRun {
    ScaledRun(const COrder& order, const CPlantData& plantData)
        : run(order, plantData, observer)
    {
    }
    SetupObserver observer;
    CostingRun run;
    std::vector<std::int32_t> lots;
};

} // namespace

CostBreakdown breakDownCosts(const COrder& order, const CPlantData& plantData)
{
    BreakdownObserver observer(order);
    CostingTotals totals = runCosting(order, plantData, observer);
    CostBreakdown result = std::move(observer.result);
    const double base = order.quantityBase;
    CostParts& o = result.order;
    o = observer.totals;
    for (double* part : { &o.material, &o.materialOverhead, &o.machineFixed, &o.machineVariable, &o.operatorFixed,
             &o.operatorVariable, &o.setup, &o.external, &o.externalOverhead })
        *part /= base;
    o.full = totals.full / order.quantityBase;
    o.direct = totals.direct / order.quantityBase;
    result.messages = std::move(totals.messages);
    result.uncostedOperations = totals.uncostedOperations;
    return result;
}

std::vector<std::int32_t> defaultQuantities(std::int32_t quantityBase)
{
    std::vector<std::int32_t> quantities { 1, 10, 25, 50, 100, 250, 500, 1000 };
    if (quantityBase >= 1 && std::find(quantities.begin(), quantities.end(), quantityBase) == quantities.end())
        quantities.insert(std::upper_bound(quantities.begin(), quantities.end(), quantityBase), quantityBase);
    return quantities;
}

PriceScale computePriceScale(const COrder& order, const CPlantData& plantData, std::vector<std::int32_t> quantities)
{
    requirePositiveBase(order, kNoScale);
    std::sort(quantities.begin(), quantities.end());
    quantities.erase(std::unique(quantities.begin(), quantities.end()), quantities.end());
    if (quantities.empty())
        fail("Es ist keine Menge angegeben; Staffelpreise können nicht berechnet werden.");
    if (quantities.front() < 1) {
        fail("Die Menge " + text::germanInt(quantities.front()) + " liegt außerhalb von " + countRange(1)
            + "; Staffelpreise können nicht berechnet werden.");
    }

    // All quantities go through the order together, a block of operations at a time, so that a
    // large order is read from memory once rather than once per quantity.
    std::vector<std::unique_ptr<ScaledRun>> runs;
    for (std::size_t q = 0; q < quantities.size(); ++q)
        runs.push_back(std::make_unique<ScaledRun>(order, plantData));
    constexpr std::int32_t kBlock = 256;
    const std::int32_t count = order.operations.count();
    for (std::int32_t first = 0; first < count; first += kBlock) {
        const std::int32_t last = std::min(count, first + kBlock);
        for (std::size_t q = 0; q < quantities.size(); ++q) {
            std::vector<std::int32_t>& lots = runs[q]->lots;
            lots.clear();
            for (std::int32_t i = first; i < last; ++i)
                lots.push_back(scaledLotOf(order, i, quantities[q], kNoScale));
        }
        for (const auto& scaled : runs)
            scaled->run.cost(first, last, scaled->lots);
    }

    PriceScale scale;
    scale.quantityBase = order.quantityBase;
    scale.rows.reserve(quantities.size());
    for (std::size_t q = 0; q < quantities.size(); ++q) {
        CostingTotals totals = runs[q]->run.take();
        PriceScaleRow& row = scale.rows.emplace_back();
        row.quantity = quantities[q];
        row.fullPerPiece = totals.full / quantities[q];
        row.directPerPiece = totals.direct / quantities[q];
        row.setupPerPiece = runs[q]->observer.setupTotal / double(quantities[q]);
        row.fullTotal = totals.full;
        row.directTotal = totals.direct;
        if (q == 0) {
            // The same operations fail at every quantity: tell about each once.
            scale.messages = std::move(totals.messages);
            scale.uncostedOperations = totals.uncostedOperations;
        }
    }
    return scale;
}

std::string orderWarning(const COrder& order)
{
    if (order.operations.count() == 0)
        return "Der Auftrag hat keine Arbeitsgänge; alle Kosten sind 0.";
    if (order.quantityBase <= 0) {
        return "Die Stückzahlbasis des Auftrags ist " + std::to_string(order.quantityBase)
            + "; die Kosten je Stück des Auftrags sind nicht bestimmt.";
    }
    return {};
}

bool parseQuantities(
    std::string_view text, QuantityDialect dialect, std::vector<std::int32_t>& quantities, std::string& error)
{
    std::vector<std::int32_t> result;
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t pos = 0;
    int entry = 0;
    while (true) {
        ++entry;
        const std::size_t comma = std::min(text.find(',', pos), text.size());
        std::string_view item = text.substr(pos, comma - pos);
        while (!item.empty() && isBlank(item.front()))
            item.remove_prefix(1);
        while (!item.empty() && isBlank(item.back()))
            item.remove_suffix(1);
        if (item.empty()) {
            error = text.find_first_not_of(" \t") == std::string_view::npos
                ? "Bitte mindestens eine Menge angeben, z. B. „1, 10, 100“."
                : "Die " + std::to_string(entry)
                    + ". Menge fehlt; Mengen werden durch Kommas getrennt, z. B. „1, 10, 100“.";
            return false;
        }
        std::string digits(item);
        if (dialect == QuantityDialect::Window && text::isGermanGrouped(item))
            std::erase(digits, '.');
        std::int64_t value = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        // A whole number too long for any count is out of range too.
        const bool whole
            = (ec == std::errc() || ec == std::errc::result_out_of_range) && end == digits.data() + digits.size();
        if (!whole) {
            error = quoted(item) + " ist keine Stückzahl von " + countRange(1) + '.';
            return false;
        }
        if (ec != std::errc() || value < 1 || value > std::numeric_limits<std::int32_t>::max()) {
            error = quoted(item) + " liegt außerhalb von " + countRange(1) + '.';
            return false;
        }
        result.push_back(std::int32_t(value));
        if (comma == text.size())
            break;
        pos = comma + 1;
    }
    quantities = std::move(result);
    return true;
}

} // namespace kalkora
