#include "costing/AssemblyCosting.h"

#include "text/Cp1252.h"
#include "text/NumberFormat.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace kalkora {

namespace {

constexpr std::int64_t kMaxQuantity = std::numeric_limits<std::int32_t>::max();
constexpr WideCents kTenThousand = 10'000; // 100 % in hundredths; one euro in ten-thousandths

void addLines(
    const TreeAssembly& assembly, const std::string& prefix, std::int32_t level, std::vector<StructureLine>& lines)
{
    const auto positionOf = [&](std::size_t number) { return prefix + std::to_string(number); };
    for (std::size_t i = 0; i < assembly.assembly.components.size(); ++i) {
        const Component& component = assembly.assembly.components[i];
        StructureLine& line = lines.emplace_back();
        line.position = positionOf(i + 1);
        line.level = level;
        line.component = &component;
        line.count = component.count;
        switch (component.kind) {
        case ComponentKind::Order:
            line.kind = LineKind::Order;
            line.order = assembly.orders[i];
            line.file = &component.file;
            break;
        case ComponentKind::Assembly:
            line.kind = LineKind::Assembly;
            line.assembly = assembly.assemblies[i];
            line.file = &component.file;
            addLines(*line.assembly, line.position + '.', level + 1, lines);
            break;
        case ComponentKind::Bought:
            line.kind = LineKind::Bought;
            break;
        }
    }
    if (assembly.ownOrder) {
        StructureLine& line = lines.emplace_back();
        line.position = positionOf(0);
        line.level = level;
        line.kind = LineKind::Own;
        line.order = assembly.ownOrder;
        line.file = &assembly.assembly.ownOrder;
    }
}

// Where a line is, for messages: its position and its file, or a bought part's name.
std::string placeOf(const StructureLine& line)
{
    const std::string& what = line.kind == LineKind::Bought ? line.component->name
        : line.kind == LineKind::Assembly                   ? line.assembly->fileName
                                                            : line.order->fileName;
    return "Position " + line.position + " (" + what + ")";
}

// The quantity each line is needed at when the assembly is made `quantity` times.
std::vector<std::int64_t> neededQuantities(const std::vector<StructureLine>& structure, std::int32_t quantity)
{
    std::vector<std::int64_t> needed(structure.size());
    // The quantity of the assembly each level's lines belong to.
    std::vector<std::int64_t> parentAt { quantity };
    for (std::size_t i = 0; i < structure.size(); ++i) {
        const StructureLine& line = structure[i];
        parentAt.resize(std::size_t(line.level));
        const std::int64_t q = parentAt.back() * line.count;
        if (q > kMaxQuantity)
            throw AssemblyError(placeOf(line) + ": die benötigte Menge " + text::germanInt(q) + " übersteigt "
                + text::germanInt(kMaxQuantity) + '.');
        needed[i] = q;
        if (line.kind == LineKind::Assembly)
            parentAt.push_back(q);
    }
    return needed;
}

// An order's price scale at every quantity it is needed at.
struct OrderScale {
    std::size_t firstLine = 0; // where it is first named
    std::vector<std::int32_t> quantities;
    PriceScale scale;

    const PriceScaleRow& at(std::int64_t quantity) const
    {
        return *std::lower_bound(scale.rows.begin(), scale.rows.end(), quantity,
            [](const PriceScaleRow& row, std::int64_t q) { return row.quantity < q; });
    }
};

class Calculation {
public:
    Calculation(const CPlantData& plantData, AssemblyCosting& result)
        : plantData(plantData)
        , result(result)
    {
        const double percent = plantData.overheadMaterialPct;
        const double hundredths = std::round(percent * 100); // exact: a float times 100 fits a double
        overheadKnown = std::isfinite(hundredths) && std::fabs(hundredths) <= 1e20;
        materialOverhead = overheadKnown ? WideCents(hundredths) : 0;
    }

    void need(const std::vector<std::int64_t>& needed)
    {
        for (std::size_t i = 0; i < needed.size(); ++i) {
            const TreeOrder* order = result.structure[i].order;
            if (!order)
                continue;
            auto [it, added] = scales.try_emplace(order);
            if (added) {
                it->second.firstLine = i;
                scaleOrder.push_back(order);
            }
            it->second.quantities.push_back(std::int32_t(needed[i]));
        }
    }

    // Each order once, at all its quantities, in the order the tree names them.
    void costOrders()
    {
        for (const TreeOrder* order : scaleOrder) {
            OrderScale& scale = scales.at(order);
            try {
                scale.scale = computePriceScale(order->order, plantData, std::move(scale.quantities));
            } catch (const PriceScaleError& error) {
                throw AssemblyError(placeOf(result.structure[scale.firstLine]) + ": " + error.what());
            }
            for (const std::string& message : scale.scale.messages)
                result.messages.push_back(text::utf8ToCp1252(order->fileName + ": ") + message);
            result.uncostedOperations += scale.scale.uncostedOperations;
        }
    }

    AssemblyRow row(std::int32_t quantity, const std::vector<std::int64_t>& needed)
    {
        AssemblyRow row;
        row.quantity = quantity;
        row.lines.resize(needed.size());
        priced = true;
        // Children follow their parent, so from the last line back every assembly finds the sums
        // of its lines at the level below.
        std::vector<Sum> sums(2);
        for (std::size_t i = needed.size(); i-- > 0;) {
            const StructureLine& line = result.structure[i];
            const auto level = std::size_t(line.level);
            sums.resize(std::max(sums.size(), level + 2));
            const Line amounts = limited(lineAmounts(line, needed[i], sums[level + 1]));
            if (line.kind == LineKind::Assembly)
                sums[level + 1] = {};
            row.lines[i] = { needed[i], amounts.costed, Money(std::int64_t(amounts.unitFull)),
                Money(std::int64_t(amounts.unitDirect)), Money(std::int64_t(amounts.full)),
                Money(std::int64_t(amounts.direct)) };
            Sum& sum = sums[level];
            sum.full += amounts.full;
            sum.direct += amounts.direct;
            sum.costed = sum.costed && amounts.costed;
        }
        const Sum& top = sums[1];
        row.costed = top.costed;
        const WideCents totals[] = { top.full, top.direct, top.full * quantity, top.direct * quantity };
        priced = priced && std::all_of(std::begin(totals), std::end(totals), withinPriceLimit);
        row.priced = priced;
        if (!priced) {
            for (LineCost& cost : row.lines)
                cost = { cost.quantity, cost.costed, {}, {}, {}, {} };
            return row;
        }
        row.fullPerPiece = Money(std::int64_t(totals[0]));
        row.directPerPiece = Money(std::int64_t(totals[1]));
        row.fullTotal = Money(std::int64_t(totals[2]));
        row.directTotal = Money(std::int64_t(totals[3]));
        return row;
    }

private:
    struct Sum {
        WideCents full = 0;
        WideCents direct = 0;
        bool costed = true;
    };
    struct Line {
        WideCents unitFull = 0;
        WideCents unitDirect = 0;
        WideCents full = 0;
        WideCents direct = 0;
        bool costed = true;
    };

    // A line with an amount beyond the price limit spoils the row; it adds nothing to its parent,
    // so that no sum grows without bound.
    Line limited(const Line& amounts)
    {
        const WideCents values[] = { amounts.unitFull, amounts.unitDirect, amounts.full, amounts.direct };
        if (std::all_of(std::begin(values), std::end(values), withinPriceLimit))
            return amounts;
        priced = false;
        Line nothing;
        nothing.costed = amounts.costed;
        return nothing;
    }

    WideCents cents(double euros)
    {
        const std::optional<Money> amount = moneyOf(euros);
        priced = priced && amount.has_value();
        return amount ? amount->count() : 0;
    }

    Line lineAmounts(const StructureLine& line, std::int64_t quantity, const Sum& below)
    {
        Line amounts;
        switch (line.kind) {
        case LineKind::Order:
        case LineKind::Own: {
            const OrderScale& scale = scales.at(line.order);
            const PriceScaleRow& scaleRow = scale.at(quantity);
            amounts.unitFull = cents(scaleRow.fullPerPiece);
            amounts.unitDirect = cents(scaleRow.directPerPiece);
            amounts.costed = scale.scale.complete();
            break;
        }
        case LineKind::Assembly:
            amounts.unitFull = below.full;
            amounts.unitDirect = below.direct;
            amounts.costed = below.costed;
            break;
        case LineKind::Bought:
            return boughtAmounts(*line.component, quantity);
        }
        amounts.full = amounts.unitFull * line.count;
        amounts.direct = amounts.unitDirect * line.count;
        return amounts;
    }

    // Bought parts are material: the material overhead goes on their full cost only.
    Line boughtAmounts(const Component& bought, std::int64_t quantity)
    {
        const WideCents price = priceFor(bought, quantity);
        priced = priced && (overheadKnown || price == 0);
        const WideCents withOverhead = price * (kTenThousand + materialOverhead);
        constexpr WideCents kToCents = 100;
        return { roundedQuotient(withOverhead, kTenThousand * kToCents), roundedQuotient(price, kToCents),
            roundedQuotient(withOverhead * bought.count, kTenThousand * kToCents),
            roundedQuotient(price * bought.count, kToCents), true };
    }

    const CPlantData& plantData;
    AssemblyCosting& result;
    bool overheadKnown = true;
    WideCents materialOverhead = 0; // hundredths of a percent
    std::unordered_map<const TreeOrder*, OrderScale> scales;
    std::vector<const TreeOrder*> scaleOrder;
    bool priced = true;
};

} // namespace

std::vector<StructureLine> structureOf(const TreeAssembly& root)
{
    std::vector<StructureLine> lines;
    addLines(root, std::string(), 1, lines);
    return lines;
}

AssemblyCosting costAssembly(
    const AssemblyTree& tree, const CPlantData& plantData, std::vector<std::int32_t> quantities)
{
    std::sort(quantities.begin(), quantities.end());
    quantities.erase(std::unique(quantities.begin(), quantities.end()), quantities.end());
    AssemblyCosting result;
    result.name = tree.root->assembly.name;
    result.quantityBase = tree.root->assembly.quantityBase;
    result.structure = structureOf(*tree.root);

    Calculation calculation(plantData, result);
    std::vector<std::vector<std::int64_t>> needed;
    for (const std::int32_t quantity : quantities) {
        needed.push_back(neededQuantities(result.structure, quantity));
        calculation.need(needed.back());
    }
    calculation.costOrders();
    for (std::size_t i = 0; i < quantities.size(); ++i) {
        AssemblyRow& row = result.rows.emplace_back(calculation.row(quantities[i], needed[i]));
        if (!row.priced) {
            ++result.unpricedRows;
            result.messages.push_back(unpricedMessage(row.quantity));
        }
    }
    return result;
}

QuoteBasis basisOf(const AssemblyCosting& costing)
{
    // The quote says again why a quantity is not priced.
    QuoteBasis basis { costing.quantityBase, {}, operationMessages(costing), costing.uncostedOperations };
    for (const AssemblyRow& row : costing.rows)
        basis.costs.push_back({ row.quantity, row.priced ? std::optional(row.fullPerPiece) : std::nullopt });
    return basis;
}

} // namespace kalkora
