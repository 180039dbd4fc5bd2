// The teaching diagrams: the envelopes (dome and spinodal) of the nine models, formed once per
// component; one slider step's scene; and one slider step in the window drawn offscreen.
#include "plots/diagram_input.h"
#include "plots/teaching.h"
#include "ui/frmDiagrams.h"
#include "ui/teaching_tab.h"

#include <QApplication>
#include <QSlider>
#include <QTabWidget>

#include <benchmark/benchmark.h>

namespace {

// Propane, and benzene-like and water-like components: light, aromatic, polar.
const state::ComponentConstants kComponents[] = {
    {44.1f, 369.8f, 42.48f, 200.0f, 0.152f, 0.03136f, 0, 0},
    {78.11f, 562.1f, 48.9f, 259.0f, 0.212f, 0.07019f, 0.7939f, 0.523f},
    {18.015f, 647.1f, 220.55f, 55.9f, 0.345f, -0.06635f, 0.0199f, 0.443f},
};

analysis::Fluid fluidOf(int which) { return analysis::fluidOf(kComponents[which], false); }

void envelopesOfNineModels(benchmark::State& st)
{
    const analysis::Fluid f = fluidOf(static_cast<int>(st.range(0)));
    for (auto _ : st)
        benchmark::DoNotOptimize(plots::prepareTeaching(f));
}
BENCHMARK(envelopesOfNineModels)
    ->DenseRange(0, 2)
    ->ArgName("component")
    ->Unit(benchmark::kMillisecond);

// One slider step's compute in each view (T moves by 0.005 Tc each iteration).
void sliderStepScene(benchmark::State& st)
{
    const plots::TeachingData data = plots::prepareTeaching(fluidOf(0));
    plots::TeachingOptions o;
    o.view = static_cast<plots::TeachingView>(st.range(0));
    o.isotherms = true;
    o.statePressure_bar = 5;
    int step = 0;
    for (auto _ : st) {
        o.tr = 0.6 + 0.005 * (step++ % 80);
        benchmark::DoNotOptimize(plots::teachingScene(data, o));
    }
}
BENCHMARK(sliderStepScene)->DenseRange(0, 3)->ArgName("view")->Unit(benchmark::kMillisecond);

// A slider step in the window: the scene, the plot rebuilt and painted offscreen.
void sliderStepRedraw(benchmark::State& st)
{
    ui::frmDiagrams window;
    window.resize(960, 640);
    window.show();
    window.findChild<QTabWidget*>("tabDiagrams")
        ->setCurrentIndex(static_cast<int>(ui::frmDiagrams::Tab::Teaching));
    plots::DiagramInput in;
    in.state.constants = kComponents[0];
    in.state.conditions = {293.15f, 5.0f};
    window.showInput(in);
    ui::TeachingTab* tab = window.teaching();
    tab->setView(static_cast<plots::TeachingView>(st.range(0)));
    QSlider* slider = tab->slider();
    int step = 0;
    for (auto _ : st) {
        slider->setValue(600 + 5 * (step++ % 80));
        tab->plot()->replot(QCustomPlot::rpImmediateRefresh);
        benchmark::DoNotOptimize(tab->plot()->grab());
    }
}
BENCHMARK(sliderStepRedraw)->DenseRange(0, 3)->ArgName("view")->Unit(benchmark::kMillisecond);

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
