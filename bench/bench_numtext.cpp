// The axis labels format about a hundred numbers per frame; this keeps an eye on that cost.
#include <benchmark/benchmark.h>

#include <string>

#include "complex/numtext.h"

namespace {

void BM_FormatAxisLabels(benchmark::State& state) {
    for (auto _ : state) {
        for (int i = -50; i < 50; ++i) {
            std::string text = zeigora::FormatFloatEng("0.00", i * 0.1);
            benchmark::DoNotOptimize(text);
        }
    }
    state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_FormatAxisLabels);

void BM_FormatTie(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(zeigora::FormatFloatTrimmed("0.00", 0.125));
}
BENCHMARK(BM_FormatTie);

void BM_StrToFloatEng(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(zeigora::StrToFloatEng("  1,5 k"));
}
BENCHMARK(BM_StrToFloatEng);

}  // namespace
