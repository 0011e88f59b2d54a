// Expression and recalculation costs. Every repaint runs RecalculateAll, so its figures are
// per frame.
//
// - ParseEvaluate: one typical definition, parsed and evaluated against a two-phasor list.
// - RecalcChain255: P0 constant, Pk = "P(k-1)+1" for k = 1..255 (255 defined, each one
//   level deeper than the one before), in list order.
// - RecalcChain255Reversed: the same chain listed from P255 down to P0.
// - RecalcIndependent256: 256 defined phasors that name no other phasor.
// - RecalcFanIn256: a definition holds at most 255 characters, so 255 summands cannot stand in
//   one definition; the fan-in is a two-level tree of 256 phasors: 239 defined leaves L0..L238,
//   16 groups G0..G15 each summing 15 leaves (the last one 14), and one root summing the 16
//   groups.
#include <benchmark/benchmark.h>

#include <string>

#include "complex/cp1252text.h"
#include "parser/complexParser.h"
#include "phasors/phasor.h"
#include "phasors/recalc.h"

namespace {

using namespace zeigora;

void Add(TPhasorArray& list, const std::string& name, const std::string& definition) {
    AppendPhasor(list);
    list.back().Name = name;
    list.back().Definition = definition;
}

void BM_ParseEvaluate(benchmark::State& state) {
    TPhasorArray list;
    Add(list, "Zeiger1", "");
    Add(list, "Zeiger2", "");
    list[1].Value = MakeComplex(-3.0, 4.0);
    const std::string text = "Zeiger1*e^(j*30°)+sqrt(Zeiger2)/2"_cp;
    for (auto _ : state) {
        const Expression e = Parse(text, list);
        benchmark::DoNotOptimize(EvalExpr(e, list));
    }
}
BENCHMARK(BM_ParseEvaluate);

void RunRecalc(benchmark::State& state, TPhasorArray list) {
    if (!RecalculateAll(list).Errors.empty()) {
        state.SkipWithError("the benchmark list has errors");
        return;
    }
    for (auto _ : state) {
        const TRecalcResult r = RecalculateAll(list);
        benchmark::DoNotOptimize(r.Errors.size());
    }
    state.counters["phasors"] = static_cast<double>(list.size());
}

TPhasorArray Chain(bool reversed) {
    TPhasorArray list;
    for (int i = 0; i < 256; ++i) {
        const int k = reversed ? 255 - i : i;
        Add(list, "P" + std::to_string(k), k == 0 ? "" : "P" + std::to_string(k - 1) + "+1");
    }
    return list;
}

void BM_RecalcChain255(benchmark::State& state) {
    RunRecalc(state, Chain(false));
}
BENCHMARK(BM_RecalcChain255)->Unit(benchmark::kMicrosecond);

void BM_RecalcChain255Reversed(benchmark::State& state) {
    RunRecalc(state, Chain(true));
}
BENCHMARK(BM_RecalcChain255Reversed)->Unit(benchmark::kMicrosecond);

void BM_RecalcIndependent256(benchmark::State& state) {
    TPhasorArray list;
    for (int i = 0; i < 256; ++i)
        Add(list, "Q" + std::to_string(i),
            std::to_string(i) + "+2j*e^(j*" + std::to_string(i) + "°)"_cp);
    RunRecalc(state, list);
}
BENCHMARK(BM_RecalcIndependent256)->Unit(benchmark::kMicrosecond);

void BM_RecalcFanIn256(benchmark::State& state) {
    TPhasorArray list;
    constexpr int Leaves = 239;
    constexpr int Groups = 16;
    for (int i = 0; i < Leaves; ++i)
        Add(list, "L" + std::to_string(i), std::to_string(i) + "+j");
    std::string root;
    for (int g = 0; g < Groups; ++g) {
        std::string sum;
        for (int i = g * 15; i < Leaves && i < (g + 1) * 15; ++i)
            sum += (sum.empty() ? "L" : "+L") + std::to_string(i);
        Add(list, "G" + std::to_string(g), sum);
        root += (root.empty() ? "G" : "+G") + std::to_string(g);
    }
    Add(list, "Root", root);
    RunRecalc(state, list);
}
BENCHMARK(BM_RecalcFanIn256)->Unit(benchmark::kMicrosecond);

}  // namespace
