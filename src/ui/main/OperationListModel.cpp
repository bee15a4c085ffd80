#include "ui/main/OperationListModel.h"

#include "text/NumberFormat.h"
#include "ui/common/QtText.h"

namespace kalkora::ui {

namespace {

const std::array<QString, COperationListModel::columnTotal> columnTitles = {
    QStringLiteral("    AG-Bezeichnung    "),
    QStringLiteral(" Zugeordnete Maschine "),
    QStringLiteral(" te[min] "),
    QStringLiteral(" tr[min] "),
    QStringLiteral(" teb[min] "),
    QStringLiteral(" Stck "),
    QStringLiteral(" "),
};

constexpr int maxCellLength = 31;

} // namespace

QString FormatCellNumber(double value)
{
    const std::string text = text::formatFixed(value, 0, 2);
    if (text.size() > maxCellLength) {
        return QStringLiteral("########");
    }
    return QString::fromLatin1(text);
}

COperationListModel::COperationListModel(QObject* parent)
    : QAbstractTableModel(parent)
    , internalIcon(QStringLiteral(":/kalkora/internal.png"))
    , externalIcon(QStringLiteral(":/kalkora/external.png"))
{
}

COperationListModel::Row COperationListModel::makeRow(const COperation& operation)
{
    // Only exactly 1 counts as internal here; the costing treats every non-zero value so.
    Row row { operation.isInternal == 1, {} };
    row.cells[0] = fromCp1252(operation.name);
    if (row.internal) {
        row.cells[1] = fromCp1252(operation.machineName);
        row.cells[2] = FormatCellNumber(operation.operatorTimeMin);
        row.cells[3] = FormatCellNumber(operation.setupTimeMin);
        row.cells[4] = FormatCellNumber(operation.machineTimeMin);
        row.cells[5] = FormatCellNumber(operation.lotSize);
    } else {
        row.cells[1] = QStringLiteral("EXTERN");
        row.cells[2] = row.cells[3] = row.cells[4] = QStringLiteral("--");
        row.cells[5] = FormatCellNumber(operation.externalLotSize);
    }
    return row;
}

void COperationListModel::rebuild(const COrder& order)
{
    beginResetModel();
    rows.clear();
    rows.reserve(static_cast<std::size_t>(std::max(0, order.operations.count())));
    for (std::int32_t i = 0; i < order.operations.count(); ++i) {
        rows.push_back(makeRow(*order.operations.at(i)));
    }
    endResetModel();
}

int COperationListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows.size());
}

int COperationListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columnTotal;
}

QVariant COperationListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= static_cast<int>(rows.size())) {
        return {};
    }
    const Row& row = rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return row.cells[static_cast<std::size_t>(index.column())];
    case Qt::DecorationRole:
        if (index.column() == 0) {
            return row.internal ? internalIcon : externalIcon;
        }
        return {};
    case Qt::AccessibleDescriptionRole:
        // What the icon shows, for screen readers.
        if (index.column() == 0) {
            return row.internal ? QStringLiteral("Interner Arbeitsgang") : QStringLiteral("Externer Arbeitsgang");
        }
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(index.column() < 2 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    default:
        return {};
    }
}

QVariant COperationListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnTotal) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return columnTitles[static_cast<std::size_t>(section)];
    }
    // The blanks only pad the header; a screen reader says the title alone.
    if (role == Qt::AccessibleTextRole) {
        return columnTitles[static_cast<std::size_t>(section)].trimmed();
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(section < 2 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    }
    return {};
}

} // namespace kalkora::ui
