#pragma once

#include "costing/AnalysisTables.h"
#include "costing/AssemblyCosting.h"
#include "costing/ResultTable.h"
#include "text/NumberFormat.h"

#include <string>
#include <vector>

namespace kalkora {

// The costed assembly as one table: a record per line of the tree at a quantity of the
// assembly, and one for the sum of that quantity.
struct AssemblyRecord {
    const AssemblyCosting* costing = nullptr;
    const AssemblyRow* row = nullptr;
    const StructureLine* line = nullptr; // null: the sum
    const LineCost* cost = nullptr;
};

// The records of one row: its lines in the order of the structure, then its sum.
std::vector<AssemblyRecord> assemblyRecords(const AssemblyCosting& costing, const AssemblyRow& row);

enum AssemblyColumn {
    AssemblyQuantityColumn,
    PositionColumn,
    LevelColumn,
    LineKindKeyColumn, // JSON only
    LineKindColumn,
    LineNameColumn,
    FileColumn,
    CountColumn,
    NeededColumn,
    UnitFullColumn,
    UnitDirectColumn,
    LineFullColumn,
    LineDirectColumn,
    LineCostedColumn,
    AssemblyColumnCount
};
Columns<AssemblyRecord> assemblyColumns();

// How the table names a line's kind ("Auftrag", "Baugruppe", "Kaufteil", "Eigene Arbeitsgänge"),
// UTF-8; a component's kind is named as its line is.
const char* kindTitle(LineKind kind);
const char* kindTitle(ComponentKind kind);

std::string assemblyCsv(const AssemblyCosting& costing, CsvDialect dialect);
// For each quantity the tree indented by level, then the sum; Windows-1252 with CR LF.
std::string assemblyText(const AssemblyCosting& costing, text::NumberStyle style);
std::string assemblyJson(const AssemblyCosting& costing);

} // namespace kalkora
