#include "BenchData.h"
#include "text/RuntimeLocale.h"
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
