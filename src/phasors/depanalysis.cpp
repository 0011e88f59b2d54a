#include "phasors/depanalysis.h"

#include <algorithm>
#include <cstddef>

#include "phasors/prefetch.h"

namespace zeigora {

namespace {

enum TMark : std::uint8_t { Unvisited, OnPath, Resolved };

}  // namespace

TDependencyAnalysis::TDependencyAnalysis(TPhasorArray& phasors, const TPhasorNames& names,
                                         const std::vector<bool>& validName)
    : Phasors(phasors), Nodes(phasors.size()), Codes(phasors.size()) {
    std::vector<int> deps;  // of every phasor, one after the other
    std::vector<std::uint32_t> count(phasors.size(), 0);
    for (std::size_t i = 0; i < Phasors.size(); ++i) {
        PrefetchAhead(Phasors, i, TRecordPart::ValueAndDefinition);
        Nodes[i].Analysed = validName[i] && !Phasors[i].Definition.Empty();
        if (!Nodes[i].Analysed) continue;
        const std::size_t before = deps.size();
        Compile(static_cast<int>(i), names, deps);
        count[i] = static_cast<std::uint32_t>(deps.size() - before);
    }
    KeepAnalysedDeps(deps, count);
    FindComponents();
    LinkNext();
    ResolveFailures();
}

void TDependencyAnalysis::Compile(int i, const TPhasorNames& names, std::vector<int>& deps) {
    const Expression e = Parse(Phasors[i].Definition.View(), names);
    TCode& code = Codes[i];
    code.ErrorPos = e.ErrorPos;
    code.ErrorKind = e.ErrorKind;
    Nodes[i].Failed = e.Failed;
    if (e.Failed) return;
    try {
        const std::vector<int> named = ExpressionDependencies(e, Phasors);
        deps.insert(deps.end(), named.begin(), named.end());
    } catch (const EvalError&) {
        // Cannot happen for code parsed against this list; it would fail like the evaluator.
        Nodes[i].EvalFails = true;
        return;
    }
    code.Start = static_cast<std::uint32_t>(CodeArena.size());
    code.Length = static_cast<std::uint32_t>(e.Code.size());
    CodeArena.insert(CodeArena.end(), e.Code.begin(), e.Code.end());
    code.ConstStart = static_cast<std::uint32_t>(ConstArena.size());
    code.ConstCount = static_cast<std::uint32_t>(e.Constants.size());
    ConstArena.insert(ConstArena.end(), e.Constants.begin(), e.Constants.end());
}

// Only phasors with a valid name can be named in a definition, so every defined dependency is
// analysed too; constant ones are left out, as every walk steps over them.
void TDependencyAnalysis::KeepAnalysedDeps(const std::vector<int>& deps,
                                           const std::vector<std::uint32_t>& count) {
    DepStart.assign(Nodes.size() + 1, 0);
    DepFlat.reserve(deps.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < Nodes.size(); ++i) {
        DepStart[i] = static_cast<std::uint32_t>(DepFlat.size());
        for (std::size_t k = 0; k < count[i]; ++k, ++next)
            if (Nodes[deps[next]].Analysed) DepFlat.push_back(deps[next]);
    }
    DepStart[Nodes.size()] = static_cast<std::uint32_t>(DepFlat.size());
}

// Tarjan's strongly connected components, iteratively (chains may be 100 000 deep). A
// component is complete only after every component it depends on, so dependencies are
// decided, and sound ones evaluated, before their dependents.
void TDependencyAnalysis::FindComponents() {
    const std::size_t n = Nodes.size();
    std::vector<int> order(n, -1), low(n, 0), stack, component;
    std::vector<bool> onStack(n, false);
    struct TFrame {
        int Node;
        std::size_t Next;
    };
    std::vector<TFrame> calls;
    int counter = 0;
    const auto visit = [&](int v) {
        order[v] = low[v] = counter++;
        stack.push_back(v);
        onStack[v] = true;
        calls.push_back({v, 0});
    };
    for (std::size_t root = 0; root < n; ++root) {
        if (!Nodes[root].Analysed || order[root] >= 0) continue;
        visit(static_cast<int>(root));
        while (!calls.empty()) {
            const int v = calls.back().Node;
            if (calls.back().Next < Deps(v).size()) {
                const int w = Deps(v)[calls.back().Next++];
                if (order[w] < 0)
                    visit(w);
                else if (onStack[w])
                    low[v] = std::min(low[v], order[w]);
                continue;
            }
            calls.pop_back();
            if (!calls.empty()) low[calls.back().Node] = std::min(low[calls.back().Node], low[v]);
            if (low[v] != order[v]) continue;
            component.clear();
            int w;
            do {
                w = stack.back();
                stack.pop_back();
                onStack[w] = false;
                component.push_back(w);
            } while (w != v);
            DecideComponent(component);
        }
    }
}

// A phasor on a cycle (also of its own) is unsound; a lone one is sound when it parses, all
// its dependencies are sound and it evaluates.
void TDependencyAnalysis::DecideComponent(const std::vector<int>& component) {
    if (component.size() != 1) return;
    const int x = component[0];
    TNode& node = Nodes[x];
    if (node.Failed || node.EvalFails) return;
    for (const int d : Deps(x))
        if (!Nodes[d].Sound) return;  // includes x itself, not decided yet
    const TCode& code = Codes[x];
    Scratch.Code.assign(CodeArena.begin() + code.Start,
                        CodeArena.begin() + code.Start + code.Length);
    Scratch.Constants.assign(ConstArena.begin() + code.ConstStart,
                             ConstArena.begin() + code.ConstStart + code.ConstCount);
    try {
        StoreChanged(Phasors[x].Value, EvalExpr(Scratch, Phasors));
        node.Sound = true;
    } catch (const EvalError&) {
        node.EvalFails = true;
    }
}

void TDependencyAnalysis::LinkNext() {
    for (std::size_t i = 0; i < Nodes.size(); ++i) {
        TNode& node = Nodes[i];
        if (!node.Analysed || node.Sound) continue;
        const std::span<const int> deps = Deps(static_cast<int>(i));
        const auto it =
            std::find_if(deps.begin(), deps.end(), [this](int d) { return !Nodes[d].Sound; });
        node.Next = it == deps.end() ? -1 : *it;
    }
}

// Follows the Next links from every unsound phasor until a phasor whose failure is known, a
// phasor that fails by itself, or a phasor already on the path (a circular reference: each
// phasor of that loop is found in progress by its predecessor on the loop). Every phasor on the
// way shares the failure it leads to. Each phasor is passed once.
void TDependencyAnalysis::ResolveFailures() {
    std::vector<std::uint8_t> mark(Nodes.size(), Unvisited);
    std::vector<int> path;
    for (std::size_t start = 0; start < Nodes.size(); ++start) {
        if (!Nodes[start].Analysed || Nodes[start].Sound || mark[start] != Unvisited) continue;
        path.clear();
        int x = static_cast<int>(start);
        while (mark[x] == Unvisited) {
            TNode& node = Nodes[x];
            if (node.Failed || node.Next < 0) {
                node.Failure = {node.Failed ? TWalkFailure::Syntax : TWalkFailure::Silent, x};
                mark[x] = Resolved;
                break;
            }
            mark[x] = OnPath;
            path.push_back(x);
            x = node.Next;
        }
        if (mark[x] == OnPath) {  // the loop is the end of the path from x on
            const auto first = std::find(path.begin(), path.end(), x);
            for (auto it = first; it != path.end(); ++it) {
                const int pred = it == first ? path.back() : *(it - 1);
                Nodes[*it].Failure = {TWalkFailure::Circular, pred, *it};
                mark[*it] = Resolved;
            }
            path.erase(first, path.end());
        }
        ResolvePath(path, mark);
    }
}

// The phasors of path lead, each through its Next, to one whose failure is resolved.
void TDependencyAnalysis::ResolvePath(const std::vector<int>& path,
                                      std::vector<std::uint8_t>& mark) {
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
        Nodes[*it].Failure = Nodes[Nodes[*it].Next].Failure;
        mark[*it] = Resolved;
    }
}

TWalkFailure TDependencyAnalysis::FailureBelow(int i) const {
    const TNode& node = Nodes[i];
    if (node.Sound) return {};
    if (node.Next < 0) return {TWalkFailure::Silent, i};  // i itself does not evaluate
    return Nodes[node.Next].Failure;
}

}  // namespace zeigora
