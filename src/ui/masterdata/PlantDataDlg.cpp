#include "ui/masterdata/PlantDataDlg.h"

#include "text/RuntimeLocale.h"
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
#include <optional>

namespace kalkora::ui {

namespace {

// Reads a float field into `target`; false (after the field's warning) when it is unreadable.
bool readInto(QLineEdit* field, float& target)
{
    const std::optional<float> value = readFloat(field);
    if (value) {
        target = *value;
    }
    return value.has_value();
}

bool readInto(QLineEdit* field, std::int32_t& target)
{
    const std::optional<std::int32_t> value = readInt(field);
    if (value) {
        target = *value;
    }
    return value.has_value();
}

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

    text::setRuntimeLocale(text::RuntimeLocale::German);
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

    button1001 = new QPushButton(QStringLiteral("OK"), this);
    button1001->setObjectName(QStringLiteral("button1001"));
    placeInDialogUnits(button1001, 260, 205, 50, 14);
    button1000 = new QPushButton(QStringLiteral("Abbrechen"), this);
    button1000->setObjectName(QStringLiteral("button1000"));
    placeInDialogUnits(button1000, 315, 205, 50, 14);
    for (QPushButton* button : { button1001, button1000 }) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(button1001, &QPushButton::clicked, this, &CPlantDataDlg::OnOK);
    connect(button1000, &QPushButton::clicked, this, &CPlantDataDlg::OnCancel);
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
    rentPerSqmYear = plantData.rentPerSqmYear;
    energyPricePerKwh = plantData.energyPricePerKwh;
    hoursPerShift = plantData.hoursPerShift;
    workDaysPerYear = plantData.workDaysPerYear;
    interestRatePct = plantData.interestRatePct;
    operatorFixedRate12 = plantData.operatorFixedRate12;
    operatorVarRate12 = plantData.operatorVarRate12;
    operatorFixedRate3 = plantData.operatorFixedRate3;
    operatorVarRate3 = plantData.operatorVarRate3;
    overheadExternalPct = plantData.overheadExternalPct;
    overheadMaterialPct = plantData.overheadMaterialPct;

    showFloat(field(1002), rentPerSqmYear);
    showFloat(field(1003), energyPricePerKwh);
    showFloat(field(1004), hoursPerShift);
    showInt(field(1005), workDaysPerYear);
    showFloat(field(1006), interestRatePct);
    showFloat(field(1007), operatorFixedRate12);
    showFloat(field(1008), operatorVarRate12);
    showFloat(field(1009), operatorFixedRate3);
    showFloat(field(1010), operatorVarRate3);
    showFloat(field(1011), overheadExternalPct);
    showFloat(field(1012), overheadMaterialPct);
}

bool CPlantDataDlg::readFields()
{
    // The order in which the fields are checked; the first unreadable one stops the reading.
    return readInto(field(1004), hoursPerShift) && readInto(field(1005), workDaysPerYear)
        && readInto(field(1003), energyPricePerKwh) && readInto(field(1002), rentPerSqmYear)
        && readInto(field(1007), operatorFixedRate12) && readInto(field(1008), operatorVarRate12)
        && readInto(field(1009), operatorFixedRate3) && readInto(field(1010), operatorVarRate3)
        && readInto(field(1006), interestRatePct) && readInto(field(1012), overheadMaterialPct)
        && readInto(field(1011), overheadExternalPct);
}

void CPlantDataDlg::OnOK()
{
    if (!readFields()) {
        return;
    }
    plantData.rentPerSqmYear = rentPerSqmYear;
    plantData.energyPricePerKwh = energyPricePerKwh;
    plantData.hoursPerShift = hoursPerShift;
    plantData.workDaysPerYear = workDaysPerYear;
    plantData.interestRatePct = interestRatePct;
    plantData.operatorFixedRate12 = operatorFixedRate12;
    plantData.operatorVarRate12 = operatorVarRate12;
    plantData.operatorFixedRate3 = operatorFixedRate3;
    plantData.operatorVarRate3 = operatorVarRate3;
    plantData.overheadExternalPct = overheadExternalPct;
    plantData.overheadMaterialPct = overheadMaterialPct;
    accept();
}

void CPlantDataDlg::OnCancel()
{
    reject();
}

} // namespace kalkora::ui
