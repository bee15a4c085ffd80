#include "ui/main/MainDlg.h"

#include "costing/MachineRates.h"
#include "costing/OrderCosting.h"
#include "files/DataFiles.h"
#include "files/OfferFile.h"
#include "model/DmConversion.h"
#include "model/MasterDataFile.h"
#include "model/OrderFile.h"
#include "ui/analysis/CostBreakdownDlg.h"
#include "ui/analysis/PriceScaleDlg.h"
#include "ui/common/AccessibleNames.h"
#include "ui/common/DialogUnits.h"
#include "ui/common/LongTask.h"
#include "ui/common/QtText.h"
#include "ui/common/UiServices.h"
#include "ui/main/AboutDlg.h"
#include "ui/main/HelpWindow.h"
#include "ui/masterdata/MachineDataDlg.h"
#include "ui/masterdata/PlantDataDlg.h"
#include "ui/quote/QuoteDefaultsDlg.h"
#include "ui/quote/QuoteDlg.h"
#include "ui/report/ReportDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>

// Resources of a static library are registered by hand, outside any namespace.
static void initKalkoraResources()
{
    Q_INIT_RESOURCE(kalkora);
}

namespace kalkora::ui {

namespace {

constexpr int orderCommandIds[] = { 40004, 40005, 40003, 40015, 40016, 40017, 40018 };
constexpr int maxRecentOrders = 4;

// What the program remembers between runs: the master data file last loaded or saved, the
// orders last opened or saved, and the folder last used for each kind of file.
const QString masterDataFileKey = QStringLiteral("masterDataFile");
const QString recentOrdersKey = QStringLiteral("recentOrders");
const QString masterDataFolderKey = QStringLiteral("folders/masterData");
const QString orderFolderKey = QStringLiteral("folders/order");

QVariant setting(const QString& key)
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, applicationTitle(), applicationTitle()).value(key);
}

void storeSetting(const QString& key, const QVariant& value)
{
    QSettings(QSettings::NativeFormat, QSettings::UserScope, applicationTitle(), applicationTitle())
        .setValue(key, value);
}

void rememberFolder(const QString& folderKey, const QString& path)
{
    storeSetting(folderKey, QFileInfo(path).absolutePath());
}

FileDialogRequest masterDataDialog(const QString& title)
{
    return { title, QStringLiteral("Stammdaten (*.sta) "), QStringLiteral("*.sta"), QStringLiteral("sta"), true,
        setting(masterDataFolderKey).toString() };
}

FileDialogRequest orderDialog(const QString& title)
{
    return { title, QStringLiteral("Auftragsdaten (*.auf) "), QStringLiteral("*.auf"), QStringLiteral("auf"), true,
        setting(orderFolderKey).toString() };
}

// The file dialog of one kind of file; the folder of the chosen file is where the next
// dialog of that kind starts.
QString chooseFile(QWidget* parent, const FileDialogRequest& request, const QString& folderKey, bool forSaving)
{
    const QString path
        = forSaving ? uiServices().getSaveFileName(parent, request) : uiServices().getOpenFileName(parent, request);
    if (!path.isEmpty()) {
        rememberFolder(folderKey, path);
    }
    return path;
}

QString orderChangedQuestion()
{
    return QStringLiteral("Der Auftrag wurde geändert. Sollen die Änderungen gespeichert werden?");
}

QString masterDataChangedQuestion()
{
    return QStringLiteral("Die Stammdaten wurden geändert. Sollen sie gespeichert werden?");
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
    // Every top-level window shows it, the help window that belongs to no other included.
    QApplication::setWindowIcon(appIcon);

    createMenu();

    auto* client = new QWidget(this);
    client->setFixedSize(DialogUnits(client->font()).size(372, 226));
    setCentralWidget(client);

    logoPicture = new QLabel(client);
    logoPicture->setObjectName(QStringLiteral("picture1064"));
    logoPicture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    logoPicture->setAlignment(Qt::AlignCenter);
    logoPicture->setPixmap(QPixmap(QStringLiteral(":/kalkora/logo.png")));
    logoPicture->setAccessibleName(QStringLiteral("Logo"));
    logoPicture->setAccessibleDescription(QStringLiteral("Kalkora 1.0 EURO"));
    placeInDialogUnits(logoPicture, 120, 67, 131, 91);

    orderPanel.setHistory(&history);
    connect(&orderPanel, &COrderPanel::changed, this, [this] { refreshAnalysisWindows(this); });
    connect(&history, &CEditHistory::stepApplied, this, &CMainDlg::showAppliedStep);
    // Every step, made, undone or made again, changes what a crash would lose.
    connect(&history.steps(), &QUndoStack::indexChanged, this, [this] {
        updateEditCommands();
        emit documentsChanged();
    });
    updateEditCommands();
    orderPanel.setParent(client);
    widenForTexts(client);
    nameFieldsByLabels(client);
    orderPanel.setGeometry(client->rect());
    orderPanel.hide();

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    installHelpKey(this, [this] { OnHelpContents(); });

    orderFileName.clear();
    enableOrderCommands(false);
    recentOrderFiles = setting(recentOrdersKey).toStringList().mid(0, maxRecentOrders);
    updateRecentOrderMenu();
}

QAction* CMainDlg::addCommand(QMenu* menu, int id, const QString& text, void (CMainDlg::*handler)())
{
    QAction* command = menu->addAction(text);
    command->setObjectName(QStringLiteral("action%1").arg(id));
    connect(command, &QAction::triggered, this, handler);
    connect(command, &QAction::triggered, this, &CMainDlg::documentsChanged);
    return command;
}

void CMainDlg::createMenu()
{
    menuBar()->installEventFilter(this);
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
    for (int i = 0; i < maxRecentOrders; ++i) {
        QAction* recent = file->addAction(QString());
        recent->setObjectName(QStringLiteral("recentOrder%1").arg(i + 1));
        connect(recent, &QAction::triggered, this, [this, i] { OnRecentOrder(i); });
        connect(recent, &QAction::triggered, this, &CMainDlg::documentsChanged);
        recentOrderActions << recent;
    }
    recentOrderSeparator = file->addSeparator();
    file->setToolTipsVisible(true);
    addCommand(file, 40006, QStringLiteral("&Beenden"), &CMainDlg::OnExit);
    createEditMenu();

    QMenu* orderMenu = menuBar()->addMenu(QStringLiteral("&Auftrag"));
    addCommand(orderMenu, 40015, QStringLiteral("&Berechnen..."), &CMainDlg::OnCalculate);
    addCommand(orderMenu, 40016, QStringLiteral("&Staffelpreise..."), &CMainDlg::OnPriceScale);
    addCommand(orderMenu, 40017, QStringLiteral("&Kostenaufschlüsselung..."), &CMainDlg::OnCostBreakdown);
    addCommand(orderMenu, 40018, QStringLiteral("&Angebot..."), &CMainDlg::OnQuote);

    QMenu* masterData = menuBar()->addMenu(QStringLiteral("&Stammdaten"));
    addCommand(masterData, 40007, QStringLiteral("&Werksdaten anzeigen/ändern"), &CMainDlg::OnPlantData);
    addCommand(masterData, 40008, QStringLiteral("&Maschinendaten anzeigen/ändern"), &CMainDlg::OnMachineData);
    addCommand(masterData, 40019, QStringLiteral("Angebots&vorgaben..."), &CMainDlg::OnQuoteDefaults);
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
        setWindowTitle(QStringLiteral("Kalkora - ") + QFileInfo(orderFileName).fileName()
            + (orderFile.isReadOnly() ? QStringLiteral(" [schreibgeschützt]") : QString()));
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
    closeAnalysisWindows(this); // they show the order that was replaced
    enableOrderCommands(true);
    logoPicture->hide();
    orderPanel.show();
    orderPanel.RefreshFromOrder();
}

void CMainDlg::enterNoOrderOpen()
{
    closeAnalysisWindows(this);
    orderPanel.hide();
    // A control of the hidden panel would keep the keyboard and swallow Escape, which here
    // has to ask whether to close the program.
    if (QWidget* focused = focusWidget(); focused && orderPanel.isAncestorOf(focused)) {
        focused->clearFocus();
    }
    logoPicture->show();
    enableOrderCommands(false);
}

void CMainDlg::updateRecentOrderMenu()
{
    for (int i = 0; i < recentOrderActions.size(); ++i) {
        QAction* recent = recentOrderActions.at(i);
        recent->setVisible(i < recentOrderFiles.size());
        if (i < recentOrderFiles.size()) {
            const QString name = QFileInfo(recentOrderFiles.at(i)).fileName();
            recent->setText(
                QStringLiteral("&%1 %2").arg(i + 1).arg(QString(name).replace(QLatin1Char('&'), QStringLiteral("&&"))));
            recent->setToolTip(QDir::toNativeSeparators(recentOrderFiles.at(i)));
        }
    }
    recentOrderSeparator->setVisible(!recentOrderFiles.isEmpty());
}

void CMainDlg::rememberRecentOrder(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    recentOrderFiles.removeAll(absolute);
    recentOrderFiles.prepend(absolute);
    recentOrderFiles = recentOrderFiles.mid(0, maxRecentOrders);
    storeSetting(recentOrdersKey, recentOrderFiles);
    updateRecentOrderMenu();
}

bool CMainDlg::maySaveChangedOrder()
{
    // The quote window goes with the order: its question comes first.
    if (!mayCloseAnalysisWindows(this)) {
        return false;
    }
    // What is being typed counts too: the command would discard it with the order.
    orderPanel.writeFieldsToOrder();
    return maySave(this, isOrderChanged(), orderChangedQuestion(), [this] { return SaveOrder(); });
}

bool CMainDlg::maySaveChangedMasterData()
{
    return maySave(this, isMasterDataChanged(), masterDataChangedQuestion(), [this] { return saveMasterDataAs(); });
}

void CMainDlg::OnNewOrder()
{
    if (!maySaveChangedOrder()) {
        return;
    }
    order.clear();
    startOrderHistory();
    orderFileName.clear();
    orderFile = {};
    UpdateTitle();
    enterOrderOpen();
}

void CMainDlg::OnCloseOrder()
{
    if (!maySaveChangedOrder()) {
        return;
    }
    order.clear();
    startOrderHistory();
    orderFileName.clear();
    orderFile = {};
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
    if (!maySaveChangedOrder()) {
        return;
    }
    if (factor != 1.0f) {
        uiServices().showMessage(this, files::dmOrderWarning());
    }
    const QString path
        = chooseFile(this, orderDialog(QStringLiteral("Kalkora - Auftragsdaten Laden")), orderFolderKey, false);
    if (!path.isEmpty()) {
        openOrderFile(path, factor);
    }
}

bool CMainDlg::openOrderFile(const QString& path, float factor)
{
    std::optional<OpenFileGuard> guard = orderFile.claim(this, path);
    if (!guard) {
        return false;
    }
    const files::FileResult result = files::loadOrder(
        path, factor, order, LongTask(this, QStringLiteral("Auftragsdaten werden geladen..."), true).callback());
    if (!result.ok()) {
        showFileError(result.message);
        return false;
    }
    orderFile = std::move(*guard);
    orderFileName = path;
    UpdateTitle();
    enterOrderOpen();
    rememberFolder(orderFolderKey, path);
    // A converted DM order exists only in memory until it is saved; reopening the DM file from
    // the list of recent orders would read its amounts as EUR.
    startOrderHistory(factor != 1.0f);
    if (factor == 1.0f) {
        rememberRecentOrder(path);
    }
    return true;
}

void CMainDlg::OnRecentOrder(int index)
{
    if (index < 0 || index >= recentOrderFiles.size()) {
        return;
    }
    const QString path = recentOrderFiles.at(index);
    if (!QFileInfo::exists(path)) {
        recentOrderFiles.removeAt(index);
        storeSetting(recentOrdersKey, recentOrderFiles);
        updateRecentOrderMenu();
        uiServices().showMessage(this,
            QStringLiteral("Die Datei „%1“ gibt es nicht mehr.\r\nSie wird aus der Liste der zuletzt benutzten "
                           "Aufträge entfernt.")
                .arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (plantData.machines.count() == 0) {
        uiServices().showMessage(this, files::noMachinesMessage());
        return;
    }
    if (maySaveChangedOrder()) {
        openOrderFile(path, 1.0f);
    }
}

void CMainDlg::OpenStartFiles(const QStringList& paths)
{
    QStringList masterDataFiles;
    QStringList orderFiles;
    QStringList quoteFiles;
    for (const QString& path : paths) {
        const QString suffix = QFileInfo(path).suffix().toLower();
        if (suffix == QLatin1String("sta")) {
            masterDataFiles << path;
        } else if (suffix == QLatin1String("auf")) {
            orderFiles << path;
        } else if (suffix == QLatin1String("ang")) {
            quoteFiles << path;
        } else {
            uiServices().showMessage(this,
                QStringLiteral("Die Datei „%1“ ist weder eine Stammdatendatei (.sta) noch ein Auftrag (.auf) noch ein "
                               "Angebot (.ang).")
                    .arg(QFileInfo(path).fileName()));
        }
    }
    // A quote brings the master data and the order it was priced from.
    std::vector<std::pair<QString, QString>> quoteOrders; // quote file, its order file
    for (const QString& path : quoteFiles) {
        files::Offer offer;
        if (const files::FileResult result = files::loadOffer(path, offer); !result.ok()) {
            showFileError(result.message);
            continue;
        }
        quoteOrders.emplace_back(path, offer.orderFile);
        for (const QString& file : { offer.masterFile, offer.orderFile }) {
            if (!file.isEmpty() && !QFileInfo::exists(file)) {
                uiServices().showMessage(this,
                    QStringLiteral("Das Angebot „%1“ wurde aus „%2“ berechnet; diese Datei gibt es nicht mehr.")
                        .arg(QFileInfo(path).fileName(), QDir::toNativeSeparators(file)));
            }
        }
        if (QFileInfo::exists(offer.masterFile)) {
            masterDataFiles << offer.masterFile;
        }
        if (QFileInfo::exists(offer.orderFile)) {
            orderFiles << offer.orderFile;
        }
    }
    for (const QString& path : masterDataFiles) {
        if (maySaveChangedMasterData() && mayCloseAnalysisWindows(this)) {
            loadMasterDataFile(path, 1.0f);
        }
    }
    for (const QString& path : orderFiles) {
        if (plantData.machines.count() == 0) {
            if (const QString remembered = setting(masterDataFileKey).toString(); !remembered.isEmpty()) {
                loadMasterDataFile(remembered, 1.0f);
            }
        }
        if (plantData.machines.count() == 0) {
            uiServices().showMessage(this, files::noMachinesMessage());
        } else if (maySaveChangedOrder()) {
            openOrderFile(path, 1.0f);
        }
    }
    for (const auto& [path, quoteOrder] : quoteOrders) {
        // Priced against another order, the quote would show figures that were never its own.
        const bool ownOrderOpen = isOrderOpen()
            && (quoteOrder.isEmpty()
                || (!orderFileName.isEmpty() && QFileInfo(orderFileName) == QFileInfo(quoteOrder)));
        if (!ownOrderOpen) {
            showQuoteWithoutOrder(this, plantData, orderSnapshot(), path);
        } else if (auto* quote = findChild<CQuoteDlg*>(QString(), Qt::FindDirectChildrenOnly);
                   !quote || !quote->isVisible() || quote->mayClose()) {
            OnQuote();
            findChild<CQuoteDlg*>(QString(), Qt::FindDirectChildrenOnly)->openQuoteFile(path);
        }
    }
}

bool CMainDlg::SaveOrder()
{
    // A file that another has open is saved under another name.
    if (orderFileName.isEmpty() || orderFile.isReadOnly()) {
        const QString path
            = chooseFile(this, orderDialog(QStringLiteral("Kalkora - Auftragsdaten Speichern")), orderFolderKey, true);
        if (path.isEmpty() || !orderFile.mayWrite(this, path)) {
            return false;
        }
        orderFileName = path;
        UpdateTitle();
    } else if (!orderFile.mayWrite(this, orderFileName)) {
        return false;
    }
    const files::FileResult result = files::saveOrder(
        orderFileName, order, LongTask(this, QStringLiteral("Auftragsdaten werden gespeichert..."), false).callback());
    if (!result.ok()) {
        // The next save asks for a name again.
        orderFileName.clear();
        UpdateTitle();
        showFileError(result.message);
        return false;
    }
    orderFile.saved(orderFileName);
    UpdateTitle();
    history.markSaved(EditedData::Order);
    rememberRecentOrder(orderFileName);
    return true;
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
    if (!maySaveChangedMasterData() || !mayCloseAnalysisWindows(this)) {
        return;
    }
    if (factor != 1.0f) {
        uiServices().showMessage(this, files::dmMasterDataWarning());
    }
    const QString path
        = chooseFile(this, masterDataDialog(QStringLiteral("Kalkora - Stammdaten Laden")), masterDataFolderKey, false);
    if (!path.isEmpty()) {
        loadMasterDataFile(path, factor);
    }
}

bool CMainDlg::loadMasterDataFile(const QString& path, float factor)
{
    std::optional<OpenFileGuard> guard = masterDataFile.claim(this, path);
    if (!guard) {
        return false;
    }
    const std::string before = encodeMasterData(plantData);
    const files::FileResult result = files::loadMasterData(
        path, factor, plantData, LongTask(this, QStringLiteral("Stammdaten werden geladen..."), true).callback());
    if (!result.ok()) {
        showFileError(result.message);
        return false;
    }
    masterDataFile = std::move(*guard);
    rememberFolder(masterDataFolderKey, path);
    closeAnalysisWindows(this); // their figures come from the master data just replaced
    recordMasterDataStep(QStringLiteral("Stammdaten „%1“ laden").arg(QFileInfo(path).fileName()), before);
    // Converted DM master data is unsaved work, and its file must not be loaded again as EUR.
    if (factor != 1.0f) {
        history.markUnsaved(EditedData::MasterData);
    } else {
        history.markSaved(EditedData::MasterData);
        storeSetting(masterDataFileKey, QFileInfo(path).absoluteFilePath());
    }
    return true;
}

bool CMainDlg::saveMasterDataAs()
{
    const QString path = chooseFile(
        this, masterDataDialog(QStringLiteral("Kalkora - Stammdaten Speichern")), masterDataFolderKey, true);
    if (path.isEmpty() || !masterDataFile.mayWrite(this, path)) {
        return false;
    }
    const files::FileResult result = files::saveMasterData(
        path, plantData, LongTask(this, QStringLiteral("Stammdaten werden gespeichert..."), false).callback());
    if (!result.ok()) {
        showFileError(result.message);
        return false;
    }
    masterDataFile.saved(path);
    history.markSaved(EditedData::MasterData);
    storeSetting(masterDataFileKey, QFileInfo(path).absoluteFilePath());
    return true;
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
    saveMasterDataAs();
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

// The analysis windows see what is being typed in the panel, unlike the report.
void CMainDlg::OnPriceScale()
{
    showPriceScale(this, plantData, orderSnapshot());
}

void CMainDlg::OnCostBreakdown()
{
    showCostBreakdown(this, plantData, orderSnapshot());
}

std::function<COrder()> CMainDlg::orderSnapshot()
{
    return [this] { return orderPanel.orderWithPendingField(); };
}

void CMainDlg::OnQuote()
{
    showQuote(this, plantData, orderSnapshot(), [this] {
        return QuoteDataFiles { orderFileName.isEmpty() ? QString() : QFileInfo(orderFileName).absoluteFilePath(),
            setting(masterDataFileKey).toString() };
    });
}

void CMainDlg::OnPlantData()
{
    const std::string before = encodeMasterData(plantData);
    CPlantDataDlg dialog(plantData, this);
    dialog.exec();
    plantData.computeHoursPerYear();
    recordMasterDataStep(QStringLiteral("Werksdaten ändern"), before);
}

void CMainDlg::OnMachineData()
{
    const std::string before = encodeMasterData(plantData);
    CMachineDataDlg dialog(plantData, this);
    dialog.exec();
    recordMasterDataStep(QStringLiteral("Maschinendaten ändern"), before);
}

void CMainDlg::recordMasterDataStep(const QString& text, const std::string& before)
{
    std::string after = encodeMasterData(plantData);
    if (after == before) {
        return;
    }
    history.record({ text, EditedData::MasterData, [this, before] { restoreMasterData(before); },
        [this, after = std::move(after)] { restoreMasterData(after); } });
}

void CMainDlg::restoreMasterData(const std::string& bytes)
{
    // The bytes were encoded from master data of this run, so they always decode.
    decodeMasterData(bytes, 1.0f, plantData);
    computeAllMachineRates(plantData);
}

void CMainDlg::startOrderHistory(bool unsaved)
{
    history.clear();
    if (unsaved) {
        history.markUnsaved(EditedData::Order);
    } else {
        history.markSaved(EditedData::Order);
    }
}

void CMainDlg::createEditMenu()
{
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Bearbeiten"));
    undoCommand = edit->addAction(QString(), this, &CMainDlg::OnUndo);
    undoCommand->setObjectName(QStringLiteral("actionUndo"));
    undoCommand->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoCommand = edit->addAction(QString(), this, &CMainDlg::OnRedo);
    redoCommand->setObjectName(QStringLiteral("actionRedo"));
    redoCommand->setShortcuts({ QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) });
}

void CMainDlg::updateEditCommands()
{
    const QUndoStack& steps = history.steps();
    undoCommand->setEnabled(steps.canUndo());
    undoCommand->setText(
        steps.canUndo() ? QStringLiteral("&Rückgängig: ") + steps.undoText() : QStringLiteral("&Rückgängig"));
    redoCommand->setEnabled(steps.canRedo());
    redoCommand->setText(steps.canRedo() ? QStringLiteral("&Wiederherstellen: ") + steps.redoText()
                                         : QStringLiteral("&Wiederherstellen"));
}

void CMainDlg::OnUndo()
{
    // What is being typed is the latest change: it becomes a step and is the one undone.
    orderPanel.writeFieldsToOrder();
    history.steps().undo();
}

void CMainDlg::OnRedo()
{
    orderPanel.writeFieldsToOrder();
    history.steps().redo();
}

void CMainDlg::showAppliedStep(EditedData data)
{
    if (data == EditedData::Order) {
        orderPanel.RefreshFromOrder();
    }
    refreshAnalysisWindows(this);
}

files::RecoveryData CMainDlg::recoveryState() const
{
    files::RecoveryData state;
    state.masterDataBytes = encodeMasterData(plantData);
    state.masterDataFileName = setting(masterDataFileKey).toString();
    state.masterDataChanged = isMasterDataChanged();
    state.orderOpen = isOrderOpen();
    if (state.orderOpen) {
        state.orderBytes = encodeOrder(orderPanel.orderWithPendingField());
        // A file named relative to the folder the program was started in.
        state.orderFileName = orderFileName.isEmpty() ? QString() : QFileInfo(orderFileName).absoluteFilePath();
        state.orderChanged = isOrderChanged() || state.orderBytes != encodeOrder(order);
    }
    return state;
}

void CMainDlg::restoreFromRecovery(const files::RecoveryData& data)
{
    COrder restoredOrder;
    if ((data.orderOpen && decodeOrder(data.orderBytes, 1.0f, restoredOrder))
        || decodeMasterData(data.masterDataBytes, 1.0f, plantData)) {
        return;
    }
    computeAllMachineRates(plantData);
    // The steps of the run that ended are gone; what it had not saved stays unsaved.
    history.clear();
    if (data.masterDataChanged) {
        history.markUnsaved(EditedData::MasterData);
    } else {
        history.markSaved(EditedData::MasterData);
    }
    if (!data.masterDataFileName.isEmpty()) {
        storeSetting(masterDataFileKey, data.masterDataFileName);
    }
    if (data.orderOpen) {
        order = std::move(restoredOrder);
        orderFileName = data.orderFileName;
        startOrderHistory(data.orderChanged);
        UpdateTitle();
        enterOrderOpen();
    }
}

void CMainDlg::OnQuoteDefaults()
{
    CQuoteDefaultsDlg dialog(this);
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
            MessageIcon::Question)
        && maySaveChangedOrder() && maySaveChangedMasterData()) {
        event->accept();
        emit ended();
    } else {
        event->ignore();
    }
}

bool CMainDlg::eventFilter(QObject* watched, QEvent* event)
{
    // After Alt, or a menu closed with Escape, the menu bar holds the keyboard; without an
    // open menu, Escape there is still Escape in the main window. The menu bar first leaves its
    // keyboard mode; the question comes when it has no field to hand the keyboard back to.
    if (watched == menuBar() && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && !QApplication::activePopupWidget()) {
        watched->event(event);
        if (QWidget* focused = focusWidget(); !focused || focused == menuBar()) {
            menuBar()->clearFocus();
            OnExit();
        }
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
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
