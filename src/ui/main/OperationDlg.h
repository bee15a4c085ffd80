#pragma once

#include "model/COrder.h"
#include "model/CPlantData.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kalkora::ui {

// The modal dialog in which one operation is created or edited, as internal (on a machine of
// the master data) or external (bought in). The operation changes only when OK succeeds.
//
// Object names for tests are the control ids: "edit1047" name, "combo1049" machine,
// "combo1051" shift, "edit1036" lot size, "edit1037" setup time, "edit1038" machine time,
// "edit1043" operator time, "edit1041" machine utilisation, "edit1042" material weight,
// "edit1039" material price, "edit1046" material utilisation, "edit1045" external cost,
// "edit1048" external lot size, "radio1033" internal, "radio1034" external, "button1" OK,
// "button2" Abbrechen.
class COperationDlg : public QDialog {
    Q_OBJECT

public:
    explicit COperationDlg(QWidget* parent = nullptr);

    // Runs the dialog for `operation`; returns it when confirmed, null when cancelled.
    COperation* EditOperation(COperation& operation, const CPlantData& plantData);

    // The dialog's initialisation for `operation`, without running it (EditOperation calls it).
    void prepare(COperation& operation, const CPlantData& plantData);

    // Escape and the close box cancel like "Abbrechen".
    void reject() override;

public slots:
    void OnConfirm();
    void OnCancelDialog();
    void OnInternalClicked();
    void OnExternalClicked();

private:
    struct Values;

    void createControls();
    void setTips();
    void SetInternalMode();
    void SetExternalMode();
    void enableInternalFields(bool internal);
    void selectMachine(const std::string& machineName);
    void showValues(const COperation& operation);
    bool readValues(Values& values);
    void writeValues(const Values& values);

    COperation* operation = nullptr;

    QLineEdit* nameField = nullptr;
    QRadioButton* internalButton = nullptr;
    QLineEdit* lotSizeField = nullptr;
    QLineEdit* setupTimeField = nullptr;
    QLineEdit* machineTimeField = nullptr;
    QLineEdit* operatorTimeField = nullptr;
    QLineEdit* machineUtilField = nullptr;
    QLineEdit* materialWeightField = nullptr;
    QLineEdit* materialPriceField = nullptr;
    QLineEdit* materialUtilField = nullptr;
    QRadioButton* externalButton = nullptr;
    QLineEdit* externalCostField = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QComboBox* machineBox = nullptr;
    QComboBox* shiftBox = nullptr;
    QLineEdit* externalLotSizeField = nullptr;
};

} // namespace kalkora::ui
