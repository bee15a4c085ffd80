#pragma once

#include "costing/AssemblyTables.h"
#include "documents/AssemblyDocument.h"
#include "documents/EditHistory.h"
#include "model/CPlantData.h"
#include "ui/common/FilePrompts.h"

#include <QMainWindow>
#include <QStandardItemModel>

#include <functional>
#include <optional>

class QAction;
class QLabel;
class QLineEdit;
class QTreeView;

namespace kalkora::ui {

struct QuoteSubject;

// The window of one assembly ("Kalkora - getriebe.bgr"): its name, remark, quantity base and own
// order in fields, and below them the tree of its components costed at a quantity of the
// assembly (the quantity base unless another is typed), with the columns of the assembly table
// and the sum. Components are added, edited, removed and moved here, each change a step of the
// window's own undo history; a sub-assembly's components are edited in its own window. The tree
// is costed afresh after every change, whenever the master data change and when someone else
// changes a file of the tree (said in a line below the tree); a file of the tree that cannot be
// read is named, with its position, above the tree, and the component that names it is marked.
// The assembly's price scale and quote open in windows of their own that follow it; "Exportieren"
// and "Drucken" take the tree at the quantity shown, and a component's order opens in the main
// window.
//
// Object names for tests: "assemblyWindow", the fields "name", "remark", "quantityBase",
// "ownOrder", "quantity", the tree "components", "sumLine", "errorLine", "changedLine", the
// commands "actionSave", "actionSaveAs", "actionPriceScale", "actionQuote", "actionExport",
// "actionPrint", "actionClose", "actionUndo", "actionRedo", "actionAddOrder", "actionAddAssembly",
// "actionAddBought", "actionEdit", "actionRemove", "actionMoveUp", "actionMoveDown",
// "actionOwnOrder", "actionOpenOrder".
class CAssemblyWindow : public QMainWindow {
    Q_OBJECT

public:
    // What adding or editing a component asks of the user; nothing when cancelled.
    using ComponentEditor = std::function<std::optional<Component>(const Component&, CAssemblyWindow&)>;

    CAssemblyWindow(const CPlantData& plantData, std::function<QString()> masterFile, QWidget* parent = nullptr);

    documents::AssemblyDocument& document() { return assembly; }
    const documents::AssemblyDocument& document() const { return assembly; }
    const QStandardItemModel& tree() const { return treeModel; }
    void setComponentEditor(ComponentEditor editor) { componentEditor = std::move(editor); }

    void startNew();
    // Asks for a file and opens it; false when the user cancelled or it could not be read.
    bool openChosenFile();
    bool openFile(const QString& path);
    // Whether the assembly holds changes not saved, what is being typed included.
    bool isChanged();
    // Asks first when the assembly was changed, what is being typed included.
    bool mayClose();
    // Opens the quote file `path` in the assembly's quote window, after asking about a changed
    // quote shown there.
    bool openQuote(const QString& path);
    // The master data or a file of the tree changed: costs the tree afresh.
    void recompute();
    // The file of an order or an assembly, chosen in a file dialog, as the assembly names it.
    QString chooseComponentFile(ComponentKind kind);
    // The tree as last costed in the window.
    const documents::CostedAssembly& shownCosting() const { return shown; }

signals:
    // The user asked to open the order `path` in the main window.
    void orderRequested(const QString& path);
    // The user chose the quote file `path` to open, with what it names.
    void quoteRequested(const QString& path);

public slots:
    bool OnSave();
    bool OnSaveAs();
    void OnAddOrder() { addComponent(ComponentKind::Order); }
    void OnAddAssembly() { addComponent(ComponentKind::Assembly); }
    void OnAddBought() { addComponent(ComponentKind::Bought); }
    void OnEdit();
    void OnRemove();
    void OnMoveUp() { move(-1); }
    void OnMoveDown() { move(1); }
    void OnChooseOwnOrder();
    void OnPriceScale();
    void OnQuote();
    void OnExport();
    void OnPrint();
    void OnOpenOrder();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    template <typename Handler>
    QAction* addCommand(QMenu* menu, const char* name, const QString& text, Handler handler);
    void createFields();
    void addComponent(ComponentKind kind);
    void move(int by);
    // The component of the selected top-level line; nothing for another line.
    std::optional<std::size_t> selectedComponent() const;
    void select(std::size_t component);
    void showDocument();
    void updateEditCommands();
    void readFields();
    // The quantity typed, or the quantity base when none or one that cannot be read is.
    std::int32_t shownQuantity();
    void showCosting(const AssemblyCosting& costing);
    // The components without figures, the one at `failedPosition` marked.
    void showComponentsOnly(const QString& failedPosition);
    void componentFileChanged(const QString& file);
    // The assembly as it stands, its fields read, costed at `quantities`.
    documents::CostedAssembly costAt(std::vector<std::int32_t> quantities);
    QuoteSubject quoteSubject();
    // "Auftrag im Hauptfenster öffnen" only on a line of an order.
    void updateOpenOrder();

    const CPlantData& plantData;
    std::function<QString()> masterFile;
    documents::EditHistory history;
    documents::AssemblyDocument assembly;
    FilePrompts prompts;
    ComponentEditor componentEditor;
    bool showing = false;
    documents::CostedAssembly shown;

    QLineEdit* nameField = nullptr;
    QLineEdit* remarkField = nullptr;
    QLineEdit* quantityBaseField = nullptr;
    QLineEdit* ownOrderField = nullptr;
    QLineEdit* quantityField = nullptr;
    QTreeView* componentsView = nullptr;
    QStandardItemModel treeModel;
    QLabel* sumLine = nullptr;
    QLabel* errorLine = nullptr;
    QLabel* changedLine = nullptr;
    QAction* openOrderAction = nullptr;
    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;
};

} // namespace kalkora::ui
