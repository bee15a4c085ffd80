#include "ui/postcalc/ActualsModel.h"

#include "text/NumberFormat.h"
#include "ui/common/QtText.h"

#include <QFont>

namespace kalkora::ui {

QString actualValueText(ActualFieldIndex field, double value)
{
    return fromCp1252(
        kActualFields[field].isLot() ? text::formatInt(std::int32_t(value)) : text::formatG6(float(value)));
}

CActualsModel::CActualsModel(Editor editor, QObject* parent)
    : QAbstractTableModel(parent)
    , editor(std::move(editor))
{
}

void CActualsModel::show(const COrder& shownOrder, const documents::PostCalcDocument& shownDocument)
{
    beginResetModel();
    order = &shownOrder;
    document = &shownDocument;
    endResetModel();
}

int CActualsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !order ? 0 : int(order->operations.count());
}

int CActualsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kFirstFieldColumn + 2 * int(kActualFields.size());
}

std::optional<std::pair<ActualFieldIndex, bool>> CActualsModel::fieldOf(int column)
{
    if (column < kFirstFieldColumn)
        return std::nullopt;
    return std::pair(ActualFieldIndex((column - kFirstFieldColumn) / 2), (column - kFirstFieldColumn) % 2 == 1);
}

QString CActualsModel::planText(const COperation& operation, ActualFieldIndex field) const
{
    return std::visit(
        [&](auto member) { return actualValueText(field, double(operation.*member)); }, kActualFields[field].member);
}

QString CActualsModel::actualText(std::int32_t operation, ActualFieldIndex field) const
{
    const Actual* actual = document ? document->actualOf(operation) : nullptr;
    return actual && actual->values[field] ? actualValueText(field, *actual->values[field]) : QString();
}

QVariant CActualsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const std::int32_t operation = index.row() + 1;
    const auto field = fieldOf(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (index.column() == 0)
            return QString::number(operation);
        if (!field)
            return fromCp1252(order->operations.at(index.row())->name);
        return field->second ? actualText(operation, field->first)
                             : planText(*order->operations.at(index.row()), field->first);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue((index.column() == 1 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    case Qt::FontRole:
        // A measured value stands out from the plan beside it by more than its place.
        if (field && field->second) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::ToolTipRole:
        if (field)
            return QStringLiteral("%1 %2, Arbeitsgang %3%4")
                .arg(QString::fromUtf8(kActualFields[field->first].germanName),
                    field->second ? QStringLiteral("Ist") : QStringLiteral("Soll"))
                .arg(operation)
                .arg(field->second ? QStringLiteral(": leer übernimmt den Soll-Wert.") : QString());
        return {};
    default:
        return {};
    }
}

QVariant CActualsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == 0)
        return QStringLiteral("Nr.");
    const auto field = fieldOf(section);
    if (!field)
        return QStringLiteral("Arbeitsgang");
    return QString::fromUtf8(kActualFields[field->first].germanName)
        + (field->second ? QStringLiteral(" Ist") : QStringLiteral(" Soll"));
}

Qt::ItemFlags CActualsModel::flags(const QModelIndex& index) const
{
    const auto field = fieldOf(index.column());
    return QAbstractTableModel::flags(index) | (field && field->second ? Qt::ItemIsEditable : Qt::NoItemFlags);
}

bool CActualsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const auto field = fieldOf(index.column());
    if (role != Qt::EditRole || !field || !field->second || index.row() >= rowCount())
        return false;
    editor(index.row() + 1, field->first, value.toString());
    return true;
}

} // namespace kalkora::ui
