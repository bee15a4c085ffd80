#include "BenchAssembly.h"
#include "BenchData.h"
#include "costing/OrderCosting.h"
#include "files/PostCalcFile.h"
#include "text/Cp1252.h"
#include "text/RuntimeLocale.h"
#include "ui/analysis/CostBreakdownDlg.h"
#include "ui/analysis/PriceScaleDlg.h"
#include "ui/assembly/AssemblyWindow.h"
#include "ui/main/MainDlg.h"
#include "ui/postcalc/PostCalcDlg.h"
#include "ui/report/ReportDlg.h"
#include "ui/report/ReportTextView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDirIterator>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <benchmark/benchmark.h>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using namespace kalkora;

// The order panel rebuilding its fields and list, shown, with the German locale in force.
void BM_RefreshFromOrder(benchmark::State& state)
{
    text::setRuntimeLocale(text::RuntimeLocale::German);
    ui::CMainDlg dlg;
    dlg.show();
    dlg.OnNewOrder();
    dlg.session().order().data() = bench::mixedOrder(static_cast<int>(state.range(0)), 17);
    for (auto _ : state) {
        dlg.panel().RefreshFromOrder();
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RefreshFromOrder)->Arg(1000)->Arg(10000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The operations list scrolled to its end and back to the top, painted each time.
void BM_ScrollOrderList(benchmark::State& state)
{
    ui::CMainDlg dlg;
    dlg.show();
    dlg.OnNewOrder();
    dlg.session().order().data() = bench::mixedOrder(static_cast<int>(state.range(0)), 17);
    dlg.panel().RefreshFromOrder();
    benchmark::DoNotOptimize(QTest::qWaitForWindowExposed(&dlg));
    QApplication::processEvents();
    QScrollBar* bar = dlg.panel().operationList()->verticalScrollBar();
    for (auto _ : state) {
        bar->setValue(bar->maximum());
        dlg.panel().operationList()->viewport()->repaint();
        bar->setValue(0);
        dlg.panel().operationList()->viewport()->repaint();
    }
}
BENCHMARK(BM_ScrollOrderList)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Resident memory of the whole process now, in MiB.
double residentMiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The heap in use now, in MiB.
double heapInUseMiB()
{
    const struct mallinfo2 heap = mallinfo2();
    return double(heap.uordblks + heap.hblkhd) / (1024.0 * 1024.0);
}

std::string benchReport(int operations)
{
    const CPlantData plant = bench::benchPlant(17);
    return costOrder(bench::mixedOrder(operations, 17), plant, "bench.auf", { 2003, 8, 4 }).reportText;
}

// From handing the costing's report to the report window until the window has been painted.
// "reportMiB" is the report's size, "rssPerReport" the process's memory beside it; of its
// "lines" only "convertedLines", those on screen, are ever converted for drawing.
void BM_ReportWindowShown(benchmark::State& state)
{
    const std::string report = benchReport(static_cast<int>(state.range(0)));
    double resident = 0;
    std::int64_t lines = 0;
    std::int64_t converted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::string text = report;
        state.ResumeTiming();
        ui::CReportDlg dlg;
        dlg.setReportText(std::move(text));
        dlg.show();
        benchmark::DoNotOptimize(QTest::qWaitForWindowExposed(&dlg));
        QApplication::processEvents();
        resident = residentMiB();
        const auto* view = dlg.findChild<ui::ReportTextView*>();
        lines = view->lineCount();
        converted = view->convertedLineCount();
    }
    state.counters["lines"] = double(lines);
    state.counters["convertedLines"] = double(converted);
    state.counters["reportMiB"] = double(report.size()) / (1024.0 * 1024.0);
    state.counters["rssPerReport"] = resident / (double(report.size()) / (1024.0 * 1024.0));
}
BENCHMARK(BM_ReportWindowShown)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// Ctrl+A, Ctrl+C in the report window: the whole report on the clipboard.
void BM_ReportCopiedWhole(benchmark::State& state)
{
    ui::CReportDlg dlg;
    dlg.setReportText(benchReport(static_cast<int>(state.range(0))));
    dlg.show();
    auto* view = dlg.findChild<ui::ReportTextView*>();
    for (auto _ : state) {
        QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        benchmark::DoNotOptimize(QApplication::clipboard()->text().size());
    }
}
BENCHMARK(BM_ReportCopiedWhole)->Arg(100'000)->Unit(benchmark::kMillisecond);

// "&Berechnen..." of a large order until its report window is painted: costing and window.
void BM_CalculateAndShowReport(benchmark::State& state)
{
    const CPlantData plant = bench::benchPlant(17);
    const COrder order = bench::mixedOrder(static_cast<int>(state.range(0)), 17);
    for (auto _ : state) {
        ui::CReportDlg dlg;
        dlg.setReportText(costOrder(order, plant, "bench.auf", { 2003, 8, 4 }).reportText);
        dlg.show();
        benchmark::DoNotOptimize(QTest::qWaitForWindowExposed(&dlg));
        QApplication::processEvents();
    }
}
BENCHMARK(BM_CalculateAndShowReport)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// From constructing the main window until it has been shown and painted once.
void BM_MainWindowShown(benchmark::State& state)
{
    for (auto _ : state) {
        ui::CMainDlg dlg;
        dlg.show();
        benchmark::DoNotOptimize(QTest::qWaitForWindowExposed(&dlg));
        QApplication::processEvents();
    }
}
BENCHMARK(BM_MainWindowShown)->Unit(benchmark::kMillisecond);

// From the menu command until the analysis window of a large order has been shown and painted:
// the costing, the table and the chart. Each iteration opens a new window.
template <typename Window> void openAnalysis(benchmark::State& state, int command)
{
    text::setRuntimeLocale(text::RuntimeLocale::German);
    ui::CMainDlg dlg;
    dlg.show();
    dlg.session().masterData().data() = bench::benchPlant(17);
    dlg.OnNewOrder();
    dlg.session().order().data() = bench::mixedOrder(static_cast<int>(state.range(0)), 17);
    dlg.panel().RefreshFromOrder();
    for (auto _ : state) {
        dlg.action(command)->trigger();
        auto* window = dlg.findChild<Window*>();
        benchmark::DoNotOptimize(QTest::qWaitForWindowExposed(window));
        QApplication::processEvents();
        state.PauseTiming();
        delete window;
        state.ResumeTiming();
    }
}

void BM_OpenPriceScale(benchmark::State& state)
{
    openAnalysis<ui::CPriceScaleDlg>(state, 40016);
}
BENCHMARK(BM_OpenPriceScale)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_OpenCostBreakdown(benchmark::State& state)
{
    openAnalysis<ui::CCostBreakdownDlg>(state, 40017);
}
BENCHMARK(BM_OpenCostBreakdown)->Arg(10000)->Unit(benchmark::kMillisecond);

// From opening the benchmark tree (1,000 orders of 100 operations) in an assembly window until
// the window shows the costed tree and its sum. "filesMiB" is the size of every file of the tree,
// "heapPerFiles" the heap the open window holds, per MiB of those files.
void BM_OpenAssemblyWindow(benchmark::State& state)
{
    text::setRuntimeLocale(text::RuntimeLocale::German);
    QTemporaryDir folder;
    if (!bench::writeBenchAssemblies(QDir(folder.path())))
        state.SkipWithError("cannot write the benchmark files");
    CPlantData plant;
    files::loadMasterData(folder.filePath(QStringLiteral("bench.sta")), 1.0f, plant);
    double filesMiB = 0;
    for (QDirIterator files(folder.path(), { QStringLiteral("*.auf"), QStringLiteral("*.bgr") }, QDir::Files,
             QDirIterator::Subdirectories);
         files.hasNext();) {
        const QString file = files.next();
        if (file != folder.filePath(QStringLiteral("all.auf")) && !file.contains(u"zehnmal")
            && !file.endsWith(u"tree10.bgr"))
            filesMiB += double(files.fileInfo().size()) / (1024.0 * 1024.0);
    }
    const double before = heapInUseMiB();
    double added = 0;
    for (auto _ : state) {
        ui::CAssemblyWindow window(plant, [] { return QString(); });
        window.openFile(folder.filePath(QStringLiteral("tree.bgr")));
        window.show();
        benchmark::DoNotOptimize(QTest::qWaitForWindowExposed(&window));
        QApplication::processEvents();
        if (added == 0)
            added = heapInUseMiB() - before;
    }
    state.counters["filesMiB"] = filesMiB;
    state.counters["heapPerFiles"] = added / filesMiB;
}
BENCHMARK(BM_OpenAssemblyWindow)->Unit(benchmark::kMillisecond);

// From naming a post-calculation of a large order with an actual for every operation at start
// (kalkora FILE.nak) until its window shows plan against actual: the master data and the order
// read from their files, the post-calculation read, the order costed as planned and as measured.
void BM_OpenPostCalc(benchmark::State& state)
{
    text::setRuntimeLocale(text::RuntimeLocale::German);
    QTemporaryDir folder;
    const auto path = [&folder](const char* name) { return folder.filePath(QLatin1String(name)); };
    const COrder order = bench::mixedOrder(static_cast<int>(state.range(0)), 17);
    files::PostCalculation postCalc;
    postCalc.masterFile = path("bench.sta");
    postCalc.orderFile = path("bench.auf");
    postCalc.producedQuantity = 100;
    postCalc.goodQuantity = 97;
    for (std::int32_t i = 0; i < order.operations.count(); ++i) {
        Actual& actual
            = postCalc.actuals.emplace_back(Actual { i + 1, text::cp1252ToUtf8(order.operations.at(i)->name), {} });
        actual.values[SetupTimeField] = 45;
        actual.values[MachineTimeField] = double(2.3f);
    }
    if (!files::saveMasterData(postCalc.masterFile, bench::benchPlant(17)).ok()
        || !files::saveOrder(postCalc.orderFile, order).ok() || !files::savePostCalc(path("bench.nak"), postCalc).ok())
        state.SkipWithError("cannot write the benchmark files");
    ui::CMainDlg dlg;
    dlg.show();
    for (auto _ : state) {
        dlg.OpenStartFiles({ path("bench.nak") });
        auto* window = dlg.findChild<ui::CPostCalcDlg*>();
        benchmark::DoNotOptimize(QTest::qWaitForWindowExposed(window));
        QApplication::processEvents();
        state.PauseTiming();
        delete window;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_OpenPostCalc)->Arg(100'000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
