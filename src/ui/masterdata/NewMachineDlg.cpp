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

    edit1027 = new QLineEdit(this);
    edit1027->setObjectName(QStringLiteral("edit1027"));
    placeInDialogUnits(edit1027, 25, 45, 130, 14);

    button1 = new QPushButton(QStringLiteral("OK"), this);
    button1->setObjectName(QStringLiteral("button1"));
    button1->setDefault(true);
    placeInDialogUnits(button1, 37, 70, 50, 14);
    button2 = new QPushButton(QStringLiteral("Abbrechen"), this);
    button2->setObjectName(QStringLiteral("button2"));
    button2->setAutoDefault(false);
    placeInDialogUnits(button2, 97, 70, 50, 14);
    widenForTexts(this);
    nameFieldsByLabels(this);

    connect(button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(button2, &QPushButton::clicked, this, &QDialog::reject);
}

QString CNewMachineDlg::askName()
{
    edit1027->setText(name);
    edit1027->setFocus();
    name = exec() == QDialog::Accepted ? edit1027->text() : QString();
    return name;
}

} // namespace kalkora::ui
