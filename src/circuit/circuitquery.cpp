#include "circuit/circuitquery.h"

#include <cstddef>

#include "circuit/circutil.h"

namespace zeigora {

namespace {

const TCircuitElementGroup* AsGroup(const TCustomCircuitElement* element) {
    if (element->ElementType() != etGroup) return nullptr;
    return static_cast<const TCircuitElementGroup*>(element);
}

struct TVoltageCurrent {
    TComplex U;
    TComplex I;
};

// The supply lies across the outermost element.
TVoltageCurrent RootValues(TComplex impedance, const TCircuitSupply& supply) {
    return {supply.SupplyVoltage, ComplexDiv(supply.SupplyVoltage, impedance)};
}

// A series member carries the group's current, a parallel member sees the group's voltage.
TVoltageCurrent MemberValues(const TVoltageCurrent& group, TComplex impedance, bool parallel) {
    if (parallel) return {group.U, ComplexDiv(group.U, impedance)};
    return {ComplexMul(impedance, group.I), group.I};
}

// Walks from the root down to the element; the impedances of the path are recomputed.
TVoltageCurrent PathValues(const TCustomCircuitElement& element, const TCircuitSupply& supply) {
    std::vector<const TCustomCircuitElement*> path;
    for (const TCustomCircuitElement* e = &element; e != nullptr; e = e->Parent())
        path.push_back(e);
    TVoltageCurrent v = RootValues(path.back()->GetImpedance(supply), supply);
    for (std::size_t k = path.size() - 1; k-- > 0;) {
        const TCustomCircuitElement* member = path[k];
        v = MemberValues(v, member->GetImpedance(supply), member->Parent()->IsParallel);
    }
    return v;
}

}  // namespace

std::vector<TCircuitNode> FlattenCircuit(const TCustomCircuitElement& root) {
    struct TFrame {
        const TCircuitElementGroup* Group;
        int Next;
        int Node;
    };
    std::vector<TCircuitNode> nodes{{&root, -1, 0}};
    std::vector<TFrame> stack;
    if (const TCircuitElementGroup* g = AsGroup(&root)) stack.push_back({g, 0, 0});
    while (!stack.empty()) {
        TFrame& top = stack.back();
        if (top.Next >= top.Group->Count()) {
            stack.pop_back();
            continue;
        }
        const TCustomCircuitElement* child = top.Group->Items(top.Next++);
        const int parent = top.Node;
        const int index = static_cast<int>(nodes.size());
        nodes.push_back({child, parent, nodes[parent].Depth + 1});
        if (const TCircuitElementGroup* g = AsGroup(child)) stack.push_back({g, 0, index});
    }
    return nodes;
}

std::vector<TComplex> CircuitImpedances(const std::vector<TCircuitNode>& nodes,
                                        const TCircuitSupply& supply) {
    const std::size_t n = nodes.size();
    std::vector<TComplex> z(n);
    std::vector<std::size_t> subtreeSize(n, 1);
    TComplexNumberArray members;
    // Members follow their group in pre-order, so a backward sweep meets them first.
    for (std::size_t i = n; i-- > 0;) {
        const TCircuitElementGroup* g = AsGroup(nodes[i].Element);
        if (g == nullptr) {
            z[i] = nodes[i].Element->GetImpedance(supply);
            continue;
        }
        members.clear();
        std::size_t next = i + 1;
        for (int c = 0; c < g->Count(); ++c) {
            members.push_back(z[next]);
            next += subtreeSize[next];
        }
        subtreeSize[i] = next - i;
        z[i] = CombineImpedances(members, g->IsParallel);
    }
    return z;
}

TComplex GetVoltage(const TCustomCircuitElement& element, const TCircuitSupply& supply) {
    if (element.Parent() == nullptr) return supply.SupplyVoltage;
    return PathValues(element, supply).U;
}

TComplex GetCurrent(const TCustomCircuitElement& element, const TCircuitSupply& supply) {
    return PathValues(element, supply).I;
}

TComplex GetPower(const TCustomCircuitElement& element, const TCircuitSupply& supply) {
    const TVoltageCurrent v = PathValues(element, supply);
    return MulConj(v.U, v.I);
}

std::vector<TElementResult> ComputeAll(const TCustomCircuitElement& root,
                                       const TCircuitSupply& supply) {
    const std::vector<TCircuitNode> nodes = FlattenCircuit(root);
    const std::vector<TComplex> z = CircuitImpedances(nodes, supply);
    std::vector<TElementResult> results;
    results.reserve(nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const TCircuitNode& node = nodes[i];
        TVoltageCurrent v;
        if (node.Parent < 0) {
            v = RootValues(z[i], supply);
        } else {
            const TElementResult& p = results[static_cast<std::size_t>(node.Parent)];
            v = MemberValues({p.U, p.I}, z[i], AsGroup(p.Element)->IsParallel);
        }
        results.push_back(
            {node.Element, node.Parent, node.Depth, z[i], v.U, v.I, MulConj(v.U, v.I)});
    }
    return results;
}

}  // namespace zeigora
