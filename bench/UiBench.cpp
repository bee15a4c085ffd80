#include "BenchData.h"
#include "text/RuntimeLocale.h"
#include "ui/analysis/CostBreakdownDlg.h"
#include "ui/analysis/PriceScaleDlg.h"
#include "ui/main/MainDlg.h"

#include <QAction>
#include <QApplication>
#include <QTest>

#include <benchmark/benchmark.h>
#include <memory>
#include <string>

namespace {

using namespace kalkora;

// The order panel rebuilding its fields and list, shown, with the German locale in force.
void BM_RefreshFromOrder(benchmark::State& state)
{
    text::setRuntimeLocale(text::RuntimeLocale::German);
    ui::CMainDlg dlg;
    dlg.show();
    dlg.OnNewOrder();
    dlg.order = bench::mixedOrder(static_cast<int>(state.range(0)), 17);
    for (auto _ : state) {
        dlg.panel().RefreshFromOrder();
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RefreshFromOrder)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

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
    dlg.plantData = bench::benchPlant(17);
    dlg.OnNewOrder();
    dlg.order = bench::mixedOrder(static_cast<int>(state.range(0)), 17);
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
