#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace kalkora::ui {

// Asks for the name of a new machine. Enter confirms, Escape cancels. The same object can be
// run again; it then shows the name it returned last, so a rejected name can be corrected.
//
// Object names for tests: "edit1027" the name, "button1" OK, "button2" Abbrechen.
class CNewMachineDlg : public QDialog {
    Q_OBJECT

public:
    explicit CNewMachineDlg(QWidget* parent = nullptr);

    // Runs the dialog modally and returns the name typed, or an empty text when cancelled.
    QString askName();

private:
    QString name;
    QLineEdit* nameField = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
};

} // namespace kalkora::ui
