// Random circuit trees for the circuit tests and benchmark (standard library only).
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "circuit/circcalc.h"

namespace zeigora::test {

// A tree of exactly `elements` elements (root included) with groups down to maxDepth; every
// group gets at least one member when it is created. Same seed, same tree.
inline std::unique_ptr<TCircuitElementGroup> MakeRandomCircuit(std::uint32_t seed, int elements,
                                                               int maxDepth) {
    std::mt19937 rng(seed);
    auto part = [&rng]() -> std::unique_ptr<TCustomCircuitElement> {
        const double scale = std::pow(10.0, std::uniform_real_distribution<double>(-1.0, 1.0)(rng));
        const auto kind = rng() % 3;
        if (kind == 0) return std::make_unique<TResistor>(DefaultResistance * scale);
        if (kind == 1) return std::make_unique<TCapacitor>(DefaultCapacitance * scale);
        return std::make_unique<TCoil>(DefaultInductance * scale);
    };
    auto root = std::make_unique<TCircuitElementGroup>();
    std::vector<std::pair<TCircuitElementGroup*, int>> groups{{root.get(), 0}};
    for (int made = 1; made < elements;) {
        const auto [group, depth] = groups[rng() % groups.size()];
        if (depth < maxDepth - 1 && elements - made >= 2 && rng() % 5 == 0) {
            TCircuitElementGroup* added = group->Add(std::make_unique<TCircuitElementGroup>());
            added->IsParallel = rng() % 2 == 1;
            added->Add(part());
            groups.push_back({added, depth + 1});
            made += 2;
        } else {
            group->Add(part());
            ++made;
        }
    }
    return root;
}

}  // namespace zeigora::test
