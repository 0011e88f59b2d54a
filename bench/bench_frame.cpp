// One full repaint of the plane: recalculation and the whole frame, on a full-HD and a 4K
// surface, and the frames of a drag that moves one phasor.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

#include "bench_support.h"
#include "phasors/recalc.h"
#include "plane/frame.h"
#include "plane/paintboxex.h"

namespace zeigora {
namespace {

TPhasorArray RandomPhasors(int n) {
    constexpr std::uint32_t Colors[10] = {0x0000FF, 0xFF0000, 0x008000, 0x800080, 0x008080,
                                          0x000080, 0x808000, 0x0080FF, 0x404040, 0xFF00FF};
    std::mt19937 rng(20261206);
    std::uniform_real_distribution<double> magnitude(0.5, 3.7);
    std::uniform_real_distribution<double> angle(0.0, 2 * 3.14159265358979323846);
    TPhasorArray list;
    for (int k = 0; k < n; ++k) {
        TPhasor& p = list[AppendPhasor(list)];
        const double r = magnitude(rng), a = angle(rng);
        p.Name = "U" + std::to_string(k + 1);
        p.Value = MakeComplex(r * std::cos(a), r * std::sin(a));
        p.Width = static_cast<std::uint8_t>(1 + k % 4);
        p.Color = Colors[k % 10];
    }
    return list;
}

TPlaneView BenchView(bool chain) {
    TPlaneView view;
    view.Settings.ReIntervals = 6;
    view.Settings.ImIntervals = 4;
    view.Settings.SubIntervals = 5;
    view.Settings.GraphicalAddition = chain;
    return view;
}

// Every phasor moves a few pixels every frame (back and forth), so that each frame draws all
// of them: only the layers below may be taken over.
void Frame(benchmark::State& state, bool chain, int width = 1920, int height = 1080) {
    bench::EnsureGuiApplication();
    TPaintBoxEx surface(width, height);
    TPlaneView view = BenchView(chain);
    TPhasorArray phasors = RandomPhasors(static_cast<int>(state.range(0)));
    const TPhasorArray start = phasors;
    int step = 0;
    for (auto _ : state) {
        const double shift = step++ % 2 == 0 ? 0.0 : 0.05;
        for (std::size_t k = 0; k < phasors.size(); ++k)
            phasors[k].Value = MakeComplex(start[k].Value.Re + shift, start[k].Value.Im + shift);
        RecalculateAll(phasors);
        surface.FastAntialiasing = false;
        RenderPlane(surface, view, phasors, nullptr);
        benchmark::DoNotOptimize(surface.Bitmap.constBits());
    }
}

void Frame4KStar(benchmark::State& state) {
    Frame(state, false, 3840, 2160);
}

// A drag: the selected first phasor moves a little every frame, everything else stays.
void FrameDragStar(benchmark::State& state) {
    bench::EnsureGuiApplication();
    TPaintBoxEx surface(1920, 1080);
    TPlaneView view = BenchView(false);
    TPhasorArray phasors = RandomPhasors(static_cast<int>(state.range(0)));
    int step = 0;
    for (auto _ : state) {
        const double a = 0.01 * (step++ % 600);
        phasors[0].Value = MakeComplex(2 * std::cos(a), 2 * std::sin(a));
        RecalculateAll(phasors);
        surface.FastAntialiasing = false;
        RenderPlane(surface, view, phasors, &phasors[0]);
        benchmark::DoNotOptimize(surface.Bitmap.constBits());
    }
}

// A wheel step: the scale changes every frame, so grid, numbers, axes and unit circles are
// drawn anew as well.
void FrameZoomStar(benchmark::State& state) {
    bench::EnsureGuiApplication();
    TPaintBoxEx surface(1920, 1080);
    TPlaneView view = BenchView(false);
    view.Settings.UnitCircle1 = true;
    TPhasorArray phasors = RandomPhasors(static_cast<int>(state.range(0)));
    int step = 0;
    for (auto _ : state) {
        view.Settings.Scale1 = step++ % 2 == 0 ? 1.0 : 0.5;
        RecalculateAll(phasors);
        surface.FastAntialiasing = false;
        RenderPlane(surface, view, phasors, nullptr);
        benchmark::DoNotOptimize(surface.Bitmap.constBits());
    }
}

void FrameStar(benchmark::State& state) {
    Frame(state, false);
}
void FrameChain(benchmark::State& state) {
    Frame(state, true);
}

// Wall time: a frame may run on both cores.
BENCHMARK(FrameStar)
    ->Name("Frame/star")
    ->Arg(16)
    ->Arg(64)
    ->Arg(256)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(Frame4KStar)
    ->Name("Frame4K/star")
    ->Arg(64)
    ->Arg(256)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(FrameDragStar)
    ->Name("FrameDrag/star")
    ->Arg(256)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(FrameZoomStar)
    ->Name("FrameZoom/star")
    ->Arg(256)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(FrameChain)
    ->Name("Frame/chain")
    ->Arg(16)
    ->Arg(64)
    ->Arg(256)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace zeigora
