#include "ui/main/MainDlg.h"

#include "model/DmConversion.h"
#include "model/MasterDataFile.h"
#include "ui/analysis/CostBreakdownDlg.h"
#include "ui/analysis/PriceScaleDlg.h"
#include "ui/assembly/AssemblyWindow.h"
#include "ui/common/AccessibleNames.h"
#include "ui/common/DialogUnits.h"
#include "ui/common/UiServices.h"
#include "ui/common/UndoKeys.h"
#include "ui/main/AboutDlg.h"
#include "ui/main/HelpWindow.h"
#include "ui/masterdata/MachineDataDlg.h"
#include "ui/masterdata/PlantDataDlg.h"
#include "ui/postcalc/PostCalcDlg.h"
#include "ui/quote/QuoteDefaultsDlg.h"
#include "ui/quote/QuoteDlg.h"
#include "ui/report/ReportDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QScreen>

#include <algorithm>

// Resources of a static library are registered by hand, outside any namespace.
static void initKalkoraResources()
{
    Q_INIT_RESOURCE(kalkora);
}

namespace kalkora::ui {

CMainDlg::CMainDlg(QWidget* parent)
    : QMainWindow(parent)
    , orderPanel(documents.order().data(), documents.masterData().data(), documents.history())
    , filePrompts(this)
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

    connect(&documents.order(), &documents::OrderDocument::replaced, this, &CMainDlg::showOrder);
    // The analysis windows' figures come from the master data just replaced.
    connect(&documents.masterData(), &documents::MasterDataDocument::replaced, this,
        [this] { closeAnalysisWindows(this); });
    // Assemblies are costed with the master data as they are now.
    connect(this, &CMainDlg::documentsChanged, this, [this] {
        for (CAssemblyWindow* window : findChildren<CAssemblyWindow*>())
            window->recompute();
    });
    connect(&orderPanel, &COrderPanel::changed, this, [this] { refreshAnalysisWindows(this); });
    connect(&documents.history(), &documents::EditHistory::stepApplied, this, &CMainDlg::showAppliedStep);
    // Every step, made, undone or made again, changes what a crash would lose.
    connect(&documents.history().steps(), &QUndoStack::indexChanged, this, [this] {
        updateEditCommands();
        // Undoing back to the saved state takes the mark away.
        setWindowModified(isOrderOpen() && isOrderChanged());
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
    letTextFieldsPassUndoKeys(&orderPanel);

    enableOrderCommands(false);
    updateRecentOrderMenu();
}

void CMainDlg::UpdateTitle()
{
    setWindowTitle(documents.order().title());
    setWindowModified(isOrderOpen() && isOrderChanged());
}

void CMainDlg::showOrder()
{
    UpdateTitle();
    updateRecentOrderMenu();
    closeAnalysisWindows(this); // they show the order that was replaced
    const bool open = isOrderOpen();
    enableOrderCommands(open);
    logoPicture->setVisible(!open);
    orderPanel.setVisible(open);
    if (open) {
        orderPanel.RefreshFromOrder();
    } else if (QWidget* focused = focusWidget(); focused && orderPanel.isAncestorOf(focused)) {
        // A control of the hidden panel would keep the keyboard and swallow Escape, which here
        // has to ask whether to close the program.
        focused->clearFocus();
    }
}

bool CMainDlg::maySaveChangedOrder()
{
    // The quote window goes with the order: its question comes first.
    if (!mayCloseAnalysisWindows(this)) {
        return false;
    }
    // What is being typed counts too: the command would discard it with the order.
    orderPanel.writeFieldsToOrder();
    return filePrompts.maySaveChanges(documents.order(), [this] { return SaveOrder(); });
}

bool CMainDlg::maySaveChangedMasterData()
{
    return filePrompts.maySaveChanges(documents.masterData(), [this] { return saveMasterDataAs(); });
}

void CMainDlg::OnNewOrder()
{
    if (!maySaveChangedOrder()) {
        return;
    }
    documents.order().startNew();
}

void CMainDlg::OnCloseOrder()
{
    if (!maySaveChangedOrder()) {
        return;
    }
    documents.order().close();
}

void CMainDlg::OnOpenOrder()
{
    LoadOrder(1.0f);
}

void CMainDlg::OnLoadOldOrder()
{
    LoadOrder(dmToEurFactor);
}

bool CMainDlg::mayOpenOrder()
{
    if (const QString refusal = documents.whyNoOrderOpens(); !refusal.isEmpty()) {
        uiServices().showMessage(this, refusal);
        return false;
    }
    return true;
}

void CMainDlg::LoadOrder(float factor)
{
    if (!mayOpenOrder() || !maySaveChangedOrder()) {
        return;
    }
    if (factor != 1.0f) {
        uiServices().showMessage(this, files::dmOrderWarning());
    }
    const QString path = filePrompts.choose(documents.order(), QStringLiteral("Kalkora - Auftragsdaten Laden"), false);
    if (!path.isEmpty()) {
        openOrderFile(path, factor);
    }
}

bool CMainDlg::openOrderFile(const QString& path, float factor)
{
    return filePrompts.open(documents.order(), path, factor, QStringLiteral("Auftragsdaten werden geladen..."));
}

void CMainDlg::OnRecentOrder(int index)
{
    documents::RecentFiles& recent = documents.recentOrders();
    if (index < 0 || index >= recent.files().size()) {
        return;
    }
    const QString path = recent.files().at(index);
    if (const QString gone = recent.dropIfGone(index); !gone.isEmpty()) {
        updateRecentOrderMenu();
        uiServices().showMessage(this, gone);
    } else if (mayOpenOrder() && maySaveChangedOrder()) {
        openOrderFile(path, 1.0f);
    }
}

void CMainDlg::OpenStartFiles(const QStringList& paths)
{
    const documents::StartFiles start = documents.sortStartFiles(paths);
    for (const QString& message : start.messages) {
        uiServices().showMessage(this, message);
    }
    for (const QString& path : start.masterData) {
        if (maySaveChangedMasterData() && mayCloseAnalysisWindows(this)) {
            loadMasterDataFile(path, 1.0f);
        }
    }
    for (const QString& path : start.orders) {
        if (const QString remembered = documents.masterDataForOrder(); !remembered.isEmpty()) {
            loadMasterDataFile(remembered, 1.0f);
        }
        if (mayOpenOrder() && maySaveChangedOrder()) {
            openOrderFile(path, 1.0f);
        }
    }
    for (const QString& path : start.assemblies) {
        openAssemblyFile(path);
    }
    for (const QString& path : start.postCalcs) {
        openPostCalcFile(path);
    }
    for (const auto& [path, quoteOrder] : start.quotes) {
        if (CAssemblyWindow* assembly = assemblyWindowOf(quoteOrder)) {
            assembly->openQuote(path);
            continue;
        }
        openQuoteFile(
            this, documents.masterData().data(), orderSnapshot(), [this] { return documents.quoteDataFiles(); }, path,
            documents.isOpenOrder(quoteOrder));
        letQuoteWindowOpenWhatItNames();
    }
}

bool CMainDlg::SaveOrder()
{
    documents::OrderDocument& order = documents.order();
    QString path = order.path();
    // A file that another has open is saved under another name.
    if (path.isEmpty() || order.isReadOnly()) {
        path = filePrompts.choose(order, QStringLiteral("Kalkora - Auftragsdaten Speichern"), true);
        if (path.isEmpty()) {
            return false;
        }
    }
    const bool saved = filePrompts.save(order, path, QStringLiteral("Auftragsdaten werden gespeichert..."));
    UpdateTitle();
    updateRecentOrderMenu();
    return saved;
}

void CMainDlg::OnSaveOrder()
{
    SaveOrder();
}

void CMainDlg::OnSaveOrderAs()
{
    documents.order().forgetFile();
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
        = filePrompts.choose(documents.masterData(), QStringLiteral("Kalkora - Stammdaten Laden"), false);
    if (!path.isEmpty()) {
        loadMasterDataFile(path, factor);
    }
}

bool CMainDlg::loadMasterDataFile(const QString& path, float factor)
{
    return filePrompts.open(documents.masterData(), path, factor, QStringLiteral("Stammdaten werden geladen..."));
}

bool CMainDlg::saveMasterDataAs()
{
    const QString path
        = filePrompts.choose(documents.masterData(), QStringLiteral("Kalkora - Stammdaten Speichern"), true);
    return !path.isEmpty()
        && filePrompts.save(documents.masterData(), path, QStringLiteral("Stammdaten werden gespeichert..."));
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
    showCostingReport(this, documents.order().data(), documents.masterData().data(), documents.order().path());
}

// The analysis windows see what is being typed in the panel, unlike the report.
void CMainDlg::OnPriceScale()
{
    showPriceScale(this, documents.masterData().data(), orderSnapshot());
}

void CMainDlg::OnCostBreakdown()
{
    showCostBreakdown(this, documents.masterData().data(), orderSnapshot());
}

std::function<COrder()> CMainDlg::orderSnapshot()
{
    return [this] { return orderPanel.orderWithPendingField(); };
}

void CMainDlg::OnQuote()
{
    showQuote(this, documents.masterData().data(), orderSnapshot(), [this] { return documents.quoteDataFiles(); });
    letQuoteWindowOpenWhatItNames();
}

void CMainDlg::letQuoteWindowOpenWhatItNames()
{
    if (auto* window = findChild<CQuoteDlg*>(QString(), Qt::FindDirectChildrenOnly))
        window->setQuoteOpener([this](const QString& path) { OpenStartFiles({ path }); });
}

void CMainDlg::OnPostCalc()
{
    showPostCalcWindow();
}

CPostCalcDlg* CMainDlg::showPostCalcWindow()
{
    return showWindowOf<CPostCalcDlg>(this, [this] { return newPostCalcWindow(); });
}

CPostCalcDlg* CMainDlg::newPostCalcWindow()
{
    auto* window = new CPostCalcDlg(documents.masterData().data(), orderSnapshot(), this);
    window->setDataFiles([this] { return documents.quoteDataFiles(); });
    window->setOrderEditor([this](documents::ReplaceOperationsCommand::Replacements changes) {
        // What is being typed in the panel is a step of its own, before the one taken over.
        orderPanel.writeFieldsToOrder();
        documents::EditHistory& history = documents.history();
        history.push(std::make_unique<documents::ReplaceOperationsCommand>(
            history, documents.order().data(), QStringLiteral("Ist-Werte übernehmen"), std::move(changes)));
        orderPanel.RefreshFromOrder();
        refreshAnalysisWindows(this);
    });
    window->setPostCalcOpener([this](const QString& path) { OpenStartFiles({ path }); });
    for (const auto signal : { &documents::PostCalcDocument::changed, &documents::PostCalcDocument::saved })
        connect(&window->document(), signal, this, &CMainDlg::postCalcChanged);
    return window;
}

void CMainDlg::openPostCalcFile(const QString& path)
{
    if (!isOrderOpen()) {
        uiServices().showMessage(this,
            QStringLiteral("Die Nachkalkulation „%1“ braucht ihren Auftrag: erst den Auftrag öffnen.")
                .arg(QFileInfo(path).fileName()));
        return;
    }
    auto* window = findChild<CPostCalcDlg*>(QString(), Qt::FindDirectChildrenOnly);
    if (window && window->isVisible() && !window->mayClose())
        return;
    // Opened straight from its file: a new post-calculation would be costed for nothing first.
    if (!window)
        window = newPostCalcWindow();
    if (window->openPostCalcFile(path))
        bringToFront(window);
}

std::vector<files::RecoveredDocument> CMainDlg::postCalcRecovery() const
{
    const auto* window = findChild<const CPostCalcDlg*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window || !window->isVisible())
        return {};
    return { window->document().recoveryState() };
}

void CMainDlg::restorePostCalcs(const std::vector<files::RecoveredDocument>& postCalcs)
{
    if (postCalcs.empty() || !isOrderOpen())
        return;
    auto* window = findChild<CPostCalcDlg*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window)
        window = newPostCalcWindow();
    if (window->document().restore(postCalcs.front()))
        bringToFront(window);
}

CAssemblyWindow* CMainDlg::newAssemblyWindow()
{
    auto* window = new CAssemblyWindow(
        documents.masterData().data(), [this] { return documents.masterData().path(); }, this);
    connect(window, &CAssemblyWindow::orderRequested, this, [this](const QString& path) {
        if (mayOpenOrder() && maySaveChangedOrder() && openOrderFile(path, 1.0f))
            bringToFront(this);
    });
    connect(window, &CAssemblyWindow::quoteRequested, this, [this](const QString& path) { OpenStartFiles({ path }); });
    for (const auto signal : { &documents::AssemblyDocument::changed, &documents::AssemblyDocument::saved })
        connect(&window->document(), signal, this, &CMainDlg::assembliesChanged);
    return window;
}

void CMainDlg::OnNewAssembly()
{
    CAssemblyWindow* window = newAssemblyWindow();
    window->startNew();
    window->show();
}

void CMainDlg::OnOpenAssembly()
{
    CAssemblyWindow* window = newAssemblyWindow();
    if (!window->openChosenFile()) {
        delete window;
        return;
    }
    window->show();
}

std::vector<files::RecoveredDocument> CMainDlg::assemblyRecovery() const
{
    std::vector<files::RecoveredDocument> open;
    for (const CAssemblyWindow* window : findChildren<CAssemblyWindow*>())
        open.push_back(window->document().recoveryState());
    return open;
}

void CMainDlg::restoreAssemblies(const std::vector<files::RecoveredDocument>& assemblies)
{
    for (const files::RecoveredDocument& recovered : assemblies) {
        CAssemblyWindow* window = newAssemblyWindow();
        window->document().restore(recovered);
        window->show();
    }
}

CAssemblyWindow* CMainDlg::assemblyWindowOf(const QString& path)
{
    for (CAssemblyWindow* window : findChildren<CAssemblyWindow*>()) {
        if (!window->document().path().isEmpty() && QFileInfo(window->document().path()) == QFileInfo(path))
            return window;
    }
    return nullptr;
}

bool CMainDlg::openAssemblyFile(const QString& path)
{
    // An assembly already open is shown rather than opened twice.
    if (CAssemblyWindow* open = assemblyWindowOf(path)) {
        bringToFront(open);
        return true;
    }
    CAssemblyWindow* window = newAssemblyWindow();
    if (!window->openFile(path)) {
        delete window;
        return false;
    }
    window->show();
    return true;
}

bool CMainDlg::mayCloseAssemblyWindows()
{
    for (CAssemblyWindow* window : findChildren<CAssemblyWindow*>()) {
        if (!window->mayClose())
            return false;
    }
    return true;
}

template <typename Dialog> void CMainDlg::editMasterData(const QString& stepText)
{
    CPlantData& plantData = documents.masterData().data();
    const std::string before = encodeMasterData(plantData);
    Dialog dialog(plantData, this);
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    documents.masterData().recordDialogChange(stepText, before, confirmed);
    // The windows beside this one show figures of the master data as they are now.
    refreshAnalysisWindows(this);
}

void CMainDlg::OnPlantData()
{
    editMasterData<CPlantDataDlg>(QStringLiteral("Werksdaten ändern"));
}

void CMainDlg::OnMachineData()
{
    editMasterData<CMachineDataDlg>(QStringLiteral("Maschinendaten ändern"));
}

void CMainDlg::OnUndo()
{
    // What is being typed is the latest change: it becomes a step and is the one undone.
    orderPanel.writeFieldsToOrder();
    documents.history().steps().undo();
}

void CMainDlg::OnRedo()
{
    orderPanel.writeFieldsToOrder();
    documents.history().steps().redo();
}

void CMainDlg::showAppliedStep(documents::EditedData data)
{
    if (data == documents::EditedData::Order) {
        orderPanel.RefreshFromOrder();
    }
    refreshAnalysisWindows(this);
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

bool CMainDlg::hasUnsavedWork()
{
    if (isOrderOpen())
        orderPanel.writeFieldsToOrder();
    const QList<CAssemblyWindow*> assemblies = findChildren<CAssemblyWindow*>();
    return (isOrderOpen() && isOrderChanged()) || isMasterDataChanged() || analysisWindowsChanged(this)
        || std::any_of(
            assemblies.begin(), assemblies.end(), [](CAssemblyWindow* window) { return window->isChanged(); });
}

void CMainDlg::OnExit()
{
    close();
}

void CMainDlg::closeEvent(QCloseEvent* event)
{
    // Closing may save one document and then be cancelled.
    emit documentsChanged();
    // With something unsaved, the save questions are the ones that matter; asked first whether
    // to end at all, the user would answer twice.
    const bool ending = hasUnsavedWork()
        ? mayCloseAssemblyWindows() && maySaveChangedOrder() && maySaveChangedMasterData()
        : uiServices().askYesNo(this,
            QStringLiteral("Anwendung schließen ? Evtl. nicht gespeicherte Daten gehen verloren !"),
            MessageIcon::Question);
    if (ending) {
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
