#include "ModalDriver.h"
#include "WindowTest.h"
#include "ui/common/DialogUnits.h"
#include "ui/common/NumberField.h"
#include "ui/common/QtText.h"
#include "ui/common/QtUiServices.h"
#include "ui/common/Tooltips.h"
#include "ui/main/OperationListModel.h"

#include <QAbstractProxyModel>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QKeySequence>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <limits>

namespace kalkora::ui::test {
namespace {

class NumberFieldTest : public WindowTest {
protected:
    QWidget window;
    QLineEdit* field = new QLineEdit(&window);
};

// Six significant digits, a long number showing its beginning.
TEST_F(NumberFieldTest, ShowsSixSignificantDigitsAndRefusesWhatIsNoNumber)
{
    text::setRuntimeLocale(text::RuntimeLocale::Default);
    showFloat(field, 2.5f);
    EXPECT_EQ(field->text(), QStringLiteral("2.5"));
    text::setRuntimeLocale(text::RuntimeLocale::German);
    showFloat(field, 1234567.0f);
    EXPECT_EQ(field->text() + QString::number(field->cursorPosition()), QStringLiteral("1,23457e+0060"));
    showInt(field, -42);
    EXPECT_EQ(field->text(), QStringLiteral("-42"));

    // A refused field shows a warning in its window and is selected.
    using enum text::RuntimeLocale;
    const std::tuple<text::RuntimeLocale, const char*, bool> rows[]
        = { { German, "", false }, { German, "abc", false }, { German, "2.5", false }, { Default, "2,5 Stück", false },
              { Default, "99999999999", true }, { Default, "12,5", true } };
    for (const auto& [locale, text, whole] : rows) {
        text::setRuntimeLocale(locale);
        ui.clear();
        field->setText(QString::fromUtf8(text));
        EXPECT_FALSE(whole ? readInt(field).has_value() : readFloat(field).has_value()) << text;
        EXPECT_EQ(ui.messages(), QStringList({ whole ? wholeNumberExpectedMessage() : numberExpectedMessage() }));
        EXPECT_TRUE(ui.asked[0].icon == MessageIcon::Exclamation && ui.asked[0].parent == &window);
        EXPECT_EQ(field->selectedText(), field->text());
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

// In the runtime locale of the program, whatever an earlier test left.
TEST(FormatCellNumberTest, TwoDecimalsAndAMarkForHugeValues)
{
    const std::pair<double, const char*> rows[]
        = { { 100, "100.00" }, { 0.125, "0.13" }, { 1e26, "100000000000000004764729344.00" }, { 1e30, "########" },
              { std::numeric_limits<double>::infinity(), "inf" } };
    text::setRuntimeLocale(text::RuntimeLocale::Default);
    for (const auto& [value, text] : rows)
        EXPECT_EQ(FormatCellNumber(value), QLatin1String(text)) << value;
    text::setRuntimeLocale(text::RuntimeLocale::German);
    EXPECT_EQ(FormatCellNumber(0.125), QStringLiteral("0,13"));
}

// The program's own file dialog: a name typed without the suffix gets it.
TEST(QtUiServicesTest, TheSaveDialogAddsTheSuffixToATypedName)
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("alt.auf"));
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(QByteArray(1536, 'x')) == 1536);
    file.close();
    QString size;
    QString modified;
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        // Sizes and dates are German whatever the system's locale says.
        QAbstractProxyModel* shown = dialog->proxyModel();
        const QModelIndex sizeCell
            = shown->mapFromSource(qobject_cast<QFileSystemModel*>(shown->sourceModel())->index(existing, 1));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !sizeCell.data().toString().isEmpty(); }));
        size = sizeCell.data().toString();
        modified = sizeCell.siblingAtColumn(3).data().toString();
        dialog->selectFile(dir.filePath(QStringLiteral("welle")));
        static_cast<QDialog*>(dialog)->accept();
    });
    QtUiServices services;
    EXPECT_EQ(services.getSaveFileName(nullptr,
                  { QStringLiteral("Kalkora - Auftragsdaten Speichern"), QStringLiteral("Auftragsdaten (*.auf) "),
                      QStringLiteral("*.auf"), QStringLiteral("auf"), true, dir.path(), {} }),
        dir.filePath(QStringLiteral("welle.auf")));
    EXPECT_EQ(size, QStringLiteral("1,50 KiB"));
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d\\d \\d\\d:\\d\\d$")).match(modified).hasMatch())
        << modified.toStdString();
}

// The buttons of the program's message boxes answer to Alt with their letters: J, N, A.
TEST(QtUiServicesTest, MessageBoxButtonsAnswerToTheirLetters)
{
    const auto pressWhenAsked = [](Qt::Key letter) {
        whenModal([letter](QWidget* box) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(box));
            QTest::keyClick(box, letter, Qt::AltModifier);
            // A button pressed by its letter shows itself pressed for a moment first.
            if (!QTest::qWaitFor([box] { return QApplication::activeModalWidget() != box; }, 1000)) {
                ADD_FAILURE() << "Alt+" << QKeySequence(letter).toString().toStdString() << " left the box open";
                static_cast<QDialog*>(box)->reject();
            }
        });
    };
    const std::pair<Qt::Key, Answer> rows[]
        = { { Qt::Key_J, Answer::Yes }, { Qt::Key_N, Answer::No }, { Qt::Key_A, Answer::Cancel } };
    QtUiServices services;
    for (const auto& [letter, answer] : rows) {
        pressWhenAsked(letter);
        EXPECT_EQ(services.askYesNoCancel(nullptr, QStringLiteral("Speichern?"), MessageIcon::Question), answer);
        if (answer != Answer::Cancel) {
            pressWhenAsked(letter);
            EXPECT_EQ(
                services.askYesNo(nullptr, QStringLiteral("Löschen?"), MessageIcon::Question), answer == Answer::Yes);
        }
    }
}

} // namespace
} // namespace kalkora::ui::test
