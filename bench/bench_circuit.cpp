// The model part of one circuit window refresh on a big circuit: impedance and current of the
// outermost group plus voltage, current and power of every element.
#include <benchmark/benchmark.h>

#include <QImage>
#include <algorithm>
#include <memory>

#include "../tests/circuit/random_circuit.h"
#include "bench_support.h"
#include "circuit/circcalc.h"
#include "circuit/circuitfile.h"
#include "circuit/circuitquery.h"
#include "circuitdiagram/circgrph.h"
#include "platform/rastercanvas.h"
#include "platform/vectorstate.h"

namespace {

using namespace zeigora;

// Text needs a GUI application; its start-up leaves vector state that is cleared here.
void EnsureGuiApplication() {
    if (bench::EnsureGuiApplication()) ClearUpperVectorState();
}

// 10 000 elements, random nesting down to depth 8, fixed seed.
std::unique_ptr<TCircuitElementGroup> BigCircuit() {
    return test::MakeRandomCircuit(20240611, 10000, 8);
}

void BM_CircuitRefresh(benchmark::State& state) {
    const auto circuit = BigCircuit();
    const TCircuitSupply supply;
    for (auto _ : state) {
        // What the window shows in its two frames, then every element's figures.
        benchmark::DoNotOptimize(circuit->GetImpedance(supply));
        benchmark::DoNotOptimize(GetCurrent(*circuit, supply));
        const auto all = ComputeAll(*circuit, supply);
        benchmark::DoNotOptimize(all.data());
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_CircuitRefresh)->Unit(benchmark::kMillisecond);

void BM_CircuitSaveLoad(benchmark::State& state) {
    const auto circuit = BigCircuit();
    for (auto _ : state) {
        TByteStream bytes;
        SaveToStream(*circuit, bytes);
        const auto loaded = LoadCircuitFromBytes(bytes);
        benchmark::DoNotOptimize(loaded.Circuit.get());
    }
}
BENCHMARK(BM_CircuitSaveLoad)->Unit(benchmark::kMillisecond);

// The window clears its diagram before drawing.
void ClearDiagram(TCanvas& canvas) {
    canvas.SetBrushStyle(TBrushStyle::Solid);
    canvas.SetBrushColor(clWhite);
    canvas.SetPenColor(clWhite);
    canvas.Rectangle(0, 0, canvas.Width(), canvas.Height());
}

// The schematic with both labels, on the pen, brush and font the window sets.
void DrawDiagram(TCanvas& canvas, TCircuitElementGroup& circuit) {
    canvas.SetPenColor(clBlack);
    canvas.SetBrushStyle(TBrushStyle::Clear);
    canvas.SetFontName(DefaultFontName);
    DrawCircuit(canvas, circuit, canvas.Height(), true, true);
}

// The window grows its diagram to what the tree needs, within a memory bound.
QSize FittedSize(const TCanvas& metrics, const TCircuitElementGroup& circuit) {
    constexpr int maxSide = 30000;
    constexpr long long maxPixels = 64LL * 1024 * 1024;
    const TDiagramSize needed = NeededDiagramSize(metrics, circuit, {true, true});
    const int width = std::clamp(needed.Width, DefaultDiagramWidth, maxSide);
    int height = std::clamp(needed.Height, DefaultDiagramHeight, maxSide);
    if (static_cast<long long>(width) * height > maxPixels)
        height = std::max(DefaultDiagramHeight, static_cast<int>(maxPixels / width));
    return {width, height};
}

// Argument 0: the window's default 500 x 173 diagram; 1: the diagram grown to what the tree
// needs, as far as the window lets it grow.
QImage DiagramImage(int which, const TCircuitElementGroup& circuit) {
    QImage probe(1, 1, QImage::Format_RGB32);
    const QSize size = which == 0 ? QSize(DefaultDiagramWidth, DefaultDiagramHeight)
                                  : FittedSize(TRasterCanvas(&probe), circuit);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    ClearUpperVectorState();
    return image;
}

// The size the tree needs.
void BM_CircuitDiagramNeededSize(benchmark::State& state) {
    EnsureGuiApplication();
    const auto circuit = BigCircuit();
    QImage image(1, 1, QImage::Format_RGB32);
    const TRasterCanvas canvas(&image);
    for (auto _ : state)
        benchmark::DoNotOptimize(NeededDiagramSize(canvas, *circuit, {true, true}));
    const TDiagramSize needed = NeededDiagramSize(canvas, *circuit, {true, true});
    state.counters["needed_w"] = needed.Width;
    state.counters["needed_h"] = needed.Height;
}
BENCHMARK(BM_CircuitDiagramNeededSize)->Unit(benchmark::kMillisecond);

// Drawing alone (no clearing).
void BM_CircuitDiagramDraw(benchmark::State& state) {
    EnsureGuiApplication();
    const auto circuit = BigCircuit();
    QImage image = DiagramImage(static_cast<int>(state.range(0)), *circuit);
    TRasterCanvas canvas(&image);
    for (auto _ : state)
        DrawDiagram(canvas, *circuit);
    state.counters["width"] = image.width();
    state.counters["height"] = image.height();
}
BENCHMARK(BM_CircuitDiagramDraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One whole refresh of the circuit window on the big circuit: impedance and current of the
// outermost group, every element's figures, the needed size, clearing and drawing.
void BM_CircuitWindowRefresh(benchmark::State& state) {
    EnsureGuiApplication();
    const auto circuit = BigCircuit();
    const TCircuitSupply supply;
    QImage image = DiagramImage(static_cast<int>(state.range(0)), *circuit);
    TRasterCanvas canvas(&image);
    for (auto _ : state) {
        benchmark::DoNotOptimize(circuit->GetImpedance(supply));
        benchmark::DoNotOptimize(GetCurrent(*circuit, supply));
        const auto all = ComputeAll(*circuit, supply);
        benchmark::DoNotOptimize(all.data());
        benchmark::DoNotOptimize(NeededDiagramSize(canvas, *circuit, {true, true}));
        ClearDiagram(canvas);
        DrawDiagram(canvas, *circuit);
    }
    state.counters["width"] = image.width();
    state.counters["height"] = image.height();
}
BENCHMARK(BM_CircuitWindowRefresh)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
