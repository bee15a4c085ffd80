#include "ui/assembly/AssemblyWindow.h"

#include "WindowTest.h"
#include "files/AssemblyFile.h"
#include "files/DataFiles.h"
#include "ui/assembly/AssemblyScaleDlg.h"
#include "ui/assembly/ComponentDlg.h"
#include "ui/quote/QuoteDlg.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeView>

namespace kalkora::ui::test {

namespace {

// The tree as lines of cells, children indented under their parent.
void treeText(const QStandardItemModel& model, const QModelIndex& parent, int depth, std::string& text)
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(parent); ++column)
            cells << model.index(row, column, parent).data().toString();
        text += std::string(std::size_t(2 * depth), ' ') + cells.join(u'|').toStdString() + '\n';
        treeText(model, model.index(row, 0, parent), depth + 1, text);
    }
}

class AssemblyWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(files::saveOrder(path("welle.auf"), exampleOrder()).ok());
        writeAssembly("teil.bgr", R"({"kind":"order","file":"welle.auf","count":3})");
        writeAssembly("satz.bgr", R"({"kind":"order","file":"welle.auf","count":2},
            {"kind":"assembly","file":"teil.bgr","count":1},
            {"kind":"bought","name":"Lager","count":4,"prices":[{"from":1,"price":1.85},{"from":50,"price":1.6}]})");
        window.setComponentEditor([this](const Component& component, CAssemblyWindow&) {
            edited.push_back(component.kind);
            return answer;
        });
    }
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    void writeAssembly(const char* name, const std::string& components) const
    {
        ASSERT_TRUE(files::saveBytes(path(name),
            R"({"kind":"kalkora-baugruppe","version":1,"name":"Satz","quantityBase":10,"components":[)" + components
                + "]}")
                        .ok());
    }
    void recordTree(const char* label)
    {
        std::string text;
        treeText(window.tree(), {}, 0, text);
        transcript += std::string(label) + ":\n" + text;
        record(QStringLiteral("sum"), window.findChild<QLabel*>(QStringLiteral("sumLine"))->text());
        record(QStringLiteral("error"), window.findChild<QLabel*>(QStringLiteral("errorLine"))->text());
        record(QStringLiteral("title"), shownTitle(window));
    }
    void trigger(const char* action) { window.findChild<QAction*>(QLatin1String(action))->trigger(); }
    void selectRow(int row)
    {
        auto* view = window.findChild<QTreeView*>(QStringLiteral("components"));
        view->setCurrentIndex(window.tree().index(row, 0));
    }

    QTemporaryDir dir;
    CPlantData plant = examplePlant();
    CAssemblyWindow window { plant, [] { return QString(); } };
    std::optional<Component> answer;
    std::vector<ComponentKind> edited;
};

} // namespace

// The tree at the quantity base and at a quantity typed; components added, moved and removed as
// steps that undo takes back, the title marking unsaved changes; saved, the file reads back.
TEST_F(AssemblyWindowTest, ShowsTheCostedTreeAndEditsItAsSteps)
{
    ASSERT_TRUE(window.openFile(path("satz.bgr")));
    recordTree("opened");
    auto* quantity = window.findChild<QLineEdit*>(QStringLiteral("quantity"));
    quantity->setText(QStringLiteral("20"));
    emit quantity->editingFinished();
    recordTree("at 20");

    answer = boughtComponent("Dichtung", 2, { { 1, 2500 } });
    selectRow(0);
    trigger("actionAddBought");
    selectRow(1);
    trigger("actionMoveDown");
    recordTree("added after 1, moved down");
    EXPECT_EQ(window.document().data().components[2].name, "Dichtung");
    trigger("actionUndo");
    trigger("actionUndo");
    EXPECT_FALSE(window.isWindowModified());
    EXPECT_EQ(window.document().data().components.size(), 3u);
    trigger("actionRedo");
    selectRow(0);
    trigger("actionRemove");
    answer.reset();
    selectRow(0);
    trigger("actionEdit"); // cancelled: nothing changes
    EXPECT_EQ(edited, (std::vector { ComponentKind::Bought, ComponentKind::Bought }));
    recordTree("added, first removed");

    ui.fileAnswers = { path("kopie/satz.bgr") };
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("kopie")));
    trigger("actionSaveAs");
    Assembly saved;
    ASSERT_TRUE(files::loadAssembly(path("kopie/satz.bgr"), saved).ok());
    EXPECT_EQ(saved.components[1].file, "../teil.bgr");
    EXPECT_EQ(saved.components.size(), 3u);
    EXPECT_FALSE(window.isWindowModified());

    // An assembly that would contain itself is refused at once, with the chain of files.
    answer = fileComponent(ComponentKind::Assembly, "satz.bgr");
    trigger("actionAddAssembly");
    EXPECT_EQ(window.document().data().components.size(), 3u);
    record(QStringLiteral("cycle"), ui.messages().join(u'|'));

    QFile::remove(path("teil.bgr"));
    window.recompute();
    recordTree("a file gone");
    window.startNew();
    EXPECT_EQ(window.document().data(), Assembly());
    EXPECT_EQ(shownTitle(window), QStringLiteral("Kalkora - Neue Baugruppe"));
}

// The dialog takes a component only when each field can be read, and names the first that cannot.
TEST_F(AssemblyWindowTest, ComponentDialogNamesWhatCannotBeRead)
{
    const Component bought = boughtComponent("Lager", 4, { { 1, 18500 } });
    const std::tuple<const char*, const char*, const char*, const char*> rows[] = {
        { "0", "1", "1,85", "" },
        { "4", "2", "1,85", "" },
        { "4", "1", "1,85001", "" },
        { "4", "1", "-1", "" },
        { "1000000", "1", "0,0001", "500:1,60" },
        { "4", "1", "1,85", "1:1,60" },
    };
    for (const auto& [count, from, price, second] : rows) {
        CComponentDlg dialog(bought, [] { return QString(); });
        dialog.findChild<QLineEdit*>(QStringLiteral("count"))->setText(QLatin1String(count));
        auto* prices = dialog.findChild<QTableWidget*>(QStringLiteral("prices"));
        prices->item(0, 0)->setText(QLatin1String(from));
        prices->item(0, 1)->setText(QString::fromUtf8(price));
        if (*second) {
            const QStringList parts = QString::fromUtf8(second).split(u':');
            prices->insertRow(1);
            prices->setItem(1, 0, new QTableWidgetItem(parts[0]));
            prices->setItem(1, 1, new QTableWidgetItem(parts[1]));
        }
        dialog.accept();
        record(QStringLiteral("%1 × %2:%3 %4").arg(count, from, price, second),
            dialog.result() == QDialog::Accepted ? QStringLiteral("%1 Staffeln, zuletzt %2")
                                                       .arg(dialog.component().prices.size())
                                                       .arg(dialog.component().prices.back().price)
                                                 : dialog.findChild<QLabel*>(QStringLiteral("errorLine"))->text());
    }
    CComponentDlg order(fileComponent(ComponentKind::Order, {}), [] { return QStringLiteral("teile/welle.auf"); });
    order.accept();
    record(QStringLiteral("order without file"), order.findChild<QLabel*>(QStringLiteral("errorLine"))->text());
    order.findChild<QPushButton*>(QStringLiteral("buttonChooseFile"))->click();
    order.accept();
    record(QStringLiteral("chosen"), QString::fromStdString(order.component().file));
}

// The price scale and the quote follow the assembly; export takes the tree at the quantity shown;
// a missing file marks its component; a file changed by someone else is costed afresh and said.
TEST_F(AssemblyWindowTest, ItsWindowsFollowTheAssemblyAndItsFiles)
{
    ASSERT_TRUE(window.openFile(path("satz.bgr")));
    trigger("actionPriceScale");
    auto* scale = window.findChild<CAssemblyScaleDlg*>();
    ASSERT_TRUE(scale);
    transcript += "scale:\n" + tableText(scale->table()->model());
    record(QStringLiteral("scale title"), shownTitle(*scale));
    trigger("actionQuote");
    auto* quote = window.findChild<CQuoteDlg*>();
    ASSERT_TRUE(quote && quote->document().isPriced());
    record(QStringLiteral("quote title"), shownTitle(*quote));
    // The quote is priced from the assembly's full cost per piece at each quantity of its scale.
    const std::vector<QuoteRow>& priced = quote->document().todaysQuote()->rows;
    const std::vector<AssemblyRow>& costed = scale->shownCosting().costing->rows;
    ASSERT_EQ(priced.size(), costed.size());
    for (std::size_t i = 0; i < priced.size(); ++i)
        EXPECT_EQ(priced[i].orderCost, costed[i].fullPerPiece) << priced[i].quantity;

    QSignalSpy opened(&window, &CAssemblyWindow::orderRequested);
    selectRow(2);
    EXPECT_FALSE(window.findChild<QAction*>(QStringLiteral("actionOpenOrder"))->isEnabled());
    selectRow(0);
    trigger("actionOpenOrder");
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0][0].toString(), path("welle.auf"));

    ui.fileAnswers = { path("satz.csv") };
    trigger("actionExport");
    QFile exported(path("satz.csv"));
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    exported.readLine();
    record(QStringLiteral("exported"), QString::fromLatin1(exported.readLine()).trimmed());

    QFile::remove(path("teil.bgr"));
    window.recompute();
    EXPECT_TRUE(window.tree().index(1, 0).data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(window.tree().index(0, 0).data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(scale->isCurrent());
    record(QStringLiteral("scale error"), scale->findChild<QLabel*>(QStringLiteral("errorLine"))->text());

    writeAssembly("teil.bgr", R"({"kind":"order","file":"welle.auf","count":3})");
    window.recompute();
    COrder changed = exampleOrder();
    changed.name = "Welle neu";
    ASSERT_TRUE(files::saveOrder(path("welle.auf"), changed).ok());
    auto* changedLine = window.findChild<QLabel*>(QStringLiteral("changedLine"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !changedLine->text().isEmpty(); }, 5000));
    recordTree("welle.auf changed");
    record(QStringLiteral("changed"), changedLine->text());
    EXPECT_TRUE(scale->isCurrent());
}

} // namespace kalkora::ui::test
