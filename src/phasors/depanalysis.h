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
#include <span>
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
    // Where and why i's definition does not parse.
    std::int32_t ErrorPos(int i) const { return Codes[i].ErrorPos; }
    std::uint8_t ErrorKind(int i) const { return Codes[i].ErrorKind; }
    // The defined phasors that i's definition names, ascending.
    std::span<const int> Deps(int i) const {
        return std::span<const int>(DepFlat).subspan(DepStart[i], DepStart[i + 1] - DepStart[i]);
    }
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

    // The parsed code of every phasor in one piece of memory, rather than one small block per
    // phasor scattered over the heap.
    struct TCode {
        std::uint32_t Start = 0, Length = 0;           // in CodeArena
        std::uint32_t ConstStart = 0, ConstCount = 0;  // in ConstArena
        std::int32_t ErrorPos = -1;
        std::uint8_t ErrorKind = 0;
    };

    TPhasorArray& Phasors;
    std::vector<TNode> Nodes;
    std::vector<TCode> Codes;
    std::vector<std::uint8_t> CodeArena;
    std::vector<long double> ConstArena;
    std::vector<std::uint32_t> DepStart;  // per phasor, and one past the last
    std::vector<int> DepFlat;
    Expression Scratch;  // the code of one phasor, for evaluating it

    void Compile(int i, const TPhasorNames& names, std::vector<int>& deps);
    void KeepAnalysedDeps(const std::vector<int>& deps, const std::vector<std::uint32_t>& count);
    void FindComponents();
    void DecideComponent(const std::vector<int>& component);
    void LinkNext();
    void ResolveFailures();
    void ResolvePath(const std::vector<int>& path, std::vector<std::uint8_t>& mark);
};

}  // namespace zeigora
