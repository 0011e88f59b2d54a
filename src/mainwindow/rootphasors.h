// The solutions of roots mode: the n-th roots of the first phasor as defined phasors, so that
// the ordinary recalculation computes them and they follow every change of the first phasor.
#pragma once

#include <string>
#include <string_view>

#include "phasors/phasor.h"

namespace zeigora {

inline constexpr int MinRootDegree = 2;
inline constexpr int MaxRootDegree = 16;

// The definition of solution k (1..n): the first phasor's power 1/n turned by (k - 1) * 360°/n.
std::string RootDefinition(std::string_view radicandName, int k, int n);

// Keeps record 0 (an empty list gains an all-zero one) and makes records 1..n the solutions.
void BuildRootPhasors(TPhasorArray& phasors, int degree);

}  // namespace zeigora
