#include "ui/main/EditHistory.h"

#include <QUndoCommand>

#include <algorithm>
#include <utility>

namespace kalkora::ui {

class RecordedStep : public QUndoCommand {
public:
    RecordedStep(CEditHistory& history, EditStep step)
        : QUndoCommand(step.text)
        , history(history)
        , step(std::move(step))
    {
    }

    EditedData data() const { return step.data; }

    void undo() override
    {
        step.undo();
        emit history.stepApplied(step.data);
    }

    void redo() override
    {
        // The stack makes a pushed step at once; this one was made before it was recorded.
        if (std::exchange(recorded, false)) {
            return;
        }
        step.redo();
        emit history.stepApplied(step.data);
    }

private:
    CEditHistory& history;
    EditStep step;
    bool recorded = true;
};

CEditHistory::CEditHistory(QObject* parent)
    : QObject(parent)
{
}

void CEditHistory::record(EditStep step)
{
    // The steps above the current one go; a saved state among them can no longer be reached.
    for (int& index : saved) {
        if (index > stack.index()) {
            index = unreachable;
        }
    }
    stack.push(new RecordedStep(*this, std::move(step)));
}

bool CEditHistory::isChanged(EditedData data) const
{
    const int savedAt = savedIndex(data);
    if (savedAt == unreachable) {
        return true;
    }
    // Changed when a step of this data lies between the saved state and the current one.
    const int from = std::min(savedAt, stack.index());
    const int to = std::max(savedAt, stack.index());
    for (int i = from; i < to; ++i) {
        if (static_cast<const RecordedStep*>(stack.command(i))->data() == data) {
            return true;
        }
    }
    return false;
}

void CEditHistory::markSaved(EditedData data)
{
    savedIndex(data) = stack.index();
}

void CEditHistory::markUnsaved(EditedData data)
{
    savedIndex(data) = unreachable;
}

void CEditHistory::clear()
{
    for (EditedData data : { EditedData::Order, EditedData::MasterData }) {
        savedIndex(data) = isChanged(data) ? unreachable : 0;
    }
    stack.clear();
}

} // namespace kalkora::ui
