#pragma once

#include "model/COrder.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>

#include <array>
#include <vector>

namespace kalkora::ui {

// The seven columns of the order panel's operations list, as texts formatted once per
// rebuild, so that scrolling through a large order formats nothing.
class COperationListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int columnTotal = 7;

    explicit COperationListModel(QObject* parent = nullptr);

    // Reformats every row from the order (under the current runtime locale).
    void rebuild(const COrder& order);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Row {
        bool internal;
        std::array<QString, columnTotal> cells;
    };

    static Row makeRow(const COperation& operation);

    std::vector<Row> rows;
    QIcon internalIcon;
    QIcon externalIcon;
};

// A number of a list cell: "%.2f" under the runtime locale. Values too large for the cell's
// 31 characters show as "########".
QString FormatCellNumber(double value);

} // namespace kalkora::ui
