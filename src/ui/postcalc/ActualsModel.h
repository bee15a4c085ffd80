#pragma once

// ui/postcalc: the post-calculation window and the table in which the measured values are typed.
// The post-calculation itself lives in src/documents; the window views and edits it on the table
// panel of ui/analysis.

#include "documents/PostCalcDocument.h"
#include "model/COrder.h"

#include <QAbstractTableModel>
#include <QString>

#include <functional>

namespace kalkora::ui {

// One row per operation of the order: its number and name, then for each measured field the
// plan's value beside the actual one. Only the actual cells can be edited; what is typed goes to
// the editor, which refuses it or puts it into the document, and the document's change shows it.
class CActualsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // The text typed for `field` of operation `operation` (1-based); empty takes the plan again.
    using Editor = std::function<void(std::int32_t operation, ActualFieldIndex field, const QString& typed)>;

    static constexpr int kFirstFieldColumn = 2;
    // The column of the plan's value of `field`; the actual one follows it.
    static constexpr int planColumn(ActualFieldIndex field) { return kFirstFieldColumn + 2 * int(field); }

    CActualsModel(Editor editor, QObject* parent = nullptr);

    // Shows `order` with what `document` measured; both stay the caller's.
    void show(const COrder& order, const documents::PostCalcDocument& document);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    // The field of a column of values, and whether it is the actual one; nothing for the others.
    static std::optional<std::pair<ActualFieldIndex, bool>> fieldOf(int column);
    QString planText(const COperation& operation, ActualFieldIndex field) const;
    QString actualText(std::int32_t operation, ActualFieldIndex field) const;

    Editor editor;
    const COrder* order = nullptr;
    const documents::PostCalcDocument* document = nullptr;
};

// A measured value as the window shows it: "%g" as the operation dialog shows a float, a lot as
// a whole number.
QString actualValueText(ActualFieldIndex field, double value);

} // namespace kalkora::ui
