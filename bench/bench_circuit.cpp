// The model part of one circuit window refresh on a big circuit: impedance and current of the
// outermost group plus voltage, current and power of every element.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "circuit/circcalc.h"
#include "circuit/circuitfile.h"
#include "circuit/circuitquery.h"

namespace {

using namespace zeigora;

std::unique_ptr<TCustomCircuitElement> RandomPart(std::mt19937& rng) {
    const double scale = std::pow(10.0, std::uniform_real_distribution<double>(-1.0, 1.0)(rng));
    switch (rng() % 3) {
        case 0:
            return std::make_unique<TResistor>(DefaultResistance * scale);
        case 1:
            return std::make_unique<TCapacitor>(DefaultCapacitance * scale);
        default:
            return std::make_unique<TCoil>(DefaultInductance * scale);
    }
}

// 10 000 elements, random nesting down to depth 8, fixed seed.
std::unique_ptr<TCircuitElementGroup> BigCircuit() {
    constexpr int elements = 10000;
    constexpr int maxDepth = 8;
    std::mt19937 rng(20240611);
    auto root = std::make_unique<TCircuitElementGroup>();
    std::vector<std::pair<TCircuitElementGroup*, int>> groups{{root.get(), 0}};
    for (int made = 1; made < elements;) {
        const auto [group, depth] = groups[rng() % groups.size()];
        if (depth < maxDepth - 1 && elements - made >= 2 && rng() % 5 == 0) {
            auto inner = std::make_unique<TCircuitElementGroup>();
            inner->IsParallel = rng() % 2 == 1;
            TCircuitElementGroup* added = group->Add(std::move(inner));
            added->Add(RandomPart(rng));
            groups.push_back({added, depth + 1});
            made += 2;
        } else {
            group->Add(RandomPart(rng));
            ++made;
        }
    }
    return root;
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

}  // namespace
