#include "ui/main/OrderPanel.h"

#include "documents/OrderCommands.h"
#include "text/NumberScan.h"
#include "ui/common/DialogUnits.h"
#include "ui/common/NumberField.h"
#include "ui/common/QtText.h"
#include "ui/common/Tooltips.h"
#include "ui/common/UiServices.h"
#include "ui/main/OperationDlg.h"

#include <QAction>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTableView>

#include <algorithm>
#include <limits>
#include <memory>
#include <utility>

namespace kalkora::ui {

namespace {

// The model keeps CR LF line breaks; the remark field works with plain line feeds.
QString remarkForField(const std::string& remark)
{
    return fromCp1252(remark).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string remarkFromField(const QString& text)
{
    return toCp1252(QString(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
}

bool isEnterKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The menus, opened with the mouse or with Alt, do not count as leaving a field, so a menu
// command chosen while typing sees the order as it was. A window taking over does: a file
// dialog opened by "Speichern unter..." takes the focus first, so what was typed is saved.
bool leavesField(const QFocusEvent* event)
{
    return event->reason() != Qt::PopupFocusReason && event->reason() != Qt::MenuBarFocusReason;
}

QLabel* addLabel(QWidget* parent, const QString& text, Qt::Alignment alignment, QRect units)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(alignment);
    placeInDialogUnits(label, units.x(), units.y(), units.width(), units.height());
    return label;
}

} // namespace

COrderPanel::COrderPanel(COrder& order, const CPlantData& plantData, documents::EditHistory& history, QWidget* parent)
    : QWidget(parent)
    , order(order)
    , plantData(plantData)
    , history(history)
{
    setObjectName(QStringLiteral("orderPanel"));
    createControls();
    createOperationCommands();
    fitColumns();
}

void COrderPanel::createControls()
{
    const Qt::Alignment centredLeft = Qt::AlignLeft | Qt::AlignVCenter;
    addLabel(this, QStringLiteral("Fertigungsauftrag : Dateneingabe/Anzeige"), Qt::AlignLeft | Qt::AlignTop,
        QRect(118, 5, 135, 8));
    auto* group = new QGroupBox(QStringLiteral("Allgemeine Daten"), this);
    placeInDialogUnits(group, 10, 20, 355, 55);
    addLabel(this, QStringLiteral("Auftragsname"), centredLeft, QRect(20, 35, 44, 14));

    nameField = new QLineEdit(this);
    nameField->setObjectName(QStringLiteral("edit1029"));
    nameField->setMaxLength(std::numeric_limits<int>::max());
    placeInDialogUnits(nameField, 70, 35, 105, 14);

    addLabel(this, QStringLiteral("Stückzahlbasis für Berechnung"), centredLeft, QRect(20, 55, 105, 14));
    quantityField = new QLineEdit(this);
    quantityField->setObjectName(QStringLiteral("edit1062"));
    placeInDialogUnits(quantityField, 135, 55, 40, 14);

    addLabel(this, QStringLiteral("Bemerkung"), centredLeft, QRect(195, 30, 39, 35));
    remarkField = new QPlainTextEdit(this);
    remarkField->setObjectName(QStringLiteral("edit1031"));
    remarkField->setTabChangesFocus(true);
    remarkField->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    remarkField->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    placeInDialogUnits(remarkField, 240, 30, 120, 40);

    addLabel(this, QStringLiteral("Liste der Arbeitsgänge"), Qt::AlignLeft | Qt::AlignTop, QRect(15, 80, 71, 8));
    // A table without grid or row numbers looks like a report-style list and, unlike a tree
    // view, keeps nothing per row but its height: one million operations cost a few megabytes.
    operationTable = new QTableView(this);
    operationTable->setObjectName(QStringLiteral("list1028"));
    listModel = new COperationListModel(operationTable);
    operationTable->setModel(listModel);
    operationTable->setShowGrid(false);
    operationTable->setWordWrap(false);
    operationTable->setTabKeyNavigation(false);
    operationTable->setCornerButtonEnabled(false);
    operationTable->setSelectionMode(QAbstractItemView::SingleSelection);
    operationTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    operationTable->setSortingEnabled(false);
    operationTable->setIconSize(QSize(16, 16));
    operationTable->verticalHeader()->hide();
    operationTable->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    operationTable->verticalHeader()->setDefaultSectionSize(std::max(16, operationTable->fontMetrics().height()) + 4);
    operationTable->horizontalHeader()->setHighlightSections(false);
    operationTable->horizontalHeader()->setSectionsClickable(false);
    operationTable->horizontalHeader()->setSectionsMovable(false);
    operationTable->horizontalHeader()->setStretchLastSection(false);
    operationTable->horizontalHeader()->setSectionResizeMode(
        COperationListModel::columnTotal - 1, QHeaderView::Stretch);
    // The selection shows only while the list has the focus.
    QPalette palette = operationTable->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Base));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, palette.color(QPalette::Active, QPalette::Text));
    operationTable->setPalette(palette);
    placeInDialogUnits(operationTable, 10, 90, 355, 125);

    setTabOrder(nameField, quantityField);
    setTabOrder(quantityField, remarkField);
    setTabOrder(remarkField, operationTable);

    setTip(nameField, QStringLiteral("Bezeichnung des Auftrages (unabhängig vom Dateinamen)"));
    setTip(remarkField, QStringLiteral("Bemerkung, Hinweise zum Auftrag. Kein Return, Zeilenumbruch automatisch"));
    setTip(operationTable, QStringLiteral("Liste der Arbeitsgänge. Rechtsklick für Menü"));
    setTip(quantityField,
        QStringLiteral("(End)Stückzahl des Auftrages, auf der schließlich die Einzelpreisangabe beruht."));

    for (QWidget* field : { static_cast<QWidget*>(nameField), static_cast<QWidget*>(quantityField),
             static_cast<QWidget*>(remarkField) }) {
        field->installEventFilter(this);
    }
    operationTable->viewport()->installEventFilter(this);
    connect(operationTable, &QTableView::doubleClicked, this, &COrderPanel::OnListDoubleClick);
}

void COrderPanel::createOperationCommands()
{
    const auto command = [this](int id, const QString& text, QList<QKeySequence> keys, void (COrderPanel::*handler)()) {
        auto* action = new QAction(text, this);
        action->setObjectName(QStringLiteral("action%1").arg(id));
        action->setShortcuts(keys);
        // Only in the list: in a field, Return, Delete and Insert belong to what is typed.
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        operationTable->addAction(action);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    QAction* insert
        = command(40047, QStringLiteral("Arbeitsgang &einfügen..."), { Qt::Key_Insert }, &COrderPanel::OnNewOperation);
    QAction* remove
        = command(40048, QStringLiteral("Arbeitsgang &löschen"), { Qt::Key_Delete }, &COrderPanel::OnDeleteOperation);
    QAction* edit = command(40049, QStringLiteral("Arbeitsgang &bearbeiten..."), { Qt::Key_Return, Qt::Key_Enter },
        &COrderPanel::OnEditOperation);
    QAction* up = command(40040, QStringLiteral("Nach &oben"), { Qt::CTRL | Qt::Key_Up }, &COrderPanel::OnMoveUp);
    QAction* down
        = command(40041, QStringLiteral("Nach &unten"), { Qt::CTRL | Qt::Key_Down }, &COrderPanel::OnMoveDown);
    commands = { insert, edit, remove, up, down };
    operationMenu = new QMenu(this);
    operationMenu->setObjectName(QStringLiteral("menu145"));
    operationMenu->addActions({ insert, remove, edit, up, down });
}

void COrderPanel::fitColumns()
{
    // The last, untitled column stretches over whatever width the others leave.
    for (int column = 0; column + 1 < listModel->columnCount(); ++column) {
        operationTable->resizeColumnToContents(column);
    }
}

void COrderPanel::RefreshFromOrder()
{
    panelName = order.name;
    panelRemark = order.remark;
    panelQuantity = order.quantityBase;
    listModel->rebuild(order);
    fitColumns();
    nameField->setText(fromCp1252(panelName));
    remarkField->setPlainText(remarkForField(panelRemark));
    shownRemark = remarkField->toPlainText();
    showInt(quantityField, panelQuantity);
    update();
}

COrder COrderPanel::orderWithPendingField() const
{
    COrder copy;
    const TypedFields typed = typedFields();
    copy.quantityBase = typed.quantity.value_or(order.quantityBase);
    copy.name = typed.name.value_or(order.name);
    copy.remark = typed.remark.value_or(order.remark);
    copy.operations.reserve(order.operations.count());
    for (std::int32_t i = 0; i < order.operations.count(); ++i) {
        copy.operations.add(std::make_unique<COperation>(*order.operations.at(i)));
    }
    return copy;
}

COrderPanel::TypedFields COrderPanel::typedFields() const
{
    TypedFields typed;
    if (isHidden()) {
        return typed;
    }
    if (nameField->text() != fromCp1252(panelName)) {
        typed.name = toCp1252(nameField->text());
    }
    if (remarkField->toPlainText() != shownRemark) {
        typed.remark = remarkFromField(remarkField->toPlainText());
    }
    const std::optional<std::int32_t> quantity = text::scanInt(toCp1252(quantityField->text()));
    if (quantity && *quantity != panelQuantity) {
        typed.quantity = quantity;
    }
    return typed;
}

int COrderPanel::selectedRow() const
{
    const QModelIndexList rows = operationTable->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

bool COrderPanel::readFields()
{
    panelName = toCp1252(nameField->text());
    // An untouched remark keeps its exact bytes, whatever line breaks it holds.
    if (remarkField->toPlainText() != shownRemark) {
        panelRemark = remarkFromField(remarkField->toPlainText());
        shownRemark = remarkField->toPlainText();
    }
    refusingQuantity = true;
    const std::optional<std::int32_t> quantity = readInt(quantityField);
    refusingQuantity = false;
    if (quantity) {
        panelQuantity = *quantity;
    }
    return quantity.has_value();
}

template <typename T> void COrderPanel::writeValue(T COrder::*field, const T& value)
{
    if (order.*field != value) {
        makeStep(std::make_unique<documents::SetOrderFieldCommand<T>>(history, order, field, value));
    }
}

void COrderPanel::makeStep(std::unique_ptr<documents::EditCommand> step)
{
    history.push(std::move(step));
    emit changed();
}

void COrderPanel::writeFieldsToOrder()
{
    const TypedFields typed = typedFields();
    if (typed.name) {
        panelName = *typed.name;
        writeValue(&COrder::name, panelName);
    }
    if (typed.remark) {
        panelRemark = *typed.remark;
        shownRemark = remarkField->toPlainText();
        writeValue(&COrder::remark, panelRemark);
    }
    if (typed.quantity) {
        panelQuantity = *typed.quantity;
        writeValue(&COrder::quantityBase, panelQuantity);
    }
}

void COrderPanel::OnFieldKillFocus(Field field)
{
    // Hiding the panel moves the focus too; the order may already be cleared by then.
    if (refusingQuantity || !isVisible()) {
        return;
    }
    const bool quantityRead = readFields();
    switch (field) {
    case Field::Name:
        writeValue(&COrder::name, panelName);
        break;
    case Field::Remark:
        writeValue(&COrder::remark, panelRemark);
        break;
    case Field::Quantity:
        if (quantityRead) {
            writeValue(&COrder::quantityBase, panelQuantity);
        }
        break;
    }
}

bool COrderPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == operationTable->viewport()) {
        if (event->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
            OnListRightClick(static_cast<QMouseEvent*>(event)->position().toPoint());
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    if (watched == remarkField && isEnterKey(event)) {
        return true;
    }
    if (event->type() == QEvent::FocusOut && leavesField(static_cast<QFocusEvent*>(event))) {
        // The field finishes losing the focus first, so that a refused quantity can take the
        // focus back with its text selected.
        watched->event(event);
        if (watched == nameField) {
            OnFieldKillFocus(Field::Name);
        } else if (watched == remarkField) {
            OnFieldKillFocus(Field::Remark);
        } else if (watched == quantityField) {
            OnFieldKillFocus(Field::Quantity);
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void COrderPanel::keyPressEvent(QKeyEvent* event)
{
    // Enter stays with the focused control and Escape does nothing: neither may reach the
    // main window, where Escape would ask to close the program.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void COrderPanel::OnListRightClick(const QPoint& listPoint)
{
    operationMenu->exec(operationTable->viewport()->mapToGlobal(listPoint));
}

void COrderPanel::OnListDoubleClick()
{
    OnEditOperation();
}

void COrderPanel::OnEditOperation()
{
    const int row = selectedRow();
    if (row < 0) {
        return;
    }
    COperation operation = *order.operations.at(row);
    COperationDlg dialog(window());
    if (dialog.EditOperation(operation, plantData) && operation != *order.operations.at(row)) {
        makeStep(std::make_unique<documents::EditOperationCommand>(history, order, row, std::move(operation)));
    }
    RefreshFromOrder();
}

void COrderPanel::OnNewOperation()
{
    COperation operation;
    COperationDlg dialog(window());
    if (dialog.EditOperation(operation, plantData)) {
        makeStep(std::make_unique<documents::AddOperationCommand>(history, order, std::move(operation)));
    }
    RefreshFromOrder();
}

void COrderPanel::OnDeleteOperation()
{
    const int row = selectedRow();
    if (row < 0) {
        return;
    }
    if (!uiServices().askYesNo(window(), QStringLiteral("AG wirklich löschen ?"), MessageIcon::Exclamation)) {
        return;
    }
    makeStep(std::make_unique<documents::RemoveOperationCommand>(history, order, row));
    RefreshFromOrder();
}

void COrderPanel::moveOperation(int row, int to)
{
    if (row < 0) {
        return;
    }
    if (to >= 0 && to < order.operations.count()) {
        makeStep(std::make_unique<documents::MoveOperationCommand>(history, order, row, to));
    }
    RefreshFromOrder();
}

void COrderPanel::OnMoveUp()
{
    moveOperation(selectedRow(), selectedRow() - 1);
}

void COrderPanel::OnMoveDown()
{
    moveOperation(selectedRow(), selectedRow() + 1);
}

} // namespace kalkora::ui
