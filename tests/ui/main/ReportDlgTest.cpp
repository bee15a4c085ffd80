#include "ui/report/ReportDlg.h"

#include "Scenario.h"
#include "WindowTest.h"
#include "ui/report/ReportTextView.h"

#include <QClipboard>
#include <QFontMetrics>

namespace kalkora::ui::test {
namespace {

const std::string reportBytes = "Kalkulation\r\n\r\nK\xFCrzel: 1,50 \x80\r\n   ";

class ReportDlgTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        dlg.setReportText(reportBytes);
        activate(dlg);
    }

    ReportTextView* view() { return child<ReportTextView>(&dlg, "edit1060"); }

    // "selected" the view's selection, "clipboard" what Ctrl+C left there.
    void run(std::span<const Row> rows)
    {
        Scenario(dlg, ui, [this](const QString& name) {
            return name == QLatin1String("selected") ? view()->selectedText() : QApplication::clipboard()->text();
        }).run(rows);
    }

    CReportDlg dlg;
};

TEST_F(ReportDlgTest, ShowsTheTextInAFixedPitchFontAndCloses)
{
    EXPECT_EQ(view()->lineCount(), 4);
    const QFontMetrics metrics(view()->font());
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("iiii")), metrics.horizontalAdvance(QStringLiteral("WWWW")));
    // Every line is drawn where it belongs: the third one has ink in its row.
    const QImage shot = view()->viewport()->grab().toImage();
    const QRect row = view()->characterRect(2, 0).united(view()->characterRect(2, 5));
    int ink = 0;
    for (int y = row.top(); y <= row.bottom(); ++y)
        for (int x = row.left(); x <= row.right(); ++x)
            ink += qGray(shot.pixel(x * shot.width() / view()->viewport()->width(),
                       y * shot.height() / view()->viewport()->height()))
                < 128;
    EXPECT_GT(ink, 10);

    const Row rows[] = { { "", "title" }, { "", "focus" }, { "keys:Tab Return", "visible" }, { "", "selected" } };
    run(rows);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.getReportText(), reportBytes);
    activate(dlg);
    const Row escape[] = { { "keys:Escape", "visible" } };
    run(escape);
}

// Each row starts at the top of the text and ends with Ctrl+C, which copies only a selection.
const Row selecting[] = { { "keys:Shift+Right Shift+Right Shift+Right", "selected" },
    { "keys:Shift+Right Shift+Right Left", "clipboard" }, { "keys:Shift+End", "selected" },
    { "keys:Shift+Down", "selected" }, { "keys:Down Down Shift+End", "selected" },
    { "keys:Down Down End Shift+Left Shift+Left", "clipboard" }, { "keys:Down Shift+Down Shift+Right", "selected" },
    { "keys:End Shift+Right Shift+Left", "clipboard" }, { "keys:Shift+PgDown", "selected" },
    { "keys:Ctrl+End Shift+Up", "clipboard" }, { "keys:Ctrl+End Shift+PgUp", "selected" },
    { "keys:Ctrl+End Shift+Ctrl+Home", "clipboard" }, { "keys:Ctrl+A", "selected" } };

TEST_F(ReportDlgTest, KeysAndMouseSelectAndCtrlCCopiesTheSelection)
{
    view()->setFocus();
    for (const Row& row : selecting) {
        QApplication::clipboard()->setText(QStringLiteral("vorher"));
        const std::string keys = std::string("keys:Ctrl+Home ") + (row.act + 5) + " Ctrl+C";
        const Row step[] = { { keys.c_str(), row.look, row.expected } };
        run(step);
    }

    // The mouse selects by dragging, and words by a double click.
    const QPoint from = view()->characterRect(2, 0).topLeft() + QPoint(1, 2);
    const QPoint to = view()->characterRect(2, 6).topLeft() + QPoint(1, 2);
    QTest::mousePress(view()->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(view()->viewport(), to);
    QTest::mouseRelease(view()->viewport(), Qt::LeftButton, {}, to);
    EXPECT_EQ(view()->selectedText(), QStringLiteral("Kürzel"));
    QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, view()->characterRect(2, 10).center());
    EXPECT_EQ(view()->selectedText(), QStringLiteral("1,50"));
}

TEST_F(ReportDlgTest, FindSelectsTheNextOrPreviousHitAndWrapsAround)
{
    const struct {
        const char* needle;
        bool backwards, caseSensitive;
        const char* selected; // nullptr: not found
    } steps[] = { // the fourth wraps around to the last hit
        { "k", false, false, "K" }, { "k", false, false, "k" }, { "k", true, false, "K" }, { "k", true, false, "K" },
        { "k", false, true, "k" }, { "KÜRZEL", false, false, "Kürzel" }, { "KÜRZEL", false, true, nullptr },
        { "50 €", true, true, "50 €" }, { "Ω", false, false, nullptr }
    };
    for (const auto& step : steps) {
        const QString needle = QString::fromUtf8(step.needle);
        const QString before = view()->selectedText();
        ui.clear();
        EXPECT_EQ(view()->find(needle, step.backwards, step.caseSensitive), step.selected != nullptr);
        EXPECT_EQ(view()->selectedText(), step.selected ? QString::fromUtf8(step.selected) : before) << step.needle;
        record(needle, ui.messages().join(u'|'));
    }

    // Ctrl+F asks for the text where the focus goes, F3 finds the next hit and Shift+F3 the previous one.
    view()->setFocus();
    const Row inField[] = { { "keys:Ctrl+Home Ctrl+F L Return", "focus" }, { "findNext", "selected" } };
    run(inField);
    EXPECT_TRUE(child(&dlg, "findText")->isVisible());
    activate(dlg);
    view()->setFocus();
    const Row inView[] = { { "keys:F3 Right Shift+End", "selected" }, { "keys:Shift+F3", "selected" } };
    run(inView);
}

} // namespace
} // namespace kalkora::ui::test
