#include "ui/postcalc/PostCalcDlg.h"

#include "costing/PostCalcTables.h"
#include "documents/QuoteDocument.h"
#include "text/NumberScan.h"
#include "ui/analysis/ResultCells.h"
#include "ui/common/Marking.h"
#include "ui/common/NumberField.h"
#include "ui/common/QtText.h"
#include "ui/common/Tooltips.h"
#include "ui/common/UiServices.h"
#include "ui/common/UndoKeys.h"
#include "ui/postcalc/ActualsModel.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace kalkora::ui {

// The result on show with its lines, which point into it.
struct ShownPostCalc {
    PostCalcResult result;
    std::vector<PostCalcLine> lines;
};

namespace {

constexpr std::int32_t kMostPieces = std::numeric_limits<std::int32_t>::max();

// A count of pieces as typed; empty is none, and what is no whole number in `min` … 2³¹−1 is
// refused.
struct TypedPieces {
    std::optional<std::int32_t> value;
    bool readable = true;
};
TypedPieces typedPieces(const QString& typed, std::int32_t min)
{
    if (typed.trimmed().isEmpty())
        return {};
    const std::optional<std::int64_t> value = wholeNumber(typed, min, kMostPieces);
    if (!value)
        return { std::nullopt, false };
    return { std::int32_t(*value), true };
}

QString piecesRange(std::int32_t min)
{
    return QStringLiteral("eine ganze Zahl von %1 bis 2.147.483.647 eingeben").arg(min);
}

// What is typed for a measured value: a lot is a whole number from 1 on, anything else a number
// from 0 on that a float holds. The refusal says why; nothing when it can be used.
std::optional<QString> refusalOf(ActualFieldIndex field, const QString& typed, std::optional<double>& value)
{
    if (typed.trimmed().isEmpty()) {
        value.reset();
        return std::nullopt;
    }
    if (kActualFields[field].isLot()) {
        const std::optional<std::int64_t> lot = wholeNumber(typed, 1, kMostPieces);
        if (!lot)
            return piecesRange(1);
        value = double(*lot);
        return std::nullopt;
    }
    const std::optional<double> number = text::scanDouble(toCp1252(typed));
    if (!number || *number < 0 || !std::isfinite(float(*number)))
        return QStringLiteral("eine Zahl ab 0 eingeben");
    value = number;
    return std::nullopt;
}

bool isDeviationColumn(int column)
{
    return column == DeviationFullColumn || column == DeviationFullPctColumn || column == DeviationDirectColumn
        || column == DeviationDirectPctColumn;
}

// A deviation shows its direction by an arrow and its sign, so that it is seen without colour:
// "▲ +0,23" costs more than planned, "▼ -0,10" less.
QString withDirection(const QString& shownText)
{
    const bool zero = shownText.isEmpty()
        || std::all_of(shownText.begin(), shownText.end(), [](QChar c) { return !c.isDigit() || c == u'0'; });
    if (zero)
        return shownText;
    return shownText.startsWith(u'-') ? QStringLiteral("▼ ") + shownText : QStringLiteral("▲ +") + shownText;
}

template <typename Unit> QString groupedOrNone(const std::optional<Hundredths<Unit>>& value)
{
    return value ? grouped(*value) : QStringLiteral("–");
}

} // namespace

CPostCalcDlg::CPostCalcDlg(const CPlantData& plantData, OrderSnapshot currentOrder, QWidget* parent)
    : COrderWindow(parent, QStringLiteral("Kalkora - Nachkalkulation"))
    , plantData(plantData)
    , currentOrder(std::move(currentOrder))
    , postCalc(history)
    , prompts(this)
{
    setObjectName(QStringLiteral("postCalcDlg"));
    auto* layout = new QVBoxLayout(this);
    tablePanel = new CAnalysisPanel(this, QStringLiteral("Kalkora - Nachkalkulation exportieren"), false,
        { [this] { return shown ? postCalcCsv(shown->result, CsvDialect::German) : std::string(); },
            [this] { return shown ? postCalcText(shown->result, text::NumberStyle::printed(true)) : std::string(); } });
    layout->addWidget(tablePanel);
    // The number and the name stay in sight however far the figures are scrolled.
    tablePanel->pinColumns({ PostCalcNumberColumn, PostCalcNameColumn }, {});
    createMenus();
    createFields();
    createActualsTable();
    connect(&postCalc, &documents::PostCalcDocument::changed, this, &CPostCalcDlg::showDocument);
    connect(&postCalc, &documents::PostCalcDocument::saved, this, &CPostCalcDlg::updateCommands);
    connect(&history.steps(), &QUndoStack::indexChanged, this, &CPostCalcDlg::updateCommands);
    letTextFieldsPassUndoKeys(this);
}

CPostCalcDlg::~CPostCalcDlg()
{
    // A field loses the focus as the window goes, with the main window's order perhaps gone
    // already: nothing is read then.
    for (QLineEdit* field : findChildren<QLineEdit*>())
        disconnect(field, nullptr, this, nullptr);
}

void CPostCalcDlg::createMenus()
{
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    const auto command = [this](QMenu* menu, const char* name, const QString& text, auto handler) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    QMenu* file = bar->addMenu(QStringLiteral("&Nachkalkulation"));
    command(file, "actionOpen", QStringLiteral("&Öffnen..."), &CPostCalcDlg::OnOpen)->setShortcut(QKeySequence::Open);
    command(file, "actionSave", QStringLiteral("&Speichern"), &CPostCalcDlg::OnSave)->setShortcut(QKeySequence::Save);
    command(file, "actionSaveAs", QStringLiteral("Speichern &unter..."), &CPostCalcDlg::OnSaveAs);
    file->addSeparator();
    command(file, "actionExport", QStringLiteral("&Exportieren..."), [this] { tablePanel->OnExport(); });
    command(file, "actionPrint", QStringLiteral("&Drucken..."), [this] {
        tablePanel->OnPrint();
    })->setShortcut(QKeySequence::Print);
    file->addSeparator();
    command(file, "actionClose", QStringLiteral("S&chließen"), &CPostCalcDlg::reject);

    QMenu* edit = bar->addMenu(QStringLiteral("&Bearbeiten"));
    undoAction = command(edit, "actionUndo", QString(), [this] {
        readFields();
        history.steps().undo();
    });
    undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoAction = command(edit, "actionRedo", QString(), [this] { history.steps().redo(); });
    redoAction->setShortcuts({ QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) });
    edit->addSeparator();
    command(edit, "actionTakeOver", QStringLiteral("Ist-Werte in den Auftrag &übernehmen"), &CPostCalcDlg::OnTakeOver);
    updateCommands();
}

QLineEdit* CPostCalcDlg::addField(
    QGridLayout* grid, const char* name, const QString& label, const QString& tip, int row, int column)
{
    auto* line = new QLineEdit(this);
    line->setObjectName(QLatin1String(name));
    line->setAccessibleName(QString(label).remove(u'&').remove(u':'));
    setTip(line, tip);
    auto* caption = new QLabel(label, this);
    caption->setBuddy(line);
    grid->addWidget(caption, row, column * 2);
    grid->addWidget(line, row, column * 2 + 1);
    connect(line, &QLineEdit::editingFinished, this, &CPostCalcDlg::readFields);
    return line;
}

void CPostCalcDlg::createFields()
{
    QBoxLayout* header = tablePanel->headerArea();
    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 2);
    header->addLayout(grid);
    producedField = addField(grid, "produced", QStringLiteral("&Produziert:"),
        QStringLiteral("Die Stückzahl, die gefertigt wurde; leer für die Stückzahlbasis des Auftrags."), 0, 0);
    goodField = addField(grid, "good", QStringLiteral("&Gutstücke:"),
        QStringLiteral("Die Stücke ohne Ausschuss, höchstens so viele wie produziert; leer für alle."), 1, 0);
    dateField = addField(
        grid, "date", QStringLiteral("&Datum:"), QStringLiteral("Wann nachkalkuliert wurde, z. B. 08.12.2026."), 2, 0);
    quoteFileField = addField(grid, "quoteFile", QStringLiteral("&Angebot:"),
        QStringLiteral(
            "Die Angebotsdatei (.ang), deren Preis mit dem Ergebnis verglichen wird; leer für keinen Vergleich."),
        0, 1);
    remarkField = addField(
        grid, "remark", QStringLiteral("Be&merkung:"), QStringLiteral("Freier Text, z. B. die Charge."), 1, 1);
    auto* choose = new QPushButton(QStringLiteral("Angebot &wählen..."), this);
    choose->setObjectName(QStringLiteral("buttonChooseQuote"));
    choose->setAutoDefault(false);
    connect(choose, &QPushButton::clicked, this, &CPostCalcDlg::OnChooseQuote);
    grid->addWidget(choose, 0, 4);

    const auto messageLine = [this](const char* name) {
        auto* line = new QLabel(this);
        line->setObjectName(QLatin1String(name));
        line->setWordWrap(true);
        return line;
    };
    errorLine = messageLine("errorLine");
    errorLine->setStyleSheet(QStringLiteral("color: #b00000;"));
    errorLine->hide();
    header->addWidget(errorLine);
    statusLine = messageLine("statusLine");
    statusLine->hide();
    header->addWidget(statusLine);
    quoteLine = messageLine("quoteLine");
    quoteLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    quoteLine->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    tablePanel->addBelowTable(quoteLine);

    QPushButton* takeOver
        = tablePanel->addButton("buttonTakeOver", QStringLiteral("Ist-Werte in den Auftrag übernehmen"));
    connect(takeOver, &QPushButton::clicked, this, &CPostCalcDlg::OnTakeOver);
}

void CPostCalcDlg::createActualsTable()
{
    actualsModel = new CActualsModel([this](std::int32_t operation, ActualFieldIndex field,
                                         const QString& typed) { typedActual(operation, field, typed); },
        this);
    actualsView = new QTableView(this);
    actualsView->setObjectName(QStringLiteral("actuals"));
    actualsView->setAccessibleName(QStringLiteral("Ist-Werte"));
    setTip(actualsView,
        QStringLiteral(
            "Je Arbeitsgang der Plan und, fett, was gemessen wurde; ein Ist-Feld leer lassen übernimmt den Plan."));
    actualsView->setModel(actualsModel);
    actualsView->verticalHeader()->hide();
    actualsView->setWordWrap(false);
    actualsView->horizontalHeader()->setResizeContentsPrecision(200);
    actualsView->setEditTriggers(QAbstractItemView::AllEditTriggers);
    auto* caption = new QLabel(QStringLiteral("&Ist-Werte je Arbeitsgang:"), this);
    caption->setBuddy(actualsView);
    tablePanel->headerArea()->addWidget(caption);
    tablePanel->headerArea()->addWidget(actualsView);
}

void CPostCalcDlg::restart()
{
    const QuoteDataFiles files = dataFiles ? dataFiles() : QuoteDataFiles {};
    postCalc.startNew(files.order, files.masterData, QDate::currentDate());
    statusLine->hide();
}

bool CPostCalcDlg::openPostCalcFile(const QString& path)
{
    if (!prompts.open(postCalc, path, 1.0f, QStringLiteral("Nachkalkulation wird geladen...")))
        return false;
    statusLine->hide();
    return true;
}

bool CPostCalcDlg::mayClose()
{
    readFields();
    return prompts.maySaveChanges(postCalc, [this] { return OnSave(); });
}

void CPostCalcDlg::reject()
{
    if (mayClose())
        COrderWindow::reject();
}

void CPostCalcDlg::OnOpen()
{
    if (!mayClose())
        return;
    const QString path = prompts.choose(postCalc, QStringLiteral("Nachkalkulation öffnen"), false);
    if (path.isEmpty())
        return;
    if (postCalcOpener)
        postCalcOpener(path);
    else
        openPostCalcFile(path);
}

bool CPostCalcDlg::OnSave()
{
    readFields();
    if (postCalc.path().isEmpty() || postCalc.isReadOnly())
        return OnSaveAs();
    return saveTo(postCalc.path());
}

bool CPostCalcDlg::OnSaveAs()
{
    readFields();
    const QString path = prompts.choose(postCalc, QStringLiteral("Nachkalkulation speichern unter"), true);
    return !path.isEmpty() && saveTo(path);
}

bool CPostCalcDlg::saveTo(const QString& path)
{
    // The files the post-calculation is compared with, as the main window has them now.
    if (dataFiles) {
        const QuoteDataFiles files = dataFiles();
        postCalc.setDataFiles(files.order, files.masterData);
    }
    const bool saved = prompts.save(postCalc, path, QStringLiteral("Nachkalkulation wird gespeichert..."));
    setWindowTitle(postCalc.title());
    return saved;
}

void CPostCalcDlg::OnChooseQuote()
{
    const FileDialogRequest request { QStringLiteral("Angebot wählen"), QStringLiteral("Angebote (*.ang)"),
        QStringLiteral("*.ang"), QStringLiteral("ang"), false, postCalc.folder(), {} };
    const QString chosen = uiServices().getOpenFileName(this, request);
    if (!chosen.isEmpty())
        postCalc.setQuoteFile(QFileInfo(chosen).absoluteFilePath());
}

void CPostCalcDlg::OnTakeOver()
{
    readFields();
    const COrder order = currentOrder();
    const files::PostCalculation& data = postCalc.data();
    if (const auto mismatch = actualsMismatch(order, data.actuals, data.produced(order), data.good(order))) {
        uiServices().showMessage(this, QString::fromStdString(*mismatch));
        return;
    }
    auto changes = documents::takenOverActuals(order, data.actuals);
    if (changes.empty()) {
        uiServices().showMessage(this,
            QStringLiteral("Die Ist-Zeiten, die Nutzung und das Material stimmen schon mit "
                           "dem Plan des Auftrags überein."));
        return;
    }
    const std::size_t count = changes.size();
    if (orderEditor)
        orderEditor(std::move(changes));
    statusLine->setText(
        QStringLiteral("Die Ist-Werte von %1 Arbeitsg%2 sind jetzt der Plan des Auftrags; Stückzahl, Losgrößen und "
                       "Fremdleistungspreise bleiben. „Rückgängig“ im Hauptfenster nimmt es zurück.")
            .arg(count)
            .arg(count == 1 ? QStringLiteral("ang") : QStringLiteral("ängen")));
    statusLine->show();
    recompute();
}

void CPostCalcDlg::readFields()
{
    if (showing)
        return;
    clearError();
    readQuantities();
    readDate();
    postCalc.setRemark(remarkField->text());
    const QString quote = quoteFileField->text().trimmed();
    postCalc.setQuoteFile(quote.isEmpty() ? quote : QFileInfo(quote).absoluteFilePath());
}

void CPostCalcDlg::readQuantities()
{
    const TypedPieces produced = typedPieces(producedField->text(), 1);
    if (!produced.readable)
        return showError(producedField, QStringLiteral("Produziert: %1.").arg(piecesRange(1)));
    const TypedPieces good = typedPieces(goodField->text(), 0);
    if (!good.readable)
        return showError(goodField, QStringLiteral("Gutstücke: %1.").arg(piecesRange(0)));
    const std::int32_t producedPieces = produced.value.value_or(currentOrder().quantityBase);
    if (good.value && *good.value > producedPieces)
        return showError(goodField,
            QStringLiteral("Gutstücke: höchstens so viele wie produziert (%1) eingeben.")
                .arg(germanCount(producedPieces)));
    postCalc.setQuantities(produced.value, good.value);
}

void CPostCalcDlg::readDate()
{
    const std::optional<QDate> date = documents::quoteDateOf(dateField->text());
    if (!date)
        return showError(dateField, QStringLiteral("Datum: ein Datum wie 08.12.2026 eingeben oder leer lassen."));
    postCalc.setDate(*date);
}

void CPostCalcDlg::typedActual(std::int32_t operation, ActualFieldIndex field, const QString& typed)
{
    std::optional<double> value;
    if (const std::optional<QString> refusal = refusalOf(field, typed, value)) {
        errorLine->setText(QStringLiteral("%1 Ist, Arbeitsgang %2: %3.")
                               .arg(QString::fromUtf8(kActualFields[field].germanName))
                               .arg(operation)
                               .arg(*refusal));
        errorLine->show();
        return;
    }
    clearError();
    postCalc.setActual(currentOrder(), operation, field, value);
}

void CPostCalcDlg::showError(QLineEdit* field, const QString& message)
{
    field->setStyleSheet(markedStyle());
    field->setAccessibleDescription(message);
    errorLine->setText(message);
    errorLine->show();
}

void CPostCalcDlg::clearError()
{
    for (QLineEdit* field : { producedField, goodField, dateField }) {
        field->setStyleSheet(QString());
        field->setAccessibleDescription(QString());
    }
    errorLine->hide();
}

void CPostCalcDlg::showDocument()
{
    showing = true;
    const files::PostCalculation& data = postCalc.data();
    const auto pieces
        = [](const std::optional<std::int32_t>& value) { return value ? QString::number(*value) : QString(); };
    producedField->setText(pieces(data.producedQuantity));
    goodField->setText(pieces(data.goodQuantity));
    dateField->setText(documents::quoteDateText(data.date));
    quoteFileField->setText(QDir::toNativeSeparators(data.quoteFile));
    remarkField->setText(data.remark);
    showing = false;
    updateCommands();
    recompute();
}

void CPostCalcDlg::updateCommands()
{
    showUndoSteps(history.steps(), undoAction, redoAction);
    setWindowTitle(postCalc.title());
    setWindowModified(postCalc.isChanged());
}

void CPostCalcDlg::recompute()
{
    shownOrder = currentOrder();
    const COrder& order = shownOrder;
    const bool firstRows = actualsModel->rowCount() == 0;
    actualsModel->show(order, postCalc);
    if (firstRows)
        actualsView->resizeColumnsToContents();
    files::PostCalcOutcome outcome = postCalc.cost(order, plantData);
    producedField->setPlaceholderText(QString::number(order.quantityBase));
    goodField->setPlaceholderText(QString::number(postCalc.data().produced(order)));
    if (!outcome.result) {
        // What no longer fits the order stays greyed as it was last computed.
        tablePanel->setCurrent(false);
        tablePanel->setUncosted({}, outcome.error);
        quoteLine->setEnabled(false);
        return;
    }
    showResult(std::move(*outcome.result));
}

void CPostCalcDlg::showResult(PostCalcResult result)
{
    auto next = std::make_shared<ShownPostCalc>();
    next->result = std::move(result);
    next->lines = postCalcLines(next->result);
    for (PostCalcLine& line : quoteLines(next->result))
        next->lines.push_back(std::move(line));
    shown = next;
    const auto columns = windowColumns(postCalcColumns());
    std::vector<int> indexes; // the column of postCalcColumns() each shown column is
    for (const auto* column : columns)
        indexes.push_back(int(column - &postCalcColumns()[0]));
    tablePanel->setTable(titlesOf(columns), int(next->lines.size()),
        [next, columns, indexes](int row, int column, int role) -> QVariant {
            const auto& at = *columns.at(std::size_t(column));
            const PostCalcLine& line = next->lines.at(std::size_t(row));
            const bool deviation = isDeviationColumn(indexes.at(std::size_t(column)));
            if (role == Qt::FontRole) {
                // The order's lines, and a deviation, stand out.
                const QString figure = shownCell(at, line, Qt::DisplayRole).toString();
                QFont font;
                font.setBold(!line.operation || (deviation && withDirection(figure) != figure));
                return font;
            }
            const QVariant cell = shownCell(at, line, role);
            return role == Qt::DisplayRole && deviation ? QVariant(withDirection(cell.toString())) : cell;
        });
    tablePanel->setUncosted(uncostedNames(next->result.operations));
    tablePanel->setCurrent(true);
    showQuoteLine(next->result);
}

void CPostCalcDlg::showQuoteLine(const PostCalcResult& result)
{
    quoteLine->setEnabled(true);
    if (!result.quote) {
        quoteLine->setText(QString::fromStdString(result.noQuoteReason));
        return;
    }
    const QuoteComparison& quote = *result.quote;
    quoteLine->setText(
        QStringLiteral("Angebot bei %1 Stück: Listenpreis %2 €, Angebotspreis (Barverkaufspreis) %3 € je Stück\n"
                       "Selbstkosten: Soll %4 € je Stück, Ist %5 € je Gutstück\n"
                       "Gewinn: Soll %6 € (%7 %), Ist %8 € (%9 %)")
            .arg(germanCount(result.producedQuantity), grouped(quote.listPrice), grouped(quote.cashPrice),
                groupedOrNone(quote.plannedCostPrice), groupedOrNone(quote.actualCostPrice),
                groupedOrNone(quote.plannedProfit()), groupedOrNone(quote.plannedProfitPercent()),
                groupedOrNone(quote.actualProfit()), groupedOrNone(quote.actualProfitPercent())));
}

} // namespace kalkora::ui
