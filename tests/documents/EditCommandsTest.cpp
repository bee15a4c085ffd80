#include "core/ExampleData.h"
#include "core/Golden.h"
#include "documents/OrderCommands.h"
#include "documents/Session.h"
#include "model/MasterDataFile.h"
#include "text/Cp1252.h"

#include <QStandardPaths>

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace kalkora::documents {
namespace {

using namespace kalkora::testing;

class EditCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        session.order().startNew();
        order() = exampleOrder();
        order().operations.add(std::make_unique<COperation>(*order().operations.at(0)));
        order().operations.at(1)->name = "Fr\xE4sen";
        session.masterData().data() = examplePlant();
    }

    COrder& order() { return session.order().data(); }
    template <typename Command, typename... Values> void push(Values... values)
    {
        history().push(std::make_unique<Command>(history(), order(), values...));
    }
    EditHistory& history() { return session.history(); }
    std::string state() const
    {
        std::string names;
        for (int i = 0; i < session.order().data().operations.count(); ++i)
            names += session.order().data().operations.at(i)->name + ",";
        return session.order().data().name + " " + std::to_string(session.order().data().quantityBase) + " "
            + text::cp1252ToUtf8(names) + " rent "
            + std::to_string(static_cast<int>(session.masterData().data().rentPerSqmYear));
    }

    Session session;
};

// Every kind of step, made, undone back to the start and made again: each undo gives the state
// before its step, each redo the state after it, and the steps are named for the menu.
TEST_F(EditCommandsTest, EveryStepIsUndoneAndMadeAgain)
{
    COperation edited = *order().operations.at(1);
    edited.name = "Bohren";
    const std::function<void()> steps[] = {
        [&] { push<SetOrderFieldCommand<std::string>>(&COrder::name, std::string("Neu")); },
        [&] { push<SetOrderFieldCommand<std::int32_t>>(&COrder::quantityBase, 7); },
        [&] { push<AddOperationCommand>(edited); },
        [&] { push<EditOperationCommand>(0, edited); },
        [&] { push<MoveOperationCommand>(2, 1); },
        [&] { push<RemoveOperationCommand>(0); },
        [&] {
            const std::string before = encodeMasterData(session.masterData().data());
            session.masterData().data().rentPerSqmYear = 600;
            session.masterData().recordChange(QStringLiteral("Werksdaten ändern"), before);
        },
    };
    std::vector<std::string> states { state() };
    std::string transcript = states.back() + '\n';
    for (const auto& step : steps) {
        step();
        states.push_back(state());
        transcript += history().steps().undoText().toStdString() + " -> " + states.back() + '\n';
    }
    expectGolden("documents/golden/EditCommands.steps.txt", transcript);
    int applied = 0;
    QObject::connect(&history(), &EditHistory::stepApplied, [&applied] { ++applied; });
    for (std::size_t i = std::size(steps); i > 0; --i) {
        history().steps().undo();
        EXPECT_EQ(state(), states[i - 1]) << i;
    }
    for (std::size_t i = 1; i <= std::size(steps); ++i) {
        history().steps().redo();
        EXPECT_EQ(state(), states[i]) << i;
    }
    EXPECT_EQ(applied, 2 * static_cast<int>(std::size(steps))) << "the windows hear of every undo and redo";
}

// Whether a document is changed follows the history: undoing back to the saved state makes it
// unchanged, a new step after undoing leaves the saved state unreachable, and the order's steps
// do not change the master data.
TEST_F(EditCommandsTest, TheSavedStateFollowsTheSteps)
{
    const auto rename
        = [this](const char* name) { push<SetOrderFieldCommand<std::string>>(&COrder::name, std::string(name)); };
    const auto changed = [this] {
        return std::to_string(session.order().isChanged()) + std::to_string(session.masterData().isChanged());
    };
    rename("A");
    history().markSaved(EditedData::Order);
    rename("B");
    EXPECT_EQ(changed(), "10");
    history().steps().undo();
    EXPECT_EQ(changed(), "00");
    history().steps().undo();
    EXPECT_EQ(changed(), "10");
    rename("C");
    history().steps().undo();
    EXPECT_EQ(changed(), "10") << "the saved state was above the new step";
    history().clear();
    EXPECT_EQ(changed(), "10") << "dropping the steps keeps what is unsaved";
}

} // namespace
} // namespace kalkora::documents
