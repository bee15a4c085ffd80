#include "ui/masterdata/MachineDataDlg.h"

#include "costing/MachineRates.h"
#include "ui/common/AccessibleNames.h"
#include "ui/common/DialogUnits.h"
#include "ui/common/EnterKeyFilter.h"
#include "ui/common/NumberField.h"
#include "ui/common/QtText.h"
#include "ui/common/Tooltips.h"
#include "ui/common/UiServices.h"
#include "ui/masterdata/NewMachineDlg.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <memory>

namespace kalkora::ui {

namespace {

// The seven input fields in tab order, and the machine values they edit.
constexpr std::array<int, 7> inputIds { 1018, 1017, 1023, 1022, 1019, 1020, 1021 };
constexpr std::array<float CMachine::*, 7> inputMembers {
    &CMachine::purchaseCost,
    &CMachine::usefulLifeYears,
    &CMachine::installedPowerKw,
    &CMachine::powerUsagePct,
    &CMachine::toolCostPerYear,
    &CMachine::maintenancePerYear,
    &CMachine::floorAreaSqm,
};
constexpr std::array<int, 6> rateIds { 1065, 1067, 1068, 1069, 1070, 1071 };

// Enter never presses a button of this dialog.
QPushButton* addButton(QWidget* parent, int id, const QString& text, int x, int y, int width)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QStringLiteral("button%1").arg(id));
    placeInDialogUnits(button, x, y, width, 14);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QString deleteQuestion()
{
    return QStringLiteral("Diesen Maschinendatensatz wirklich löschen ?");
}

} // namespace

CMachineDataDlg::CMachineDataDlg(CPlantData& plantData, QWidget* parent)
    : QDialog(parent)
    , plantData(plantData)
{
    setObjectName(QStringLiteral("machineDataDlg"));
    setWindowTitle(QStringLiteral("Kalkora 1.0 EURO: Maschinendaten"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(DialogUnits(font()).size(378, 269));

    createControls();
    widenForTexts(this);
    nameFieldsByLabels(this);
    installTips();
    EnterKeyFilter::install(this);

    // Only the name and the seven inputs are copied; the rates are computed when shown.
    for (std::int32_t i = 0; i < plantData.machines.count(); ++i) {
        const CMachine& original = *plantData.machines.at(i);
        auto copy = std::make_unique<CMachine>();
        copy->name = original.name;
        for (float CMachine::*member : inputMembers) {
            copy.get()->*member = original.*member;
        }
        workingCopy.add(std::move(copy));
    }
    refillList();
}

QLineEdit* CMachineDataDlg::field(int id) const
{
    if (id == 1016) {
        return nameField;
    }
    if (const auto* input = std::find(inputIds.begin(), inputIds.end(), id); input != inputIds.end()) {
        return inputEdits.at(static_cast<std::size_t>(input - inputIds.begin()));
    }
    if (const auto* rate = std::find(rateIds.begin(), rateIds.end(), id); rate != rateIds.end()) {
        return rateEdits.at(static_cast<std::size_t>(rate - rateIds.begin()));
    }
    return nullptr;
}

float CMachineDataDlg::displayedRate(float rate)
{
    return static_cast<float>(std::ceil(static_cast<double>(rate) * 100.0) / 100.0);
}

void CMachineDataDlg::createControls()
{
    // Created in tab order: Qt's focus chain follows the order of creation, and it reaches the
    // list only after OK and Abbrechen.
    auto* listGroup = new QGroupBox(QStringLiteral("Maschinenliste"), this);
    placeInDialogUnits(listGroup, 6, 6, 180, 180);
    newButton = addButton(this, 1014, QStringLiteral("Neue Maschine erstellen"), 30, 144, 130);
    deleteButton = addButton(this, 1015, QStringLiteral("Gewählte Maschine löschen"), 30, 164, 130);
    createMachineFields();
    okButton = addButton(this, 1001, QStringLiteral("OK"), 137, 246, 50);
    cancelButton = addButton(this, 1000, QStringLiteral("Abbrechen"), 190, 246, 50);

    machineListWidget = new QListWidget(this);
    machineListWidget->setObjectName(QStringLiteral("list1025"));
    machineListWidget->setSelectionMode(QAbstractItemView::SingleSelection);
    placeInDialogUnits(machineListWidget, 30, 24, 130, 110);
    createRateFields();

    connect(newButton, &QPushButton::clicked, this, &CMachineDataDlg::OnNewMachine);
    connect(deleteButton, &QPushButton::clicked, this, &CMachineDataDlg::OnDeleteMachine);
    connect(okButton, &QPushButton::clicked, this, &CMachineDataDlg::OnOK);
    connect(cancelButton, &QPushButton::clicked, this, &CMachineDataDlg::OnCancel);
    connect(machineListWidget, &QListWidget::itemSelectionChanged, this, &CMachineDataDlg::OnSelChange);
}

void CMachineDataDlg::createMachineFields()
{
    auto* machineGroup = new QGroupBox(QStringLiteral("Daten der gewählten Maschine"), this);
    placeInDialogUnits(machineGroup, 192, 6, 180, 181);
    auto* nameLabel = new QLabel(QStringLiteral("Bezeichnung"), this);
    nameLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    placeInDialogUnits(nameLabel, 207, 27, 45, 14);
    nameField = new QLineEdit(this);
    nameField->setObjectName(QStringLiteral("edit1016"));
    nameField->setReadOnly(true);
    nameField->setAlignment(Qt::AlignRight);
    placeInDialogUnits(nameField, 257, 27, 110, 14);

    const std::array<QString, inputCount> inputLabels {
        QStringLiteral("Anschaffungskosten [EUR]"),
        QStringLiteral("Nutzungsdauer [a]"),
        QStringLiteral("Installierte Leistung [kW]"),
        QStringLiteral("Nutzung o.g. Leistung [%]"),
        QStringLiteral("Werkzeugkosten [EUR/a]"),
        QStringLiteral("Wartung [EUR/a]"),
        QStringLiteral("Flächenbedarf [qm]"),
    };
    for (std::size_t i = 0; i < inputIds.size(); ++i) {
        inputEdits.at(i) = addInput(inputIds.at(i), inputLabels.at(i), 47 + 20 * static_cast<int>(i));
    }
}

void CMachineDataDlg::createRateFields()
{
    auto* fixedGroup = new QGroupBox(QStringLiteral("Fixer Maschinenstundensatz [EUR]"), this);
    placeInDialogUnits(fixedGroup, 6, 192, 180, 48);
    rateEdits.at(0) = addRate(1065, QStringLiteral("1 Schicht"), 18, 36, 18);
    rateEdits.at(1) = addRate(1067, QStringLiteral("2 Schichten"), 75, 42, 78);
    rateEdits.at(2) = addRate(1068, QStringLiteral("3 Schichten"), 135, 42, 138);
    auto* variableGroup = new QGroupBox(QStringLiteral("Variabler Maschinenstundensatz [EUR]"), this);
    placeInDialogUnits(variableGroup, 192, 192, 180, 48);
    rateEdits.at(3) = addRate(1069, QStringLiteral("1 Schicht"), 204, 36, 204);
    rateEdits.at(4) = addRate(1070, QStringLiteral("2 Schichten"), 261, 42, 264);
    rateEdits.at(5) = addRate(1071, QStringLiteral("3 Schichten"), 321, 42, 324);
}

QLineEdit* CMachineDataDlg::addInput(int id, const QString& label, int y)
{
    auto* caption = new QLabel(label, this);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    placeInDialogUnits(caption, 207, y, 105, 14);
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("edit%1").arg(id));
    edit->setAlignment(Qt::AlignRight);
    placeInDialogUnits(edit, 327, y, 40, 14);
    edit->installEventFilter(this);
    return edit;
}

QLineEdit* CMachineDataDlg::addRate(int id, const QString& label, int labelX, int labelWidth, int fieldX)
{
    auto* caption = new QLabel(label, this);
    placeInDialogUnits(caption, labelX, 204, labelWidth, 8);
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("edit%1").arg(id));
    edit->setReadOnly(true);
    edit->setAlignment(Qt::AlignCenter);
    placeInDialogUnits(edit, fieldX, 216, 36, 12);
    return edit;
}

void CMachineDataDlg::installTips()
{
    setTip(field(1019), QStringLiteral("Jährliche Ausgaben für Maschinenwerkzeuge und Vorrichtungen"));
    setTip(field(1020), QStringLiteral("Jährliche Ausgaben für Wartung (z.B. Überholung)"));
    setTip(field(1017), QStringLiteral("Nutzungsdauer der Maschine"));
    setTip(field(1022), QStringLiteral("Tatsächliche Nutzung der installierten el. Leistung"));
    setTip(field(1023), QStringLiteral("Installierte Leistung lt. Typenschild + Hilfsaggregate"));
    setTip(field(1018),
        QStringLiteral("Ausgaben für die Maschine bei Neuanschaffung (bereits abgeschriebene Maschinen: EUR 0)"));
    setTip(field(1021), QStringLiteral("Belegte Fläche incl. Bereitstellungsflächen etc."));
    setTip(nameField,
        QStringLiteral("Achtung: Die Maschine wird über diesen Namen identifiziert. Änderung nachher NICHT mehr "
                       "möglich!"));
    setTip(machineListWidget, QStringLiteral("Liste der vorhandenen Maschinen"));
}

int CMachineDataDlg::selectedIndex() const
{
    const QList<QListWidgetItem*> selected = machineListWidget->selectedItems();
    return selected.isEmpty() ? -1 : machineListWidget->row(selected.constFirst());
}

void CMachineDataDlg::refillList()
{
    {
        const QSignalBlocker blocker(machineListWidget);
        machineListWidget->clear();
        for (std::int32_t i = 0; i < workingCopy.count(); ++i) {
            machineListWidget->addItem(fromCp1252(workingCopy.at(i)->name));
        }
        machineListWidget->clearSelection();
        machineListWidget->setCurrentRow(-1);
    }
    OnSelChange();
}

void CMachineDataDlg::OnSelChange()
{
    const int index = selectedIndex();
    for (QLineEdit* edit : inputEdits) {
        edit->setReadOnly(index < 0);
    }
    if (index < 0) {
        showNoSelection();
    } else {
        showMachine(*workingCopy.at(index));
    }
}

void CMachineDataDlg::showNoSelection()
{
    fieldName.clear();
    fieldInputs.fill(0);
    fieldRates.fill(0);
    showFieldValues();
    nameField->setText(QStringLiteral("keine Auswahl"));
}

void CMachineDataDlg::showMachine(CMachine& machine)
{
    fieldName = machine.name;
    for (std::size_t i = 0; i < inputMembers.size(); ++i) {
        fieldInputs.at(i) = machine.*inputMembers.at(i);
    }
    plantData.computeHoursPerYear();
    computeMachineRates(plantData, machine);
    for (std::size_t shift = 0; shift < 3; ++shift) {
        fieldRates.at(shift) = displayedRate(machine.fixedRate[shift]);
        fieldRates.at(3 + shift) = displayedRate(machine.variableRate[shift]);
    }
    showFieldValues();
}

void CMachineDataDlg::showFieldValues()
{
    nameField->setText(fromCp1252(fieldName));
    for (std::size_t i = 0; i < inputEdits.size(); ++i) {
        showFloat(inputEdits.at(i), fieldInputs.at(i));
    }
    for (std::size_t i = 0; i < rateEdits.size(); ++i) {
        showFloat(rateEdits.at(i), fieldRates.at(i));
    }
}

QLineEdit* CMachineDataDlg::readInputFields()
{
    // Like reading a whole form: the fields before an unreadable one are taken, that one and
    // the ones after it keep their previous values.
    for (std::size_t i = 0; i < inputEdits.size(); ++i) {
        if (!readInto(inputEdits.at(i), fieldInputs.at(i))) {
            return inputEdits.at(i);
        }
    }
    return nullptr;
}

bool CMachineDataDlg::OnLeaveInputField()
{
    takingOver = true;
    QLineEdit* unreadable = readInputFields();
    const int index = selectedIndex();
    if (index >= 0) {
        CMachine& machine = *workingCopy.at(index);
        machine.name = fieldName;
        for (std::size_t i = 0; i < inputMembers.size(); ++i) {
            machine.*inputMembers.at(i) = fieldInputs.at(i);
        }
        showMachine(machine);
    }
    if (unreadable) {
        // The field shows the stored value again, selected for correction. The focus change
        // that led here is still under way, so the selection is made once it is done.
        unreadable->setFocus(Qt::OtherFocusReason);
        QTimer::singleShot(0, unreadable, [unreadable] {
            unreadable->setFocus(Qt::OtherFocusReason);
            unreadable->selectAll();
        });
    }
    takingOver = false;
    return unreadable == nullptr;
}

bool CMachineDataDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && !closing && !takingOver
        && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        OnLeaveInputField();
    }
    return QDialog::eventFilter(watched, event);
}

bool CMachineDataDlg::nameInUse(const std::string& name) const
{
    for (std::int32_t i = 0; i < workingCopy.count(); ++i) {
        if (workingCopy.at(i)->name == name) {
            return true;
        }
    }
    return false;
}

void CMachineDataDlg::OnNewMachine()
{
    CNewMachineDlg nameDialog(this);
    QString name = nameDialog.askName();
    while (!name.isEmpty() && nameInUse(toCp1252(name))) {
        name = nameDialog.askName();
    }
    if (name.isEmpty()) {
        return;
    }
    auto machine = std::make_unique<CMachine>();
    machine->name = toCp1252(name);
    workingCopy.add(std::move(machine));
    refillList();
}

void CMachineDataDlg::OnDeleteMachine()
{
    const int index = selectedIndex();
    if (index < 0) {
        return;
    }
    if (!uiServices().askYesNo(this, deleteQuestion(), MessageIcon::Exclamation)) {
        return;
    }
    workingCopy.removeAt(index);
    refillList();
}

void CMachineDataDlg::OnOK()
{
    // A value that cannot be read keeps the dialog open for correction rather than being
    // silently replaced by the old one on the way out.
    if (!OnLeaveInputField()) {
        return;
    }
    closing = true;
    plantData.machines.clear();
    for (std::int32_t i = 0; i < workingCopy.count(); ++i) {
        CMachine& machine = *workingCopy.at(i);
        computeMachineRates(plantData, machine);
        plantData.machines.add(std::make_unique<CMachine>(machine));
    }
    workingCopy.clear();
    accept();
}

void CMachineDataDlg::OnCancel()
{
    reject();
}

void CMachineDataDlg::reject()
{
    closing = true;
    workingCopy.clear();
    QDialog::reject();
}

} // namespace kalkora::ui
