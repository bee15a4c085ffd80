#pragma once

// ui/main: the program's start, the main window with its menus and file commands, the order
// panel with its operation list and dialog, help and the about box. It may use every other ui
// folder and the core, file and print libraries; no other ui folder uses it.

#include "documents/Session.h"
#include "ui/common/FilePrompts.h"
#include "ui/main/OrderPanel.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QAction;
class QLabel;

namespace kalkora::ui {

class CAssemblyWindow;
class CPostCalcDlg;

// The main window. It views and edits the documents of the session, the master data and the
// one order, and carries out the menu commands, asking the user where a command needs an
// answer. It is in one of two states:
// no order open (logo shown, the four order commands greyed) or order open (the order panel
// fills the window). Every close request asks first. A command that would discard a changed
// order or changed master data asks whether to save it first.
//
// Object names for tests: the menu commands are "action" + their id ("action40001" "&Neu...",
// "action40015" "&Berechnen...", "action40016" "&Staffelpreise...", "action40017"
// "&Kostenaufschlüsselung...", "action40018" "&Angebot...", "action40020" "&Nachkalkulation...", "action146" ...,
// "actionUndo" "&Rückgängig", "actionRedo" "&Wiederherstellen"), the recently used orders "recentOrder1"
// .. "recentOrder4", the logo is "picture1064", the panel "orderPanel".
class CMainDlg : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainDlg(QWidget* parent = nullptr);

    // Caption "Kalkora - <file name>" when the order has a file, else "Kalkora"; "*" follows it
    // while the order has unsaved changes, " [schreibgeschützt]" when another has the file open.
    void UpdateTitle();

    documents::Session& session() { return documents; }
    COrderPanel& panel() { return orderPanel; }
    QAction* action(int id) const;
    bool isOrderOpen() const { return documents.order().isOpen(); }
    bool isOrderChanged() const { return documents.order().isChanged(); }
    bool isMasterDataChanged() const { return documents.masterData().isChanged(); }

    // Loads files named at start: master data (.sta) first, then orders (.auf). An order without
    // master data brings the master data file last loaded or saved.
    void OpenStartFiles(const QStringList& paths);
    // The orders last opened or saved, newest first, as the "&Datei" menu lists them.
    QStringList recentOrders() const { return documents.recentOrders().files(); }

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
    void OnPostCalc();
    void OnNewAssembly();
    void OnOpenAssembly();
    void OnPlantData();
    void OnMachineData();
    void OnQuoteDefaults();
    void OnLoadMasterData();
    void OnSaveMasterData();
    void OnLoadOldMasterData();
    void OnHelpContents();
    void OnAbout();
    void OnRecentOrder(int index);

    // What a crash would lose of the assemblies open in their windows, and the same given back.
    std::vector<files::RecoveredDocument> assemblyRecovery() const;
    void restoreAssemblies(const std::vector<files::RecoveredDocument>& assemblies);
    // The same of the post-calculation open in its window.
    std::vector<files::RecoveredDocument> postCalcRecovery() const;
    void restorePostCalcs(const std::vector<files::RecoveredDocument>& postCalcs);

signals:
    // The user answered the close question with Yes: the program ends with the main window.
    void ended();
    // A command ran or the order was edited: the documents may have been changed, saved or
    // discarded.
    void documentsChanged();
    // An assembly window was changed, saved, opened or closed.
    void assembliesChanged();
    // The post-calculation window was changed or saved.
    void postCalcChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createMenu();
    QAction* addCommand(QMenu* menu, int id, const QString& text, void (CMainDlg::*handler)());
    // Shows the order as the document has it: its title, the panel or the logo, the order
    // commands greyed or not.
    void showOrder();
    void enableOrderCommands(bool enabled);
    void createEditMenu();
    void updateEditCommands();
    // A key of one of the operation commands of the edit menu.
    bool isOperationKey(const QKeyEvent* key) const;
    void showAppliedStep(documents::EditedData data);
    // Runs a dialog that edits the master data in place and records its change as a step.
    template <typename Dialog> void editMasterData(const QString& stepText);
    void LoadOrder(float factor);
    bool openOrderFile(const QString& path, float factor);
    bool SaveOrder();
    void LoadMasterData(float factor);
    bool loadMasterDataFile(const QString& path, float factor);
    bool saveMasterDataAs();
    // Opening and saving either document: the lock and changed-on-disk questions, the progress
    // window and the error message.
    bool openDocumentFile(
        documents::FileDocument& document, const QString& path, float factor, const QString& progressText);
    bool saveDocumentFile(documents::FileDocument& document, const QString& path, const QString& progressText);
    // The file dialog of one document's kind; the next one starts in the folder chosen.
    QString chooseFile(const documents::FileDocument& document, const QString& title, bool forSaving);
    bool mayOpenOrder();
    void showFileError(const QString& message);
    // Before a command discards the order or the master data: false when the user cancelled
    // or chose to save and the save did not succeed.
    bool maySaveChangedOrder();
    bool maySaveChangedMasterData();
    void updateRecentOrderMenu();
    // A window for an assembly, costed with the session's master data.
    CAssemblyWindow* newAssemblyWindow();
    // The window of the assembly `path`, if one is open.
    CAssemblyWindow* assemblyWindowOf(const QString& path);
    bool openAssemblyFile(const QString& path);
    // "Öffnen..." in the quote window opens a quote with the order and master data it names.
    void letQuoteWindowOpenWhatItNames();
    // The post-calculation window on the order, made or brought to the front.
    CPostCalcDlg* showPostCalcWindow();
    // A post-calculation window on the order that may take over into it and opens another
    // post-calculation with what it names; not shown yet.
    CPostCalcDlg* newPostCalcWindow();
    // Opens the post-calculation `path` on the order, once its order and master data are loaded.
    void openPostCalcFile(const QString& path);
    // Asks about each assembly window's changes; false when one must stay open.
    bool mayCloseAssemblyWindows();
    // Anything a clean end would lose: the order, the master data, a quote or an assembly, what is
    // being typed included.
    bool hasUnsavedWork();
    // The order as the analysis windows see it: as shown, a field being typed included.
    std::function<COrder()> orderSnapshot();

    documents::Session documents;
    COrderPanel orderPanel;
    FilePrompts filePrompts;
    QLabel* logoPicture = nullptr;
    QList<QAction*> recentOrderActions;
    QAction* recentOrderSeparator = nullptr;
    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;
    bool centred = false;
};

} // namespace kalkora::ui
