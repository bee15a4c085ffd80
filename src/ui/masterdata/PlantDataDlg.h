#pragma once

#include "model/CPlantData.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QPushButton;

namespace kalkora::ui {

// The modal dialog of the plant data. It fills its fields once when it opens and copies them
// into the plant data only on "OK", after every field could be read; "Abbrechen" and Escape
// leave the plant data untouched. Enter never confirms. The caller recomputes the hours per
// year afterwards, however the dialog was closed.
//
// Object names for tests: the edits are named after their ids ("edit1002" .. "edit1012"), the
// buttons "button1001" (OK) and "button1000" (Abbrechen).
class CPlantDataDlg : public QDialog {
    Q_OBJECT

public:
    CPlantDataDlg(CPlantData& plantData, QWidget* parent = nullptr);

    // The edit with the given id (1002 .. 1012).
    QLineEdit* field(int id) const;

public slots:
    void OnOK();
    void OnCancel();

private:
    static constexpr int firstFieldId = 1002;
    static constexpr int fieldCount = 11;

    void createControls();
    void addField(int id, const QString& label, int labelX, int labelWidth, int fieldX, int y);
    void installTips();
    void fillFields();

    CPlantData& plantData;
    std::array<QLineEdit*, fieldCount> edits {};
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
};

} // namespace kalkora::ui
