#pragma once

// ui/masterdata: the dialogs for the plant data and the machines, and the new machine name.
// They edit a CPlantData handed to them and use ui/common, src/model, src/costing and
// src/text only.

#include "model/CMachine.h"
#include "model/CPlantData.h"

#include <QDialog>

#include <array>
#include <string>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace kalkora::ui {

// The modal dialog of the machine list. All editing happens on a working copy of the machines:
// "OK" replaces the master data's machines by it, with every machine's rates freshly computed
// from the current plant data; "Abbrechen" and Escape throw it away and leave the machines
// exactly as they were. A typed value is taken over when its field loses the focus, and the
// six hourly rates of the selected machine are then recomputed and shown rounded up to cents.
//
// Object names for tests: "list1025", "edit1016" (name), the seven inputs "edit1018", "edit1017",
// "edit1023", "edit1022", "edit1019", "edit1020", "edit1021", the rates "edit1065", "edit1067",
// "edit1068" (fixed) and "edit1069", "edit1070", "edit1071" (variable), the buttons
// "button1014" (new), "button1015" (delete), "button1001" (OK) and "button1000" (Abbrechen).
class CMachineDataDlg : public QDialog {
    Q_OBJECT

public:
    CMachineDataDlg(CPlantData& plantData, QWidget* parent = nullptr);

    // The working copy, in list order; it holds what "OK" would commit.
    const CMachineList& workingMachines() const { return workingCopy; }
    QLineEdit* field(int id) const;
    QListWidget* machineList() const { return machineListWidget; }

    // Rounds a rate up to whole cents, as the dialog shows it.
    static float displayedRate(float rate);

public slots:
    void OnNewMachine();
    void OnDeleteMachine();
    void OnSelChange();
    void OnOK();
    void OnCancel();
    // "Abbrechen", Escape and every other way of closing without "OK".
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int inputCount = 7;

    void createControls();
    void createMachineFields();
    void createRateFields();
    QLineEdit* addInput(int id, const QString& label, int y);
    QLineEdit* addRate(int id, const QString& label, int labelX, int labelWidth, int fieldX);
    void installTips();
    void refillList();
    void showMachine(CMachine& machine);
    void showNoSelection();
    void showFieldValues();
    bool OnLeaveInputField();
    QLineEdit* readInputFields();
    bool nameInUse(const std::string& name) const;
    int selectedIndex() const;

    CPlantData& plantData;
    CMachineList workingCopy;
    bool closing = false; // the working copy is gone or handed over; focus changes do nothing
    bool takingOver = false; // a warning box of the take-over must not start another one

    // The values shown in the fields: the name, the seven inputs in tab order (purchase cost,
    // useful life, installed power, power usage, tools, maintenance, floor area) and the six
    // rates as displayed (fixed 1..3 shifts, then variable 1..3 shifts).
    std::string fieldName;
    std::array<float, inputCount> fieldInputs {};
    std::array<float, 6> fieldRates {};

    QListWidget* machineListWidget = nullptr;
    QLineEdit* nameField = nullptr;
    std::array<QLineEdit*, inputCount> inputEdits {};
    std::array<QLineEdit*, 6> rateEdits {};
    QPushButton* newButton = nullptr;
    QPushButton* deleteButton = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
};

} // namespace kalkora::ui
