// The diagrams of a state: every curve, marker and table row for the nine models (headless),
// and the diagrams window drawn again offscreen for a new state, as after each Solve.
#include "core/main_view_model.h"
#include "plots/diagrams.h"
#include "ui/frmDiagrams.h"

#include <QApplication>
#include <QPixmap>

#include <benchmark/benchmark.h>

namespace {

// The benzene-like reference component with its Antoine line, solved at three states:
// sub-cooled liquid, two-phase line (Antoine pressure at 80 °C), supercritical.
plots::DiagramInput referenceInput(int which)
{
    core::MainViewModel vm;
    vm.state().constants = {78.11f, 562.1f, 48.9f, 259.0f, 0.212f, 0.07019f, 0.7939f, 0.523f};
    vm.state().antoine = {14.1603f, 2948.78f, 228.16f};
    vm.state().flags.AntoineAvailable = true;
    constexpr state::StateConditions kStates[] = {
        {298.15f, 1.0f}, {353.15f, 1.0108f}, {600.0f, 60.0f}};
    vm.state().conditions = kStates[which];
    vm.setChkStCalc(true);
    vm.cmdSolve_Click();
    plots::DiagramInput in;
    in.component = "Benzene";
    in.state = vm.state();
    in.sheet = vm.sheet();
    in.solvedBefore = true;
    in.antoineRange = plots::AntoineRange{7, 104};
    return in;
}

void allCurves(benchmark::State& st)
{
    const plots::DiagramInput in = referenceInput(static_cast<int>(st.range(0)));
    for (auto _ : st)
        benchmark::DoNotOptimize(plots::computeDiagrams(in));
}
BENCHMARK(allCurves)->DenseRange(0, 2)->ArgName("state")->Unit(benchmark::kMillisecond);

void windowRedraw(benchmark::State& st)
{
    ui::frmDiagrams window;
    window.resize(960, 640);
    window.show();
    const plots::DiagramInput in = referenceInput(static_cast<int>(st.range(0)));
    for (auto _ : st) {
        window.showInput(in);
        // Painting the window paints the shown diagram and the controls around it.
        benchmark::DoNotOptimize(window.grab());
    }
}
BENCHMARK(windowRedraw)->DenseRange(0, 2)->ArgName("state")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
