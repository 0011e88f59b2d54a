// The circuit analysis: a 201-point sweep as the window runs it (snapshot of the tree, the
// points, the decade marks and the resonances) on small to very large circuits, and one
// picture of each view at 800 x 600 for 1000 points.
#include <benchmark/benchmark.h>

#include <memory>

#include "../tests/circuit/random_circuit.h"
#include "bench_support.h"
#include "circuit/circuitphasors.h"
#include "circuit/circuitsweep.h"
#include "circuitplot/phasordiagram.h"
#include "circuitplot/sweepplot.h"
#include "platform/vectorstate.h"

namespace {

using namespace zeigora;

std::unique_ptr<TCircuitElementGroup> Circuit(int elements) {
    if (elements <= 5) return MakeDefaultCircuit();
    // The same seed as the circuit window's benchmarks: the 10 000-element circuit is theirs.
    return test::MakeRandomCircuit(20240611, elements, 8);
}

// Argument: the number of elements (5 is the default circuit).
void BM_Sweep201(benchmark::State& state) {
    const auto circuit = Circuit(static_cast<int>(state.range(0)));
    const TCircuitSupply supply;
    for (auto _ : state) {
        const TCircuitSweeper sweeper(*circuit, supply, 0);
        const TSweepResult r = RunSweep(sweeper, 10.0, 1e5, 201, false, 50.0);
        benchmark::DoNotOptimize(r.Points.data());
    }
}
// Both cores work on the big ones: wall-clock time is what counts.
BENCHMARK(BM_Sweep201)->Arg(5)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

void EnsureGuiApplication() {
    if (bench::EnsureGuiApplication()) ClearUpperVectorState();
}

// Argument: 0 phasor diagram, 1 locus, 2 frequency response.
void BM_AnalysisView(benchmark::State& state) {
    EnsureGuiApplication();
    const auto circuit = Circuit(1000);
    const TCircuitSupply supply;
    const TCircuitSweeper sweeper(*circuit, supply, 0);
    const TSweepResult r = RunSweep(sweeper, 10.0, 1e5, 1000, false, 50.0);
    const TGroupPhasors diagram = GroupPhasors(*circuit, supply, 0);
    TPaintBoxEx surface(800, 600);
    TPhasorDiagramView view;
    TSweepPlotGeometry g;
    TSweepPlotOptions o;
    o.Title = "Ortskurve";
    for (auto _ : state) {
        if (state.range(0) == 0)
            RenderPhasorDiagram(surface, diagram, view);
        else if (state.range(0) == 1)
            RenderLocus(surface, r, o, g);
        else
            RenderFrequencyResponse(surface, r, o, g);
        benchmark::DoNotOptimize(surface.Bits());
    }
}
BENCHMARK(BM_AnalysisView)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
