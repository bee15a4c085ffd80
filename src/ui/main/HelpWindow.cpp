#include "ui/main/HelpWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QUrl>
#include <QWindow>

#include <utility>

namespace kalkora::ui {

namespace {

bool holdsStartPage(const QString& folder)
{
    return QFileInfo(QDir(folder).filePath(QString::fromLatin1(helpStartPage))).isFile();
}

class HelpKeyFilter : public QObject {
public:
    HelpKeyFilter(QObject* owner, std::function<void()> onHelp)
        : QObject(owner)
        , onHelp(std::move(onHelp))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const Qt::KeyboardModifiers chord
                = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
            if (key->key() == Qt::Key_F1 && chord == Qt::NoModifier) {
                onHelp();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> onHelp;
};

} // namespace

QString findHelpDirectory(const QString& programDir, const QString& sourceHelpDir)
{
    const QString installed = QDir::cleanPath(QDir(programDir).filePath(QStringLiteral("../share/kalkora/help")));
    if (holdsStartPage(installed)) {
        return installed;
    }
    if (!sourceHelpDir.isEmpty() && holdsStartPage(sourceHelpDir)) {
        return sourceHelpDir;
    }
    return {};
}

QString helpDirectory()
{
    return findHelpDirectory(QCoreApplication::applicationDirPath(), QStringLiteral(KALKORA_HELP_SOURCE_DIR));
}

CHelpWindow& CHelpWindow::instance()
{
    // Deliberately never destroyed before the program ends: the window outlives every dialog.
    static CHelpWindow* window = new CHelpWindow;
    return *window;
}

CHelpWindow::CHelpWindow()
{
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("Kalkora 1.0 EURO - Hilfe"));
    setOpenExternalLinks(true);
    // The program ends with its main window, even while the help is still open.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(720, 640);
}

void CHelpWindow::showStartPage()
{
    const QString folder = helpDirectory();
    if (folder.isEmpty()) {
        setHtml(
            QStringLiteral("<p>Die Hilfeseite %1 wurde nicht gefunden.</p>").arg(QString::fromLatin1(helpStartPage)));
    } else {
        setSearchPaths({ folder });
        setSource(QUrl::fromLocalFile(QDir(folder).filePath(QString::fromLatin1(helpStartPage))));
    }
    showAbove(QApplication::activeModalWidget());
    raise();
    activateWindow();
}

void CHelpWindow::showAbove(QWidget* modalDialog)
{
    // A modal dialog blocks every other window except its transients, so while one is open the
    // help window becomes its transient and stays usable. The blocking is decided when a window
    // is shown, hence the hide and show when the owner changes.
    winId();
    QWindow* owner = modalDialog ? modalDialog->windowHandle() : nullptr;
    if (windowHandle()->transientParent() != owner) {
        hide();
        windowHandle()->setTransientParent(owner);
    }
    show();
}

void showHelpTopic()
{
    CHelpWindow::instance().showStartPage();
}

void installHelpKey(QObject* owner, std::function<void()> onHelp)
{
    qApp->installEventFilter(new HelpKeyFilter(owner, std::move(onHelp)));
}

} // namespace kalkora::ui
