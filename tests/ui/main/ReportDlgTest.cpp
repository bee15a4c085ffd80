#include "ui/report/ReportDlg.h"

#include "WindowTest.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace kalkora::ui::test {
namespace {

class ReportDlgTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        dlg.setReportText("Kalkulation\r\n\r\nK\xFCrzel: 1,50 \x80\r\n   ");
        dlg.show();
        QApplication::setActiveWindow(&dlg);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    }

    QPlainTextEdit* text() { return dlg.findChild<QPlainTextEdit*>(QStringLiteral("edit1060")); }

    CReportDlg dlg;
};

TEST_F(ReportDlgTest, ShowsTheTextReadOnlyInAFixedPitchFont)
{
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Kalkora 1.0 EURO: Auftrag Berechnen"));
    EXPECT_EQ(text()->toPlainText(), QStringLiteral("Kalkulation\n\nKürzel: 1,50 €\n   "));
    EXPECT_TRUE(text()->isReadOnly());
    EXPECT_EQ(text()->lineWrapMode(), QPlainTextEdit::NoWrap);
    const QFontMetrics metrics(text()->font());
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("iiii")), metrics.horizontalAdvance(QStringLiteral("WWWW")));
    EXPECT_EQ(QApplication::focusWidget(), dlg.findChild<QPushButton*>(QStringLiteral("button1")));
    EXPECT_TRUE(dlg.findChild<QPushButton*>(QStringLiteral("button1061"))->isVisible());
    EXPECT_EQ(dlg.findChild<QPushButton*>(QStringLiteral("button1061"))->text(), QStringLiteral("Drucken..."));
}

TEST_F(ReportDlgTest, EnterAndEscapeCloseAndChangeNothing)
{
    text()->setFocus();
    QTest::keyClick(text(), Qt::Key_Return);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.getReportText(), "Kalkulation\r\n\r\nK\xFCrzel: 1,50 \x80\r\n   ");

    dlg.show();
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
}

} // namespace
} // namespace kalkora::ui::test
