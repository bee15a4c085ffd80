#pragma once

#include "documents/EditHistory.h"
#include "model/COrder.h"
#include "model/CPlantData.h"
#include "ui/main/OperationListModel.h"

#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QTableView;

namespace kalkora::ui {

// The child window that fills the main window while an order is open: the order's name,
// quantity base and remark, and the list of its operations with a popup menu to create,
// delete, edit and reorder them. Every change is a step pushed on the edit history; the three
// general fields reach the order only when their edit field loses the focus.
//
// Object names for tests: the controls are named after their ids ("edit1029" name, "edit1062"
// quantity, "edit1031" remark, "list1028" operations), the popup menu is "menu145" and its
// commands are "action40047" .. "action40041".
class COrderPanel : public QWidget {
    Q_OBJECT

public:
    COrderPanel(COrder& order, const CPlantData& plantData, documents::EditHistory& history, QWidget* parent = nullptr);

    // Rebuilds the fields and the list from the order; afterwards no row is selected.
    void RefreshFromOrder();

    // Writes what was typed into the three fields to the order, as leaving them does, before a
    // command may discard the order. An unreadable quantity is left as it was, without warning.
    void writeFieldsToOrder();

    // A copy of the order with what was typed applied, as the order will be once the field is
    // left. The order itself stays as it is, so commands that read it directly (the costing
    // report) keep seeing what was last confirmed.
    COrder orderWithPendingField() const;

    // Index of the selected row, or -1.
    int selectedRow() const;
    QTableView* operationList() const { return operationTable; }
    // The commands of the list's popup menu, in the order the main window's edit menu lists them
    // (insert, edit, delete, up, down). Their keys work while the list has the focus.
    const QList<QAction*>& operationCommands() const { return commands; }

signals:
    // The order's data was changed here: a field written back with a different value, or an
    // operation added, edited with a different result, deleted or moved.
    void changed();

public slots:
    void OnNewOperation();
    void OnDeleteOperation();
    void OnEditOperation();
    void OnMoveUp();
    void OnMoveDown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class Field { Name, Remark, Quantity };

    // What was typed into the three fields since they were last shown or read; an unreadable
    // quantity counts as not typed, as it is refused only when its field is left.
    struct TypedFields {
        std::optional<std::string> name;
        std::optional<std::string> remark;
        std::optional<std::int32_t> quantity;
    };
    TypedFields typedFields() const;

    void createControls();
    void createOperationCommands();
    void fitColumns();
    void OnFieldKillFocus(Field field);
    bool readFields();
    template <typename T> void writeValue(T COrder::*field, const T& value);
    // Makes a change of the order as a step that can be undone and says that the order changed.
    void makeStep(std::unique_ptr<documents::EditCommand> step);
    void moveOperation(int row, int to);
    void OnListRightClick(const QPoint& listPoint);
    void OnListDoubleClick();

    COrder& order;
    const CPlantData& plantData;
    documents::EditHistory& history;

    std::string panelName;
    std::string panelRemark;
    std::int32_t panelQuantity = 0;
    QString shownRemark; // the remark as last put into the field, to keep its line breaks

    QLineEdit* nameField = nullptr;
    QLineEdit* quantityField = nullptr;
    QPlainTextEdit* remarkField = nullptr;
    QTableView* operationTable = nullptr;
    COperationListModel* listModel = nullptr;
    QMenu* operationMenu = nullptr;
    QList<QAction*> commands;
    bool refusingQuantity = false;
};

} // namespace kalkora::ui
