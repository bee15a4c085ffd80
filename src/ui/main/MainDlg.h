#pragma once

// ui/main: the program's start, the main window with its menus and file commands, the order
// panel with its operation list and dialog, help and the about box. It may use every other ui
// folder and the core, file and print libraries; no other ui folder uses it.

#include "files/RecoveryFile.h"
#include "model/COrder.h"
#include "model/CPlantData.h"
#include "ui/main/EditHistory.h"
#include "ui/main/OpenFileGuard.h"
#include "ui/main/OrderPanel.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>

class QAction;
class QLabel;

namespace kalkora::ui {

// The main window. It owns all data of a run, the master data (plantData) and the one order
// (order), for the whole run, and carries out the menu commands. It is in one of two states:
// no order open (logo shown, the four order commands greyed) or order open (the order panel
// fills the window). Every close request asks first. A command that would discard a changed
// order or changed master data asks whether to save it first.
//
// Object names for tests: the menu commands are "action" + their id ("action40001" "&Neu...",
// "action40015" "&Berechnen...", "action40016" "&Staffelpreise...", "action40017"
// "&Kostenaufschlüsselung...", "action40018" "&Angebot...", "action146" ..., "actionUndo" "&Rückgängig",
// "actionRedo" "&Wiederherstellen"), the recently used orders "recentOrder1"
// .. "recentOrder4", the logo is "picture1064", the panel "orderPanel".
class CMainDlg : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainDlg(QWidget* parent = nullptr);

    // Caption "Kalkora - <file name>" when the order has a file, else "Kalkora"; " [schreibgeschützt]"
    // follows the name of a file that another has open.
    void UpdateTitle();

    CPlantData plantData;
    COrder order;
    // Full path of the order's file, so that "&Speichern" writes back to the file that was
    // opened or last saved; captions and the report show only its name. Empty when none.
    QString orderFileName;

    COrderPanel& panel() { return orderPanel; }
    QAction* action(int id) const;
    bool isOrderOpen() const;
    // Changed through the program since the last new order, load or save, and not undone.
    bool isOrderChanged() const { return history.isChanged(EditedData::Order); }
    bool isMasterDataChanged() const { return history.isChanged(EditedData::MasterData); }
    CEditHistory& editHistory() { return history; }

    // Loads files named at start: master data (.sta) first, then orders (.auf). An order without
    // master data brings the master data file last loaded or saved.
    void OpenStartFiles(const QStringList& paths);
    // The orders last opened or saved, newest first, as the "&Datei" menu lists them.
    QStringList recentOrders() const { return recentOrderFiles; }

    // What a crash would lose: the master data and the order (with what is being typed), their
    // file names and whether each is unsaved.
    files::RecoveryData recoveryState() const;
    // Puts back what recoveryState() gave in an earlier run; its bytes have been checked.
    void restoreFromRecovery(const files::RecoveryData& data);

public slots:
    void OnNewOrder();
    void OnOpenOrder();
    void OnCloseOrder();
    void OnLoadOldOrder();
    void OnSaveOrder();
    void OnSaveOrderAs();
    void OnExit();
    void OnUndo();
    void OnRedo();
    void OnCalculate();
    void OnPriceScale();
    void OnCostBreakdown();
    void OnQuote();
    void OnPlantData();
    void OnMachineData();
    void OnQuoteDefaults();
    void OnLoadMasterData();
    void OnSaveMasterData();
    void OnLoadOldMasterData();
    void OnHelpContents();
    void OnAbout();
    void OnRecentOrder(int index);

signals:
    // The user answered the close question with Yes: the program ends with the main window.
    void ended();
    // A command ran or the order was edited: the documents may have been changed, saved or
    // discarded.
    void documentsChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createMenu();
    QAction* addCommand(QMenu* menu, int id, const QString& text, void (CMainDlg::*handler)());
    void enterOrderOpen();
    void enterNoOrderOpen();
    void enableOrderCommands(bool enabled);
    void createEditMenu();
    void updateEditCommands();
    void showAppliedStep(EditedData data);
    // Records a change of the master data from `before` (its bytes) to what it is now.
    void recordMasterDataStep(const QString& text, const std::string& before);
    void restoreMasterData(const std::string& bytes);
    // A new, opened or closed order starts without steps; `unsaved` for one converted from DM.
    void startOrderHistory(bool unsaved = false);
    void LoadOrder(float factor);
    bool openOrderFile(const QString& path, float factor);
    bool SaveOrder();
    void LoadMasterData(float factor);
    bool loadMasterDataFile(const QString& path, float factor);
    bool saveMasterDataAs();
    void showFileError(const QString& message);
    // Before a command discards the order or the master data: false when the user cancelled
    // or chose to save and the save did not succeed.
    bool maySaveChangedOrder();
    bool maySaveChangedMasterData();
    void rememberRecentOrder(const QString& path);
    void updateRecentOrderMenu();
    // The order as the analysis windows see it: as shown, a field being typed included.
    std::function<COrder()> orderSnapshot();

    COrderPanel orderPanel;
    QLabel* logoPicture = nullptr;
    QList<QAction*> recentOrderActions;
    QAction* recentOrderSeparator = nullptr;
    QStringList recentOrderFiles;
    CEditHistory history;
    QAction* undoCommand = nullptr;
    QAction* redoCommand = nullptr;
    OpenFileGuard orderFile;
    OpenFileGuard masterDataFile;
    bool centred = false;
};

} // namespace kalkora::ui
