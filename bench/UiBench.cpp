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

void fillOrder(COrder& order, int operations)
{
    for (int i = 0; i < operations; ++i) {
        auto operation = std::make_unique<COperation>();
        operation->name = "Arbeitsgang " + std::to_string(i);
        if (i % 3 == 2) {
            operation->isInternal = 0;
            operation->machineName = "EXTERN";
            operation->externalLotSize = 1000 + i;
        } else {
            operation->machineName = "Drehmaschine " + std::to_string(i % 17);
            operation->operatorTimeMin = 1.5f + i;
            operation->setupTimeMin = 30;
            operation->machineTimeMin = 2.25f;
            operation->lotSize = 100 + i;
        }
        order.operations.add(std::move(operation));
    }
}

// The order panel rebuilding its fields and list, shown, with the German locale in force.
void BM_RefreshFromOrder(benchmark::State& state)
{
    text::setRuntimeLocale(text::RuntimeLocale::German);
    ui::CMainDlg dlg;
    dlg.show();
    dlg.OnNewOrder();
    fillOrder(dlg.order, static_cast<int>(state.range(0)));
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
