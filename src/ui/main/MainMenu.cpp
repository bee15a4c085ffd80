#include "ui/common/UndoKeys.h"
#include "ui/main/MainDlg.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenuBar>

#include <algorithm>

// The menus of the main window, what greys and names their commands, and the keyboard of its
// menu bar.

namespace kalkora::ui {

namespace {

constexpr int orderCommandIds[]
    = { 40004, 40005, 40003, 40015, 40016, 40017, 40018, 40020, 40047, 40049, 40048, 40040, 40041 };

} // namespace

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
    for (int i = 0; i < documents::Session::maxRecentOrders; ++i) {
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
    addCommand(orderMenu, 40020, QStringLiteral("&Nachkalkulation..."), &CMainDlg::OnPostCalc);

    QMenu* assemblyMenu = menuBar()->addMenu(QStringLiteral("Bau&gruppe"));
    addCommand(assemblyMenu, 40030, QStringLiteral("&Neu"), &CMainDlg::OnNewAssembly);
    addCommand(assemblyMenu, 40031, QStringLiteral("Ö&ffnen..."), &CMainDlg::OnOpenAssembly);

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

void CMainDlg::enableOrderCommands(bool enabled)
{
    for (int id : orderCommandIds) {
        action(id)->setEnabled(enabled);
    }
}

void CMainDlg::updateRecentOrderMenu()
{
    const QStringList& files = documents.recentOrders().files();
    for (int i = 0; i < recentOrderActions.size(); ++i) {
        QAction* recent = recentOrderActions.at(i);
        recent->setVisible(i < files.size());
        if (i < files.size()) {
            const QString name = QFileInfo(files.at(i)).fileName();
            recent->setText(
                QStringLiteral("&%1 %2").arg(i + 1).arg(QString(name).replace(QLatin1Char('&'), QStringLiteral("&&"))));
            recent->setToolTip(QDir::toNativeSeparators(files.at(i)));
        }
    }
    recentOrderSeparator->setVisible(!files.isEmpty());
}

void CMainDlg::createEditMenu()
{
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Bearbeiten"));
    undoAction = edit->addAction(QString(), this, &CMainDlg::OnUndo);
    undoAction->setObjectName(QStringLiteral("actionUndo"));
    undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoAction = edit->addAction(QString(), this, &CMainDlg::OnRedo);
    redoAction->setObjectName(QStringLiteral("actionRedo"));
    redoAction->setShortcuts({ QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) });
    edit->addSeparator();
    edit->addActions(orderPanel.operationCommands());
}

void CMainDlg::updateEditCommands()
{
    showUndoSteps(documents.history().steps(), undoAction, redoAction);
}

bool CMainDlg::isOperationKey(const QKeyEvent* key) const
{
    const QKeySequence pressed(key->keyCombination());
    const QList<QAction*>& commands = orderPanel.operationCommands();
    return std::any_of(commands.begin(), commands.end(),
        [&pressed](QAction* command) { return command->shortcuts().contains(pressed); });
}

bool CMainDlg::eventFilter(QObject* watched, QEvent* event)
{
    // The operation commands are in the edit menu, so Qt would take their keys while the menu bar
    // holds the keyboard too; there Return opens a menu and the others do nothing.
    if (watched == menuBar() && event->type() == QEvent::ShortcutOverride
        && isOperationKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
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

} // namespace kalkora::ui
