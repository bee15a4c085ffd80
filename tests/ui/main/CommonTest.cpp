#include "ModalDriver.h"
#include "WindowTest.h"
#include "ui/common/DialogUnits.h"
#include "ui/common/NumberField.h"
#include "ui/common/QtText.h"
#include "ui/common/QtUiServices.h"
#include "ui/common/Tooltips.h"
#include "ui/main/OperationListModel.h"

#include <QFileDialog>
#include <QFontMetrics>
#include <QLineEdit>
#include <QTemporaryDir>

#include <limits>

namespace kalkora::ui::test {
namespace {

class NumberFieldTest : public WindowTest {
protected:
    QWidget window;
    QLineEdit* field = new QLineEdit(&window);
};

TEST_F(NumberFieldTest, ShowsSixSignificantDigitsFromTheBeginning)
{
    showFloat(field, 2.5f);
    EXPECT_EQ(field->text(), QStringLiteral("2.5"));
    text::setRuntimeLocale(text::RuntimeLocale::German);
    showFloat(field, 1234567.0f);
    EXPECT_EQ(field->text(), QStringLiteral("1,23457e+006"));
    EXPECT_EQ(field->cursorPosition(), 0) << "a long number shows its beginning";
    showInt(field, -42);
    EXPECT_EQ(field->text(), QStringLiteral("-42"));
}

TEST_F(NumberFieldTest, AFieldWithoutANumberIsRefusedWithAMessageAndSelected)
{
    using enum text::RuntimeLocale;
    const std::pair<text::RuntimeLocale, const char*> rows[]
        = { { German, "" }, { German, "abc" }, { German, "2.5" }, { Default, "2,5 Stück" } };
    for (const auto& [locale, text] : rows) {
        text::setRuntimeLocale(locale);
        ui.clear();
        field->setText(QString::fromUtf8(text));
        EXPECT_FALSE(readFloat(field)) << text;
        EXPECT_EQ(ui.messages(), QStringList({ numberExpectedMessage() })) << text;
        EXPECT_EQ(ui.asked[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(ui.asked[0].parent, &window);
        EXPECT_EQ(field->selectedText(), field->text());
    }
    for (const char* text : { "99999999999", "12,5" }) {
        field->setText(QString::fromUtf8(text));
        EXPECT_FALSE(readInt(field)) << text;
        EXPECT_EQ(ui.messages().last(), wholeNumberExpectedMessage());
    }
    field->setText(QStringLiteral("12 Stück"));
    EXPECT_EQ(readInt(field), 12);
}

TEST(DialogUnitsTest, ScalesWithTheFontsBaseUnits)
{
    QFont small = QApplication::font();
    small.setPointSize(8);
    QFont large = small;
    large.setPointSize(16);
    const DialogUnits a(small);
    EXPECT_EQ(a.x(4), a.baseWidth());
    EXPECT_EQ(a.y(8), a.baseHeight());
    EXPECT_EQ(a.baseHeight(), QFontMetrics(small).height());
    EXPECT_GT(DialogUnits(large).x(372), a.x(372));
    EXPECT_EQ(a.rect(0, 0, 372, 226).size(), a.size(372, 226));
}

TEST(TooltipTest, LongTipsWrapAtTheMaximumWidthAndShortOnesStayPlain)
{
    QWidget widget;
    setTip(&widget, QStringLiteral("kurz"));
    EXPECT_EQ(widget.toolTip(), QStringLiteral("kurz"));
    const QString longTip = QStringLiteral("Nutzungsgrad des Materials (Beispiel: Sägeverschnitt, der nicht im "
                                           "Grundgewicht angegeben ist) <1>");
    setTip(&widget, longTip);
    EXPECT_EQ(widget.property("plainToolTip").toString(), longTip);
    EXPECT_TRUE(widget.toolTip().contains(QStringLiteral("width=\"150\"")));
    EXPECT_TRUE(widget.toolTip().contains(QStringLiteral("&lt;1&gt;")));
}

TEST(QtTextTest, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(toCp1252(fromCp1252(all)), all);
    EXPECT_EQ(fromCp1252("\x80\xE4"), QStringLiteral("€ä"));
    EXPECT_EQ(toCp1252(QStringLiteral("Ω")), "?");
}

TEST(FormatCellNumberTest, TwoDecimalsAndAMarkForHugeValues)
{
    const std::pair<double, const char*> rows[]
        = { { 100, "100.00" }, { 0.125, "0.13" }, { 1e26, "100000000000000004764729344.00" }, { 1e30, "########" },
              { std::numeric_limits<double>::infinity(), "inf" } };
    for (const auto& [value, text] : rows)
        EXPECT_EQ(FormatCellNumber(value), QLatin1String(text)) << value;
}

// The program's own file dialog: a name typed without the suffix gets it.
TEST(QtUiServicesTest, TheSaveDialogAddsTheSuffixToATypedName)
{
    QTemporaryDir dir;
    whenModal([&dir](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(dir.filePath(QStringLiteral("welle")));
        static_cast<QDialog*>(dialog)->accept();
    });
    QtUiServices services;
    EXPECT_EQ(services.getSaveFileName(nullptr,
                  { QStringLiteral("Kalkora - Auftragsdaten Speichern"), QStringLiteral("Auftragsdaten (*.auf) "),
                      QStringLiteral("*.auf"), QStringLiteral("auf"), true, dir.path() }),
        dir.filePath(QStringLiteral("welle.auf")));
}

} // namespace
} // namespace kalkora::ui::test
