// One full repaint of the plane: recalculation and the whole frame, on a full-HD surface.
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

void Frame(benchmark::State& state, bool chain) {
    bench::EnsureGuiApplication();
    TPaintBoxEx surface(1920, 1080);
    TPlaneView view;
    view.Settings.ReIntervals = 6;
    view.Settings.ImIntervals = 4;
    view.Settings.SubIntervals = 5;
    view.Settings.GraphicalAddition = chain;
    TPhasorArray phasors = RandomPhasors(static_cast<int>(state.range(0)));
    for (auto _ : state) {
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

BENCHMARK(FrameStar)->Name("Frame/star")->Arg(16)->Arg(64)->Arg(256)->Unit(benchmark::kMillisecond);
BENCHMARK(FrameChain)
    ->Name("Frame/chain")
    ->Arg(16)
    ->Arg(64)
    ->Arg(256)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zeigora
