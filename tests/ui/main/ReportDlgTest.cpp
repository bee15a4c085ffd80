#include "ui/report/ReportDlg.h"

#include "WindowTest.h"
#include "ui/report/ReportTextView.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace kalkora::ui::test {
namespace {

const std::string reportBytes = "Kalkulation\r\n\r\nK\xFCrzel: 1,50 \x80\r\n   ";
const QString reportShown = QStringLiteral("Kalkulation\n\nKürzel: 1,50 €\n   ");

class ReportDlgTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        dlg.setReportText(reportBytes);
        dlg.show();
        QApplication::setActiveWindow(&dlg);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    }

    ReportTextView* view() { return dlg.findChild<ReportTextView*>(QStringLiteral("edit1060")); }

    void keys(const std::vector<QKeyCombination>& combinations)
    {
        for (const QKeyCombination key : combinations)
            QTest::keyClick(view(), key.key(), key.keyboardModifiers());
    }

    CReportDlg dlg;
};

TEST_F(ReportDlgTest, ShowsTheTextInAFixedPitchFont)
{
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Kalkora 1.0 EURO: Auftrag Berechnen"));
    EXPECT_EQ(view()->lineCount(), 4);
    view()->selectAll();
    EXPECT_EQ(view()->selectedText(), reportShown);
    const QFontMetrics metrics(view()->font());
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("iiii")), metrics.horizontalAdvance(QStringLiteral("WWWW")));
    EXPECT_EQ(QApplication::focusWidget(), dlg.findChild<QPushButton*>(QStringLiteral("button1")));
}

TEST_F(ReportDlgTest, EnterAndEscapeCloseAndChangeNothing)
{
    view()->setFocus();
    QTest::keyClick(view(), Qt::Key_Return);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.getReportText(), reportBytes);

    dlg.show();
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(ReportDlgTest, KeysAndMouseSelectAndCtrlCCopiesTheSelection)
{
    const Qt::KeyboardModifier shift = Qt::ShiftModifier;
    const struct {
        std::vector<QKeyCombination> keys;
        QString selected;
    } cases[] = {
        { { shift | Qt::Key_Right, shift | Qt::Key_Right, shift | Qt::Key_Right }, QStringLiteral("Kal") },
        { { shift | Qt::Key_End }, QStringLiteral("Kalkulation") },
        { { shift | Qt::Key_Down }, QStringLiteral("Kalkulation\n") },
        { { Qt::Key_Down, Qt::Key_Down, shift | Qt::Key_End }, QStringLiteral("Kürzel: 1,50 €") },
        { { Qt::Key_Down, Qt::Key_Down, Qt::Key_End, shift | Qt::Key_Left, shift | Qt::Key_Left },
            QStringLiteral(" €") },
        { { Qt::Key_Down, shift | Qt::Key_Down, shift | Qt::Key_Right }, QStringLiteral("\nK") },
        { { Qt::Key_End, shift | Qt::Key_Right, shift | Qt::Key_Left }, QString() },
        { { shift | Qt::Key_PageDown }, QStringLiteral("Kalkulation\n\nKürzel: 1,50 €\n") },
        { { Qt::ControlModifier | Qt::Key_End, shift | Qt::Key_Up }, QStringLiteral("zel: 1,50 €\n   ") },
        { { Qt::ControlModifier | Qt::Key_End, shift | Qt::ControlModifier | Qt::Key_Home }, reportShown },
        { { Qt::ControlModifier | Qt::Key_A }, reportShown },
    };
    view()->setFocus();
    for (const auto& c : cases) {
        QApplication::clipboard()->setText(QStringLiteral("vorher"));
        keys({ Qt::ControlModifier | Qt::Key_Home });
        keys(c.keys);
        keys({ Qt::ControlModifier | Qt::Key_C });
        EXPECT_EQ(view()->selectedText(), c.selected);
        EXPECT_EQ(QApplication::clipboard()->text(), c.selected.isEmpty() ? QStringLiteral("vorher") : c.selected);
    }

    // The mouse selects by dragging, and words by a double click.
    const QRect from = view()->characterRect(2, 0);
    const QRect to = view()->characterRect(2, 6);
    QTest::mousePress(view()->viewport(), Qt::LeftButton, {}, from.topLeft() + QPoint(1, 2));
    QTest::mouseMove(view()->viewport(), to.topLeft() + QPoint(1, 2));
    QTest::mouseRelease(view()->viewport(), Qt::LeftButton, {}, to.topLeft() + QPoint(1, 2));
    EXPECT_EQ(view()->selectedText(), QStringLiteral("Kürzel"));

    QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, view()->characterRect(2, 10).center());
    EXPECT_EQ(view()->selectedText(), QStringLiteral("1,50"));
}

TEST_F(ReportDlgTest, FindSelectsTheNextOrPreviousHitAndWrapsAround)
{
    const struct {
        QString needle;
        bool backwards;
        bool caseSensitive;
        QString selected; // empty: not found
    } steps[] = { // the fourth wraps around to the last hit
        { QStringLiteral("k"), false, false, QStringLiteral("K") },
        { QStringLiteral("k"), false, false, QStringLiteral("k") },
        { QStringLiteral("k"), true, false, QStringLiteral("K") },
        { QStringLiteral("k"), true, false, QStringLiteral("K") },
        { QStringLiteral("k"), false, true, QStringLiteral("k") },
        { QStringLiteral("KÜRZEL"), false, false, QStringLiteral("Kürzel") },
        { QStringLiteral("KÜRZEL"), false, true, QString() },
        { QStringLiteral("50 €"), true, true, QStringLiteral("50 €") }, { QStringLiteral("Ω"), false, false, QString() }
    };
    for (const auto& step : steps) {
        const QString before = view()->selectedText();
        ui.clear();
        EXPECT_EQ(view()->find(step.needle, step.backwards, step.caseSensitive), !step.selected.isEmpty());
        EXPECT_EQ(view()->selectedText(), step.selected.isEmpty() ? before : step.selected)
            << step.needle.toStdString();
        EXPECT_EQ(ui.messages(),
            step.selected.isEmpty() ? QStringList { QStringLiteral("„%1“ wurde nicht gefunden.").arg(step.needle) }
                                    : QStringList {});
    }

    // Ctrl+F asks for the text, F3 finds the next hit and Shift+F3 the previous one.
    view()->setFocus();
    QTest::keyClick(view(), Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(view(), Qt::Key_F, Qt::ControlModifier);
    auto* field = dlg.findChild<QLineEdit*>(QStringLiteral("findText"));
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(field->isVisible());
    QTest::keyClicks(field, QStringLiteral("l"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(field->isVisible());
    QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("findNext")), Qt::LeftButton);
    QTest::keyClick(view(), Qt::Key_F3);
    QTest::keyClick(view(), Qt::Key_Right);
    QTest::keyClick(view(), Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(view()->selectedText(), QStringLiteral(" 1,50 €")); // the third "l" is the one of "Kürzel:"
    QTest::keyClick(view(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(view()->selectedText(), QStringLiteral("l"));
}

// A text of a million lines is shown, scrolled and copied while only the lines on screen are
// ever converted for drawing.
TEST_F(ReportDlgTest, AMillionLinesDrawOnlyWhatIsOnScreen)
{
    std::string bytes;
    QString shown;
    for (int i = 0; i < 1'000'000; ++i) {
        bytes += "Zeile " + std::to_string(i) + " \xE4\r\n";
        shown += QStringLiteral("Zeile %1 ä\n").arg(i);
    }
    dlg.setReportText(bytes);
    view()->viewport()->repaint();
    const std::int64_t onScreen = view()->convertedLineCount();
    EXPECT_GT(onScreen, 5);
    EXPECT_LT(onScreen, 100);
    EXPECT_EQ(view()->lineCount(), 1'000'001);

    view()->setFocus();
    QTest::keyClick(view(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(view(), Qt::Key_Up, Qt::ShiftModifier);
    view()->viewport()->repaint();
    EXPECT_EQ(view()->selectedText(), QStringLiteral("Zeile 999999 ä\n"));
    EXPECT_GT(view()->firstVisibleLine(), 999'900);
    QTest::keyClick(view(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(view(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), shown);
    EXPECT_TRUE(view()->find(QStringLiteral("zeile 500000 "), false));
    view()->viewport()->repaint();
    EXPECT_LE(view()->convertedLineCount(), 3 * onScreen);
}

} // namespace
} // namespace kalkora::ui::test
