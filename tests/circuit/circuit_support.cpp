#include "circuit_support.h"

#include <cmath>
#include <random>
#include <utility>
#include <vector>

namespace zeigora::test {

namespace {

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

}  // namespace

std::unique_ptr<TCircuitElementGroup> MakeRandomCircuit(std::uint32_t seed, int elements,
                                                        int maxDepth) {
    std::mt19937 rng(seed);
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

}  // namespace zeigora::test
