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
#include <cstring>
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
    // works out the value of every sound one (Value). The list is read, not written. The memory
    // of an earlier analysis is used again.
    void Run(const TPhasorArray& phasors, const TPhasorNames& names,
             const std::vector<bool>& validName);

    bool Analysed(int i) const { return Nodes[i].Analysed; }
    bool Sound(int i) const { return Nodes[i].Sound; }
    // i's definition does not parse.
    bool Failed(int i) const { return Nodes[i].Failed; }
    // Where and why i's definition does not parse (only when it does not).
    std::int32_t ErrorPos(int i) const { return Read<TSyntaxError>(CodeAt[i]).Pos; }
    std::uint8_t ErrorKind(int i) const { return Read<TSyntaxError>(CodeAt[i]).Kind; }
    // The defined phasors that i's definition names, ascending.
    std::span<const int> Deps(int i) const {
        return std::span<const int>(DepFlat).subspan(DepStart[i], DepStart[i + 1] - DepStart[i]);
    }
    // i evaluates to nothing although all its dependencies are sound.
    bool EvalFails(int i) const { return Nodes[i].EvalFails; }
    // How the walk that starts at i's dependencies ends (i itself not in progress).
    TWalkFailure FailureBelow(int i) const;
    // The value i ends with: evaluated when sound, NaN when analysed and unsound (every walk
    // that enters it leaves it so), else the list's.
    const TComplex& Value(int i) const {
        return Nodes[i].Analysed && !Nodes[i].Sound ? FailureValue : Values[i];
    }
    // Value(i) differs from the value the list holds, bit for bit.
    bool ValueChanged(int i) const { return Nodes[i].ValueChanged; }

  private:
    // What the passes over the graph read, small: they run over 100 000 phasors several times.
    struct TNode {
        bool Analysed : 1 = false;
        bool Failed : 1 = false;
        bool Sound : 1 = false;
        bool EvalFails : 1 = false;
        bool ValueChanged : 1 = false;
        bool HoldsFailureValue : 1 = false;  // the list's value is FailureValue
    };
    // Only for unsound phasors, so that lists that evaluate need not touch it.
    struct TUnsound {
        int Next = -1;         // the first unsound dependency
        TWalkFailure Failure;  // of a walk entering this phasor
    };

    // The syntax error or the parsed code of a phasor, in CodeArena: all of them in one piece
    // of memory rather than one small block per phasor scattered over the heap. Only phasors
    // that fail to parse or are not decided in the first pass have one.
    struct TSyntaxError {
        std::int32_t Pos;
        std::uint8_t Kind;
    };
    struct TCodeHeader {           // followed by Length bytes of code
        std::uint32_t ConstStart;  // in ConstArena
        std::uint16_t Length, ConstCount;
    };
    static_assert(MaxCodeLength <= 65535);

    const TPhasorArray* Phasors = nullptr;
    std::vector<TNode> Nodes;
    std::vector<TUnsound> Unsound;
    std::vector<std::uint32_t> CodeAt;  // per phasor: where its entry starts in CodeArena
    int Undecided = 0;                  // analysed phasors whose fate the first pass left open
    std::vector<std::uint8_t> CodeArena;
    std::vector<long double> ConstArena;
    std::vector<std::uint32_t> DepStart;  // per phasor, and one past the last
    std::vector<int> DepFlat;
    // The values as the evaluation leaves them, so that it never goes back to the records.
    std::vector<TComplex> Values;
    TComplex FailureValue{};  // NaN in every part
    Expression Scratch;       // the code of one phasor, for evaluating it

    // Working memory of the passes, kept for the next analysis.
    struct TFrame {
        int Node;
        std::uint32_t Next;
    };
    std::vector<int> AllDeps;             // every phasor's, one after the other
    std::vector<std::uint32_t> DepCount;  // per phasor, in AllDeps
    std::vector<int> Order, Low, Stack, Component, Path;
    std::vector<std::uint8_t> OnStack, Mark;
    std::vector<TFrame> Calls;

    void CompileAll(const TPhasorNames& names, const std::vector<bool>& validName);
    template <typename T>
    void Append(const T& item) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(&item);
        CodeArena.insert(CodeArena.end(), bytes, bytes + sizeof item);
    }
    template <typename T>
    T Read(std::size_t at) const {
        T item;
        std::memcpy(&item, CodeArena.data() + at, sizeof item);
        return item;
    }
    void Compile(int i, const TPhasorNames& names);
    bool DecideEarly(int i, const Expression& e, std::span<const int> deps);
    void KeepAnalysedDeps();
    void FindComponents();
    void Visit(int v, int& counter);
    void DecideComponent();
    void LinkNext();
    void SetValue(int i, const TComplex& value);
    void ResolveFailures();
    void ResolvePath();
};

}  // namespace zeigora
