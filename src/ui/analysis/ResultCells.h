#pragma once

#include "costing/ResultTable.h"
#include "costing/TableWriting.h"
#include "ui/common/QtText.h"

#include <QStringList>
#include <QVariant>

#include <vector>

namespace kalkora::ui {

// A result table as the windows show it: the columns meant for a window, figures with decimal
// comma and points between thousands, texts left and figures right.

template <typename Row, typename Extra>
std::vector<const Column<Row, Extra>*> windowColumns(Columns<Row, Extra> columns)
{
    std::vector<const Column<Row, Extra>*> shown;
    for (const auto& column : columns)
        if (column.isIn(InWindow))
            shown.push_back(&column);
    return shown;
}

template <typename Row, typename Extra> QStringList titlesOf(const std::vector<const Column<Row, Extra>*>& columns)
{
    QStringList titles;
    for (const auto* column : columns)
        titles << QString::fromUtf8(column->title);
    return titles;
}

inline QVariant alignmentOf(ColumnKind kind)
{
    const bool text = kind == ColumnKind::Text || kind == ColumnKind::Flag;
    return QVariant::fromValue((text ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
}

// `role` is Qt::DisplayRole or Qt::TextAlignmentRole; nothing for any other role, or where the
// column does not apply to the row.
template <typename Row, typename Extra> QVariant shownCell(const Column<Row, Extra>& column, const Row& row, int role)
{
    if (role == Qt::TextAlignmentRole)
        return alignmentOf(column.kind);
    if (role != Qt::DisplayRole || !column.appliesTo(row))
        return {};
    return fromCp1252(cellText(column, row, text::NumberStyle::german()));
}

} // namespace kalkora::ui
