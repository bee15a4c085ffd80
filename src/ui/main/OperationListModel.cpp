#include "ui/main/OperationListModel.h"

#include "text/NumberFormat.h"
#include "text/RuntimeLocale.h"
#include "ui/common/QtText.h"

#include <algorithm>
#include <array>

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

QString COperationListModel::cellText(const COperation& operation, int column) const
{
    // Only exactly 1 counts as internal here; the costing treats every non-zero value so.
    const bool internal = operation.isInternal == 1;
    // The numbers read as at the last rebuild, even when a dialog has switched the runtime
    // locale since: "%.2f" differs between the locales only in the decimal separator.
    const auto number = [this](double value) {
        QString cell = FormatCellNumber(value);
        return cell.replace(QLatin1Char(text::decimalSeparator()), shownSeparator);
    };
    switch (column) {
    case 0:
        return fromCp1252(operation.name);
    case 1:
        return internal ? fromCp1252(operation.machineName) : QStringLiteral("EXTERN");
    case 2:
        return internal ? number(operation.operatorTimeMin) : QStringLiteral("--");
    case 3:
        return internal ? number(operation.setupTimeMin) : QStringLiteral("--");
    case 4:
        return internal ? number(operation.machineTimeMin) : QStringLiteral("--");
    case 5:
        return number(internal ? operation.lotSize : operation.externalLotSize);
    default:
        return {};
    }
}

void COperationListModel::rebuild(const COrder& shown)
{
    beginResetModel();
    order = &shown;
    shownSeparator = QLatin1Char(text::decimalSeparator());
    rows = std::max(0, shown.operations.count());
    endResetModel();
}

const COperation* COperationListModel::operationAt(int row) const
{
    // The order may have changed since the last rebuild; a row it no longer has shows empty.
    if (!order || row < 0 || row >= rows || row >= order->operations.count()) {
        return nullptr;
    }
    return order->operations.at(row);
}

int COperationListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows;
}

int COperationListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columnTotal;
}

QVariant COperationListModel::data(const QModelIndex& index, int role) const
{
    const COperation* operation = index.isValid() ? operationAt(index.row()) : nullptr;
    if (!operation) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return cellText(*operation, index.column());
    case Qt::DecorationRole:
        if (index.column() == 0) {
            return operation->isInternal == 1 ? internalIcon : externalIcon;
        }
        return {};
    case Qt::AccessibleDescriptionRole:
        // What the icon shows, for screen readers.
        if (index.column() == 0) {
            return operation->isInternal == 1 ? QStringLiteral("Interner Arbeitsgang")
                                              : QStringLiteral("Externer Arbeitsgang");
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
