#pragma once

#include "model/COrder.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>

namespace kalkora::ui {

// The seven columns of the order panel's operations list. It keeps nothing per operation: a
// cell is formatted from the order when the list asks for it, which is only for the rows on
// screen, so an order of a million operations costs the list no more than one of ten.
class COperationListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int columnTotal = 7;

    explicit COperationListModel(QObject* parent = nullptr);

    // Shows `order` (kept by reference) from now on, formatted under the runtime locale.
    void rebuild(const COrder& order);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString cellText(const COperation& operation, int column) const;
    const COperation* operationAt(int row) const;

    const COrder* order = nullptr;
    int rows = 0; // as of the last rebuild, so that the list sees no change until then
    QChar shownSeparator = QLatin1Char('.');
    QIcon internalIcon;
    QIcon externalIcon;
};

// A number of a list cell: "%.2f" under the runtime locale. Values too large for the cell's
// 31 characters show as "########".
QString FormatCellNumber(double value);

} // namespace kalkora::ui
