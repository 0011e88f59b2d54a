// One analysis of the phasors' dependency graph, from which the recalculation learns every
// value and where each walk of the dependency trees would fail, without walking them again
// for every phasor.
//
// The walk that evaluates a phasor with its dependencies (fresh states, dependencies in
// ascending index order, abort at the first failure) behaves simply once the phasors are split
// in two kinds:
// - sound: parses, names no phasor on a cycle or an unsound one, and evaluates without error.
//   Entering it never fails, always leaves the same value and touches no unsound phasor.
// - unsound: everything else. Entering it always ends the walk with a failure, and that
//   failure lies on the path that follows, from each phasor, its first unsound dependency
//   ("Next"): a syntax error where the path reaches a phasor that does not parse, an
//   evaluator error (no message) where it reaches one whose dependencies are all sound, or a
//   circular reference where it comes back to a phasor already on it.
// So the failure of every walk that starts at an unsound phasor is a property of that phasor,
// and all of them follow from one pass over the graph of Next links.
#pragma once

#include <cstdint>
#include <vector>

#include "parser/complexParser.h"
#include "phasors/phasor.h"
#include "phasors/phasornames.h"

namespace zeigora {

// How a walk of dependency trees ends when it fails.
struct TWalkFailure {
    enum TKind : std::uint8_t {
        None,      // no failure
        Syntax,    // Node's definition does not parse; Node carries the message
        Circular,  // Node found its dependency Target in progress; Node carries the message
        Silent,    // the evaluator failed on Node; nobody carries a message
    };
    TKind Kind = None;
    int Node = -1;
    int Target = -1;
};

class TDependencyAnalysis {
  public:
    // Analyses every defined phasor whose name is valid, with the list's names in names, and
    // writes the value of every sound one into the list.
    TDependencyAnalysis(TPhasorArray& phasors, const TPhasorNames& names,
                        const std::vector<bool>& validName);

    bool Analysed(int i) const { return Nodes[i].Analysed; }
    bool Sound(int i) const { return Nodes[i].Sound; }
    // i's definition does not parse.
    bool Failed(int i) const { return Nodes[i].Failed; }
    const Expression& Expr(int i) const { return Exprs[i]; }
    // The defined phasors that i's definition names, ascending.
    const std::vector<int>& Deps(int i) const { return DepLists[i]; }
    // i evaluates to nothing although all its dependencies are sound.
    bool EvalFails(int i) const { return Nodes[i].EvalFails; }
    // How the walk that starts at i's dependencies ends (i itself not in progress).
    TWalkFailure FailureBelow(int i) const;

  private:
    // What the passes over the graph read, small: they run over 100 000 phasors several times.
    struct TNode {
        bool Analysed = false;
        bool Failed = false;
        bool Sound = false;
        bool EvalFails = false;
        int Next = -1;
        TWalkFailure Failure;  // of a walk entering this (unsound) phasor
    };

    TPhasorArray& Phasors;
    std::vector<TNode> Nodes;
    std::vector<Expression> Exprs;
    std::vector<std::vector<int>> DepLists;

    void Compile(int i, const TPhasorNames& names);
    void FindComponents();
    void DecideComponent(const std::vector<int>& component);
    void LinkNext();
    void ResolveFailures();
    void ResolvePath(const std::vector<int>& path, std::vector<std::uint8_t>& mark);
};

}  // namespace zeigora
