// Shared helpers of the circuit tests: random trees and bitwise comparison.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>

#include "circuit/circcalc.h"

namespace zeigora::test {

// A tree of exactly `elements` elements (root included) with groups down to maxDepth; every
// group gets at least one member when it is created. Same seed, same tree.
std::unique_ptr<TCircuitElementGroup> MakeRandomCircuit(std::uint32_t seed, int elements,
                                                        int maxDepth);

inline bool SameBits(const TComplex& a, const TComplex& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace zeigora::test
