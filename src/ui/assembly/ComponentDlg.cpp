#include "ui/assembly/ComponentDlg.h"

#include "costing/AssemblyTables.h"
#include "costing/Money.h"
#include "ui/common/NumberField.h"
#include "ui/common/Tooltips.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <limits>

namespace kalkora::ui {

namespace {

constexpr int kFromColumn = 0;
constexpr int kPriceColumn = 1;

QString cellText(const QTableWidget* table, int row, int column)
{
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QString();
}

} // namespace

CComponentDlg::CComponentDlg(Component component, std::function<QString()> chooseFile, QWidget* parent)
    : QDialog(parent)
    , edited(std::move(component))
    , chooseFile(std::move(chooseFile))
{
    setObjectName(QStringLiteral("componentDlg"));
    setWindowTitle(QStringLiteral("Kalkora 1.0 EURO: ") + QString::fromUtf8(kindTitle(edited.kind)));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QWidget(this);
    new QFormLayout(form);
    layout->addWidget(form);
    if (edited.kind == ComponentKind::Bought)
        createBoughtFields(form);
    else
        createFileFields(form);
    countField = new QLineEdit(QString::number(edited.count), form);
    countField->setObjectName(QStringLiteral("count"));
    addField(form, QStringLiteral("&Anzahl je Baugruppe:"), countField,
        QStringLiteral("Wie viele Stück eine Baugruppe braucht, 1 bis 1.000.000."));
    if (priceTable)
        addField(form, QStringLiteral("&Preisstaffel:"), priceTable,
            QStringLiteral("Ab welcher Stückzahl welcher Preis je Stück gilt, in € mit bis zu vier Nachkommastellen; "
                           "die erste Staffel gilt ab 1 Stück."),
            priceTable->parentWidget());
    errorLine = new QLabel(this);
    errorLine->setObjectName(QStringLiteral("errorLine"));
    errorLine->setStyleSheet(QStringLiteral("color: #b00000"));
    errorLine->setWordWrap(true);
    layout->addWidget(errorLine);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CComponentDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CComponentDlg::reject);
    layout->addWidget(buttons);
}

void CComponentDlg::addField(QWidget* form, const QString& label, QWidget* field, const QString& tip, QWidget* shown)
{
    // A screen reader names the field as its label does and reads its tip.
    field->setAccessibleName(QString(label).remove(u'&').remove(u':'));
    setTip(field, tip);
    static_cast<QFormLayout*>(form->layout())->addRow(label, shown ? shown : field);
}

void CComponentDlg::createFileFields(QWidget* form)
{
    auto* row = new QWidget(form);
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    fileField = new QLineEdit(QString::fromStdString(edited.file), row);
    fileField->setObjectName(QStringLiteral("file"));
    auto* choose = new QPushButton(QStringLiteral("&Wählen..."), row);
    choose->setObjectName(QStringLiteral("buttonChooseFile"));
    connect(choose, &QPushButton::clicked, this, [this] {
        if (const QString chosen = chooseFile(); !chosen.isEmpty())
            fileField->setText(chosen);
    });
    rowLayout->addWidget(fileField);
    rowLayout->addWidget(choose);
    addField(form, QStringLiteral("&Datei:"), fileField,
        QStringLiteral("Die Datei der Komponente, vom Ordner der Baugruppe aus."), row);
}

void CComponentDlg::createBoughtFields(QWidget* form)
{
    nameField = new QLineEdit(QString::fromStdString(edited.name), form);
    nameField->setObjectName(QStringLiteral("name"));
    addField(form, QStringLiteral("&Bezeichnung:"), nameField,
        QStringLiteral("Name des Kaufteils, wie der Lieferant es nennt."));

    auto* box = new QWidget(form);
    auto* boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(0, 0, 0, 0);
    priceTable = new QTableWidget(0, 2, box);
    priceTable->setObjectName(QStringLiteral("prices"));
    priceTable->setHorizontalHeaderLabels({ QStringLiteral("ab Stück"), QStringLiteral("Preis [€]") });
    for (int column = 0; column < priceTable->columnCount(); ++column) {
        QTableWidgetItem* title = priceTable->horizontalHeaderItem(column);
        title->setData(Qt::AccessibleTextRole, title->text());
    }
    priceTable->horizontalHeader()->setStretchLastSection(true);
    priceTable->verticalHeader()->hide();
    const auto addBreak = [this](const PriceBreak& priceBreak) {
        const int row = priceTable->rowCount();
        priceTable->insertRow(row);
        priceTable->setItem(row, kFromColumn, new QTableWidgetItem(QString::number(priceBreak.from)));
        priceTable->setItem(
            row, kPriceColumn, new QTableWidgetItem(QString::fromStdString(formatPrice(priceBreak.price, ','))));
    };
    for (const PriceBreak& priceBreak : edited.prices)
        addBreak(priceBreak);
    if (edited.prices.empty())
        addBreak({ 1, 0 });
    auto* buttons = new QHBoxLayout;
    auto* add = new QPushButton(QStringLiteral("Staffel &hinzufügen"), box);
    add->setObjectName(QStringLiteral("buttonAddBreak"));
    connect(add, &QPushButton::clicked, this, [this] {
        const int row = priceTable->rowCount();
        priceTable->insertRow(row);
        priceTable->setCurrentCell(row, kFromColumn);
        priceTable->setFocus();
    });
    auto* remove = new QPushButton(QStringLiteral("Staffel &entfernen"), box);
    remove->setObjectName(QStringLiteral("buttonRemoveBreak"));
    connect(remove, &QPushButton::clicked, this, [this] {
        if (priceTable->currentRow() >= 0)
            priceTable->removeRow(priceTable->currentRow());
    });
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    boxLayout->addWidget(priceTable);
    boxLayout->addLayout(buttons);
}

void CComponentDlg::accept()
{
    if (const std::optional<Component> component = typed()) {
        edited = *component;
        QDialog::accept();
    }
}

std::optional<Component> CComponentDlg::typed()
{
    Component component = edited;
    if (fileField) {
        component.file = fileField->text().trimmed().toStdString();
        if (component.file.empty())
            return refuse(fileField, QStringLiteral("Datei: bitte eine Datei wählen."));
    }
    if (nameField)
        component.name = nameField->text().toStdString();
    const std::optional<std::int64_t> count = wholeNumber(countField->text(), 1, kMaxComponentCount);
    if (!count)
        return refuse(countField, QStringLiteral("Anzahl je Baugruppe: eine ganze Zahl von 1 bis 1.000.000 eingeben."));
    component.count = std::int32_t(*count);
    if (!priceTable)
        return component;
    component.prices.clear();
    for (int row = 0; row < priceTable->rowCount(); ++row) {
        const QString place = QStringLiteral("Preisstaffel, Zeile %1: ").arg(row + 1);
        const std::int64_t minimum = row == 0 ? 1 : std::int64_t(component.prices.back().from) + 1;
        const std::int64_t maximum = row == 0 ? 1 : std::numeric_limits<std::int32_t>::max();
        const auto from = wholeNumber(cellText(priceTable, row, kFromColumn), minimum, maximum);
        if (!from) {
            priceTable->setCurrentCell(row, kFromColumn);
            return refuse(priceTable,
                place
                    + (row == 0 ? QStringLiteral("die erste Staffel gilt ab 1 Stück.")
                                : QStringLiteral("„ab Stück“ größer als in der Zeile davor eingeben.")));
        }
        const std::optional<std::int64_t> price
            = parseScaled(cellText(priceTable, row, kPriceColumn).trimmed().toStdString(), 4);
        if (!price || *price < 0 || *price > kMaxBoughtPrice) {
            priceTable->setCurrentCell(row, kPriceColumn);
            return refuse(priceTable,
                place
                    + QStringLiteral(
                        "einen Preis von 0 bis 99.999.999,9999 € mit höchstens vier Nachkommastellen eingeben."));
        }
        component.prices.push_back({ std::int32_t(*from), *price });
    }
    if (component.prices.empty())
        return refuse(priceTable, QStringLiteral("Preisstaffel: mindestens eine Staffel eingeben."));
    return component;
}

std::nullopt_t CComponentDlg::refuse(QWidget* field, const QString& message)
{
    errorLine->setText(message);
    field->setFocus();
    return std::nullopt;
}

std::optional<Component> editComponent(
    const Component& component, const std::function<QString()>& chooseFile, QWidget* parent)
{
    CComponentDlg dialog(component, chooseFile, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.component();
}

} // namespace kalkora::ui
