#pragma once

#include <QObject>
#include <QString>
#include <QUndoCommand>
#include <QUndoStack>

#include <array>
#include <functional>
#include <memory>

namespace kalkora::documents {

// What a step changed: the order, the master data, an assembly or a post-calculation. Each has its
// own saved state.
enum class EditedData { Order, MasterData, Assembly, PostCalc };

class EditHistory;

// One change of a document as a step that can be undone. Pushing it on the history makes the
// change; undoing and making it again later tell the history, so that the windows show the data
// afresh.
class EditCommand : public QUndoCommand {
public:
    EditCommand(EditHistory& history, EditedData data, const QString& text);

    EditedData data() const { return edited; }
    void undo() final;
    void redo() final;

protected:
    virtual void make() = 0;
    virtual void takeBack() = 0;

private:
    EditHistory& history;
    EditedData edited;
    bool pushed = false;
};

// A step that puts a document's data as a whole in place of what it was: `replace` puts either.
template <typename Data> class WholeDataStep : public EditCommand {
public:
    WholeDataStep(EditHistory& history, EditedData data, const QString& text, Data before, Data after,
        std::function<void(const Data&)> replace)
        : EditCommand(history, data, text)
        , before(std::move(before))
        , after(std::move(after))
        , replace(std::move(replace))
    {
    }

private:
    void make() override { replace(after); }
    void takeBack() override { replace(before); }

    Data before;
    Data after;
    std::function<void(const Data&)> replace;
};

// The steps of the order and the master data on one QUndoStack, so that "Rückgängig" always
// takes back the latest step. Whether the order or the master data is changed follows the
// stack: undoing back to the step at which it was saved (or opened) makes it unchanged again.
class EditHistory : public QObject {
    Q_OBJECT

public:
    explicit EditHistory(QObject* parent = nullptr);
    ~EditHistory() override;

    QUndoStack& steps() { return stack; }
    const QUndoStack& steps() const { return stack; }
    // Makes the step and puts it on the stack; steps undone before are gone.
    void push(std::unique_ptr<EditCommand> step);

    bool isChanged(EditedData data) const;
    // The data as it is now is what its file holds.
    void markSaved(EditedData data);
    // No state on the stack is what a file holds (data converted from DM, say).
    void markUnsaved(EditedData data);
    // Drops every step; each data keeps whether it is changed.
    void clear();

signals:
    // A step was undone or made again; the windows show `data` afresh.
    void stepApplied(EditedData data);

private:
    static constexpr int unreachable = -1;
    int& savedIndex(EditedData data) { return saved[static_cast<std::size_t>(data)]; }
    int savedIndex(EditedData data) const { return saved[static_cast<std::size_t>(data)]; }

    QUndoStack stack;
    std::array<int, 4> saved { 0, 0, 0, 0 };
};

} // namespace kalkora::documents
