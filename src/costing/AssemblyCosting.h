#pragma once

#include "costing/CostAnalysis.h"
#include "costing/Money.h"
#include "costing/SalesPrice.h"
#include "model/Assembly.h"
#include "model/COrder.h"
#include "model/CPlantData.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kalkora {

// An assembly with every file it names read, each file once: a file named at several places
// is one object, so that it is costed once per quantity it is needed at.
struct TreeOrder {
    COrder order;
    std::string fileName; // UTF-8, without its folder, for messages
    std::string path; // UTF-8, absolute
};

struct TreeAssembly {
    Assembly assembly;
    std::string fileName;
    // Per component: its order or its assembly, null for the other kinds.
    std::vector<const TreeOrder*> orders;
    std::vector<const TreeAssembly*> assemblies;
    const TreeOrder* ownOrder = nullptr;
};

struct AssemblyTree {
    std::deque<TreeOrder> orders;
    std::deque<TreeAssembly> assemblies;
    const TreeAssembly* root = nullptr;
    std::vector<std::string> files; // every file read, absolute, UTF-8
};

// A line of the tree: a component, or an assembly's own order.
enum class LineKind { Order, Assembly, Bought, Own };

struct StructureLine {
    std::string position; // "2.3", "2.0" for component 2's own order
    std::int32_t level = 1;
    LineKind kind = LineKind::Order;
    const TreeOrder* order = nullptr; // an order line and an own line
    const TreeAssembly* assembly = nullptr; // an assembly line
    const Component* component = nullptr; // null for an own line
    const std::string* file = nullptr; // as written; null for a bought part
    std::int32_t count = 1;
};

// A line at one quantity of the assembly: the quantity it is needed at, its unit costs and
// what it adds to its parent per piece. The amounts are meaningful only in a priced row.
struct LineCost {
    std::int64_t quantity = 0;
    bool costed = true; // false: an order below lacks operations that could not be costed
    Money unitFull;
    Money unitDirect;
    Money full;
    Money direct;
};

struct AssemblyRow {
    std::int32_t quantity = 0;
    bool priced = false; // false: every amount of the row is none
    bool costed = true;
    Money fullPerPiece;
    Money directPerPiece;
    Money fullTotal;
    Money directTotal;
    std::vector<LineCost> lines; // in the order of the structure
};

struct AssemblyCosting {
    std::string name; // UTF-8
    std::int32_t quantityBase = 1;
    std::vector<StructureLine> structure; // depth first
    std::vector<AssemblyRow> rows; // ascending, each quantity once
    // Windows-1252: the orders' operations not costed, then one per quantity not priced.
    std::vector<std::string> messages;
    int uncostedOperations = 0;
    int unpricedRows = 0;
    bool complete() const { return uncostedOperations == 0 && unpricedRows == 0; }
};

// An assembly that cannot be costed at a quantity asked for; what() is the German message in
// UTF-8, naming the position and the file.
class AssemblyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Every line of the tree, depth first: a component, the lines of a sub-assembly under it, and
// last an assembly's own order.
std::vector<StructureLine> structureOf(const TreeAssembly& root);

// The tree costed at each quantity in whole cents: orders on their price scale at the quantity
// they are needed at, bought parts at the price of their break with the plant's material
// overhead on the full cost. Quantities are sorted, each once. Throws AssemblyError.
AssemblyCosting costAssembly(
    const AssemblyTree& tree, const CPlantData& plantData, std::vector<std::int32_t> quantities);

// The assembly's full cost per piece at each quantity, for its quote.
QuoteBasis basisOf(const AssemblyCosting& costing);

} // namespace kalkora
