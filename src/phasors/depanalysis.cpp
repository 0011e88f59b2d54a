#include "phasors/depanalysis.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "phasors/prefetch.h"

namespace zeigora {

namespace {

enum TMark : std::uint8_t { Unvisited, OnPath, Resolved };

}  // namespace

void TDependencyAnalysis::Run(const TPhasorArray& phasors, const TPhasorNames& names,
                              const std::vector<bool>& validName) {
    Phasors = &phasors;
    const std::size_t n = phasors.size();
    // Every element is written before it is read: filling them first would pass over megabytes
    // once more.
    Nodes.resize(n);
    Unsound.resize(n);
    CodeAt.resize(n);
    Values.resize(n);
    CodeArena.clear();
    ConstArena.clear();
    Undecided = 0;
    const double nan = DefaultNaN();
    FailureValue = TComplex{nan, nan, nan, nan};
    CompileAll(names, validName);
    KeepAnalysedDeps();
    if (Undecided > 0) FindComponents();
    LinkNext();
    ResolveFailures();
}

// In list order, the records fetched some places ahead and the names of a definition looked up
// a few places ahead, so that neither the records nor the index's slots are waited for.
void TDependencyAnalysis::CompileAll(const TPhasorNames& names,
                                     const std::vector<bool>& validName) {
    constexpr std::size_t NamesAhead = 6;
    const TPhasorArray& list = *Phasors;
    AllDeps.clear();
    DepCount.resize(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        PrefetchAhead(list, i, RecordPart::ValueAndDefinition);
        if (i + NamesAhead < list.size())
            names.PrefetchNamesIn(list[i + NamesAhead].Definition.View());
        Values[i] = list[i].Value;
        Nodes[i] = TNode{};
        Nodes[i].HoldsFailureValue = std::memcmp(&Values[i], &FailureValue, sizeof(TComplex)) == 0;
        Nodes[i].Analysed = validName[i] && !list[i].Definition.Empty();
        const std::size_t before = AllDeps.size();
        if (Nodes[i].Analysed) Compile(static_cast<int>(i), names);
        DepCount[i] = static_cast<std::uint32_t>(AllDeps.size() - before);
    }
}

void TDependencyAnalysis::Compile(int i, const TPhasorNames& names) {
    const Expression e = Parse((*Phasors)[i].Definition.View(), names);
    Nodes[i].Failed = e.Failed;
    if (e.Failed) {
        CodeAt[i] = static_cast<std::uint32_t>(CodeArena.size());
        Append(TSyntaxError{e.ErrorPos, e.ErrorKind});
        return;
    }
    const std::size_t before = AllDeps.size();
    try {
        const std::vector<int> named = ExpressionDependencies(e, *Phasors);
        AllDeps.insert(AllDeps.end(), named.begin(), named.end());
    } catch (const EvalError&) {
        // Cannot happen for code parsed against this list; it would fail like the evaluator.
        Nodes[i].EvalFails = true;
        return;
    }
    if (DecideEarly(i, e, std::span<const int>(AllDeps).subspan(before))) return;
    ++Undecided;
    CodeAt[i] = static_cast<std::uint32_t>(CodeArena.size());
    Append(TCodeHeader{static_cast<std::uint32_t>(ConstArena.size()),
                       static_cast<std::uint16_t>(e.Code.size()),
                       static_cast<std::uint16_t>(e.Constants.size())});
    CodeArena.insert(CodeArena.end(), e.Code.begin(), e.Code.end());
    ConstArena.insert(ConstArena.end(), e.Constants.begin(), e.Constants.end());
}

// A phasor that names only earlier phasors, all of them sound or constant, lies on no cycle
// (a cycle through it would pass through one of them): it is sound exactly when it evaluates,
// which it can do at once. Lists written in order of their dependencies are decided here
// completely, with no code kept for later.
bool TDependencyAnalysis::DecideEarly(int i, const Expression& e, std::span<const int> deps) {
    for (const int d : deps)
        if (d >= i || (Nodes[d].Analysed && !Nodes[d].Sound)) return false;
    try {
        SetValue(i, EvalExprOnValues(e, Values));
        Nodes[i].Sound = true;
    } catch (const EvalError&) {
        Nodes[i].EvalFails = true;
    }
    return true;
}

// Only phasors with a valid name can be named in a definition, so every defined dependency is
// analysed too; constant ones are left out, as every walk steps over them.
void TDependencyAnalysis::KeepAnalysedDeps() {
    DepStart.assign(Nodes.size() + 1, 0);
    DepFlat.clear();
    std::size_t next = 0;
    for (std::size_t i = 0; i < Nodes.size(); ++i) {
        DepStart[i] = static_cast<std::uint32_t>(DepFlat.size());
        for (std::size_t k = 0; k < DepCount[i]; ++k, ++next)
            if (Nodes[AllDeps[next]].Analysed) DepFlat.push_back(AllDeps[next]);
    }
    DepStart[Nodes.size()] = static_cast<std::uint32_t>(DepFlat.size());
}

// Tarjan's strongly connected components, iteratively (chains may be 100 000 deep). A
// component is complete only after every component it depends on, so dependencies are
// decided, and sound ones evaluated, before their dependents.
void TDependencyAnalysis::FindComponents() {
    const std::size_t n = Nodes.size();
    Order.assign(n, -1);
    Low.assign(n, 0);
    OnStack.assign(n, 0);
    Stack.clear();
    Calls.clear();
    int counter = 0;
    for (std::size_t root = 0; root < n; ++root) {
        if (!Nodes[root].Analysed || Nodes[root].Sound || Order[root] >= 0) continue;
        Visit(static_cast<int>(root), counter);
        while (!Calls.empty()) {
            const int v = Calls.back().Node;
            if (Calls.back().Next < Deps(v).size()) {
                const int w = Deps(v)[Calls.back().Next++];
                if (Nodes[w].Sound)  // decided in the first pass, on no cycle
                    continue;
                if (Order[w] < 0)
                    Visit(w, counter);
                else if (OnStack[w])
                    Low[v] = std::min(Low[v], Order[w]);
                continue;
            }
            Calls.pop_back();
            if (!Calls.empty()) Low[Calls.back().Node] = std::min(Low[Calls.back().Node], Low[v]);
            if (Low[v] != Order[v]) continue;
            Component.clear();
            int w;
            do {
                w = Stack.back();
                Stack.pop_back();
                OnStack[w] = 0;
                Component.push_back(w);
            } while (w != v);
            DecideComponent();
        }
    }
}

void TDependencyAnalysis::Visit(int v, int& counter) {
    Order[v] = Low[v] = counter++;
    Stack.push_back(v);
    OnStack[v] = 1;
    Calls.push_back({v, 0});
}

// A phasor on a cycle (also of its own) is unsound; a lone one is sound when it parses, all
// its dependencies are sound and it evaluates.
void TDependencyAnalysis::DecideComponent() {
    if (Component.size() != 1) return;
    const int x = Component[0];
    TNode& node = Nodes[x];
    if (node.Failed || node.EvalFails) return;
    for (const int d : Deps(x))
        if (!Nodes[d].Sound) return;  // includes x itself, not decided yet
    const TCodeHeader code = Read<TCodeHeader>(CodeAt[x]);
    const auto start = CodeArena.begin() + CodeAt[x] + sizeof code;
    Scratch.Code.assign(start, start + code.Length);
    Scratch.Constants.assign(ConstArena.begin() + code.ConstStart,
                             ConstArena.begin() + code.ConstStart + code.ConstCount);
    try {
        SetValue(x, EvalExprOnValues(Scratch, Values));
        node.Sound = true;
    } catch (const EvalError&) {
        node.EvalFails = true;
    }
}

// The value is kept apart from the list, with a note whether the list's has to change: a
// repeated recalculation then leaves most records untouched.
void TDependencyAnalysis::SetValue(int i, const TComplex& value) {
    Nodes[i].ValueChanged = std::memcmp(&Values[i], &value, sizeof value) != 0;
    Values[i] = value;
}

// Every unsound phasor ends with FailureValue; whether the list holds it already was noted in
// the first pass, so the values are not passed over again.
void TDependencyAnalysis::LinkNext() {
    for (std::size_t i = 0; i < Nodes.size(); ++i) {
        TNode& node = Nodes[i];
        if (!node.Analysed || node.Sound) continue;
        node.ValueChanged = !node.HoldsFailureValue;
        const std::span<const int> deps = Deps(static_cast<int>(i));
        const auto it =
            std::find_if(deps.begin(), deps.end(), [this](int d) { return !Nodes[d].Sound; });
        Unsound[i].Next = it == deps.end() ? -1 : *it;
    }
}

// Follows the Next links from every unsound phasor until a phasor whose failure is known, a
// phasor that fails by itself, or a phasor already on the path (a circular reference: each
// phasor of that loop is found in progress by its predecessor on the loop). Every phasor on the
// way shares the failure it leads to. Each phasor is passed once.
void TDependencyAnalysis::ResolveFailures() {
    Mark.assign(Nodes.size(), Unvisited);
    for (std::size_t start = 0; start < Nodes.size(); ++start) {
        if (!Nodes[start].Analysed || Nodes[start].Sound || Mark[start] != Unvisited) continue;
        Path.clear();
        int x = static_cast<int>(start);
        while (Mark[x] == Unvisited) {
            TUnsound& node = Unsound[x];
            if (Nodes[x].Failed || node.Next < 0) {
                node.Failure = {Nodes[x].Failed ? TWalkFailure::Syntax : TWalkFailure::Silent, x};
                Mark[x] = Resolved;
                break;
            }
            Mark[x] = OnPath;
            Path.push_back(x);
            x = node.Next;
        }
        if (Mark[x] == OnPath) {  // the loop is the end of the path from x on
            const auto first = std::find(Path.begin(), Path.end(), x);
            for (auto it = first; it != Path.end(); ++it) {
                const int pred = it == first ? Path.back() : *(it - 1);
                Unsound[*it].Failure = {TWalkFailure::Circular, pred, *it};
                Mark[*it] = Resolved;
            }
            Path.erase(first, Path.end());
        }
        ResolvePath();
    }
}

// The phasors of the path lead, each through its Next, to one whose failure is resolved.
void TDependencyAnalysis::ResolvePath() {
    for (auto it = Path.rbegin(); it != Path.rend(); ++it) {
        Unsound[*it].Failure = Unsound[Unsound[*it].Next].Failure;
        Mark[*it] = Resolved;
    }
}

TWalkFailure TDependencyAnalysis::FailureBelow(int i) const {
    if (Nodes[i].Sound) return {};
    const int next = Unsound[i].Next;
    if (next < 0) return {TWalkFailure::Silent, i};  // i itself does not evaluate
    return Unsound[next].Failure;
}

}  // namespace zeigora
