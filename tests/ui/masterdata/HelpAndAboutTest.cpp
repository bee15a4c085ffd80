#include "ModalDriver.h"
#include "Scenario.h"
#include "WindowTest.h"
#include "files/DataFiles.h"
#include "ui/main/AboutDlg.h"
#include "ui/main/HelpWindow.h"
#include "ui/main/MainDlg.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QWindow>

namespace kalkora::ui::test {
namespace {

class HelpAndAboutTest : public WindowTest {
protected:
    void TearDown() override
    {
        CHelpWindow::instance().hide();
        WindowTest::TearDown();
    }

    static QString shownPage() { return CHelpWindow::instance().pages()->source().fileName(); }
};

TEST_F(HelpAndAboutTest, ContentsShowsTheStartPageAgainInTheSameWindow)
{
    ASSERT_FALSE(helpDirectory().isEmpty());
    CMainDlg main;
    main.action(40052)->trigger();
    CHelpWindow& help = CHelpWindow::instance();
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(shownPage(), QStringLiteral("ueber.html"));
    EXPECT_TRUE(help.pages()->toPlainText().contains(QStringLiteral("Kalkora")));
    EXPECT_EQ(help.parentWidget(), nullptr);
    EXPECT_FALSE(help.windowIcon().isNull());
    EXPECT_FALSE(help.testAttribute(Qt::WA_QuitOnClose)) << "an open help window must not keep the program alive";

    QTest::keyClick(help.pages(), Qt::Key_Escape);
    EXPECT_FALSE(help.isVisible()) << "Escape closes the help";
    main.action(40052)->trigger();
    help.findChild<QPushButton*>(QStringLiteral("buttonClose"))->click();
    EXPECT_FALSE(help.isVisible()) << "so does Schließen";

    main.action(40052)->trigger();
    help.pages()->setSource(QUrl::fromLocalFile(QDir(helpDirectory()).filePath(QStringLiteral("berechnung.html"))));
    main.action(40052)->trigger();
    EXPECT_EQ(&CHelpWindow::instance(), &help);
    EXPECT_EQ(shownPage(), QStringLiteral("ueber.html"));

    const QRect screen = help.screen()->availableGeometry();
    help.hide();
    help.move(screen.bottomRight() - QPoint(100, 100));
    main.action(40052)->trigger();
    EXPECT_TRUE(screen.contains(help.frameGeometry())) << "shown again wholly on the screen";
}

TEST_F(HelpAndAboutTest, InstalledPagesComeBeforeTheSourceTree)
{
    QTemporaryDir prefix;
    const QDir root(prefix.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("bin")));
    const QString bin = root.filePath(QStringLiteral("bin"));
    const QString source = helpDirectory();
    EXPECT_EQ(findHelpDirectory(bin, source), source) << "nothing installed: the source tree";
    EXPECT_EQ(findHelpDirectory(bin, prefix.filePath(QStringLiteral("fehlt"))), QString());

    ASSERT_TRUE(root.mkpath(QStringLiteral("share/kalkora/help")));
    ASSERT_TRUE(files::saveBytes(root.filePath(QStringLiteral("share/kalkora/help/ueber.html")), "").ok());
    EXPECT_EQ(findHelpDirectory(bin, source), root.filePath(QStringLiteral("share/kalkora/help")));
}

TEST_F(HelpAndAboutTest, EveryHelpPageLinkLeadsToAnExistingPage)
{
    const QDir folder(helpDirectory());
    const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+)\""));
    for (const QString& page : folder.entryList({ QStringLiteral("*.html") })) {
        const QString html = QString::fromStdString(fileBytes(folder.filePath(page).toStdString()));
        for (const QRegularExpressionMatch& match : link.globalMatch(html)) {
            EXPECT_TRUE(folder.exists(match.captured(1)))
                << page.toStdString() << " -> " << match.captured(1).toStdString();
        }
    }
}

// F1, and not Shift+F1, shows the page of "&Inhalt" in any window, also above a modal dialog,
// which stays open.
TEST_F(HelpAndAboutTest, F1ShowsTheHelpAlsoAboveAModalDialog)
{
    CMainDlg main;
    bool shownByShiftF1 = true;
    QWindow* ownerWhileModal = nullptr;
    QWindow* dialogWindow = nullptr;
    whenModal([&](QWidget* modal) {
        QTest::keyClick(modal, Qt::Key_F1, Qt::ShiftModifier);
        shownByShiftF1 = CHelpWindow::instance().isVisible();
        QTest::keyClick(modal, Qt::Key_F1);
        ownerWhileModal = CHelpWindow::instance().windowHandle()->transientParent();
        dialogWindow = modal->isVisible() ? modal->windowHandle() : nullptr;
        modal->findChild<QPushButton*>(QStringLiteral("button1"))->click();
    });
    main.OnAbout();
    EXPECT_FALSE(shownByShiftF1);
    ASSERT_NE(dialogWindow, nullptr);
    EXPECT_EQ(ownerWhileModal, dialogWindow) << "a modal dialog blocks every window but its own";
    EXPECT_EQ(shownPage(), QStringLiteral("ueber.html"));

    main.OnHelpContents();
    EXPECT_EQ(CHelpWindow::instance().windowHandle()->transientParent(), nullptr);
    EXPECT_TRUE(CHelpWindow::instance().isVisible());
}

TEST_F(HelpAndAboutTest, AboutBoxShowsLogoAndTextAndClosesWithOk)
{
    CMainDlg main;
    whenModal([this](QWidget* modal) {
        auto* about = qobject_cast<CAboutDlg*>(modal);
        ASSERT_NE(about, nullptr);
        const Row shown[] = { { "", "title" }, { "", "aboutText" } };
        Scenario(*about, ui).run(shown);
        const QLabel* logo = about->findChild<QLabel*>(QStringLiteral("logoPicture"));
        EXPECT_FALSE(logo->pixmap().isNull());
        EXPECT_EQ(logo->pixmap().size(), QSize(196, 148));
        auto* ok = about->findChild<QPushButton*>(QStringLiteral("button1"));
        EXPECT_TRUE(ok->isDefault());
        ok->click();
    });
    main.action(40009)->trigger();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
} // namespace kalkora::ui::test
