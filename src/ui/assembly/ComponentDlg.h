#pragma once

// ui/assembly: the assembly window and the dialog of one component. The assembly itself lives in
// src/documents; the window views and edits it and shows its costing as the column table of
// src/costing describes it.

#include "model/Assembly.h"

#include <QDialog>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QTableWidget;

namespace kalkora::ui {

// One component of an assembly: an order or an assembly with its file and count, or a bought
// part with its name, count and price breaks ("ab Stück", "Preis [€]" with up to four decimals).
// OK takes it only when every field can be read; the first field that cannot is named below
// the fields and gets the focus.
//
// Object names for tests: "componentDlg", "file", "buttonChooseFile", "name", "count", "prices",
// "buttonAddBreak", "buttonRemoveBreak", "errorLine".
class CComponentDlg : public QDialog {
    Q_OBJECT

public:
    // `chooseFile` asks for the file of an order or an assembly, as the assembly will name it.
    CComponentDlg(Component component, std::function<QString()> chooseFile, QWidget* parent = nullptr);

    const Component& component() const { return edited; }
    void accept() override;

private:
    // `field` in a row of `form` under `label`, or `shown` that holds it.
    void addField(QWidget* form, const QString& label, QWidget* field, const QString& tip, QWidget* shown = nullptr);
    void createFileFields(QWidget* form);
    void createBoughtFields(QWidget* form);
    // The component as typed; nothing after naming the first field that cannot be read.
    std::optional<Component> typed();
    // Names the problem below the fields and gives `field` the focus.
    std::nullopt_t refuse(QWidget* field, const QString& message);

    Component edited;
    std::function<QString()> chooseFile;
    QLineEdit* fileField = nullptr;
    QLineEdit* nameField = nullptr;
    QLineEdit* countField = nullptr;
    QTableWidget* priceTable = nullptr;
    QLabel* errorLine = nullptr;
};

// Runs the dialog on `component`; nothing when the user cancelled.
std::optional<Component> editComponent(
    const Component& component, const std::function<QString()>& chooseFile, QWidget* parent);

} // namespace kalkora::ui
