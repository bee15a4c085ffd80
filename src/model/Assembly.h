#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kalkora {

// A product made of parts (Baugruppe), as its file (.bgr) keeps it: orders made in the plant,
// other assemblies, parts bought in, and optionally an order of the assembly's own operations.
// Texts are UTF-8; file names are kept as written, relative to the assembly file's folder.

enum class ComponentKind { Order, Assembly, Bought };

// A supplier's price from a quantity on, in ten-thousandths of a euro per piece.
struct PriceBreak {
    std::int32_t from = 1;
    std::int64_t price = 0;

    bool operator==(const PriceBreak&) const = default;
};

struct Component {
    ComponentKind kind = ComponentKind::Order;
    std::string file; // an order or an assembly
    std::string name; // a bought part
    std::int32_t count = 1; // per piece of the assembly
    std::vector<PriceBreak> prices; // a bought part: `from` ascending, the first from 1

    bool operator==(const Component&) const = default;
};

inline Component fileComponent(ComponentKind kind, std::string file, std::int32_t count = 1)
{
    Component component;
    component.kind = kind;
    component.file = std::move(file);
    component.count = count;
    return component;
}

inline Component boughtComponent(std::string name, std::int32_t count, std::vector<PriceBreak> prices)
{
    Component component;
    component.kind = ComponentKind::Bought;
    component.name = std::move(name);
    component.count = count;
    component.prices = std::move(prices);
    return component;
}

struct Assembly {
    std::string name;
    std::string remark;
    std::int32_t quantityBase = 1;
    std::string masterFile;
    std::string ownOrder; // empty: none
    std::vector<Component> components;

    bool operator==(const Assembly&) const = default;
};

inline constexpr std::int32_t kMaxComponentCount = 1'000'000;
inline constexpr std::int64_t kMaxBoughtPrice = 999'999'999'999; // 99,999,999.9999 €

// The price of the break that applies to `quantity`: the last one from at most `quantity`.
inline std::int64_t priceFor(const Component& bought, std::int64_t quantity)
{
    std::int64_t price = 0;
    for (const PriceBreak& priceBreak : bought.prices) {
        if (priceBreak.from > quantity)
            break;
        price = priceBreak.price;
    }
    return price;
}

} // namespace kalkora
