#include "ui/masterdata/NewMachineDlg.h"

#include "ui/common/AccessibleNames.h"
#include "ui/common/DialogUnits.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kalkora::ui {

CNewMachineDlg::CNewMachineDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("newMachineDlg"));
    setWindowTitle(QStringLiteral("Kalkora 1.0 EURO: Neue Maschine anlegen"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(DialogUnits(font()).size(186, 95));

    auto* prompt = new QLabel(QStringLiteral("Bitte neuen (noch nicht vorhandenen) Maschinennamen eingeben. Kann "
                                             "später nicht mehr geändert werden !"),
        this);
    prompt->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    prompt->setWordWrap(true);
    placeInDialogUnits(prompt, 18, 10, 150, 35);

    nameField = new QLineEdit(this);
    nameField->setObjectName(QStringLiteral("edit1027"));
    placeInDialogUnits(nameField, 25, 45, 130, 14);

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("button1"));
    okButton->setDefault(true);
    placeInDialogUnits(okButton, 37, 70, 50, 14);
    cancelButton = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancelButton->setObjectName(QStringLiteral("button2"));
    cancelButton->setAutoDefault(false);
    placeInDialogUnits(cancelButton, 97, 70, 50, 14);
    widenForTexts(this);
    nameFieldsByLabels(this);

    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

QString CNewMachineDlg::askName()
{
    nameField->setText(name);
    nameField->setFocus();
    name = exec() == QDialog::Accepted ? nameField->text() : QString();
    return name;
}

} // namespace kalkora::ui
