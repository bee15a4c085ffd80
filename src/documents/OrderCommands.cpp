#include "documents/OrderCommands.h"

#include "text/Cp1252.h"

#include <memory>

namespace kalkora::documents {

namespace {

// „Drehen“, as the steps name an operation.
QString quotedName(const COperation& operation)
{
    return QStringLiteral("„%1“").arg(QString::fromStdU16String(text::cp1252ToUtf16(operation.name)));
}

QString operationStepText(const COperation& operation, const QString& what)
{
    return QStringLiteral("Arbeitsgang %1 %2").arg(quotedName(operation), what);
}

} // namespace

QString fieldStepText(std::string COrder::*field)
{
    return field == &COrder::name ? QStringLiteral("Auftragsname ändern") : QStringLiteral("Bemerkung ändern");
}

QString fieldStepText(std::int32_t COrder::*)
{
    return QStringLiteral("Stückzahlbasis ändern");
}

AddOperationCommand::AddOperationCommand(EditHistory& history, COrder& order, COperation added)
    : EditCommand(history, EditedData::Order, operationStepText(added, QStringLiteral("anlegen")))
    , order(order)
    , added(std::move(added))
{
}

void AddOperationCommand::make()
{
    order.operations.add(std::make_unique<COperation>(added));
}

void AddOperationCommand::takeBack()
{
    order.operations.removeAt(order.operations.count() - 1);
}

ReplaceOperationsCommand::ReplaceOperationsCommand(
    EditHistory& history, COrder& order, const QString& text, Replacements replacements)
    : EditCommand(history, EditedData::Order, text)
    , order(order)
    , after(std::move(replacements))
{
    for (const auto& [row, operation] : after)
        before.emplace_back(row, *order.operations.at(row));
}

void ReplaceOperationsCommand::make()
{
    for (const auto& [row, operation] : after)
        *order.operations.at(row) = operation;
}

void ReplaceOperationsCommand::takeBack()
{
    for (const auto& [row, operation] : before)
        *order.operations.at(row) = operation;
}

EditOperationCommand::EditOperationCommand(EditHistory& history, COrder& order, std::int32_t row, COperation edited)
    : ReplaceOperationsCommand(history, order, operationStepText(*order.operations.at(row), QStringLiteral("ändern")),
        { { row, std::move(edited) } })
{
}

RemoveOperationCommand::RemoveOperationCommand(EditHistory& history, COrder& order, std::int32_t row)
    : EditCommand(history, EditedData::Order, operationStepText(*order.operations.at(row), QStringLiteral("löschen")))
    , order(order)
    , row(row)
    , removed(*order.operations.at(row))
{
}

void RemoveOperationCommand::make()
{
    order.operations.removeAt(row);
}

void RemoveOperationCommand::takeBack()
{
    order.operations.insertAt(row, std::make_unique<COperation>(removed));
}

MoveOperationCommand::MoveOperationCommand(EditHistory& history, COrder& order, std::int32_t row, std::int32_t to)
    : EditCommand(history, EditedData::Order,
        operationStepText(*order.operations.at(row),
            to < row ? QStringLiteral("nach oben verschieben") : QStringLiteral("nach unten verschieben")))
    , order(order)
    , row(row)
    , to(to)
{
}

} // namespace kalkora::documents
