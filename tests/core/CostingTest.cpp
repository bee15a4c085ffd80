#include "ExampleData.h"
#include "costing/OrderCosting.h"
#include "text/Cp1252.h"
#include "text/RuntimeLocale.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace kalkora;
using kalkora::testing::exampleOrder;
using kalkora::testing::examplePlant;

namespace {

const std::string NL = "\r\n     ";
const std::string RULE(50, '-');
const text::PrintDate kMonday4August2003 { 2003, 8, 4 };

// Runs each test in the given runtime locale and restores the default afterwards.
class LocaleScope {
public:
    explicit LocaleScope(text::RuntimeLocale locale) { text::setRuntimeLocale(locale); }
    ~LocaleScope() { text::setRuntimeLocale(text::RuntimeLocale::Default); }
};

std::string cp(const std::string& utf8)
{
    return text::utf8ToCp1252(utf8);
}

std::string exampleReportGerman()
{
    return "     Kalkora 1.0 EURO - Fertigungskostenberechnung" + NL + NL //
        + "Auftrag:    Welle 20x200" + NL //
        + "Datei:      welle.auf" + NL + NL //
        + "Druckdatum: Montag, 04. August 2003" + NL //
        + "Bemerkung:  Muster fuer Kunde A, Rohmaterial C45 g\r\n                 ezogen, Lieferung in zwei Teilen" + NL
        + NL //
        + "Arbeitsgang: Drehen (INTERN)" + NL + RULE + NL //
        + "Maschine: Drehmaschine 1" + NL //
        + cp("Losgröße (Arbeitsgang):    100") + NL //
        + "NuGrMat:   50,00 kg/St:     0,500 EUR/kg:      2,00 " + NL //
        + "MatVK/St:   2,10 MatDK/St:   2,00 Anz.Sch.:      1 " + NL //
        + "NGrMasch:   80,0 MaschFix:  10,05 MaschVar:   4,00" + NL //
        + "Ruesten :  30,00 te (b)  :   2,00 te      :   1,00 " + NL //
        + "MA (Var):  25,00 MA (Fix):  15,00           " + NL //
        + RULE + NL //
        + "Vollkosten/St.(AG):        3,64" + NL //
        + "Direkte Kosten/St.(AG):    2,73" + NL //
        + NL //
        + "Arbeitsgang: Haerten (EXTERN)" + NL + RULE + NL //
        + cp("Vollk./St.: 1,65  Dir.K/St.: 1,50  Losgröße: 100") + NL //
        + NL //
        + NL + RULE + NL //
        + cp("     HERSTELLKOSTEN/STÜCK (EUR)") + NL //
        + cp("     STÜCKZAHLBASIS AUFTRAG:     100") + NL + RULE + NL //
        + "VOLLKOSTEN:       5,29   DIREKTE KOSTEN:   4,23   " //
        + NL + RULE + NL + NL;
}

// The report's closing figures: the part between "VOLLKOSTEN:" and the next line break.
std::string totalsLine(const std::string& report)
{
    const auto begin = report.find("VOLLKOSTEN:");
    return report.substr(begin, report.find('\r', begin) - begin);
}

} // namespace

TEST(CostingReport, WorkedExampleByteForByte)
{
    LocaleScope german(text::RuntimeLocale::German);
    const CostingResult result = costOrder(exampleOrder(), examplePlant(), "welle.auf", kMonday4August2003);
    EXPECT_EQ(result.reportText, exampleReportGerman());
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(result.uncostedOperations, 0);
}

TEST(CostingReport, DefaultLocaleUsesPointsAndEnglishNames)
{
    LocaleScope c(text::RuntimeLocale::Default);
    const std::string report = costOrder(exampleOrder(), examplePlant(), "welle.auf", kMonday4August2003).reportText;
    std::string expected = exampleReportGerman();
    for (char& ch : expected) {
        if (ch == ',' && &ch > expected.data() && std::isdigit(static_cast<unsigned char>((&ch)[-1])))
            ch = '.';
    }
    expected.replace(expected.find("Montag"), 6, "Monday");
    EXPECT_EQ(report, expected);
}

TEST(CostingReport, OrderWithoutOperations)
{
    LocaleScope german(text::RuntimeLocale::German);
    COrder order;
    order.quantityBase = 5;
    const std::string report = costOrder(order, examplePlant(), "", kMonday4August2003).reportText;
    const std::string expectedTail = "Bemerkung:  " + NL + NL + NL + RULE + NL;
    EXPECT_NE(report.find("Datei:      " + NL + NL), std::string::npos);
    EXPECT_NE(report.find(expectedTail), std::string::npos);
    EXPECT_EQ(totalsLine(report), "VOLLKOSTEN:       0,00   DIREKTE KOSTEN:   0,00   ");
}

TEST(CostingReport, NonFiniteFiguresArePrinted)
{
    LocaleScope german(text::RuntimeLocale::German);
    COrder order = exampleOrder();
    order.quantityBase = 0;
    EXPECT_EQ(totalsLine(costOrder(order, examplePlant(), "", kMonday4August2003).reportText),
        "VOLLKOSTEN:        inf   DIREKTE KOSTEN:    inf   ");

    order.clear();
    EXPECT_EQ(totalsLine(costOrder(order, examplePlant(), "", kMonday4August2003).reportText),
        "VOLLKOSTEN:        nan   DIREKTE KOSTEN:    nan   ");

    order = exampleOrder();
    order.operations.at(0)->lotSize = 0; // setup time over zero pieces
    const std::string report = costOrder(order, examplePlant(), "", kMonday4August2003).reportText;
    EXPECT_NE(report.find("Vollkosten/St.(AG):         inf"), std::string::npos);
    EXPECT_NE(report.find(cp("Losgröße (Arbeitsgang):      0")), std::string::npos);
    // 0 x inf is nan: the order total is lost, as the figures say.
    EXPECT_EQ(totalsLine(report), "VOLLKOSTEN:        nan   DIREKTE KOSTEN:    nan   ");
}

TEST(CostingReport, MissingMachineIsReportedAndLeftOutOfTheTotals)
{
    LocaleScope german(text::RuntimeLocale::German);
    COrder order = exampleOrder();
    order.operations.at(0)->machineName = "drehmaschine 1";
    order.operations.add(kalkora::testing::turningOperation());
    order.operations.at(2)->machineName = "Fehlt";
    const CostingResult result = costOrder(order, examplePlant(), "w.auf", kMonday4August2003);

    ASSERT_EQ(result.messages.size(), 2u);
    EXPECT_EQ(result.messages[0], "Maschinendatensatz nicht gefunden. Daten inkonsistent !!");
    EXPECT_EQ(result.uncostedOperations, 2);
    EXPECT_NE(result.reportText.find("Maschine: drehmaschine 1" + NL
                  + "Maschinendatensatz nicht gefunden - Arbeitsgang nicht berechnet" + NL + RULE + NL + NL
                  + "Arbeitsgang: Haerten"),
        std::string::npos);
    // Only the external operation counts: 1.65 and 1.50 per piece.
    EXPECT_EQ(totalsLine(result.reportText), "VOLLKOSTEN:       1,65   DIREKTE KOSTEN:   1,50   ");
    const std::string warning = cp("ACHTUNG: Summen unvollständig, nicht berechnete Arbeitsgänge: 2") + NL;
    EXPECT_EQ(result.reportText.substr(result.reportText.size() - warning.size()), warning);
}

TEST(CostingReport, ShiftModeOutsideRangeIsNotCosted)
{
    COrder order = exampleOrder();
    order.operations.at(0)->shiftMode = 3;
    CostingResult result = costOrder(order, examplePlant(), "", kMonday4August2003);
    ASSERT_EQ(result.messages.size(), 1u);
    EXPECT_EQ(result.messages[0], cp("Ungültiger Schichtbetrieb. Daten inkonsistent !!"));
    EXPECT_NE(result.reportText.find(cp("Ungültiger Schichtbetrieb - Arbeitsgang nicht berechnet")), std::string::npos);

    // A missing machine is found first, whatever the shift mode.
    order.operations.at(0)->shiftMode = -1;
    order.operations.at(0)->machineName = "x";
    result = costOrder(order, examplePlant(), "", kMonday4August2003);
    EXPECT_EQ(result.messages.at(0), "Maschinendatensatz nicht gefunden. Daten inkonsistent !!");
}

TEST(Costing, ThreeShiftsSwitchOperatorAndMachineRates)
{
    LocaleScope german(text::RuntimeLocale::German);
    CPlantData plant = examplePlant();
    plant.operatorVarRate3 = 30;
    plant.operatorFixedRate3 = 20;
    COrder order = exampleOrder();
    order.operations.removeAt(1);

    order.operations.at(0)->shiftMode = 1;
    std::string report = costOrder(order, plant, "", kMonday4August2003).reportText;
    EXPECT_NE(report.find("MaschFix:   5,03 MaschVar:   2,75"), std::string::npos);
    EXPECT_NE(report.find("MA (Var):  25,00 MA (Fix):  15,00"), std::string::npos);

    order.operations.at(0)->shiftMode = 2;
    order.operations.at(0)->isInternal = 7; // any non-zero flag is an internal operation
    report = costOrder(order, plant, "", kMonday4August2003).reportText;
    EXPECT_NE(report.find("Anz.Sch.:      3"), std::string::npos);
    EXPECT_NE(report.find("MaschFix:   3,35 MaschVar:   2,33"), std::string::npos);
    EXPECT_NE(report.find("MA (Var):  30,00 MA (Fix):  20,00"), std::string::npos);
}

TEST(Costing, ExternalLotSizeZeroAddsNothing)
{
    LocaleScope german(text::RuntimeLocale::German);
    COrder order = exampleOrder();
    order.operations.removeAt(0);
    order.operations.at(0)->externalLotSize = 0;
    const std::string report = costOrder(order, examplePlant(), "", kMonday4August2003).reportText;
    EXPECT_NE(report.find(cp("Vollk./St.: 1,65  Dir.K/St.: 1,50  Losgröße: 0")), std::string::npos);
    EXPECT_EQ(totalsLine(report), "VOLLKOSTEN:       0,00   DIREKTE KOSTEN:   0,00   ");
}

TEST(WrapRemark, CutsEvery38Characters)
{
    const std::string brk = "\r\n" + std::string(17, ' ');
    const std::string a38(38, 'a');
    EXPECT_EQ(wrapRemark(""), "");
    EXPECT_EQ(wrapRemark(a38), a38);
    EXPECT_EQ(wrapRemark(a38 + "b"), a38 + brk + "b");
    EXPECT_EQ(wrapRemark(a38 + a38), a38 + brk + a38) << "76 characters get one break, not two";
    EXPECT_EQ(wrapRemark(a38 + a38 + "c"), a38 + brk + a38 + brk + "c");
    EXPECT_EQ(wrapRemark("ab\r\ncd\n\re"), "abcde");
    EXPECT_EQ(wrapRemark(std::string(20, 'x') + "\r\n" + std::string(20, 'y')),
        std::string(20, 'x') + std::string(18, 'y') + brk + "yy")
        << "the breaks go before the cut";
}
