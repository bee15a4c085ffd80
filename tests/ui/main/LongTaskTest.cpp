#include "ui/common/LongTask.h"

#include "WindowTest.h"
#include "files/DataFiles.h"
#include "ui/main/MainDlg.h"
#include "ui/report/ReportDlg.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

namespace kalkora::ui::test {
namespace {

// Long work under a script that shows every progress dialog at once and presses "Abbrechen" at
// the first step: a cancelled load or calculation changes nothing; saving cannot be cancelled
// and goes on to the end.
TEST(LongTaskTest, CancellingLongWorkChangesNothing)
{
    ScriptedUiServices ui;
    QTemporaryDir folder;
    const QString orderFile = folder.filePath(QStringLiteral("platte.auf"));
    const QString masterFile = folder.filePath(QStringLiteral("werk.sta"));
    const QString savedFile = folder.filePath(QStringLiteral("neu.auf"));
    const CPlantData plant = examplePlant({ "Drehmaschine 1", "Fr\xE4se" });
    ASSERT_TRUE(files::saveMasterData(masterFile, plant).ok());
    COrder onDisk;
    onDisk.name = "Von der Platte";
    onDisk.operations.add(turningOperation("Drehen", "Drehmaschine 1"));
    ASSERT_TRUE(files::saveOrder(orderFile, onDisk).ok());

    CMainDlg dlg;
    dlg.show();
    dlg.plantData = examplePlant();
    dlg.action(40001)->trigger();
    dlg.order.name = "Offen";
    dlg.order.operations.add(turningOperation("Drehen", "Drehmaschine 1"));
    dlg.panel().RefreshFromOrder();

    int reports = 0;
    QTimer closeReports;
    QObject::connect(&closeReports, &QTimer::timeout, [&] {
        if (auto* report = qobject_cast<CReportDlg*>(QApplication::activeModalWidget())) {
            ++reports;
            report->close();
        }
    });
    closeReports.start(10);
    const auto state = [&] {
        return QStringList { QString::fromStdString(dlg.order.name), dlg.windowTitle(),
            QString::number(dlg.plantData.machines.count()), QString::number(reports),
            QString::number(QFile(savedFile).size()) };
    };

    const struct {
        int command;
        QString file;
        int cancelAtStep;
        bool changes;
    } cases[] = { { 40002, orderFile, 0, false }, { 40010, masterFile, 0, false }, { 40015, {}, 0, false },
        { 40015, {}, -1, true }, { 40005, savedFile, 0, true }, { 40002, orderFile, -1, true } };
    for (const auto& c : cases) {
        LongTaskScript script;
        script.cancelAtStep = c.cancelAtStep;
        setLongTaskScript(&script);
        ui.fileAnswers = { c.file };
        const QStringList before = state();
        dlg.action(c.command)->trigger();
        QApplication::processEvents();
        setLongTaskScript(nullptr);
        EXPECT_EQ(script.shown.size(), 1) << c.command;
        EXPECT_EQ(state() != before, c.changes) << c.command << " " << state().join(u'|').toStdString();
        EXPECT_TRUE(ui.messages().isEmpty()) << ui.messages().join(u'|').toStdString();
    }
    EXPECT_EQ(dlg.order.name, "Von der Platte");
}

} // namespace
} // namespace kalkora::ui::test
