#include "documents/EditHistory.h"

#include <algorithm>
#include <utility>

namespace kalkora::documents {

EditCommand::EditCommand(EditHistory& history, EditedData data, const QString& text)
    : QUndoCommand(text)
    , history(history)
    , edited(data)
{
}

void EditCommand::undo()
{
    takeBack();
    emit history.stepApplied(edited);
}

void EditCommand::redo()
{
    make();
    // The window that pushed the step shows it already.
    if (std::exchange(pushed, true)) {
        emit history.stepApplied(edited);
    }
}

EditHistory::EditHistory(QObject* parent)
    : QObject(parent)
{
}

EditHistory::~EditHistory()
{
    // The stack clears itself on the way out; nobody may look at it half gone.
    stack.blockSignals(true);
}

void EditHistory::push(std::unique_ptr<EditCommand> step)
{
    // The steps above the current one go; a saved state among them can no longer be reached.
    for (int& index : saved) {
        if (index > stack.index()) {
            index = unreachable;
        }
    }
    stack.push(step.release());
}

bool EditHistory::isChanged(EditedData data) const
{
    const int savedAt = savedIndex(data);
    if (savedAt == unreachable) {
        return true;
    }
    // Changed when a step of this data lies between the saved state and the current one.
    const int from = std::min(savedAt, stack.index());
    const int to = std::max(savedAt, stack.index());
    for (int i = from; i < to; ++i) {
        if (static_cast<const EditCommand*>(stack.command(i))->data() == data) {
            return true;
        }
    }
    return false;
}

void EditHistory::markSaved(EditedData data)
{
    savedIndex(data) = stack.index();
}

void EditHistory::markUnsaved(EditedData data)
{
    savedIndex(data) = unreachable;
}

void EditHistory::clear()
{
    for (std::size_t i = 0; i < saved.size(); ++i) {
        const auto data = static_cast<EditedData>(i);
        savedIndex(data) = isChanged(data) ? unreachable : 0;
    }
    stack.clear();
}

} // namespace kalkora::documents
