// LineAA alone: a 1000-pixel diagonal at widths 1 and 4, quality and fast mode.

#include <benchmark/benchmark.h>

#include "plane/paintboxex.h"

namespace {

void BM_LineAA(benchmark::State& state) {
    zeigora::TPaintBoxEx box(1020, 1020);
    box.FastAntialiasing = state.range(1) != 0;
    const int width = static_cast<int>(state.range(0));
    for (auto _ : state) {
        box.LineAA(0x204080, width, 10, 10, 1010, 1010, 0);
        benchmark::DoNotOptimize(box.Bitmap.constBits());
    }
}

// A typical phasor shaft of a frame: 150 pixels at a shallow angle, width 1, quality mode.
void BM_LineAAShaft(benchmark::State& state) {
    zeigora::TPaintBoxEx box(600, 400);
    for (auto _ : state) {
        box.LineAA(0x204080, 1, 300, 200, 440, 147.5L, 0);
        benchmark::DoNotOptimize(box.Bitmap.constBits());
    }
}

// One wing of a phasor's head: 14 pixels, width 2, quality mode; a frame draws two per phasor,
// so what a line costs before its first pixel shows here.
void BM_LineAAHead(benchmark::State& state) {
    zeigora::TPaintBoxEx box(600, 400);
    for (auto _ : state) {
        box.LineAA(0x204080, 2, 300, 200, 289.5L, 190.25L, 0);
        benchmark::DoNotOptimize(box.Bitmap.constBits());
    }
}

// For scale: the antialiased unit circle of a default frame (radius 80).
void BM_EllipseAA(benchmark::State& state) {
    zeigora::TPaintBoxEx box(600, 400);
    for (auto _ : state) {
        zeigora::EllipseAA(box, 300, 200, 80, 80);
        benchmark::DoNotOptimize(box.Bitmap.constBits());
    }
}

}  // namespace

BENCHMARK(BM_LineAA)
    ->ArgNames({"width", "fast"})
    ->Args({1, 0})
    ->Args({4, 0})
    ->Args({1, 1})
    ->Args({4, 1})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LineAAShaft)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LineAAHead)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EllipseAA)->Unit(benchmark::kMicrosecond);
