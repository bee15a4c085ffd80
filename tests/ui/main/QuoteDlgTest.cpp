#include "ui/analysis/QuoteDlg.h"

#include "WindowTest.h"
#include "ui/main/MainDlg.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace kalkora::ui::test {
namespace {

constexpr int quoteCommand = 40018;

class QuoteDlgTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        dlg.show();
        dlg.plantData = examplePlant();
        dlg.OnNewOrder();
        dlg.order = exampleOrder();
        dlg.panel().RefreshFromOrder();
        dlg.action(quoteCommand)->trigger();
        window = dlg.findChild<CQuoteDlg*>();
    }

    // The figure of the step in the row titled `step` (its percentage left out) for `quantity`.
    QString cell(const QString& step, const QString& quantity) const
    {
        const QAbstractItemModel* model = window->table()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, 0).data().toString().section(QStringLiteral(" ("), 0, 0) != step)
                continue;
            for (int column = 1; column < model->columnCount(); ++column) {
                if (model->headerData(column, Qt::Horizontal).toString() == quantity)
                    return model->index(row, column).data().toString();
            }
        }
        return QStringLiteral("no cell ") + step + u'/' + quantity;
    }

    CMainDlg dlg;
    CQuoteDlg* window = nullptr;
};

// Each row is typed into the window after the ones above it.
TEST_F(QuoteDlgTest, RecomputesAsTheFieldsChangeAndMarksWhatCannotBeRead)
{
    ASSERT_TRUE(window && window->isVisible());
    EXPECT_TRUE(dlg.action(quoteCommand)->isEnabled());
    EXPECT_EQ(cell(QStringLiteral("Listenverkaufspreis"), QStringLiteral("100 Stück")), QStringLiteral("5,29"));
    const struct {
        const char* field;
        const char* text;
        const char* step; // with the figure it shows at 100 pieces, or the message below the fields
        const char* shown;
    } rows[] = {
        { "profitPct", "10", "Barverkaufspreis", "5,82" },
        { "cashDiscountPct", "2", "Zielverkaufspreis", "5,94" },
        { "discountPct", "8,5", "Listenverkaufspreis", "6,49" },
        { "profitPct", "8.555", nullptr,
            "„Gewinnzuschlag“ kann nicht gelesen werden: bitte eine Zahl von -99,99 bis 1000 %" },
        { "profitPct", "10", "Listenverkaufspreis", "6,49" },
        { "commissionPct", "98", nullptr, "zusammen unter 100 % bleiben" },
        { "commissionPct", "", "Vertreterprovision", "0,00" },
        { "oneOffCost", "-1", nullptr, "„Einmalkosten“" },
        { "oneOffCost", "1.000", nullptr, "„Einmalkosten“" },
        { "oneOffCost", "1000", "Einmalkosten je Stück", "10,00" },
        { "quantities", "x", nullptr, "„x“ ist keine Stückzahl" },
        { "quantities", "100, 1.000", "Gesamtpreis", "1.716,00" },
        { "marketPrice", "abc", nullptr, "„Marktpreis“" },
        { "marketPrice", "7,50", "Gewinn beim Marktpreis", "-8,57" },
    };
    const auto* errorLine = child<QLabel>(window, "errorLine");
    for (const auto& row : rows) {
        setText(window, row.field, QString::fromUtf8(row.text));
        const QString label = QStringLiteral("%1 = %2").arg(QLatin1String(row.field), QString::fromUtf8(row.text));
        EXPECT_EQ(window->isCurrent(), row.step != nullptr) << label.toStdString();
        EXPECT_EQ(child<QPushButton>(window, "buttonExport")->isEnabled(), row.step != nullptr);
        EXPECT_EQ(errorLine->isVisible(), row.step == nullptr) << label.toStdString();
        if (row.step)
            EXPECT_EQ(cell(QString::fromUtf8(row.step), QStringLiteral("100 Stück")), QString::fromUtf8(row.shown))
                << label.toStdString();
        else
            EXPECT_TRUE(errorLine->text().contains(QString::fromUtf8(row.shown))) << errorLine->text().toStdString();
    }
    EXPECT_TRUE(child<QLabel>(window, "marketLine")->text().contains(QStringLiteral("Marktpreis 7,50 €")));
    EXPECT_NE(window->printout().find("Angebotskalkulation"), std::string::npos);

    // The window follows the order.
    dlg.order.quantityBase = 0;
    refreshAnalysisWindows(&dlg);
    EXPECT_FALSE(window->isCurrent());
    dlg.order.quantityBase = 100;
    refreshAnalysisWindows(&dlg);
    EXPECT_TRUE(window->isCurrent());
}

} // namespace
} // namespace kalkora::ui::test
