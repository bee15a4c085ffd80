#include "ui/masterdata/PlantDataDlg.h"

#include "ui/common/AccessibleNames.h"
#include "ui/common/DialogUnits.h"
#include "ui/common/EnterKeyFilter.h"
#include "ui/common/NumberField.h"
#include "ui/common/Tooltips.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <variant>

namespace kalkora::ui {

namespace {

// A field and the plant value it edits; a whole-number value shows and reads as one.
struct PlantField {
    int id;
    std::variant<float CPlantData::*, std::int32_t CPlantData::*> member;
};

// In the order OK reads them: the first unreadable field stops the reading.
constexpr std::array<PlantField, 11> plantFields { {
    { 1004, &CPlantData::hoursPerShift },
    { 1005, &CPlantData::workDaysPerYear },
    { 1003, &CPlantData::energyPricePerKwh },
    { 1002, &CPlantData::rentPerSqmYear },
    { 1007, &CPlantData::operatorFixedRate12 },
    { 1008, &CPlantData::operatorVarRate12 },
    { 1009, &CPlantData::operatorFixedRate3 },
    { 1010, &CPlantData::operatorVarRate3 },
    { 1006, &CPlantData::interestRatePct },
    { 1012, &CPlantData::overheadMaterialPct },
    { 1011, &CPlantData::overheadExternalPct },
} };

} // namespace

CPlantDataDlg::CPlantDataDlg(CPlantData& plantData, QWidget* parent)
    : QDialog(parent)
    , plantData(plantData)
{
    setObjectName(QStringLiteral("plantDataDlg"));
    setWindowTitle(QStringLiteral("Kalkora 1.0 EURO: Werksbezogene Daten"));
    // A caption bar without close box or system menu.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(DialogUnits(font()).size(370, 226));

    createControls();
    widenForTexts(this);
    nameFieldsByLabels(this);
    installTips();
    fillFields();
    EnterKeyFilter::install(this);
    field(1002)->setFocus();
}

QLineEdit* CPlantDataDlg::field(int id) const
{
    return edits.at(static_cast<std::size_t>(id - firstFieldId));
}

void CPlantDataDlg::createControls()
{
    // Created in tab order: Qt's focus chain follows the order of creation.
    auto* general = new QGroupBox(QStringLiteral("Allgemeines"), this);
    placeInDialogUnits(general, 5, 20, 175, 120);
    addField(1002, QStringLiteral("Mietkosten [EUR/qm/Jahr]"), 25, 95, 125, 35);
    addField(1003, QStringLiteral("Energiepreis [EUR/kWh]"), 25, 95, 125, 55);
    addField(1004, QStringLiteral("Arbeitsstunden [h/Schicht]"), 25, 95, 125, 75);
    addField(1005, QStringLiteral("Arbeitstage [Tage/Jahr]"), 25, 95, 125, 95);
    addField(1006, QStringLiteral("Kalkulatorischer Zinssatz [%]"), 25, 95, 125, 115);

    auto* operator12 = new QGroupBox(QStringLiteral("Bedienersätze bei 1 und 2 Schichten"), this);
    placeInDialogUnits(operator12, 190, 20, 175, 55);
    addField(1007, QStringLiteral("Fixer Stundensatz [EUR/h]"), 210, 93, 310, 35);
    addField(1008, QStringLiteral("Variabler Stundensatz [EUR/h]"), 210, 98, 310, 55);

    auto* operator3 = new QGroupBox(QStringLiteral("Bedienersätze bei 3 Schichten"), this);
    placeInDialogUnits(operator3, 190, 80, 175, 60);
    addField(1009, QStringLiteral("Fixer Stundensatz [EUR/h]"), 210, 94, 310, 95);
    addField(1010, QStringLiteral("Variabler Stundensatz [EUR/h]"), 210, 98, 310, 116);

    auto* overheads = new QGroupBox(QStringLiteral("Gemeinkostenzuschläge (Vollkosten)"), this);
    placeInDialogUnits(overheads, 5, 150, 360, 45);
    addField(1011, QStringLiteral("Externer Arbeitsgang [%]"), 25, 95, 125, 170);
    addField(1012, QStringLiteral("Materialeinkauf [%]"), 210, 95, 310, 170);

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("button1001"));
    placeInDialogUnits(okButton, 260, 205, 50, 14);
    cancelButton = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancelButton->setObjectName(QStringLiteral("button1000"));
    placeInDialogUnits(cancelButton, 315, 205, 50, 14);
    for (QPushButton* button : { okButton, cancelButton }) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(okButton, &QPushButton::clicked, this, &CPlantDataDlg::OnOK);
    connect(cancelButton, &QPushButton::clicked, this, &CPlantDataDlg::OnCancel);
}

void CPlantDataDlg::addField(int id, const QString& label, int labelX, int labelWidth, int fieldX, int y)
{
    auto* caption = new QLabel(label, this);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    placeInDialogUnits(caption, labelX, y, labelWidth, 14);

    auto* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("edit%1").arg(id));
    edit->setAlignment(Qt::AlignRight);
    placeInDialogUnits(edit, fieldX, y, 40, 14);
    edits.at(static_cast<std::size_t>(id - firstFieldId)) = edit;
}

void CPlantDataDlg::installTips()
{
    setTip(field(1011), QStringLiteral("Gemeinkostenzuschlag ext. AG (nur für Vollkostenrechnung verw.)"));
    setTip(field(1012), QStringLiteral("Gemeinkostenzuschlag Material (nur für Vollkostenrechnung verw.)"));
    setTip(field(1006), QStringLiteral("Kalkulatorischer Zinssatz für Abschreibungen"));
    setTip(field(1010),
        QStringLiteral("Variabler Kostenanteil / Mitarbeiterstundensatz bei 3 Schichten (gemittelter Stundensatz "
                       "für alle Schichten)"));
    setTip(field(1008),
        QStringLiteral("Variabler Kostenanteil / Mitarbeiterstundensatz bei 2 Schichten (gemittelter Stundensatz "
                       "für alle Schichten)"));
    setTip(field(1009),
        QStringLiteral("Fixer Kostenanteil / Mitarbeiterstundensatz bei 3 Schichten (gemittelter Stundensatz für "
                       "alle Schichten)"));
    setTip(field(1007),
        QStringLiteral("Fixer Kostenanteil / Mitarbeiterstundensatz bei 2 Schichten (gemittelter Stundensatz für "
                       "alle Schichten)"));
    setTip(field(1002), QStringLiteral("Mietkosten EUR/qm/Jahr"));
    setTip(field(1003), QStringLiteral("Kosten für eine KWh"));
    setTip(field(1005), QStringLiteral("Arbeitstage pro Jahr (i.A. 220...240)"));
    setTip(field(1004), QStringLiteral("Stunden pro Schicht (i.A. 8)"));
}

void CPlantDataDlg::fillFields()
{
    for (const PlantField& plantField : plantFields) {
        std::visit([&](auto member) { showNumber(field(plantField.id), plantData.*member); }, plantField.member);
    }
}

void CPlantDataDlg::OnOK()
{
    // Read into a scratch copy: the plant data changes only once every field could be read.
    CPlantData read;
    for (const PlantField& plantField : plantFields) {
        if (!std::visit([&](auto member) { return readInto(field(plantField.id), read.*member); }, plantField.member)) {
            return;
        }
    }
    for (const PlantField& plantField : plantFields) {
        std::visit([&](auto member) { plantData.*member = read.*member; }, plantField.member);
    }
    accept();
}

void CPlantDataDlg::OnCancel()
{
    reject();
}

} // namespace kalkora::ui
