#include "ui/main/OperationDlg.h"

#include "ui/common/AccessibleNames.h"
#include "ui/common/DialogUnits.h"
#include "ui/common/EnterKeyFilter.h"
#include "ui/common/NumberField.h"
#include "ui/common/QtText.h"
#include "ui/common/Tooltips.h"
#include "ui/common/UiServices.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <limits>

namespace kalkora::ui {

namespace {

QLabel* addLabel(QWidget* parent, const QString& text, int x, int y, int width, int height)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    placeInDialogUnits(label, x, y, width, height);
    return label;
}

QLineEdit* addEdit(QWidget* parent, int id, int x, int y, int width, int height)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("edit%1").arg(id));
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    placeInDialogUnits(edit, x, y, width, height);
    return edit;
}

// The radio buttons are no pair for the platform: the dialog switches them itself.
QRadioButton* addRadio(QWidget* parent, int id, const QString& text, int x, int y, int width, int height)
{
    auto* radio = new QRadioButton(text, parent);
    radio->setObjectName(QStringLiteral("radio%1").arg(id));
    radio->setAutoExclusive(false);
    radio->setFocusPolicy(Qt::ClickFocus);
    placeInDialogUnits(radio, x, y, width, height);
    return radio;
}

QComboBox* addCombo(QWidget* parent, int id, int x, int y, int width)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QStringLiteral("combo%1").arg(id));
    combo->setEditable(false);
    placeInDialogUnits(combo, x, y, width, 14);
    combo->resize(combo->width(), combo->sizeHint().height());
    return combo;
}

QPushButton* addButton(QWidget* parent, int id, const QString& text, int x, int y)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QStringLiteral("button%1").arg(id));
    button->setAutoDefault(false);
    placeInDialogUnits(button, x, y, 50, 14);
    return button;
}

} // namespace

// The values in the order OK reads them.
struct COperationDlg::Values {
    float operatorTimeMin = 0;
    std::string name;
    float externalCostPerPiece = 0;
    float materialWeightKg = 0;
    std::int32_t lotSize = 0;
    float machineTimeMin = 0;
    float machineUtilPct = 0;
    float materialUtilPct = 0;
    float materialPricePerKg = 0;
    float setupTimeMin = 0;
    std::string machineName;
    bool machineSelected = false;
    std::int32_t shiftMode = -1;
    std::int32_t externalLotSize = 0;
};

COperationDlg::COperationDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("operationDlg"));
    setWindowTitle(QStringLiteral("Kalkora 1.0 EURO: Arbeitsgang"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    createControls();
    setTips();
    widenForTexts(this);
    nameFieldsByLabels(this);
    EnterKeyFilter::install(this);
}

void COperationDlg::createControls()
{
    const DialogUnits units(font());
    setFixedSize(units.size(372, 250));

    addLabel(this, QStringLiteral("Bezeichnung Arbeitsgang"), 90, 10, 82, 13);
    nameField = addEdit(this, 1047, 178, 10, 100, 15);
    nameField->setMaxLength(std::numeric_limits<int>::max());
    internalButton = addRadio(this, 1033, QStringLiteral("Interner Arbeitsgang"), 5, 30, 79, 10);
    // The frames have no title; each names its fields after the radio button above it.
    auto* internalGroup = new QGroupBox(this);
    internalGroup->setAccessibleName(internalButton->text());
    placeInDialogUnits(internalGroup, 5, 40, 360, 130);
    addLabel(this, QStringLiteral("Zugeordnete Maschine"), 15, 50, 74, 13);
    addLabel(this, QStringLiteral("Losgröße [Stück/Auftrag]"), 15, 70, 100, 15);
    lotSizeField = addEdit(this, 1036, 120, 70, 45, 15);
    addLabel(this, QStringLiteral("Rüstzeit [min/Los]"), 15, 90, 100, 15);
    setupTimeField = addEdit(this, 1037, 120, 90, 45, 15);
    addLabel(this, QStringLiteral("Maschinenzeit [min/Stck.]"), 15, 110, 100, 15);
    machineTimeField = addEdit(this, 1038, 120, 110, 45, 15);
    addLabel(this, QStringLiteral("Bedienerzeit [min/Stck.]"), 15, 130, 100, 15);
    operatorTimeField = addEdit(this, 1043, 120, 130, 45, 15);
    addLabel(this, QStringLiteral("Nutzungsgrad der Maschine [%]"), 15, 150, 100, 15);
    machineUtilField = addEdit(this, 1041, 120, 150, 45, 15);
    addLabel(this, QStringLiteral("Gewicht Rohmaterial [kg/Stck]\n(Bei Folgearbeitsgängen  \"0\")"), 185, 74, 125, 17);
    materialWeightField = addEdit(this, 1042, 310, 75, 45, 14);
    addLabel(this, QStringLiteral("Preis Rohmaterial [EUR/kg]\n(Bei Folgearbeitsgängen \"0\" )"), 185, 98, 125, 18);
    materialPriceField = addEdit(this, 1039, 310, 100, 45, 15);
    addLabel(this, QStringLiteral("Nutzungsgrad des Materials [%]"), 185, 130, 125, 15);
    materialUtilField = addEdit(this, 1046, 310, 130, 45, 15);
    addLabel(this, QStringLiteral("Schichtbetrieb für diesen Auftrag [1..3]"), 185, 149, 125, 15);
    externalButton = addRadio(this, 1034, QStringLiteral("Externer Arbeitsgang"), 5, 180, 81, 10);
    auto* externalGroup = new QGroupBox(this);
    externalGroup->setAccessibleName(externalButton->text());
    placeInDialogUnits(externalGroup, 5, 190, 360, 30);
    addLabel(this, QStringLiteral("Bearbeitungskosten [EUR/Teil]"), 15, 200, 100, 13);
    externalCostField = addEdit(this, 1045, 120, 200, 45, 14);
    okButton = addButton(this, 1, QStringLiteral("OK"), 260, 230);
    okButton->setDefault(true);
    cancelButton = addButton(this, 2, QStringLiteral("Abbrechen"), 315, 230);
    machineBox = addCombo(this, 1049, 120, 50, 170);
    shiftBox = addCombo(this, 1051, 310, 150, 45);
    addLabel(this, QStringLiteral("Losgröße [Stück/Auftrag]"), 185, 200, 100, 13);
    externalLotSizeField = addEdit(this, 1048, 310, 200, 45, 14);

    // The group boxes only frame; the controls they frame must lie above them.
    for (QGroupBox* group : findChildren<QGroupBox*>()) {
        group->lower();
    }

    QWidget* const tabOrder[] = { nameField, lotSizeField, setupTimeField, machineTimeField, operatorTimeField,
        machineUtilField, materialWeightField, materialPriceField, materialUtilField, externalCostField, okButton,
        cancelButton, machineBox, shiftBox, externalLotSizeField };
    for (std::size_t i = 1; i < std::size(tabOrder); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }

    connect(okButton, &QPushButton::clicked, this, &COperationDlg::OnConfirm);
    connect(cancelButton, &QPushButton::clicked, this, &COperationDlg::OnCancelDialog);
    connect(internalButton, &QRadioButton::clicked, this, &COperationDlg::OnInternalClicked);
    connect(externalButton, &QRadioButton::clicked, this, &COperationDlg::OnExternalClicked);
}

void COperationDlg::setTips()
{
    setTip(externalLotSizeField,
        QStringLiteral("Anzahl der Teile, die durch einen externen Arbeitsgang bearbeitet werden."));
    setTip(internalButton, QStringLiteral("Auswählen, wenn es sich um einen INTERNEN Arbeitsgang handelt"));
    setTip(externalButton, QStringLiteral("Auswählen, wenn es sich um einen EXTERNEN Arbeitsgang handelt"));
    setTip(setupTimeField, QStringLiteral("Zeit, die für das Rüsten der Maschine benötigt wird"));
    setTip(materialPriceField, QStringLiteral("Materialpreis in EUR/kg (Rohmaterial)"));
    setTip(materialUtilField,
        QStringLiteral("Nutzungsgrad des Materials (Beispiel: Sägeverschnitt, der nicht im Grundgewicht "
                       "angegeben ist)"));
    setTip(machineUtilField,
        QStringLiteral("Nutzungsgrad der Maschine (Ideallaufzeit,beeinträchtigt z.B. durch Material "
                       "nachfüllen oder Werkzeugwechsel)"));
    setTip(machineTimeField, QStringLiteral("Bearbeitungszeit der Maschine je Teil"));
    setTip(lotSizeField,
        QStringLiteral("Anzahl der Teile, die bei diesem Arbeitsgang bearbeitet werden (kann u.U. von der "
                       "Losgröße des Gesamtauftrages abweichen; sonst diese eingeben)."));
    setTip(materialWeightField, QStringLiteral("Gewicht des Rohmaterials je Stück"));
    setTip(externalCostField,
        QStringLiteral("Preis für die Bearbeitung eines Teils (ggfs. Rüstkosten manuell einrechnen)."));
    setTip(operatorTimeField,
        QStringLiteral("Bearbeitungszeit des Mitarbeiters je Teil (bei Zweimaschinenbedienung ca. 0.5 * "
                       "Maschinenzeit"));
    setTip(shiftBox,
        QStringLiteral("Schichtbetrieb, in dem gefertigt wird (nicht: Anzahl der Schichten für diesen "
                       "Auftrag !)"));
    setTip(machineBox, QStringLiteral("Maschine muß vorher in den Stammdaten angelegt werden"));
    setTip(nameField, QStringLiteral("Bezeichnung frei wählbar"));
}

COperation* COperationDlg::EditOperation(COperation& operation, const CPlantData& plantData)
{
    if (plantData.machines.count() == 0) {
        uiServices().showMessage(parentWidget(),
            QStringLiteral("Es sind keine Maschinendaten angelegt. Evtl. müssen "
                           "Sie die zuerst die Stammdaten laden !?"));
    }
    prepare(operation, plantData);
    const bool confirmed = exec() == QDialog::Accepted;
    return confirmed ? &operation : nullptr;
}

void COperationDlg::prepare(COperation& operation, const CPlantData& plantData)
{
    this->operation = &operation;

    machineBox->clear();
    for (std::int32_t i = 0; i < plantData.machines.count(); ++i) {
        machineBox->addItem(fromCp1252(plantData.machines.at(i)->name));
    }
    shiftBox->clear();
    shiftBox->addItems({ QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3") });
    if (operation.isInternal == 1) {
        SetInternalMode();
    } else {
        SetExternalMode();
    }
    showValues(operation);
    selectMachine(operation.machineName);
    nameField->setFocus(Qt::OtherFocusReason);
}

void COperationDlg::showValues(const COperation& operation)
{
    nameField->setText(fromCp1252(operation.name));
    showFloat(externalCostField, operation.externalCostPerPiece);
    showInt(externalLotSizeField, operation.externalLotSize);
    showFloat(setupTimeField, operation.setupTimeMin);
    showInt(lotSizeField, operation.lotSize);
    // A shift mode outside 0..2 (only a damaged file holds one) selects no entry.
    shiftBox->setCurrentIndex(operation.shiftMode >= 0 && operation.shiftMode <= 2 ? operation.shiftMode : -1);
    showFloat(machineTimeField, operation.machineTimeMin);
    showFloat(operatorTimeField, operation.operatorTimeMin);
    showFloat(materialUtilField, operation.materialUtilPct);
    showFloat(materialWeightField, operation.materialWeightKg);
    showFloat(materialPriceField, operation.materialPricePerKg);
    showFloat(machineUtilField, operation.machineUtilPct);
}

void COperationDlg::selectMachine(const std::string& machineName)
{
    machineBox->setCurrentIndex(-1);
    if (machineName.empty()) {
        return;
    }
    const QString prefix = fromCp1252(machineName);
    for (int i = 0; i < machineBox->count(); ++i) {
        if (machineBox->itemText(i).startsWith(prefix, Qt::CaseInsensitive)) {
            machineBox->setCurrentIndex(i);
            return;
        }
    }
}

void COperationDlg::enableInternalFields(bool internal)
{
    internalButton->setChecked(internal);
    externalButton->setChecked(!internal);
    for (QWidget* control :
        std::initializer_list<QWidget*> { shiftBox, machineBox, setupTimeField, materialPriceField, materialUtilField,
            machineUtilField, machineTimeField, lotSizeField, materialWeightField, operatorTimeField }) {
        control->setEnabled(internal);
    }
    externalCostField->setEnabled(!internal);
    externalLotSizeField->setEnabled(!internal);
}

void COperationDlg::SetInternalMode()
{
    enableInternalFields(true);
}

void COperationDlg::SetExternalMode()
{
    enableInternalFields(false);
}

void COperationDlg::OnInternalClicked()
{
    SetInternalMode();
}

void COperationDlg::OnExternalClicked()
{
    SetExternalMode();
}

bool COperationDlg::readValues(Values& values)
{
    if (!readInto(operatorTimeField, values.operatorTimeMin)) {
        return false;
    }
    values.name = toCp1252(nameField->text());
    if (!readInto(externalCostField, values.externalCostPerPiece)
        || !readInto(materialWeightField, values.materialWeightKg) || !readInto(lotSizeField, values.lotSize)
        || !readInto(machineTimeField, values.machineTimeMin) || !readInto(machineUtilField, values.machineUtilPct)
        || !readInto(materialUtilField, values.materialUtilPct)
        || !readInto(materialPriceField, values.materialPricePerKg) || !readInto(setupTimeField, values.setupTimeMin)) {
        return false;
    }
    values.machineSelected = machineBox->currentIndex() >= 0;
    values.machineName = values.machineSelected ? toCp1252(machineBox->currentText()) : std::string();
    values.shiftMode = shiftBox->currentIndex();
    return readInto(externalLotSizeField, values.externalLotSize);
}

void COperationDlg::writeValues(const Values& values)
{
    COperation& target = *operation;
    target.name = values.name;
    if (internalButton->isChecked()) {
        target.isInternal = 1;
        target.machineName = values.machineName;
        target.setupTimeMin = values.setupTimeMin;
        target.lotSize = values.lotSize;
        target.shiftMode = values.shiftMode;
        target.machineTimeMin = values.machineTimeMin;
        target.operatorTimeMin = values.operatorTimeMin;
        target.materialUtilPct = values.materialUtilPct;
        target.materialWeightKg = values.materialWeightKg;
        target.materialPricePerKg = values.materialPricePerKg;
        target.machineUtilPct = values.machineUtilPct;
        target.externalCostPerPiece = 0;
        return;
    }
    target.isInternal = 0;
    target.externalCostPerPiece = values.externalCostPerPiece;
    target.externalLotSize = values.externalLotSize;
    target.machineName = "EXTERN";
    target.setupTimeMin = 0;
    target.lotSize = 0;
    target.shiftMode = 0;
    target.machineTimeMin = 0;
    target.operatorTimeMin = 0;
    target.materialUtilPct = 0;
    target.materialWeightKg = 0;
    target.materialPricePerKg = 0;
    target.machineUtilPct = 0;
}

void COperationDlg::OnConfirm()
{
    Values values;
    if (!operation || !readValues(values)) {
        return;
    }
    if (internalButton->isChecked() && !values.machineSelected) {
        uiServices().showMessage(this, QStringLiteral("Keine Maschine gewählt !"));
        return;
    }
    // The costing indexes the machine's rates by the shift: an internal operation needs one.
    if (internalButton->isChecked() && values.shiftMode < 0) {
        uiServices().showMessage(this, QStringLiteral("Kein Schichtbetrieb gewählt !"));
        return;
    }
    // Tab from the last field goes to OK, so a lot the user meant to type may be missing.
    QLineEdit* lotField = internalButton->isChecked() ? lotSizeField : externalLotSizeField;
    const std::int32_t lot = internalButton->isChecked() ? values.lotSize : values.externalLotSize;
    if (lot == 0
        && !uiServices().askYesNo(
            this, QStringLiteral("Losgröße 0: der Arbeitsgang geht nicht in die Kosten ein. Trotzdem übernehmen?"))) {
        focusForCorrection(lotField);
        return;
    }
    writeValues(values);
    accept();
}

void COperationDlg::OnCancelDialog()
{
    operation = nullptr;
    QDialog::reject();
}

void COperationDlg::reject()
{
    OnCancelDialog();
}

} // namespace kalkora::ui
