#pragma once

#include "documents/EditHistory.h"
#include "model/COrder.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kalkora::documents {

// The undo steps of an order. Each makes its change when it is pushed on the history.

QString fieldStepText(std::string COrder::*field);
QString fieldStepText(std::int32_t COrder::*field);

// The order's name, remark or quantity base set to another value.
template <typename T> class SetOrderFieldCommand : public EditCommand {
public:
    SetOrderFieldCommand(EditHistory& history, COrder& order, T COrder::*field, T value)
        : EditCommand(history, EditedData::Order, fieldStepText(field))
        , order(order)
        , field(field)
        , before(order.*field)
        , after(std::move(value))
    {
    }

protected:
    void make() override { order.*field = after; }
    void takeBack() override { order.*field = before; }

private:
    COrder& order;
    T COrder::*field;
    T before;
    T after;
};

// A new operation at the end of the list.
class AddOperationCommand : public EditCommand {
public:
    AddOperationCommand(EditHistory& history, COrder& order, COperation added);

protected:
    void make() override;
    void takeBack() override;

private:
    COrder& order;
    COperation added;
};

// Operations replaced by others, each given with its row, as one step named `text`.
class ReplaceOperationsCommand : public EditCommand {
public:
    using Replacements = std::vector<std::pair<std::int32_t, COperation>>;

    ReplaceOperationsCommand(EditHistory& history, COrder& order, const QString& text, Replacements replacements);

protected:
    void make() override;
    void takeBack() override;

private:
    COrder& order;
    Replacements before;
    Replacements after;
};

// The operation in `row` replaced by an edited one.
class EditOperationCommand : public ReplaceOperationsCommand {
public:
    EditOperationCommand(EditHistory& history, COrder& order, std::int32_t row, COperation edited);
};

class RemoveOperationCommand : public EditCommand {
public:
    RemoveOperationCommand(EditHistory& history, COrder& order, std::int32_t row);

protected:
    void make() override;
    void takeBack() override;

private:
    COrder& order;
    std::int32_t row;
    COperation removed;
};

// The operation in `row` and its neighbour `to` (one above or below) change places.
class MoveOperationCommand : public EditCommand {
public:
    MoveOperationCommand(EditHistory& history, COrder& order, std::int32_t row, std::int32_t to);

protected:
    void make() override { order.operations.swap(row, to); }
    void takeBack() override { order.operations.swap(row, to); }

private:
    COrder& order;
    std::int32_t row;
    std::int32_t to;
};

} // namespace kalkora::documents
