#include "ModalDriver.h"
#include "WindowTest.h"
#include "files/DataFiles.h"
#include "ui/main/CostApp.h"
#include "ui/main/MainDlg.h"
#include "ui/masterdata/PlantDataDlg.h"

#include <QAction>
#include <QFile>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <optional>
#include <tuple>

namespace kalkora::ui::test {
namespace {

using Kind = ScriptedUiServices::Kind;

const QString orderQuestion = QStringLiteral("Der Auftrag wurde geändert. Sollen die Änderungen gespeichert werden?");
const QString masterQuestion = QStringLiteral("Die Stammdaten wurden geändert. Sollen sie gespeichert werden?");
const std::string changedName = "Ge\xE4ndert"; // typed as "Geändert"

// A user's afternoon: master data "werk.sta" and the order "welle.auf" (two operations) opened
// from their files; "andere.auf" is another order to open.
class SaveQuestionTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        writeFiles();
    }

    void writeFiles()
    {
        QFile::remove(path("neu.auf"));
        const CPlantData plant = examplePlant({ "Presse" });
        ASSERT_TRUE(files::saveMasterData(path("werk.sta"), plant).ok());
        COrder order;
        order.operations.add(turningOperation("Drehen", "Presse"));
        order.operations.add(turningOperation("Fr\xE4sen", "Presse"));
        ASSERT_TRUE(files::saveOrder(path("andere.auf"), order).ok());
        order.name = "Welle";
        ASSERT_TRUE(files::saveOrder(path("welle.auf"), order).ok());
    }

    QString path(const char* name) const { return folder.filePath(QString::fromUtf8(name)); }

    std::unique_ptr<CMainDlg> openWindow(bool withOrderFile = true)
    {
        auto dlg = std::make_unique<CMainDlg>();
        dlg->show();
        dlg->OpenStartFiles({ path("werk.sta"), path("welle.auf") });
        if (!withOrderFile)
            dlg->action(40001)->trigger();
        // Answers that a stopped command of an earlier case did not take are not for this one.
        ui.clear();
        ui.fileAnswers.clear();
        ui.yesNoAnswers.clear();
        ui.yesNoCancelAnswers.clear();
        return dlg;
    }

    static void typeName(CMainDlg& dlg, const QString& name)
    {
        dlg.panel().findChild<QLineEdit*>(QStringLiteral("edit1029"))->setText(name);
    }

    static std::string nameInFile(const QString& file)
    {
        COrder order;
        return !file.isEmpty() && files::loadOrder(file, 1.0f, order).ok() ? order.name : std::string();
    }

    QTemporaryDir folder;
};

// Each answer to the save question: the command goes on or stops, the data is saved or not.
struct AnswerCase {
    const char* what;
    bool changed;
    std::optional<Answer> answer;
    bool withOrderFile;
    const char* saveAs; // chosen in the save dialog; nullptr cancels it
    bool goesOn;
    bool saved;
};

const AnswerCase answerCases[] = {
    { "unchanged", false, std::nullopt, true, nullptr, true, false },
    { "Ja saves to the order's file", true, Answer::Yes, true, nullptr, true, true },
    { "Ja asks for a name and saves", true, Answer::Yes, false, "neu.auf", true, true },
    { "Ja, save dialog cancelled", true, Answer::Yes, false, nullptr, false, false },
    { "Ja, save fails", true, Answer::Yes, false, "fehlt/neu.auf", false, false },
    { "Nein", true, Answer::No, true, nullptr, true, false },
    { "Abbrechen", true, Answer::Cancel, true, nullptr, false, false },
};

void prepareAnswer(ScriptedUiServices& ui, const AnswerCase& row, const QString& saveAs)
{
    if (row.answer)
        ui.yesNoCancelAnswers.push_back(*row.answer);
    if (row.answer == Answer::Yes && !row.withOrderFile)
        ui.fileAnswers.push_back(saveAs);
}

TEST_F(SaveQuestionTest, EveryCommandThatDiscardsAChangedOrderAsksFirst)
{
    const std::pair<const char*, std::function<void(CMainDlg&)>> commands[] = {
        { "Neu", [](CMainDlg& dlg) { dlg.action(40001)->trigger(); } },
        { "Öffnen",
            [&](CMainDlg& dlg) { ui.fileAnswers.push_back(path("andere.auf")), dlg.action(40002)->trigger(); } },
        { "DM-Auftrag",
            [&](CMainDlg& dlg) { ui.fileAnswers.push_back(path("andere.auf")), dlg.action(147)->trigger(); } },
        { "Schließen", [](CMainDlg& dlg) { dlg.action(40003)->trigger(); } },
        { "Beenden", [&](CMainDlg& dlg) { ui.yesNoAnswers.push_back(true), dlg.action(40006)->trigger(); } },
    };
    for (const auto& [command, run] : commands) {
        for (const AnswerCase& row : answerCases) {
            SCOPED_TRACE(std::string(command) + ": " + row.what);
            writeFiles();
            auto dlg = openWindow(row.withOrderFile);
            if (row.changed)
                typeName(*dlg, QStringLiteral("Geändert"));
            prepareAnswer(ui, row, row.saveAs ? path(row.saveAs) : QString());
            run(*dlg);

            EXPECT_EQ(ui.texts(Kind::YesNoCancel), row.changed ? QStringList { orderQuestion } : QStringList());
            const bool orderStays = dlg->isVisible() && dlg->isOrderOpen() && dlg->order.name == changedName;
            EXPECT_EQ(orderStays, row.changed && !row.goesOn);
            const QString file = row.withOrderFile ? path("welle.auf") : row.saveAs ? path(row.saveAs) : QString();
            EXPECT_EQ(nameInFile(file) == changedName, row.saved);
        }
    }
}

TEST_F(SaveQuestionTest, ChangedMasterDataAsksBeforeLoadingOtherMasterDataOrEnding)
{
    const std::pair<const char*, std::function<bool(CMainDlg&)>> commands[] = {
        { "Stammdaten laden",
            [&](CMainDlg& dlg) { return dlg.action(40010)->trigger(), !ui.texts(Kind::OpenFile).empty(); } },
        { "DM-Stammdaten",
            [&](CMainDlg& dlg) { return dlg.action(146)->trigger(), !ui.texts(Kind::OpenFile).empty(); } },
        { "Beenden", [&](CMainDlg& dlg) { return ui.yesNoAnswers.push_back(true), dlg.close(), !dlg.isVisible(); } },
    };
    for (const auto& [command, runAndSeeItGoOn] : commands) {
        for (const AnswerCase& row : answerCases) {
            if (row.answer == Answer::Yes && row.withOrderFile)
                continue; // master data is always saved through the dialog
            SCOPED_TRACE(std::string(command) + ": " + row.what);
            auto dlg = openWindow();
            if (row.changed) {
                whenModal([](QWidget* window) {
                    qobject_cast<CPlantDataDlg*>(window)->field(1004)->setText(QStringLiteral("4"));
                    window->findChild<QPushButton*>(QStringLiteral("button1001"))->click();
                });
                dlg->action(40007)->trigger();
            }
            QFile::remove(path("neu.sta"));
            prepareAnswer(ui, row, row.saveAs ? path(row.saveAs).replace(".auf", ".sta") : QString());

            EXPECT_EQ(runAndSeeItGoOn(*dlg), row.goesOn);
            EXPECT_EQ(ui.texts(Kind::YesNoCancel), row.changed ? QStringList { masterQuestion } : QStringList());
            EXPECT_EQ(QFile::exists(path("neu.sta")), row.saved);
            EXPECT_EQ(dlg->isMasterDataChanged(), row.changed && !row.saved);
        }
    }
}

TEST_F(SaveQuestionTest, OnlyChangesOfTheOrderThroughTheProgramCount)
{
    // The name is typed into its field, which is then left; the command, of the window or the panel, acts on the
    // first operation.
    const std::tuple<const char*, const char*, int, const char*, bool> cases[] = {
        { "name left as it was", "Welle", 0, nullptr, false },
        { "name left with a new text", "Welle 2", 0, nullptr, true },
        { "operation confirmed unchanged", nullptr, 40049, "2", false },
        { "operation confirmed with a new time", nullptr, 40049, "9", true },
        { "delete answered Nein", nullptr, 40048, nullptr, false },
        { "first operation moved up", nullptr, 40040, nullptr, false },
        { "first operation moved down", nullptr, 40041, nullptr, true },
        { "changed, then saved", "Welle 2", 40004, nullptr, false },
        { "DM order imported", nullptr, 147, nullptr, true },
    };
    for (const auto& [what, typedName, command, machineTime, changed] : cases) {
        SCOPED_TRACE(what);
        auto dlg = openWindow();
        if (typedName) {
            typeName(*dlg, QString::fromUtf8(typedName));
            QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
            QApplication::sendEvent(dlg->panel().findChild<QLineEdit*>(QStringLiteral("edit1029")), &leave);
        }
        QTableView* list = dlg->panel().operationList();
        list->selectionModel()->select(
            list->model()->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        if (machineTime) {
            whenModal([time = QString::fromUtf8(machineTime)](QWidget* window) {
                window->findChild<QLineEdit*>(QStringLiteral("edit1038"))->setText(time);
                window->findChild<QPushButton*>(QStringLiteral("button1"))->click();
            });
        }
        ui.fileAnswers.push_back(path("andere.auf"));
        if (command)
            dlg->action(command)->trigger();
        EXPECT_EQ(dlg->isOrderChanged(), changed);
    }
}

TEST_F(SaveQuestionTest, EndingAsksFirstAlsoByEscapeOnTheMenuBar)
{
    auto dlg = openWindow();
    typeName(*dlg, QStringLiteral("Geändert"));
    dlg->action(40006)->trigger();
    EXPECT_EQ(ui.asked.size(), 1u); // "Nein" to ending asks nothing more
    EXPECT_TRUE(dlg->isVisible());
    activate(*dlg);
    dlg->menuBar()->setFocus(Qt::MenuBarFocusReason); // where Alt, or a menu closed with Escape, leaves it
    QTest::keyClick(dlg->windowHandle(), Qt::Key_Escape);
    EXPECT_EQ(ui.texts(Kind::YesNo).size(), 2);
}

TEST_F(SaveQuestionTest, FilesNamedAtStartAreLoadedMasterDataFirst)
{
    QFile::copy(path("welle.auf"), path("kaputt.auf"));
    ASSERT_TRUE(QFile::resize(path("kaputt.auf"), QFile(path("kaputt.auf")).size() - 20));
    QFile::copy(path("werk.sta"), path("WERK.STA"));

    // The message: part of the one message expected, or nullptr.
    const std::tuple<const char*, QStringList, bool, const char*> cases[] = {
        { "both, order first", { path("welle.auf"), path("WERK.STA") }, false, nullptr },
        { "order, master data remembered", { path("welle.auf") }, true, nullptr },
        { "order, nothing remembered", { path("welle.auf") }, false, "keine Maschinendaten" },
        { "damaged order", { path("werk.sta"), path("kaputt.auf") }, false, "kaputt.auf" },
    };
    for (const auto& [what, files, masterDataRemembered, message] : cases) {
        SCOPED_TRACE(what);
        QSettings(QSettings::NativeFormat, QSettings::UserScope, applicationTitle(), applicationTitle()).clear();
        if (masterDataRemembered) {
            ui.fileAnswers.push_back(path("werk.sta"));
            CMainDlg().action(40010)->trigger();
        }
        CMainDlg dlg;
        ui.clear();
        dlg.OpenStartFiles(files);
        EXPECT_EQ(
            dlg.windowTitle(), message ? QStringLiteral("Kalkora 1.0 EURO") : QStringLiteral("Kalkora - welle.auf"));
        ASSERT_EQ(ui.messages().size(), message ? 1 : 0);
        EXPECT_TRUE(!message || ui.messages()[0].contains(QString::fromUtf8(message)));
    }

    for (const auto& [arguments, exitCode] :
        { std::pair { QStringList { "kalkora", "--help" }, 0 }, std::pair { QStringList { "kalkora", "-v" }, 0 },
            std::pair { QStringList { "kalkora", "-x", "a.auf" }, 2 } }) {
        const StartRequest request = parseCommandLine(arguments);
        EXPECT_TRUE(request.exitNow && request.exitCode == exitCode);
        EXPECT_EQ(request.output.isEmpty(), exitCode != 0);
    }
    EXPECT_EQ(parseCommandLine({ "kalkora", "b.sta", "a.auf" }).files, QStringList({ "b.sta", "a.auf" }));
}

TEST_F(SaveQuestionTest, TheFileMenuListsTheLastFourOrders)
{
    auto dlg = openWindow();
    for (const char* name : { "a.auf", "b.auf", "c.auf", "d.auf" }) {
        ui.fileAnswers.push_back(path(name));
        dlg->action(40005)->trigger();
    }
    EXPECT_EQ(ui.asked.back().file.folder, folder.path()); // where the last order was saved
    EXPECT_EQ(CMainDlg().recentOrders(), QStringList({ path("d.auf"), path("c.auf"), path("b.auf"), path("a.auf") }));
    QAction* first = dlg->findChild<QAction*>(QStringLiteral("recentOrder1"));
    EXPECT_EQ(first->text(), QStringLiteral("&1 d.auf"));
    EXPECT_EQ(first->toolTip(), path("d.auf"));

    QFile::remove(path("c.auf"));
    ui.clear();
    dlg->findChild<QAction*>(QStringLiteral("recentOrder2"))->trigger();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains(path("c.auf")));
    EXPECT_EQ(dlg->recentOrders(), QStringList({ path("d.auf"), path("b.auf"), path("a.auf") }));

    typeName(*dlg, QStringLiteral("Geändert"));
    ui.yesNoCancelAnswers.push_back(Answer::No);
    dlg->findChild<QAction*>(QStringLiteral("recentOrder3"))->trigger();
    EXPECT_EQ(ui.texts(Kind::YesNoCancel).size(), 1);
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Kalkora - a.auf"));
    EXPECT_EQ(dlg->recentOrders().constFirst(), path("a.auf"));
}

} // namespace
} // namespace kalkora::ui::test
