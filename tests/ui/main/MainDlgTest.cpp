#include "ui/main/MainDlg.h"

#include "ModalDriver.h"
#include "Scenario.h"
#include "WindowTest.h"
#include "costing/OrderCosting.h"
#include "files/DataFiles.h"
#include "model/DmConversion.h"
#include "ui/common/LongTask.h"
#include "ui/common/QtUiServices.h"
#include "ui/main/CostApp.h"
#include "ui/masterdata/PlantDataDlg.h"
#include "ui/report/ReportDlg.h"

#include <QFile>
#include <QFocusEvent>
#include <QMenuBar>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <optional>
#include <vector>

namespace kalkora::ui::test {
namespace {

const QString closeQuestion = QStringLiteral("Anwendung schließen ? Evtl. nicht gespeicherte Daten gehen verloren !");
const QString orderQuestion = QStringLiteral("Der Auftrag wurde geändert. Sollen die Änderungen gespeichert werden?");
const QString masterQuestion = QStringLiteral("Die Stammdaten wurden geändert. Sollen sie gespeichert werden?");
const std::string changedName = "Ge\xE4ndert"; // typed as "Geändert"

// A user's afternoon: master data "werk.sta" and the order "welle.auf" (two operations) in a
// folder of their own; "andere.auf" is another order to open.
class MainDlgTest : public WindowTest {
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
        QFile::remove(path("neu.sta"));
        ASSERT_TRUE(files::saveMasterData(path("werk.sta"), examplePlant({ "Presse" })).ok());
        COrder order;
        order.operations.add(turningOperation("Drehen", "Presse"));
        order.operations.add(turningOperation("Fr\xE4sen", "Presse"));
        ASSERT_TRUE(files::saveOrder(path("andere.auf"), order).ok());
        order.name = "Welle";
        ASSERT_TRUE(files::saveOrder(path("welle.auf"), order).ok());
    }

    QString path(const char* name) const { return folder.filePath(QString::fromUtf8(name)); }

    // A main window with the files opened at start, or with a new order instead of "welle.auf".
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

    static void typeName(CMainDlg& dlg, const QString& name) { setText(&dlg.panel(), "edit1029", name); }

    static std::string nameInFile(const QString& file)
    {
        COrder order;
        return !file.isEmpty() && files::loadOrder(file, 1.0f, order).ok() ? order.name : std::string();
    }

    // Adds the texts to the transcript, "|"-separated, with the names of files in the folder.
    void note(const char* label, const QStringList& texts)
    {
        record(QString::fromUtf8(label), texts.join(u'|').replace(folder.path() + u'/', QString()));
    }

    QString stored(CMainDlg& dlg, const QString& look) const;
    void run(CMainDlg& dlg, std::span<const Row> rows);

    void damage(const char* name) { ASSERT_TRUE(QFile::resize(path(name), QFile(path(name)).size() - 20)); }

    QTemporaryDir folder;
};

// "commands": 1 or 0 for each order command, "!" if another command is greyed; "logo", "open":
// 1 or 0; "file" the order's file; "rows" its operations; "machines" the master data's names;
// "rent" its rent; "name" the order's name; "saved" the name in "welle.auf".
QString MainDlgTest::stored(CMainDlg& dlg, const QString& look) const
{
    QString text;
    if (look == QLatin1String("commands")) {
        for (int id : { 40003, 40004, 40005, 40015 })
            text += dlg.action(id)->isEnabled() ? u'1' : u'0';
        for (int id : { 40001, 40002, 147, 40006, 40007, 40008, 40010, 40011, 146, 40052, 40009 })
            text += dlg.action(id)->isEnabled() ? QString() : QStringLiteral("!");
    } else if (look == QLatin1String("logo") || look == QLatin1String("open")) {
        text = QString::number(
            look == QLatin1String("open") ? dlg.isOrderOpen() : child(&dlg, "picture1064")->isVisible());
    } else if (look == QLatin1String("file")) {
        text = dlg.session().order().path();
    } else if (look == QLatin1String("rows")) {
        text = QString::number(dlg.panel().operationList()->model()->rowCount());
    } else if (look == QLatin1String("machines")) {
        QStringList names;
        for (int i = 0; i < dlg.session().masterData().data().machines.count(); ++i)
            names << QString::fromLatin1(dlg.session().masterData().data().machines.at(i)->name);
        text = names.join(u'|');
    } else if (look == QLatin1String("name")) {
        text = QString::fromLatin1(dlg.session().order().data().name);
    } else if (look == QLatin1String("rent")) {
        text = QString::number(dlg.session().masterData().data().rentPerSqmYear);
    } else {
        text = QString::fromLatin1(nameInFile(path("welle.auf")));
    }
    return text;
}

void MainDlgTest::run(CMainDlg& dlg, std::span<const Row> rows)
{
    Scenario scenario(dlg, ui, [&](const QString& look) { return stored(dlg, look); });
    scenario.folder = folder.path() + u'/';
    scenario.run(rows);
}

const Row captions[] = { { "", "title" }, { "", "commands" }, { "", "logo" },
    // Without machines an order cannot be opened: only the message shows.
    { "action40002;action147", "open" } };

const Row newOrder[] = { { "action40001", "title" }, { "", "commands" }, { "", "logo" },
    { "file:neu.auf;action40004", "title" }, { "", "messages" } };

TEST_F(MainDlgTest, CaptionsAndGreyingFollowTheOrderState)
{
    CMainDlg dlg;
    dlg.show();
    run(dlg, captions);
    EXPECT_EQ(ui.texts(Kind::Message), QStringList({ files::noMachinesMessage(), files::noMachinesMessage() }));
    EXPECT_EQ(ui.asked.size(), 2u);
    run(dlg, newOrder);
    EXPECT_TRUE(QFile::exists(path("neu.auf")));
    const FileDialogRequest& request = ui.asked.at(0).file;
    EXPECT_TRUE(ui.asked[0].kind == Kind::SaveFile && request.promptOverwrite);
    EXPECT_EQ(request.filterPattern + request.defaultSuffix, QStringLiteral("*.aufauf"));
    // The file dialog shows the label once, not followed by the pattern a second time.
    EXPECT_EQ(qtNameFilter(request), QStringLiteral("Auftragsdaten (*.auf)"));
    const Row closing[] = { { "action40003", "title" }, { "", "commands" }, { "", "open" } };
    run(dlg, closing);
}

TEST_F(MainDlgTest, EveryCloseRequestAsksAndOnlyYesCloses)
{
    CMainDlg dlg;
    dlg.show();
    const auto requestClose = [&](const std::function<void()>& request, bool answer) {
        ui.clear();
        ui.yesNoAnswers.push_back(answer);
        request();
        ASSERT_EQ(ui.asked.size(), 1u);
        EXPECT_EQ(std::tuple(ui.asked[0].kind, ui.asked[0].text, ui.asked[0].icon, dlg.isVisible()),
            std::tuple(Kind::YesNo, closeQuestion, MessageIcon::Question, !answer));
    };
    requestClose([&] { QTest::keyClick(&dlg, Qt::Key_Escape); }, false);
    requestClose([&] { dlg.action(40006)->trigger(); }, false);
    requestClose([&] { dlg.close(); }, false);
    // After an order is closed, the key goes where the window routes it, not to the hidden panel.
    activate(dlg);
    dlg.action(40001)->trigger();
    child(&dlg.panel(), "edit1029")->setFocus();
    dlg.action(40003)->trigger();
    requestClose([&] { QTest::keyClick(dlg.windowHandle(), Qt::Key_Escape); }, false);
    bool ended = false;
    QObject::connect(&dlg, &CMainDlg::ended, [&ended] { ended = true; });
    requestClose([&] { dlg.close(); }, true);
    EXPECT_TRUE(ended);
    dlg.show();
    requestClose([&] { QTest::keyClick(&dlg, Qt::Key_Escape); }, true);

    // With a changed order only the save question is asked, "Abbrechen" keeps the window; Escape
    // on the menu bar asks it too.
    auto changed = openWindow();
    typeName(*changed, QStringLiteral("Geändert"));
    ui.clear();
    changed->action(40006)->trigger();
    activate(*changed);
    changed->menuBar()->setFocus(Qt::MenuBarFocusReason); // where Alt, or a menu closed with Escape, leaves it
    QTest::keyClick(changed->windowHandle(), Qt::Key_Escape);
    EXPECT_EQ(ui.asked.size(), 2u);
    EXPECT_EQ(ui.texts(Kind::YesNoCancel).size(), 2);
    EXPECT_TRUE(changed->isVisible());

    // A changed quote or assembly beside an unchanged order is unsaved too: its own save question
    // is the only one, a name being typed included.
    const std::pair<const char*, std::function<void(CMainDlg&)>> otherWindows[] = {
        { "Das Angebot",
            [](CMainDlg& main) {
                main.action(40018)->trigger();
                setText(child(&main, "quoteDlg"), "profitPct", QStringLiteral("10"));
            } },
        { "Die Baugruppe",
            [](CMainDlg& main) {
                main.action(40030)->trigger();
                setText(child(&main, "assemblyWindow"), "name", QStringLiteral("Getriebe"));
            } },
    };
    changed.reset(); // its locks would open the files read-only
    for (const auto& [question, change] : otherWindows) {
        SCOPED_TRACE(question);
        auto main = openWindow();
        change(*main);
        ui.clear();
        main->action(40006)->trigger();
        ASSERT_EQ(ui.asked.size(), 1u);
        EXPECT_TRUE(ui.asked[0].kind == Kind::YesNoCancel && ui.asked[0].text.startsWith(QLatin1String(question)));
        EXPECT_TRUE(main->isVisible());
    }
}

// A damaged file changes nothing and is reported; an intact one is shown, and "&Speichern"
// writes back to it without a dialog. A failed save forgets the file name.
const Row orderFiles[] = { { "file:kaputt.auf;action40002", "messages" }, { "", "name" }, { "", "title" },
    { "", "file" }, { "file:welle.auf;action40002", "messages" }, { "", "title" }, { "", "rows" },
    { "edit1029=Welle neu;action40004", "messages" }, { "", "saved" },
    { "file:fehlt/welle.auf;action40005", "messages",
        "Kalkora - Auftragsdaten Speichern|Die Datei „welle.auf“ kann nicht…" },
    { "", "title" }, { "", "file" }, { "", "open" }, { "file:;action40004", "messages" } };

TEST_F(MainDlgTest, OrderFilesOpenSaveAndFail)
{
    QFile::copy(path("welle.auf"), path("kaputt.auf"));
    damage("kaputt.auf");
    CMainDlg dlg;
    activate(dlg);
    dlg.session().masterData().data() = examplePlant();
    dlg.action(40001)->trigger();
    dlg.session().order().data().name = "Bisher";
    run(dlg, orderFiles);
}

const Row masterFiles[] = { { "file:werk.sta;action40011", "messages" }, { "", "title" } };

const Row reloading[]
    = { { "file:werk.sta;action40010", "machines" }, { "", "rent" }, { "", "messages" }, { "", "title" } };

const Row damaged[] = { { "file:werk.sta;action40010", "messages" }, { "", "machines" },
    { "file:alt.sta;file:alt.auf;action146;action147", "title" } };

TEST_F(MainDlgTest, MasterDataFilesRoundTripAndOldDmFilesAreConverted)
{
    CMainDlg dlg;
    dlg.session().masterData().data() = examplePlant({ "Presse", "Drehmaschine 1" });
    run(dlg, masterFiles);
    EXPECT_TRUE(ui.asked.at(0).file.promptOverwrite);
    dlg.session().masterData().data().machines.clear();
    dlg.session().masterData().data().rentPerSqmYear = 1;
    run(dlg, reloading);
    EXPECT_GT(dlg.session().masterData().data().machines.at(0)->fixedRate[0], 0);

    damage("werk.sta");
    COrder stored;
    stored.operations.add(externalOperation("H\xE4rten", 10, 100));
    ASSERT_TRUE(files::saveOrder(path("alt.auf"), stored).ok());
    CPlantData plant = examplePlant();
    plant.rentPerSqmYear = 100;
    ASSERT_TRUE(files::saveMasterData(path("alt.sta"), plant).ok());
    run(dlg, damaged);
    EXPECT_EQ(ui.texts(Kind::Message), QStringList({ files::dmMasterDataWarning(), files::dmOrderWarning() }));
    EXPECT_EQ(ui.texts(Kind::OpenFile).size(), 2);
    EXPECT_EQ(dlg.session().masterData().data().rentPerSqmYear, convertMoney(100, dmToEurFactor));
    EXPECT_EQ(dlg.session().order().data().operations.at(0)->externalCostPerPiece, convertMoney(10, dmToEurFactor));
}

TEST_F(MainDlgTest, CalculateShowsEachMissingMachineThenExactlyTheReport)
{
    auto dlg = openWindow();
    dlg->session().order().data().quantityBase = 100;
    dlg->session().order().data().operations.add(turningOperation("Fr\xE4sen", "Fr\xE4se"));
    dlg->session().order().data().operations.add(externalOperation("H\xE4rten", 1.5f, 100));
    dlg->session().order().data().operations.add(turningOperation("Schleifen", "Schleifmaschine"));
    dlg->panel().RefreshFromOrder(); // as after opening the order

    std::string shownReport;
    whenModal([&shownReport](QWidget* window) {
        shownReport = qobject_cast<CReportDlg*>(window)->getReportText();
        window->close();
    });
    dlg->action(40015)->trigger();
    EXPECT_EQ(shownReport,
        costOrder(
            dlg->session().order().data(), dlg->session().masterData().data(), "welle.auf", text::PrintDate::today())
            .reportText);
    note("messages", ui.messages());
}

// Each answer to the save question: the command goes on or stops, the data is saved or not.
struct AnswerCase {
    const char* what;
    bool changed;
    std::optional<Answer> answer;
    bool withOrderFile;
    const char* saveAs; // chosen in the save dialog; nullptr cancels it
    bool goesOn, saved;
};

const AnswerCase answerCases[] = { { "unchanged", false, std::nullopt, true, nullptr, true, false },
    { "Ja saves to the order's file", true, Answer::Yes, true, nullptr, true, true },
    { "Ja asks for a name and saves", true, Answer::Yes, false, "neu.auf", true, true },
    { "Ja, save dialog cancelled", true, Answer::Yes, false, nullptr, false, false },
    { "Ja, save fails", true, Answer::Yes, false, "fehlt/neu.auf", false, false },
    { "Nein", true, Answer::No, true, nullptr, true, false },
    { "Abbrechen", true, Answer::Cancel, true, nullptr, false, false } };

// Each command that discards an order or master data, with each answer; a command tells
// whether it went on.
TEST_F(MainDlgTest, EveryCommandThatDiscardsChangedDataAsksFirst)
{
    const auto order = [this](int id, const char* file = nullptr) {
        return [=, this](CMainDlg& dlg) {
            if (file)
                ui.fileAnswers.push_back(path(file));
            dlg.action(id)->trigger();
            return !(dlg.isVisible() && dlg.isOrderOpen() && dlg.session().order().data().name == changedName);
        };
    };
    const auto master = [this](int id) {
        return [=, this](CMainDlg& dlg) { return dlg.action(id)->trigger(), !ui.texts(Kind::OpenFile).empty(); };
    };
    const auto end = [this](CMainDlg& dlg) {
        return ui.yesNoAnswers.push_back(true), dlg.action(40006)->trigger(), !dlg.isVisible();
    };
    const std::tuple<const char*, bool, std::function<bool(CMainDlg&)>> commands[] = { { "Neu", false, order(40001) },
        { "Öffnen", false, order(40002, "andere.auf") }, { "DM-Auftrag", false, order(147, "andere.auf") },
        { "Schließen", false, order(40003) }, { "Beenden", false, end }, { "Stammdaten laden", true, master(40010) },
        { "DM-Stammdaten", true, master(146) }, { "Beenden", true, end } };
    for (const auto& [command, masterData, runAndSeeItGoOn] : commands) {
        for (const AnswerCase& row : answerCases) {
            if (masterData && row.answer == Answer::Yes && row.withOrderFile)
                continue; // master data is always saved through the dialog
            SCOPED_TRACE(std::string(command) + ": " + row.what);
            writeFiles();
            auto dlg = openWindow(masterData || row.withOrderFile);
            if (row.changed && masterData) {
                whenModal([](QWidget* window) {
                    qobject_cast<CPlantDataDlg*>(window)->field(1004)->setText(QStringLiteral("4"));
                    click(window, "button1001");
                });
                dlg->action(40007)->trigger();
            } else if (row.changed) {
                typeName(*dlg, QStringLiteral("Geändert"));
            }
            QString saveAs = row.saveAs ? path(row.saveAs) : QString();
            if (row.answer)
                ui.yesNoCancelAnswers.push_back(*row.answer);
            if (row.answer == Answer::Yes && !row.withOrderFile)
                ui.fileAnswers.push_back(masterData ? saveAs.replace(".auf", ".sta") : saveAs);
            EXPECT_EQ(runAndSeeItGoOn(*dlg), row.goesOn);
            EXPECT_EQ(ui.texts(Kind::YesNoCancel),
                row.changed ? QStringList { masterData ? masterQuestion : orderQuestion } : QStringList());
            if (masterData) {
                EXPECT_EQ(QFile::exists(path("neu.sta")), row.saved);
                EXPECT_EQ(dlg->isMasterDataChanged(), row.changed && !row.saved);
            } else {
                const QString file = row.withOrderFile ? path("welle.auf") : saveAs;
                EXPECT_EQ(nameInFile(file) == changedName, row.saved);
            }
        }
    }
}

TEST_F(MainDlgTest, OnlyChangesOfTheOrderThroughTheProgramCount)
{
    // The name is typed into its field, which is then left; the command acts on the first operation.
    const std::tuple<const char*, const char*, int, const char*, bool> cases[]
        = { { "name left as it was", "Welle", 0, nullptr, false },
              { "name left with a new text", "Welle 2", 0, nullptr, true },
              { "operation confirmed unchanged", nullptr, 40049, "2", false },
              { "operation confirmed with a new time", nullptr, 40049, "9", true },
              { "delete answered Nein", nullptr, 40048, nullptr, false },
              { "first operation moved up", nullptr, 40040, nullptr, false },
              { "first operation moved down", nullptr, 40041, nullptr, true },
              { "DM order imported", nullptr, 147, nullptr, true } };
    for (const auto& [what, typedName, command, machineTime, changed] : cases) {
        SCOPED_TRACE(what);
        auto dlg = openWindow();
        if (typedName) {
            typeName(*dlg, QString::fromUtf8(typedName));
            QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
            QApplication::sendEvent(child(&dlg->panel(), "edit1029"), &leave);
        }
        QTableView* list = dlg->panel().operationList();
        list->selectionModel()->select(
            list->model()->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        if (machineTime) {
            whenModal([time = QString::fromUtf8(machineTime)](QWidget* window) {
                setText(window, "edit1038", time);
                click(window, "button1");
            });
        }
        ui.fileAnswers.push_back(path("andere.auf"));
        if (command)
            dlg->action(command)->trigger();
        EXPECT_EQ(dlg->isOrderChanged(), changed);
    }
}

// Each kind of step is taken back and made again, the windows and the changed states with it;
// undoing back to where a file was saved makes that data unchanged.
TEST_F(MainDlgTest, EveryStepCanBeUndoneAndMadeAgain)
{
    auto dlg = openWindow();
    ASSERT_TRUE(files::saveMasterData(path("andere.sta"), examplePlant({ "Presse", "S\xE4ge" })).ok());
    const auto select = [&dlg](int row) { dlg->panel().operationList()->selectRow(row); };
    const auto rename = [](QWidget* window) {
        setText(window, "edit1047", QStringLiteral("Senken"));
        click(window, "button1");
    };
    const auto addExternal = [](QWidget* window) {
        click(window, "radio1034");
        setText(window, "edit1047", QStringLiteral("Bohren"));
        setText(window, "edit1048", QStringLiteral("5"));
        click(window, "button1");
    };
    const std::function<void()> steps[] = {
        [&] { typeName(*dlg, QStringLiteral("Neu")), dlg->panel().writeFieldsToOrder(); },
        [&] { select(0), dlg->action(40041)->trigger(); },
        [&] { select(1), ui.yesNoAnswers = { true }, dlg->action(40048)->trigger(); },
        [&] { whenModal(addExternal), dlg->action(40047)->trigger(); },
        [&] { select(0), whenModal(rename), dlg->action(40049)->trigger(); },
        [&] { ui.fileAnswers = { path("andere.sta") }, dlg->action(40010)->trigger(); },
    };
    // The master data's saved state is the file loaded last, so only the order's is in here.
    const auto state = [&dlg] {
        QStringList operations;
        for (int i = 0; i < dlg->session().order().data().operations.count(); ++i)
            operations << QString::fromLatin1(dlg->session().order().data().operations.at(i)->name);
        return QStringLiteral("%1 %2 %3 machines:%4 changed:%5 %6")
            .arg(child<QLineEdit>(&dlg->panel(), "edit1029")->text(), operations.join(u','))
            .arg(dlg->panel().operationList()->model()->rowCount())
            .arg(dlg->session().masterData().data().machines.count())
            .arg(dlg->isOrderChanged())
            .arg(shownTitle(*dlg))
            .toStdString();
    };
    const auto undoText = [&dlg] { return QStringList { child<QAction>(dlg.get(), "actionUndo")->text() }; };
    std::vector<std::string> states { state() };
    for (const auto& step : steps) {
        step();
        states.push_back(state());
        note(states.back().c_str(), undoText());
    }
    for (std::size_t i = std::size(steps); i > 0; --i) {
        dlg->findChild<QAction*>(QStringLiteral("actionUndo"))->trigger();
        EXPECT_EQ(state(), states[i - 1]);
    }
    note("all undone", undoText());
    for (std::size_t i = 1; i <= std::size(steps); ++i) {
        dlg->findChild<QAction*>(QStringLiteral("actionRedo"))->trigger();
        EXPECT_EQ(state(), states[i]);
    }
}

// Ctrl+Z and Ctrl+Y reach "Bearbeiten" from wherever the focus is, as the user presses them; a
// field being typed in takes back its own typing first.
const Row undoKeys[] = { { "", "focus" }, { "keys:Ctrl+Z", "rent" }, { "keys:Ctrl+Y", "rent" },
    { "edit1029~Neu;keys:Ctrl+Z", "edit1029" }, { "keys:Ctrl+Z", "rent" }, { "keys:Ctrl+Shift+Z", "rent" } };

TEST_F(MainDlgTest, UndoKeysWorkWhereverTheFocusIs)
{
    auto dlg = openWindow();
    activate(*dlg);
    whenModal([](QWidget* modal) { setText(modal, "edit1002", QStringLiteral("600")), click(modal, "button1001"); });
    dlg->action(40007)->trigger();
    activate(*dlg); // as the desktop gives the keyboard back after a dialog
    run(*dlg, undoKeys);
}

TEST_F(MainDlgTest, FilesNamedAtStartAreLoadedMasterDataFirst)
{
    QFile::copy(path("welle.auf"), path("kaputt.auf"));
    damage("kaputt.auf");
    QFile::copy(path("werk.sta"), path("WERK.STA"));
    const std::tuple<const char*, QStringList, bool> cases[]
        = { { "both, order first", { path("welle.auf"), path("WERK.STA") }, false },
              { "order, master data remembered", { path("welle.auf") }, true },
              { "order, nothing remembered", { path("welle.auf") }, false },
              { "damaged order", { path("werk.sta"), path("kaputt.auf") }, false } };
    for (const auto& [what, files, masterDataRemembered] : cases) {
        SCOPED_TRACE(what);
        QSettings(QSettings::NativeFormat, QSettings::UserScope, applicationTitle(), applicationTitle()).clear();
        if (masterDataRemembered) {
            ui.fileAnswers.push_back(path("werk.sta"));
            CMainDlg().action(40010)->trigger();
        }
        CMainDlg dlg;
        ui.clear();
        dlg.OpenStartFiles(files);
        note(what, QStringList { shownTitle(dlg) } + ui.messages());
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

TEST_F(MainDlgTest, TheFileMenuListsTheLastFourOrders)
{
    auto dlg = openWindow();
    for (const char* name : { "a.auf", "b.auf", "c.auf", "d.auf" }) {
        ui.fileAnswers.push_back(path(name));
        dlg->action(40005)->trigger();
    }
    EXPECT_EQ(ui.asked.back().file.folder, folder.path()); // where the last order was saved
    EXPECT_EQ(CMainDlg().recentOrders(), QStringList({ path("d.auf"), path("c.auf"), path("b.auf"), path("a.auf") }));
    QAction* first = child<QAction>(dlg.get(), "recentOrder1");
    EXPECT_EQ(first->text(), QStringLiteral("&1 d.auf"));
    EXPECT_EQ(first->toolTip(), path("d.auf"));

    QFile::remove(path("c.auf"));
    ui.clear();
    child<QAction>(dlg.get(), "recentOrder2")->trigger();
    note("gone", ui.messages());
    EXPECT_EQ(CMainDlg().recentOrders(), QStringList({ path("d.auf"), path("b.auf"), path("a.auf") }));

    typeName(*dlg, QStringLiteral("Geändert"));
    ui.yesNoCancelAnswers.push_back(Answer::No);
    child<QAction>(dlg.get(), "recentOrder3")->trigger();
    EXPECT_EQ(ui.texts(Kind::YesNoCancel).size(), 1);
    EXPECT_EQ(shownTitle(*dlg), QStringLiteral("Kalkora - a.auf"));
    EXPECT_EQ(dlg->recentOrders(), QStringList({ path("a.auf"), path("d.auf"), path("b.auf") }));
}

// Long work under a script that shows every progress dialog at once and presses "Abbrechen" at
// the first step: a cancelled load or calculation changes nothing; saving cannot be cancelled.
TEST_F(MainDlgTest, CancellingLongWorkChangesNothing)
{
    CMainDlg dlg;
    dlg.show();
    dlg.session().masterData().data() = examplePlant();
    dlg.action(40001)->trigger();
    dlg.session().order().data().name = "Offen";
    dlg.session().order().data().operations.add(turningOperation("Drehen", "Drehmaschine 1"));
    dlg.panel().RefreshFromOrder();
    int reports = 0;
    QTimer closeReports;
    QObject::connect(&closeReports, &QTimer::timeout, [&] {
        if (auto* report = qobject_cast<CReportDlg*>(QApplication::activeModalWidget()))
            ++reports, report->close();
    });
    closeReports.start(10);
    const auto state = [&] {
        return QStringList { QString::fromStdString(dlg.session().order().data().name), shownTitle(dlg),
            QString::number(dlg.session().masterData().data().machines.count()), QString::number(reports),
            QString::number(QFile(path("neu.auf")).size()) };
    };
    const std::tuple<int, const char*, int, bool> cases[]
        = { { 40002, "welle.auf", 0, false }, { 40010, "werk.sta", 0, false }, { 40015, "", 0, false },
              { 40015, "", -1, true }, { 40005, "neu.auf", 0, true },
              { 40002, "welle.auf", -1, true } }; // command, file chosen, step cancelled (-1: none), changes
    for (const auto& [command, file, cancelAtStep, changes] : cases) {
        LongTaskScript script;
        script.cancelAtStep = cancelAtStep;
        setLongTaskScript(&script);
        ui.fileAnswers = { *file ? path(file) : QString() };
        const QStringList before = state();
        dlg.action(command)->trigger();
        QApplication::processEvents();
        setLongTaskScript(nullptr);
        EXPECT_EQ(script.shown.size(), 1) << command;
        EXPECT_EQ(state() != before, changes) << command << " " << state().join(u'|').toStdString();
        EXPECT_TRUE(ui.messages().isEmpty()) << ui.messages().join(u'|').toStdString();
    }
    EXPECT_EQ(dlg.session().order().data().name, "Welle");
}

// Another Kalkora has "welle.auf" open on another machine: the window asks whether to open it
// read-only; "Nein" leaves it closed, "Ja" shows it so and saves it under another name.
const Row readOnlySave[] = { { "file:welle.auf;action40004", "messages",
                                 "Kalkora - Auftragsdaten Speichern|Die Datei „welle.auf“ wird bereits von …" },
    { "", "title" }, { "file:kopie.auf;action40004", "messages" }, { "", "title" } };

TEST_F(MainDlgTest, AFileOpenElsewhereOpensReadOnlyOrNotAtAll)
{
    QFile lock(path(".welle.auf.lock"));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly) && lock.write("4242\nkalkora\nwerkstatt-pc\n") > 0);
    lock.close();
    for (const bool answer : { false, true }) {
        ui.clear();
        ui.yesNoAnswers = { answer };
        CMainDlg dlg;
        dlg.OpenStartFiles({ path("werk.sta"), path("welle.auf") });
        note(answer ? "Ja" : "Nein",
            ui.texts(Kind::YesNo)
                .replaceInStrings(
                    QStringLiteral(" von %1 auf ").arg(QFileInfo(lock).owner()), QStringLiteral(" von NUTZER auf ")));
        EXPECT_EQ(dlg.isOrderOpen(), answer);
        if (answer) {
            dlg.session().order().data().name = "Kopie";
            run(dlg, readOnlySave);
            EXPECT_EQ(nameInFile(path("welle.auf")) + nameInFile(path("kopie.auf")), "WelleKopie");
        }
    }
}

// Someone else saved "welle.auf" after it was opened: saving over it asks first; "Nein" leaves
// that file as it is and the window's order changed, "Ja" writes it.
TEST_F(MainDlgTest, SavingOverAFileChangedOnDiskAsksFirst)
{
    const QString welle = path("welle.auf");
    auto dlg = openWindow();
    typeName(*dlg, QStringLiteral("Geändert"));
    dlg->panel().writeFieldsToOrder();
    QFile file(welle);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
    file.close();
    dlg->action(40004)->trigger();
    note("asked", ui.texts(Kind::YesNo));
    EXPECT_EQ(nameInFile(welle), "Welle");
    EXPECT_TRUE(dlg->isOrderChanged());
    ui.yesNoAnswers = { true };
    dlg->action(40004)->trigger();
    EXPECT_EQ(nameInFile(welle), changedName);
    EXPECT_FALSE(dlg->isOrderChanged());
}

} // namespace
} // namespace kalkora::ui::test
