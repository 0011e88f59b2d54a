// Recalculation of big phasor files, as a file at the reader's limit may hold them.
//
// - RecalcChain/N: P0 constant, Pk = "P(k-1)+1" for k = 1..N-1, in list order.
// - RecalcCycle/N: the same chain closed by P0 = "P(N-1)": one circular reference through all
//   N phasors, so every phasor is listed.
// Wanted: N = 100 000 within 1 s and within 15 times the figure for N = 10 000.
#include <benchmark/benchmark.h>

#include <string>

#include "phasors/phasor.h"
#include "phasors/recalc.h"

namespace {

using namespace zeigora;

TPhasorArray Chain(int n, bool closed) {
    TPhasorArray list(static_cast<std::size_t>(n), ZeroPhasor());
    for (int k = 0; k < n; ++k) {
        TPhasor& p = list[static_cast<std::size_t>(k)];
        InitPhasor(p);
        p.Name = "P" + std::to_string(k);
        if (k > 0) p.Definition = "P" + std::to_string(k - 1) + "+1";
    }
    if (closed) list[0].Definition = "P" + std::to_string(n - 1);
    return list;
}

void Run(benchmark::State& state, bool closed) {
    TPhasorArray list = Chain(static_cast<int>(state.range(0)), closed);
    const std::size_t expectedErrors = closed ? list.size() : 0;
    for (auto _ : state) {
        const TRecalcResult r = RecalculateAll(list);
        if (r.Errors.size() != expectedErrors) state.SkipWithError("unexpected error list");
        benchmark::DoNotOptimize(r.Errors.data());
    }
    state.counters["phasors"] = static_cast<double>(list.size());
}

void BM_RecalcChain(benchmark::State& state) {
    Run(state, false);
}
BENCHMARK(BM_RecalcChain)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_RecalcCycle(benchmark::State& state) {
    Run(state, true);
}
BENCHMARK(BM_RecalcCycle)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
