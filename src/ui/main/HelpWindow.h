#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

#include <functional>

class QKeyEvent;
class QTextBrowser;

namespace kalkora::ui {

// The program's help: German HTML pages in the help folder, opened at "ueber.html" in one
// top-level window that belongs to no other window, with a button "Schließen" (also Escape).
// Asking for help again reuses and raises that window and shows the start page again.

inline constexpr const char* helpStartPage = "ueber.html";

// The folder that holds the help pages: share/kalkora/help beside an installed program, else
// the pages in the source tree of a build. Empty when neither exists.
QString helpDirectory();

// The same search, for a program in `programDir` built from a tree whose pages are in
// `sourceHelpDir`.
QString findHelpDirectory(const QString& programDir, const QString& sourceHelpDir);

class CHelpWindow : public QWidget {
    Q_OBJECT

public:
    // The one help window, created on first use.
    static CHelpWindow& instance();

    QTextBrowser* pages() const { return browser; }

    // Shows the start page and brings the window to the front.
    void showStartPage();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CHelpWindow();
    void showAbove(QWidget* modalDialog);
    void placeOnScreen(const QWidget* anchor);

    QTextBrowser* browser = nullptr;
    bool placed = false;
};

// Shows the help topic of the program: the start page in the help window.
void showHelpTopic();

// Turns F1 (without Shift, Ctrl or Alt) in every window of the program into a help request,
// which `onHelp` handles. The filter lives as long as `owner`, normally the main window.
void installHelpKey(QObject* owner, std::function<void()> onHelp);

} // namespace kalkora::ui
