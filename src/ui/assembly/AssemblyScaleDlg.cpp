#include "ui/assembly/AssemblyScaleDlg.h"

#include "costing/AssemblyTables.h"
#include "documents/QuantityList.h"
#include "ui/analysis/PriceScaleDlg.h"
#include "ui/analysis/ResultCells.h"

#include <QLabel>
#include <QLineEdit>

#include <array>

namespace kalkora::ui {

namespace {

// The sum of each quantity, in the columns the tree's lines have.
constexpr std::array kSumColumns { NeededColumn, UnitFullColumn, UnitDirectColumn, LineFullColumn, LineDirectColumn,
    LineCostedColumn };

std::optional<double> euros(const AssemblyRow& row, Money AssemblyRow::*amount)
{
    return row.priced ? std::optional(double((row.*amount).count()) / 100) : std::nullopt;
}

QChart* assemblyChart(const AssemblyCosting& costing)
{
    std::vector<CostPoint> points;
    for (const AssemblyRow& row : costing.rows)
        points.push_back(
            { double(row.quantity), euros(row, &AssemblyRow::fullPerPiece), euros(row, &AssemblyRow::directPerPiece) });
    return costPerPieceChart(points);
}

} // namespace

CAssemblyScaleDlg::CAssemblyScaleDlg(AssemblySnapshot currentAssembly, QWidget* parent)
    : CScaleDlg(parent, QStringLiteral("Kalkora - Staffelpreise"),
        QStringLiteral("Kalkora - Staffelpreise der Baugruppe exportieren"),
        QStringLiteral("Stückzahlen der Baugruppe, durch Kommas getrennt, z. B. 1, 10, 100. Enter berechnet neu."))
    , currentAssembly(std::move(currentAssembly))
{
    setObjectName(QStringLiteral("assemblyScaleDlg"));
}

void CAssemblyScaleDlg::restart()
{
    recompute(true);
}

void CAssemblyScaleDlg::recompute(bool restarting)
{
    std::vector<std::int32_t> list;
    if (restarting) {
        quantitiesField->clear();
        panel()->setTable({}, 0, {});
        panel()->setChart(nullptr);
        panel()->setUncosted({});
        shown = {};
    } else if (std::string error;
               !parseQuantities(quantitiesField->text().toStdString(), QuantityDialect::Window, list, error)) {
        showError(QString::fromStdString(error));
        return;
    }
    documents::CostedAssembly costed = currentAssembly(std::move(list));
    if (!costed.costing) {
        showError(costed.error);
        return;
    }
    showCosting(std::move(costed));
}

void CAssemblyScaleDlg::showCosting(documents::CostedAssembly costed)
{
    errorLine->hide();
    shown = std::move(costed);
    const AssemblyCosting& costing = *shown.costing;
    setOrderName(QString::fromStdString(costing.name));
    quantityBaseLine->setText(QStringLiteral("Stückzahlbasis der Baugruppe: %1").arg(costing.quantityBase));
    std::vector<std::int32_t> used;
    for (const AssemblyRow& row : costing.rows)
        used.push_back(row.quantity);
    quantitiesField->setText(documents::quantityList(used));

    const Columns<AssemblyRecord> all = assemblyColumns();
    QStringList titles;
    for (const AssemblyColumn column : kSumColumns)
        titles << QString::fromUtf8(all[column].title);
    panel()->setTable(titles, int(costing.rows.size()), [&costing, all](int row, int column, int role) {
        const AssemblyRecord sum { &costing, &costing.rows.at(std::size_t(row)), nullptr, nullptr };
        return shownCell(all[kSumColumns.at(std::size_t(column))], sum, role);
    });
    panel()->setChart(assemblyChart(costing));
    QStringList messages;
    for (const std::string& message : operationMessages(costing))
        messages << fromCp1252(message);
    // The quantities not priced are empty in the table; the line names what was not costed.
    panel()->setUncosted(messages);
    panel()->setCurrent(true);
}

std::string CAssemblyScaleDlg::csvText() const
{
    return shown.costing ? assemblyCsv(*shown.costing, CsvDialect::German) : std::string();
}

std::string CAssemblyScaleDlg::printText() const
{
    return shown.costing ? assemblyText(*shown.costing, text::NumberStyle::printed(true)) : std::string();
}

} // namespace kalkora::ui
