#include "ui/main/AboutDlg.h"

#include "ui/common/DialogUnits.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStringList>

namespace kalkora::ui {

QString CAboutDlg::aboutText()
{
    return QStringList { QStringLiteral("Kalkora V1.0 EURO 7/2003 kalkora@kalkora.example "), QString(),
        QStringLiteral("Programm zur Kostenkalkulation von Produktionsteilen."), QString(), QString(), QString(),
        QString() }
        .join(QLatin1Char('\n'));
}

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutDlg"));
    setWindowTitle(QStringLiteral("Info über Kalkora 1.0 EURO"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(DialogUnits(font()).size(142, 221));

    // The logo keeps its natural size, centred in its frame.
    logoPicture = new QLabel(this);
    logoPicture->setObjectName(QStringLiteral("logoPicture"));
    logoPicture->setPixmap(QPixmap(QStringLiteral(":/kalkora/logo.png")));
    logoPicture->setAlignment(Qt::AlignCenter);
    logoPicture->setAccessibleName(QStringLiteral("Logo"));
    logoPicture->setAccessibleDescription(QStringLiteral("Kalkora 1.0 EURO"));
    placeInDialogUnits(logoPicture, 5, 5, 131, 91);

    aboutLabel = new QLabel(aboutText(), this);
    aboutLabel->setObjectName(QStringLiteral("aboutText"));
    aboutLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    aboutLabel->setWordWrap(true);
    placeInDialogUnits(aboutLabel, 5, 105, 130, 90);

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("button1"));
    placeInDialogUnits(okButton, 45, 200, 50, 14);
    okButton->setDefault(true);
    okButton->setFocus();
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    widenForTexts(this);
}

} // namespace kalkora::ui
