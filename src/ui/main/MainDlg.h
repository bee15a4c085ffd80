#pragma once

#include "model/COrder.h"
#include "model/CPlantData.h"
#include "ui/main/OrderPanel.h"

#include <QMainWindow>
#include <QString>

class QAction;
class QLabel;

namespace kalkora::ui {

// The main window. It owns all data of a run, the master data (plantData) and the one order
// (order), for the whole run, and carries out the menu commands. It is in one of two states:
// no order open (logo shown, the four order commands greyed) or order open (the order panel
// fills the window). Every close request asks first; nothing else ever asks about unsaved data.
//
// Object names for tests: the menu commands are "action" + their id ("action40001" "&Neu...",
// "action40015" "&Berechnen...", "action40016" "&Staffelpreise...", "action40017"
// "&Kostenaufschlüsselung...", "action146" ...), the logo is "picture1064", the panel
// "orderPanel".
class CMainDlg : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainDlg(QWidget* parent = nullptr);

    // Caption "Kalkora - <file name>" when the order has a file, else "Kalkora".
    void UpdateTitle();

    CPlantData plantData;
    COrder order;
    // Full path of the order's file, so that "&Speichern" writes back to the file that was
    // opened or last saved; captions and the report show only its name. Empty when none.
    QString orderFileName;

    COrderPanel& panel() { return orderPanel; }
    QAction* action(int id) const;
    bool isOrderOpen() const;

public slots:
    void OnNewOrder();
    void OnOpenOrder();
    void OnCloseOrder();
    void OnLoadOldOrder();
    void OnSaveOrder();
    void OnSaveOrderAs();
    void OnExit();
    void OnCalculate();
    void OnPriceScale();
    void OnCostBreakdown();
    void OnPlantData();
    void OnMachineData();
    void OnLoadMasterData();
    void OnSaveMasterData();
    void OnLoadOldMasterData();
    void OnHelpContents();
    void OnAbout();

signals:
    // The user answered the close question with Yes: the program ends with the main window.
    void ended();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createMenu();
    QAction* addCommand(QMenu* menu, int id, const QString& text, void (CMainDlg::*handler)());
    void enterOrderOpen();
    void enterNoOrderOpen();
    void enableOrderCommands(bool enabled);
    void LoadOrder(float factor);
    void SaveOrder();
    void LoadMasterData(float factor);
    void showFileError(const QString& message);

    COrderPanel orderPanel;
    QLabel* logoPicture = nullptr;
    bool centred = false;
};

} // namespace kalkora::ui
