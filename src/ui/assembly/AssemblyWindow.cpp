#include "ui/assembly/AssemblyWindow.h"

#include "ui/analysis/AnalysisPanel.h"
#include "ui/analysis/ResultCells.h"
#include "ui/assembly/AssemblyScaleDlg.h"
#include "ui/assembly/ComponentDlg.h"
#include "ui/common/Marking.h"
#include "ui/common/NumberField.h"
#include "ui/common/Tooltips.h"
#include "ui/common/UiServices.h"
#include "ui/common/UndoKeys.h"
#include "ui/quote/QuoteDlg.h"
#include "ui/report/PrintCommand.h"

#include <QBrush>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <limits>

namespace kalkora::ui {

namespace {

constexpr int kComponentRole = Qt::UserRole + 1;
constexpr int kOrderFileRole = Qt::UserRole + 2; // the absolute path of an order line's file

// A whole number of pieces as typed; nothing for anything else.
std::optional<std::int32_t> pieces(const QString& text)
{
    const std::optional<std::int64_t> value = wholeNumber(text, 1, std::numeric_limits<std::int32_t>::max());
    return value ? std::optional(std::int32_t(*value)) : std::nullopt;
}

QString fileTitle(ComponentKind kind)
{
    return kind == ComponentKind::Assembly ? QStringLiteral("Baugruppe wählen") : QStringLiteral("Auftrag wählen");
}

} // namespace

CAssemblyWindow::CAssemblyWindow(const CPlantData& plantData, std::function<QString()> masterFile, QWidget* parent)
    : QMainWindow(parent, Qt::Window)
    , plantData(plantData)
    , masterFile(std::move(masterFile))
    , assembly(history)
    , prompts(this)
    , componentEditor([](const Component& component, CAssemblyWindow& window) {
        return editComponent(
            component, [&window, kind = component.kind] { return window.chooseComponentFile(kind); }, &window);
    })
{
    setObjectName(QStringLiteral("assemblyWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    createMenus();
    createFields();
    connect(&assembly, &documents::AssemblyDocument::changed, this, &CAssemblyWindow::showDocument);
    connect(
        &assembly, &documents::AssemblyDocument::componentFileChanged, this, &CAssemblyWindow::componentFileChanged);
    connect(&history.steps(), &QUndoStack::indexChanged, this, &CAssemblyWindow::updateEditCommands);
    resize(900, 560);
}

template <typename Handler>
QAction* CAssemblyWindow::addCommand(QMenu* menu, const char* name, const QString& text, Handler handler)
{
    QAction* command = menu->addAction(text);
    command->setObjectName(QLatin1String(name));
    connect(command, &QAction::triggered, this, handler);
    return command;
}

void CAssemblyWindow::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("Bau&gruppe"));
    addCommand(file, "actionSave", QStringLiteral("&Speichern"), &CAssemblyWindow::OnSave)
        ->setShortcut(QKeySequence::Save);
    addCommand(file, "actionSaveAs", QStringLiteral("Speichern &unter..."), &CAssemblyWindow::OnSaveAs);
    file->addSeparator();
    addCommand(file, "actionPriceScale", QStringLiteral("S&taffelpreise..."), &CAssemblyWindow::OnPriceScale);
    addCommand(file, "actionQuote", QStringLiteral("&Angebot..."), &CAssemblyWindow::OnQuote);
    addCommand(file, "actionExport", QStringLiteral("&Exportieren..."), &CAssemblyWindow::OnExport);
    addCommand(file, "actionPrint", QStringLiteral("&Drucken..."), &CAssemblyWindow::OnPrint)
        ->setShortcut(QKeySequence::Print);
    file->addSeparator();
    QAction* close = file->addAction(QStringLiteral("S&chließen"), this, &QWidget::close);
    close->setObjectName(QStringLiteral("actionClose"));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Bearbeiten"));
    undoAction = edit->addAction(QString(), &history.steps(), &QUndoStack::undo);
    undoAction->setObjectName(QStringLiteral("actionUndo"));
    undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoAction = edit->addAction(QString(), &history.steps(), &QUndoStack::redo);
    redoAction->setObjectName(QStringLiteral("actionRedo"));
    redoAction->setShortcuts({ QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) });
    edit->addSeparator();
    addCommand(edit, "actionAddOrder", QStringLiteral("&Auftrag hinzufügen..."), &CAssemblyWindow::OnAddOrder);
    addCommand(edit, "actionAddAssembly", QStringLiteral("Bau&gruppe hinzufügen..."), &CAssemblyWindow::OnAddAssembly);
    addCommand(edit, "actionAddBought", QStringLiteral("&Kaufteil hinzufügen..."), &CAssemblyWindow::OnAddBought);
    addCommand(edit, "actionEdit", QStringLiteral("Komponente &bearbeiten..."), &CAssemblyWindow::OnEdit);
    addCommand(edit, "actionRemove", QStringLiteral("Komponente &entfernen"), &CAssemblyWindow::OnRemove)
        ->setShortcut(QKeySequence::Delete);
    addCommand(edit, "actionMoveUp", QStringLiteral("Nach &oben"), &CAssemblyWindow::OnMoveUp)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up));
    addCommand(edit, "actionMoveDown", QStringLiteral("Nach &unten"), &CAssemblyWindow::OnMoveDown)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down));
    openOrderAction = addCommand(
        edit, "actionOpenOrder", QStringLiteral("Auftrag im &Hauptfenster öffnen"), &CAssemblyWindow::OnOpenOrder);
    edit->addSeparator();
    addCommand(
        edit, "actionOwnOrder", QStringLiteral("&Eigene Arbeitsgänge wählen..."), &CAssemblyWindow::OnChooseOwnOrder);
    updateEditCommands();
}

void CAssemblyWindow::createFields()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* form = new QFormLayout;
    // A screen reader names each field as its label does, and reads its tip.
    const auto field = [&](const char* name, const QString& label, const QString& tip) {
        auto* line = new QLineEdit(central);
        line->setObjectName(QLatin1String(name));
        line->setAccessibleName(QString(label).remove(u'&').remove(u':'));
        setTip(line, tip);
        form->addRow(label, line);
        return line;
    };
    nameField
        = field("name", QStringLiteral("Be&zeichnung:"), QStringLiteral("Name der Baugruppe, z. B. Getriebe G1."));
    remarkField = field("remark", QStringLiteral("Be&merkung:"), QStringLiteral("Freier Text zur Baugruppe."));
    quantityBaseField = field("quantityBase", QStringLiteral("Stückzahl&basis:"),
        QStringLiteral("Die übliche Menge der Baugruppe, 1 bis 2.147.483.647 Stück."));
    ownOrderField = field("ownOrder", QStringLiteral("E&igene Arbeitsgänge:"),
        QStringLiteral("Auftrag (.auf) mit Montieren, Prüfen, Verpacken der Baugruppe; leer für keinen."));
    ownOrderField->setPlaceholderText(QStringLiteral("keine"));
    for (QLineEdit* line : { nameField, remarkField, quantityBaseField, ownOrderField })
        connect(line, &QLineEdit::editingFinished, this, &CAssemblyWindow::readFields);
    quantityField = field("quantity", QStringLiteral("Kalkulieren für &Menge:"),
        QStringLiteral("Die Menge der Baugruppe, für die der Baum kalkuliert wird; leer für die Stückzahlbasis."));
    connect(quantityField, &QLineEdit::editingFinished, this, &CAssemblyWindow::recompute);
    layout->addLayout(form);

    errorLine = new QLabel(central);
    errorLine->setObjectName(QStringLiteral("errorLine"));
    errorLine->setStyleSheet(QStringLiteral("color: #b00000"));
    errorLine->setWordWrap(true);
    layout->addWidget(errorLine);
    componentsView = new QTreeView(central);
    componentsView->setObjectName(QStringLiteral("components"));
    componentsView->setModel(&treeModel);
    componentsView->setAlternatingRowColors(true);
    componentsView->setAccessibleName(QStringLiteral("Komponenten"));
    setTip(componentsView, QStringLiteral("Die Komponenten mit ihren Kosten; Doppelklick bearbeitet eine."));
    connect(componentsView, &QTreeView::doubleClicked, this, &CAssemblyWindow::OnEdit);
    connect(componentsView->selectionModel(), &QItemSelectionModel::currentChanged, this,
        &CAssemblyWindow::updateOpenOrder);
    layout->addWidget(componentsView, 1);
    sumLine = new QLabel(central);
    sumLine->setObjectName(QStringLiteral("sumLine"));
    sumLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    sumLine->setAccessibleName(QStringLiteral("Summe"));
    layout->addWidget(sumLine);
    changedLine = new QLabel(central);
    changedLine->setObjectName(QStringLiteral("changedLine"));
    changedLine->setWordWrap(true);
    layout->addWidget(changedLine);

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const QString& text, void (CAssemblyWindow::*handler)()) {
        auto* push = new QPushButton(text, central);
        connect(push, &QPushButton::clicked, this, handler);
        buttons->addWidget(push);
        return push;
    };
    button(QStringLiteral("Auftrag..."), &CAssemblyWindow::OnAddOrder);
    button(QStringLiteral("Baugruppe..."), &CAssemblyWindow::OnAddAssembly);
    button(QStringLiteral("Kaufteil..."), &CAssemblyWindow::OnAddBought);
    button(QStringLiteral("Bearbeiten..."), &CAssemblyWindow::OnEdit);
    button(QStringLiteral("Entfernen"), &CAssemblyWindow::OnRemove);
    // The arrows say to a screen reader and in their tips what they do.
    for (auto [arrow, name, handler] :
        { std::tuple(QStringLiteral("▲"), QStringLiteral("Nach oben"), &CAssemblyWindow::OnMoveUp),
            std::tuple(QStringLiteral("▼"), QStringLiteral("Nach unten"), &CAssemblyWindow::OnMoveDown) }) {
        QPushButton* push = button(arrow, handler);
        push->setAccessibleName(name);
        push->setToolTip(name + QStringLiteral(" (Strg+Pfeil)"));
    }
    buttons->addStretch();
    layout->addLayout(buttons);
    setCentralWidget(central);
}

void CAssemblyWindow::startNew()
{
    assembly.startNew();
}

bool CAssemblyWindow::openChosenFile()
{
    const QString path = prompts.choose(assembly, QStringLiteral("Baugruppe öffnen"), false);
    return !path.isEmpty() && openFile(path);
}

bool CAssemblyWindow::openFile(const QString& path)
{
    return prompts.open(assembly, path, 1.0f, QStringLiteral("Baugruppe wird geladen..."));
}

bool CAssemblyWindow::isChanged()
{
    readFields();
    return assembly.isChanged();
}

bool CAssemblyWindow::mayClose()
{
    readFields();
    return prompts.maySaveChanges(assembly, [this] { return OnSave(); });
}

void CAssemblyWindow::closeEvent(QCloseEvent* event)
{
    if (mayCloseAnalysisWindows(this) && mayClose())
        event->accept();
    else
        event->ignore();
}

bool CAssemblyWindow::OnSave()
{
    if (assembly.path().isEmpty() || assembly.isReadOnly())
        return OnSaveAs();
    readFields();
    assembly.setMasterFile(masterFile());
    return prompts.save(assembly, assembly.path(), QStringLiteral("Baugruppe wird gespeichert..."));
}

bool CAssemblyWindow::OnSaveAs()
{
    readFields();
    const QString path = prompts.choose(assembly, QStringLiteral("Baugruppe speichern unter"), true);
    if (path.isEmpty())
        return false;
    assembly.setMasterFile(masterFile());
    const bool saved = prompts.save(assembly, path, QStringLiteral("Baugruppe wird gespeichert..."));
    showDocument();
    return saved;
}

QString CAssemblyWindow::chooseComponentFile(ComponentKind kind)
{
    const bool isAssembly = kind == ComponentKind::Assembly;
    const FileDialogRequest request { fileTitle(kind),
        isAssembly ? QStringLiteral("Baugruppen (*.bgr) ") : QStringLiteral("Auftragsdaten (*.auf) "),
        isAssembly ? QStringLiteral("*.bgr") : QStringLiteral("*.auf"),
        isAssembly ? QStringLiteral("bgr") : QStringLiteral("auf"), false, assembly.folder(), {} };
    const QString chosen = uiServices().getOpenFileName(this, request);
    return chosen.isEmpty() ? chosen : QString::fromStdString(assembly.storedPath(chosen));
}

void CAssemblyWindow::addComponent(ComponentKind kind)
{
    readFields();
    const Component component
        = kind == ComponentKind::Bought ? boughtComponent({}, 1, { { 1, 0 } }) : fileComponent(kind, {});
    const std::optional<Component> added = componentEditor(component, *this);
    if (!added)
        return;
    const std::size_t at = selectedComponent().value_or(assembly.data().components.size() - 1) + 1;
    const std::optional<QString> refused = assembly.edit(QStringLiteral("Komponente hinzufügen"),
        [&](Assembly& edited) { edited.components.insert(edited.components.begin() + std::ptrdiff_t(at), *added); });
    if (refused)
        uiServices().showMessage(this, *refused);
    else
        select(at);
}

void CAssemblyWindow::OnEdit()
{
    const std::optional<std::size_t> selected = selectedComponent();
    if (!selected)
        return;
    const std::optional<Component> edited = componentEditor(assembly.data().components[*selected], *this);
    if (!edited)
        return;
    if (const std::optional<QString> refused = assembly.edit(QStringLiteral("Komponente bearbeiten"),
            [&](Assembly& changed) { changed.components[*selected] = *edited; }))
        uiServices().showMessage(this, *refused);
    select(*selected);
}

void CAssemblyWindow::OnRemove()
{
    const std::optional<std::size_t> selected = selectedComponent();
    if (!selected)
        return;
    assembly.edit(QStringLiteral("Komponente entfernen"),
        [&](Assembly& changed) { changed.components.erase(changed.components.begin() + std::ptrdiff_t(*selected)); });
    if (!assembly.data().components.empty())
        select(std::min(*selected, assembly.data().components.size() - 1));
}

void CAssemblyWindow::move(int by)
{
    const std::optional<std::size_t> selected = selectedComponent();
    const std::size_t count = assembly.data().components.size();
    if (!selected || (by < 0 && *selected == 0) || (by > 0 && *selected + 1 >= count))
        return;
    const std::size_t target = by < 0 ? *selected - 1 : *selected + 1;
    assembly.edit(QStringLiteral("Komponente verschieben"),
        [&](Assembly& changed) { std::swap(changed.components[*selected], changed.components[target]); });
    select(target);
}

void CAssemblyWindow::OnChooseOwnOrder()
{
    const QString chosen = chooseComponentFile(ComponentKind::Order);
    if (chosen.isEmpty())
        return;
    assembly.edit(QStringLiteral("Eigene Arbeitsgänge wählen"),
        [&](Assembly& changed) { changed.ownOrder = chosen.toStdString(); });
}

std::optional<std::size_t> CAssemblyWindow::selectedComponent() const
{
    const QModelIndex current = componentsView->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    const QVariant component = treeModel.itemFromIndex(current.siblingAtColumn(0))->data(kComponentRole);
    if (!component.isValid())
        return std::nullopt;
    return std::size_t(component.toInt());
}

void CAssemblyWindow::select(std::size_t component)
{
    for (int row = 0; row < treeModel.rowCount(); ++row) {
        if (treeModel.item(row)->data(kComponentRole) == QVariant(int(component))) {
            componentsView->setCurrentIndex(treeModel.index(row, 0));
            return;
        }
    }
}

void CAssemblyWindow::showDocument()
{
    showing = true;
    const Assembly& data = assembly.data();
    nameField->setText(QString::fromStdString(data.name));
    remarkField->setText(QString::fromStdString(data.remark));
    quantityBaseField->setText(QString::number(data.quantityBase));
    ownOrderField->setText(QString::fromStdString(data.ownOrder));
    showing = false;
    setWindowTitle(assembly.title());
    setWindowModified(assembly.isChanged());
    updateEditCommands();
    recompute();
}

void CAssemblyWindow::updateEditCommands()
{
    showUndoSteps(history.steps(), undoAction, redoAction);
    setWindowModified(assembly.isChanged());
}

void CAssemblyWindow::readFields()
{
    if (showing)
        return;
    const std::optional<std::int32_t> base = pieces(quantityBaseField->text());
    if (!base)
        errorLine->setText(QStringLiteral("Stückzahlbasis: eine ganze Zahl von 1 bis 2.147.483.647 eingeben."));
    const Assembly& data = assembly.data();
    const std::string name = nameField->text().toStdString();
    const std::string remark = remarkField->text().toStdString();
    const std::string ownOrder = ownOrderField->text().trimmed().toStdString();
    const std::int32_t quantityBase = base.value_or(data.quantityBase);
    if (name == data.name && remark == data.remark && ownOrder == data.ownOrder && quantityBase == data.quantityBase)
        return;
    assembly.edit(QStringLiteral("Baugruppe ändern"), [&](Assembly& changed) {
        changed.name = name;
        changed.remark = remark;
        changed.ownOrder = ownOrder;
        changed.quantityBase = quantityBase;
    });
}

std::int32_t CAssemblyWindow::shownQuantity()
{
    return pieces(quantityField->text()).value_or(assembly.data().quantityBase);
}

void CAssemblyWindow::recompute()
{
    treeModel.clear();
    sumLine->clear();
    errorLine->clear();
    changedLine->clear();
    treeModel.setHorizontalHeaderLabels(titlesOf(windowColumns(assemblyColumns())));
    shown = costAt({ shownQuantity() });
    if (shown.costing) {
        showCosting(*shown.costing);
    } else {
        errorLine->setText(shown.error);
        showComponentsOnly(shown.failedPosition);
    }
    const bool costed = shown.costing.has_value();
    for (const char* name : { "actionExport", "actionPrint" })
        findChild<QAction*>(QLatin1String(name))->setEnabled(costed);
    updateOpenOrder();
    refreshAnalysisWindows(this);
}

documents::CostedAssembly CAssemblyWindow::costAt(std::vector<std::int32_t> quantities)
{
    return assembly.cost(plantData, std::move(quantities));
}

void CAssemblyWindow::componentFileChanged(const QString& file)
{
    recompute();
    changedLine->setText(
        QStringLiteral("„%1“ wurde außerhalb dieses Fensters geändert; die Baugruppe ist neu berechnet.")
            .arg(QFileInfo(file).fileName()));
}

void CAssemblyWindow::showCosting(const AssemblyCosting& costing)
{
    const auto columns = windowColumns(assemblyColumns());
    std::vector<QStandardItem*> parents; // the last assembly line of each level
    const std::vector<AssemblyRecord> records = assemblyRecords(costing, costing.rows.front());
    for (const AssemblyRecord& record : records) {
        QList<QStandardItem*> cells;
        for (const auto* column : columns) {
            auto* cell = new QStandardItem(shownCell(*column, record, Qt::DisplayRole).toString());
            cell->setTextAlignment(shownCell(*column, record, Qt::TextAlignmentRole).value<Qt::Alignment>());
            cell->setEditable(false);
            cells << cell;
        }
        if (!record.line) {
            const auto shown = [&](AssemblyColumn column) {
                return fromCp1252(cellText(assemblyColumns()[column], record, text::NumberStyle::german()));
            };
            sumLine->setText(
                QStringLiteral("Summe bei %1 Stück: Vollkosten %2 € je Stück, %3 € gesamt; direkte Kosten %4 € je "
                               "Stück, %5 € gesamt")
                    .arg(shown(NeededColumn), shown(UnitFullColumn), shown(LineFullColumn), shown(UnitDirectColumn),
                        shown(LineDirectColumn)));
            qDeleteAll(cells);
            continue;
        }
        const auto level = std::size_t(record.line->level);
        parents.resize(level - 1);
        if (level == 1 && record.line->component)
            cells.front()->setData(
                int(record.line->position.empty() ? 0 : std::stoi(record.line->position) - 1), kComponentRole);
        if (record.line->order)
            cells.front()->setData(QString::fromStdString(record.line->order->path), kOrderFileRole);
        QStandardItem* parent = level == 1 ? treeModel.invisibleRootItem() : parents.back();
        parent->appendRow(cells);
        if (record.line->kind == LineKind::Assembly)
            parents.push_back(cells.front());
    }
    componentsView->expandAll();
    for (int column = 0; column < treeModel.columnCount(); ++column)
        componentsView->resizeColumnToContents(column);
    QStringList messages;
    for (const std::string& message : costing.messages)
        messages << fromCp1252(message);
    errorLine->setText(messages.join(u'\n'));
}

void CAssemblyWindow::showComponentsOnly(const QString& failedPosition)
{
    const Assembly& data = assembly.data();
    // The component on whose way the file lies that could not be read.
    const QString failed = failedPosition.section(u'.', 0, 0);
    for (std::size_t i = 0; i < data.components.size(); ++i) {
        const Component& component = data.components[i];
        QList<QStandardItem*> cells { new QStandardItem(QString::number(i + 1)),
            new QStandardItem(QString::fromUtf8(kindTitle(component.kind))),
            new QStandardItem(QString::fromStdString(component.name)),
            new QStandardItem(QString::fromStdString(component.file)),
            new QStandardItem(QString::number(component.count)) };
        cells.front()->setData(int(i), kComponentRole);
        if (component.kind == ComponentKind::Order)
            cells.front()->setData(assembly.resolvedPath(component.file), kOrderFileRole);
        if (failed == QString::number(i + 1)) {
            for (QStandardItem* cell : cells) {
                cell->setBackground(markedBackground());
                cell->setToolTip(errorLine->text());
            }
            cells.front()->setAccessibleDescription(errorLine->text());
        }
        treeModel.appendRow(cells);
    }
    ownOrderField->setStyleSheet(failed == QStringLiteral("0") ? markedStyle() : QString());
}

void CAssemblyWindow::updateOpenOrder()
{
    const QModelIndex current = componentsView->currentIndex();
    openOrderAction->setEnabled(current.isValid() && current.siblingAtColumn(0).data(kOrderFileRole).isValid());
}

void CAssemblyWindow::OnOpenOrder()
{
    const QModelIndex current = componentsView->currentIndex();
    const QVariant file = current.isValid() ? current.siblingAtColumn(0).data(kOrderFileRole) : QVariant();
    if (file.isValid())
        emit orderRequested(file.toString());
}

void CAssemblyWindow::OnPriceScale()
{
    showWindowOf<CAssemblyScaleDlg>(
        this, [this] { return new CAssemblyScaleDlg([this](auto quantities) { return costAt(quantities); }, this); });
}

QuoteSubject CAssemblyWindow::quoteSubject()
{
    const Assembly& data = assembly.data();
    return { QString::fromStdString(data.name), data.quantityBase,
        QStringLiteral("Stückzahlbasis der Baugruppe: %1").arg(data.quantityBase), {},
        [this](const std::vector<std::int32_t>& quantities) {
            const documents::CostedAssembly costed = costAt(quantities);
            if (!costed.costing)
                throw AssemblyError(costed.error.toStdString());
            return basisOf(*costed.costing);
        },
        [](const Quote& quote) {
            QStringList operations;
            for (const std::string& message : operationMessages(quote))
                operations << fromCp1252(message);
            return operations;
        } };
}

void CAssemblyWindow::OnQuote()
{
    readFields();
    showWindowOf<CQuoteDlg>(this, [this] {
        auto* window = new CQuoteDlg([this] { return quoteSubject(); }, this);
        window->setDataFiles([this] { return documents::QuoteDataFiles { assembly.path(), masterFile() }; });
        window->setQuoteOpener([this](const QString& path) { emit quoteRequested(path); });
        return window;
    });
}

bool CAssemblyWindow::openQuote(const QString& path)
{
    if (auto* shown = findChild<CQuoteDlg*>(QString(), Qt::FindDirectChildrenOnly);
        shown && shown->isVisible() && !shown->mayClose())
        return false;
    OnQuote();
    return findChild<CQuoteDlg*>(QString(), Qt::FindDirectChildrenOnly)->openQuoteFile(path);
}

void CAssemblyWindow::OnExport()
{
    if (shown.costing)
        exportCsvWithDialog(
            this, QStringLiteral("Kalkora - Baugruppe exportieren"), assemblyCsv(*shown.costing, CsvDialect::German));
}

void CAssemblyWindow::OnPrint()
{
    if (shown.costing)
        printReportWithDialog(this, assemblyText(*shown.costing, text::NumberStyle::printed(true)));
}

} // namespace kalkora::ui
