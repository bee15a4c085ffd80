#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <array>
#include <functional>

namespace kalkora::ui {

// What a step changed: the order or the master data. Each has its own saved state.
enum class EditedData { Order, MasterData };

// One change that has already been made, with what takes it back and what makes it again.
struct EditStep {
    QString text; // names the step after "Rückgängig: " and "Wiederherstellen: "
    EditedData data;
    std::function<void()> undo;
    std::function<void()> redo;
};

// The steps of the order and the master data on one QUndoStack, so that "Rückgängig" always
// takes back the latest step. Whether the order or the master data is changed follows the
// stack: undoing back to the step at which it was saved (or opened) makes it unchanged again.
class CEditHistory : public QObject {
    Q_OBJECT

public:
    explicit CEditHistory(QObject* parent = nullptr);

    QUndoStack& steps() { return stack; }
    // Puts a step made just now on the stack; steps undone before are gone.
    void record(EditStep step);

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
    std::array<int, 2> saved { 0, 0 };
};

} // namespace kalkora::ui
