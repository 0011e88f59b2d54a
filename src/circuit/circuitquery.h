// Voltages, currents and powers in a circuit tree, per element or for the whole tree at once.
#pragma once

#include <vector>

#include "circuit/circcalc.h"
#include "complex/complex.h"

namespace zeigora {

// One element of a tree laid out in depth-first pre-order (the root first, then each member's
// subtree in member order).
struct TCircuitNode {
    const TCustomCircuitElement* Element;
    int Parent;  // index of the parent node, -1 for the root
    int Depth;   // 0 for the root
};

std::vector<TCircuitNode> FlattenCircuit(const TCustomCircuitElement& root);

// Impedance of every node, each group's computed once from its members' values in the same
// order of operations as a group's own GetImpedance.
std::vector<TComplex> CircuitImpedances(const std::vector<TCircuitNode>& nodes,
                                        const TCircuitSupply& supply);

// The supply lies across the outermost group (the element without a parent). Each call
// recomputes what it needs from the current tree and supply.
TComplex GetVoltage(const TCustomCircuitElement& element, const TCircuitSupply& supply);
TComplex GetCurrent(const TCustomCircuitElement& element, const TCircuitSupply& supply);
TComplex GetPower(const TCustomCircuitElement& element, const TCircuitSupply& supply);

struct TElementResult {
    const TCustomCircuitElement* Element;
    int Parent;
    int Depth;
    TComplex Z;
    TComplex U;
    TComplex I;
    TComplex S;
};

// Z, U, I and S of every element in one pass, pre-order, bit for bit the values of the
// per-element queries. The root is taken as the outermost group; it should have no parent.
std::vector<TElementResult> ComputeAll(const TCustomCircuitElement& root,
                                       const TCircuitSupply& supply);

}  // namespace zeigora
