#include "ui/main/MainDlg.h"

#include "costing/OrderCosting.h"
#include "files/DataFiles.h"
#include "model/DmConversion.h"
#include "ui/common/DialogUnits.h"
#include "ui/common/LongTask.h"
#include "ui/common/QtText.h"
#include "ui/common/UiServices.h"
#include "ui/main/AboutDlg.h"
#include "ui/main/HelpWindow.h"
#include "ui/masterdata/MachineDataDlg.h"
#include "ui/masterdata/PlantDataDlg.h"
#include "ui/report/ReportDlg.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>

// Resources of a static library are registered by hand, outside any namespace.
static void initKalkoraResources()
{
    Q_INIT_RESOURCE(kalkora);
}

namespace kalkora::ui {

namespace {

constexpr int orderCommandIds[] = { 40004, 40005, 40003, 40015 };

FileDialogRequest masterDataDialog(const QString& title)
{
    return { title, QStringLiteral("Stammdaten (*.sta) "), QStringLiteral("*.sta"), QStringLiteral("sta"), true };
}

FileDialogRequest orderDialog(const QString& title)
{
    return { title, QStringLiteral("Auftragsdaten (*.auf) "), QStringLiteral("*.auf"), QStringLiteral("auf"), true };
}

} // namespace

CMainDlg::CMainDlg(QWidget* parent)
    : QMainWindow(parent)
    , orderPanel(order, plantData)
{
    initKalkoraResources();
    setObjectName(QStringLiteral("mainDlg"));
    setWindowTitle(QStringLiteral("Kalkora 1.0 EURO"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
        | Qt::WindowCloseButtonHint);
    QIcon appIcon;
    appIcon.addFile(QStringLiteral(":/kalkora/kalkora32.png"));
    appIcon.addFile(QStringLiteral(":/kalkora/kalkora16.png"));
    setWindowIcon(appIcon);

    createMenu();

    auto* client = new QWidget(this);
    client->setFixedSize(DialogUnits(client->font()).size(372, 226));
    setCentralWidget(client);

    logoPicture = new QLabel(client);
    logoPicture->setObjectName(QStringLiteral("picture1064"));
    logoPicture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    logoPicture->setAlignment(Qt::AlignCenter);
    logoPicture->setPixmap(QPixmap(QStringLiteral(":/kalkora/logo.png")));
    placeInDialogUnits(logoPicture, 120, 67, 131, 91);

    orderPanel.setParent(client);
    orderPanel.setGeometry(client->rect());
    orderPanel.hide();

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    installHelpKey(this, [this] { OnHelpContents(); });

    orderFileName.clear();
    enableOrderCommands(false);
}

QAction* CMainDlg::addCommand(QMenu* menu, int id, const QString& text, void (CMainDlg::*handler)())
{
    QAction* command = menu->addAction(text);
    command->setObjectName(QStringLiteral("action%1").arg(id));
    connect(command, &QAction::triggered, this, handler);
    return command;
}

void CMainDlg::createMenu()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
    addCommand(file, 40001, QStringLiteral("&Neu..."), &CMainDlg::OnNewOrder);
    addCommand(file, 40002, QStringLiteral("Ö&ffnen..."), &CMainDlg::OnOpenOrder);
    addCommand(file, 40003, QStringLiteral("S&chließen"), &CMainDlg::OnCloseOrder);
    file->addSeparator();
    addCommand(file, 147, QStringLiteral("Alten DM-Auftrag laden und konvertieren..."), &CMainDlg::OnLoadOldOrder);
    file->addSeparator();
    addCommand(file, 40004, QStringLiteral("&Speichern"), &CMainDlg::OnSaveOrder);
    addCommand(file, 40005, QStringLiteral("Speichern &unter..."), &CMainDlg::OnSaveOrderAs);
    file->addSeparator();
    addCommand(file, 40006, QStringLiteral("&Beenden"), &CMainDlg::OnExit);

    QMenu* orderMenu = menuBar()->addMenu(QStringLiteral("&Auftrag"));
    addCommand(orderMenu, 40015, QStringLiteral("&Berechnen..."), &CMainDlg::OnCalculate);

    QMenu* masterData = menuBar()->addMenu(QStringLiteral("&Stammdaten"));
    addCommand(masterData, 40007, QStringLiteral("&Werksdaten anzeigen/ändern"), &CMainDlg::OnPlantData);
    addCommand(masterData, 40008, QStringLiteral("&Maschinendaten anzeigen/ändern"), &CMainDlg::OnMachineData);
    masterData->addSeparator();
    addCommand(masterData, 40010, QStringLiteral("S&tammdaten laden..."), &CMainDlg::OnLoadMasterData);
    addCommand(masterData, 40011, QStringLiteral("St&ammdaten speichern..."), &CMainDlg::OnSaveMasterData);
    masterData->addSeparator();
    addCommand(masterData, 146, QStringLiteral("Alte DM-Stammdaten laden und konvertieren..."),
        &CMainDlg::OnLoadOldMasterData);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Hilfe"));
    addCommand(help, 40052, QStringLiteral("&Inhalt"), &CMainDlg::OnHelpContents);
    addCommand(help, 40009, QStringLiteral("&Über..."), &CMainDlg::OnAbout);
}

QAction* CMainDlg::action(int id) const
{
    return findChild<QAction*>(QStringLiteral("action%1").arg(id));
}

bool CMainDlg::isOrderOpen() const
{
    return !orderPanel.isHidden();
}

void CMainDlg::UpdateTitle()
{
    if (orderFileName.isEmpty()) {
        setWindowTitle(QStringLiteral("Kalkora"));
    } else {
        setWindowTitle(QStringLiteral("Kalkora - ") + QFileInfo(orderFileName).fileName());
    }
}

void CMainDlg::enableOrderCommands(bool enabled)
{
    for (int id : orderCommandIds) {
        action(id)->setEnabled(enabled);
    }
}

void CMainDlg::enterOrderOpen()
{
    enableOrderCommands(true);
    logoPicture->hide();
    orderPanel.show();
    orderPanel.RefreshFromOrder();
}

void CMainDlg::enterNoOrderOpen()
{
    orderPanel.hide();
    // A control of the hidden panel would keep the keyboard and swallow Escape, which here
    // has to ask whether to close the program.
    if (QWidget* focused = focusWidget(); focused && orderPanel.isAncestorOf(focused)) {
        focused->clearFocus();
    }
    logoPicture->show();
    enableOrderCommands(false);
}

void CMainDlg::OnNewOrder()
{
    order.clear();
    orderFileName.clear();
    UpdateTitle();
    enterOrderOpen();
}

void CMainDlg::OnCloseOrder()
{
    order.clear();
    orderFileName.clear();
    UpdateTitle();
    enterNoOrderOpen();
}

void CMainDlg::OnOpenOrder()
{
    LoadOrder(1.0f);
}

void CMainDlg::OnLoadOldOrder()
{
    LoadOrder(dmToEurFactor);
}

void CMainDlg::showFileError(const QString& message)
{
    // A command the user cancelled has nothing to report.
    if (message.isEmpty()) {
        return;
    }
    uiServices().showMessage(this, message, MessageIcon::Exclamation);
}

void CMainDlg::LoadOrder(float factor)
{
    // Operations refer to machines by name: without master data no order is opened.
    if (plantData.machines.count() == 0) {
        uiServices().showMessage(this, files::noMachinesMessage());
        return;
    }
    if (factor != 1.0f) {
        uiServices().showMessage(this, files::dmOrderWarning());
    }
    const QString path
        = uiServices().getOpenFileName(this, orderDialog(QStringLiteral("Kalkora - Auftragsdaten Laden")));
    if (path.isEmpty()) {
        return;
    }
    const files::FileResult result = files::loadOrder(
        path, factor, order, LongTask(this, QStringLiteral("Auftragsdaten werden geladen..."), true).callback());
    if (!result.ok()) {
        showFileError(result.message);
        return;
    }
    orderFileName = path;
    UpdateTitle();
    enterOrderOpen();
}

void CMainDlg::SaveOrder()
{
    if (orderFileName.isEmpty()) {
        const QString path
            = uiServices().getSaveFileName(this, orderDialog(QStringLiteral("Kalkora - Auftragsdaten Speichern")));
        if (path.isEmpty()) {
            return;
        }
        orderFileName = path;
        UpdateTitle();
    }
    const files::FileResult result = files::saveOrder(
        orderFileName, order, LongTask(this, QStringLiteral("Auftragsdaten werden gespeichert..."), false).callback());
    if (!result.ok()) {
        // The next save asks for a name again.
        orderFileName.clear();
        UpdateTitle();
        showFileError(result.message);
    }
}

void CMainDlg::OnSaveOrder()
{
    SaveOrder();
}

void CMainDlg::OnSaveOrderAs()
{
    orderFileName.clear();
    UpdateTitle();
    SaveOrder();
}

void CMainDlg::LoadMasterData(float factor)
{
    if (factor != 1.0f) {
        uiServices().showMessage(this, files::dmMasterDataWarning());
    }
    const QString path
        = uiServices().getOpenFileName(this, masterDataDialog(QStringLiteral("Kalkora - Stammdaten Laden")));
    if (path.isEmpty()) {
        return;
    }
    const files::FileResult result = files::loadMasterData(
        path, factor, plantData, LongTask(this, QStringLiteral("Stammdaten werden geladen..."), true).callback());
    if (!result.ok()) {
        showFileError(result.message);
    }
}

void CMainDlg::OnLoadMasterData()
{
    LoadMasterData(1.0f);
}

void CMainDlg::OnLoadOldMasterData()
{
    LoadMasterData(dmToEurFactor);
}

void CMainDlg::OnSaveMasterData()
{
    const QString path
        = uiServices().getSaveFileName(this, masterDataDialog(QStringLiteral("Kalkora - Stammdaten Speichern")));
    if (path.isEmpty()) {
        return;
    }
    const files::FileResult result = files::saveMasterData(
        path, plantData, LongTask(this, QStringLiteral("Stammdaten werden gespeichert..."), false).callback());
    if (!result.ok()) {
        showFileError(result.message);
    }
}

void CMainDlg::OnCalculate()
{
    const std::string fileName = toCp1252(QFileInfo(orderFileName).fileName());
    CostingResult result = costOrder(order, plantData, fileName, text::PrintDate::today(),
        LongTask(this, QStringLiteral("Auftrag wird berechnet..."), true).callback());
    if (result.cancelled) {
        return;
    }
    for (const std::string& message : result.messages) {
        uiServices().showMessage(this, fromCp1252(message));
    }
    CReportDlg report(this);
    report.setReportText(std::move(result.reportText));
    report.exec();
}

void CMainDlg::OnPlantData()
{
    CPlantDataDlg dialog(plantData, this);
    dialog.exec();
    plantData.computeHoursPerYear();
}

void CMainDlg::OnMachineData()
{
    CMachineDataDlg dialog(plantData, this);
    dialog.exec();
}

void CMainDlg::OnHelpContents()
{
    showHelpTopic();
}

void CMainDlg::OnAbout()
{
    CAboutDlg about(this);
    about.exec();
}

void CMainDlg::OnExit()
{
    close();
}

void CMainDlg::closeEvent(QCloseEvent* event)
{
    if (uiServices().askYesNo(this,
            QStringLiteral("Anwendung schließen ? Evtl. nicht gespeicherte Daten gehen verloren !"),
            MessageIcon::Question)) {
        event->accept();
        emit ended();
    } else {
        event->ignore();
    }
}

void CMainDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        OnExit();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QMainWindow::keyPressEvent(event);
    }
}

void CMainDlg::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!centred && screen()) {
        centred = true;
        move(screen()->availableGeometry().center() - frameGeometry().center() + pos());
    }
}

} // namespace kalkora::ui
