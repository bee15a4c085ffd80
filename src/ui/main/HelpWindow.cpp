#include "ui/main/HelpWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
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

// `outer` moved, and shrunk where it is larger, to lie wholly inside `area`.
QRect fitInto(QRect outer, const QRect& area)
{
    outer.setSize(outer.size().boundedTo(area.size()));
    outer.moveLeft(std::clamp(outer.left(), area.left(), area.right() + 1 - outer.width()));
    outer.moveTop(std::clamp(outer.top(), area.top(), area.bottom() + 1 - outer.height()));
    return outer;
}

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
    auto* layout = new QVBoxLayout(this);
    browser = new QTextBrowser(this);
    browser->setObjectName(QStringLiteral("helpPages"));
    browser->setOpenExternalLinks(true);
    layout->addWidget(browser, 1);
    auto* close = new QPushButton(QStringLiteral("Schließen"), this);
    close->setObjectName(QStringLiteral("buttonClose"));
    layout->addWidget(close, 0, Qt::AlignRight);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    // The program ends with its main window, even while the help is still open.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(720, 640);
}

void CHelpWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CHelpWindow::showStartPage()
{
    const QString folder = helpDirectory();
    if (folder.isEmpty()) {
        browser->setHtml(
            QStringLiteral("<p>Die Hilfeseite %1 wurde nicht gefunden.</p>").arg(QString::fromLatin1(helpStartPage)));
    } else {
        browser->setSearchPaths({ folder });
        browser->setSource(QUrl::fromLocalFile(QDir(folder).filePath(QString::fromLatin1(helpStartPage))));
    }
    showAbove(QApplication::activeModalWidget());
    raise();
    activateWindow();
    browser->setFocus();
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
    if (!isVisible()) {
        QWidget* anchor = modalDialog ? modalDialog : QApplication::activeWindow();
        placeOnScreen(anchor == this ? nullptr : anchor);
    }
    show();
}

void CHelpWindow::placeOnScreen(const QWidget* anchor)
{
    // The whole window, frame included, stays inside the screen's free area: the first time
    // centred over the window that asked for help, later where the user left it.
    const QRect area = (anchor && !placed ? anchor->screen() : screen())->availableGeometry();
    // Until the window manager has framed the window once, allow for a usual title bar.
    const QMargins frame = placed ? windowHandle()->frameMargins() : QMargins(4, 32, 4, 4);
    QRect outer = placed ? frameGeometry() : QRect(QPoint(), size().grownBy(frame));
    if (!placed)
        outer.moveCenter(anchor ? anchor->frameGeometry().center() : area.center());
    outer = fitInto(outer, area);
    resize(outer.size().shrunkBy(frame));
    move(outer.topLeft());
    placed = true;
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
