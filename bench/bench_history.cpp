// The undo history of both windows: heap taken by 300 steps of a session on a 256-phasor set
// and on a 10 000-element circuit, and the time one step costs (cutting the document into
// records, packing, comparing). The heap is counted by this binary's own operator new.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "../tests/circuit/random_circuit.h"
#include "circuit/circuitfile.h"
#include "circuit/circuitquery.h"
#include "history/documentchunks.h"
#include "history/snapshothistory.h"
#include "phasors/phasorfile.h"

namespace {

std::size_t LiveBytes = 0;

}  // namespace

void* operator new(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) throw std::bad_alloc();
    LiveBytes += malloc_usable_size(p);
    return p;
}

void operator delete(void* p) noexcept {
    if (p == nullptr) return;
    LiveBytes -= malloc_usable_size(p);
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}

namespace {

using namespace zeigora;

constexpr int SessionSteps = 300;
constexpr double MB = 1024.0 * 1024.0;

// The heap the history holds: what is freed when it goes.
template <class Session>
void Measure(benchmark::State& state, Session session) {
    double historyBytes = 0, accounted = 0, steps = 0, perStep = 0;
    for (auto _ : state) {
        auto history = std::make_unique<TSnapshotHistory>();
        const auto start = std::chrono::steady_clock::now();
        session(*history);
        perStep =
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count() /
            SessionSteps;
        accounted = double(history->MemoryBytes());
        steps = double(history->UndoableSteps());
        const std::size_t with = LiveBytes;
        history.reset();
        historyBytes = double(with - LiveBytes);
    }
    state.counters["heap_MB"] = historyBytes / MB;
    state.counters["accounted_MB"] = accounted / MB;
    state.counters["steps_kept"] = steps;
    state.counters["us_per_step"] = perStep;
}

// ---- phasor set ----

TPhasorArray RandomPhasors(std::mt19937& rng, int count) {
    TPhasorArray list;
    for (int i = 0; i < count; ++i) {
        AppendPhasor(list);
        TPhasor& p = list.back();
        p.Name = "Zeiger" + std::to_string(i + 1);
        p.Color = rng() & 0xFFFFFF;
        p.Value = MakeComplex(double(rng() % 1000) / 7.0, double(rng() % 1000) / 9.0);
        if (i > 0 && rng() % 3 == 0) p.Definition = "Zeiger" + std::to_string(i) + "*2";
    }
    return list;
}

void Commit(TSnapshotHistory& history, const TPhasorArray& list) {
    std::deque<TPhasor> cleaned;
    const std::string mode(8, '\0');
    if (!history.Started())
        history.Reset(PhasorStatePieces(mode, list, cleaned), -1);
    else
        history.Commit(PhasorStatePieces(mode, list, cleaned), "Schritt", 0, 0);
}

// Mostly drags and edits of one phasor, some new, duplicated and deleted ones, now and then
// delete all and an opened file of 256 other phasors.
void PhasorSession(TSnapshotHistory& history, bool opensOnly) {
    std::mt19937 rng(42);
    TPhasorArray list = RandomPhasors(rng, 256);
    Commit(history, list);
    for (int step = 0; step < SessionSteps; ++step) {
        const auto kind = opensOnly ? 9 : rng() % 10;
        const std::size_t at = list.empty() ? 0 : rng() % list.size();
        if (list.empty() || kind == 9) {
            list = RandomPhasors(rng, 256);
        } else if (kind < 5) {
            SetRe(list[at].Value, double(rng() % 10000) / 100.0);
        } else if (kind < 7) {
            list[at].Name = "Neu" + std::to_string(step);
        } else if (kind == 7) {
            list.push_back(list[at]);
        } else if (rng() % 8 == 0) {
            list.clear();
        } else {
            DeletePhasorAt(list, at);
        }
        Commit(history, list);
    }
}

void BM_History256Phasors(benchmark::State& state) {
    Measure(state, [](TSnapshotHistory& h) { PhasorSession(h, false); });
}
BENCHMARK(BM_History256Phasors)->Unit(benchmark::kMillisecond)->Iterations(3);

// Every step opens a file of 256 phasors none of which was there before.
void BM_History256PhasorsOpenedEachStep(benchmark::State& state) {
    Measure(state, [](TSnapshotHistory& h) { PhasorSession(h, true); });
}
BENCHMARK(BM_History256PhasorsOpenedEachStep)->Unit(benchmark::kMillisecond)->Iterations(3);

// One step on a long list as the main window records it: the list serialised, cut into
// records and committed, a phasor changed between steps. A chain Pk = P(k-1)+1 of the accepted
// maximum of records, and the usual 256.
void OneStep(benchmark::State& state) {
    const int count = int(state.range(0));
    TPhasorArray list;
    for (int i = 0; i < count; ++i) {
        AppendPhasor(list);
        list.back().Name = "P" + std::to_string(i);
        list.back().Value = MakeComplex(double(i), 0.0);
        if (i > 0) list.back().Definition = "P" + std::to_string(i - 1) + "+1";
    }
    TSnapshotHistory history;
    Commit(history, list);
    std::size_t step = 0;
    for (auto _ : state) {
        ++step;
        SetRe(list[(step * 7919) % list.size()].Value, double(step));
        Commit(history, list);
    }
    state.counters["steps_kept"] = double(history.UndoableSteps());
}
BENCHMARK(OneStep)->Name("BM_HistoryOneStep")->Arg(256)->Arg(100000)->Unit(benchmark::kMillisecond);

// ---- circuit ----

void Commit(TSnapshotHistory& history, const TCircuitElementGroup& root) {
    TByteStream stream;
    SaveToStream(root, stream);
    const std::string bytes(stream.begin(), stream.end());
    if (!history.Started())
        history.Reset(CircuitStatePieces(bytes), -1);
    else
        history.Commit(CircuitStatePieces(bytes), "Schritt", 0, 0);
}

TCustomCircuitElement* RandomElement(std::mt19937& rng, const TCircuitElementGroup& root) {
    const std::vector<TCircuitNode> nodes = FlattenCircuit(root);
    return const_cast<TCustomCircuitElement*>(nodes[rng() % nodes.size()].Element);
}

// Renames, new values, new and deleted parts, regrouping and switching as in the element
// dialog; now and then delete all and an opened file of 10 000 other elements.
void CircuitSession(TSnapshotHistory& history, bool opensOnly) {
    std::mt19937 rng(7);
    auto root = test::MakeRandomCircuit(20240611, 10000, 8);
    Commit(history, *root);
    for (int step = 0; step < SessionSteps; ++step) {
        TCustomCircuitElement* e = RandomElement(rng, *root);
        auto* group =
            e->ElementType() == etGroup ? static_cast<TCircuitElementGroup*>(e) : e->Parent();
        const auto kind = opensOnly ? 9 : rng() % 10;
        if (kind == 9 || group == nullptr || root->Count() == 0) {
            root = test::MakeRandomCircuit(rng(), 10000, 8);
        } else if (kind < 3) {
            e->Name = "X" + std::to_string(step);
        } else if (kind < 5) {
            if (e->ElementType() != etGroup) e->ElementValue *= 1.5;
        } else if (kind == 5) {
            group->Add(std::make_unique<TResistor>(DefaultResistance));
        } else if (kind == 6 && group->Count() > 1) {
            group->Delete(int(rng() % group->Count()), true, true);
        } else if (kind == 7 && group->Count() > 2) {
            auto moved = std::make_unique<TCircuitElementGroup>();
            moved->Add(group->Delete(group->Count() - 1, true, false));
            moved->Add(group->Delete(0, true, false));
            group->Add(std::move(moved));
        } else if (rng() % 8 == 0) {
            root->Clear();
        } else {
            group->IsParallel = !group->IsParallel;
        }
        Commit(history, *root);
    }
}

void BM_History10000Elements(benchmark::State& state) {
    Measure(state, [](TSnapshotHistory& h) { CircuitSession(h, false); });
}
BENCHMARK(BM_History10000Elements)->Unit(benchmark::kMillisecond)->Iterations(1);

// Every step opens a file of 10 000 elements none of which was there before: the byte budget
// decides how many steps stay.
void BM_History10000ElementsOpenedEachStep(benchmark::State& state) {
    Measure(state, [](TSnapshotHistory& h) { CircuitSession(h, true); });
}
BENCHMARK(BM_History10000ElementsOpenedEachStep)->Unit(benchmark::kMillisecond)->Iterations(1);

// For comparison: what one whole copy of each document takes as file bytes.
void BM_WholeCopies(benchmark::State& state) {
    std::mt19937 rng(42);
    const TPhasorArray list = RandomPhasors(rng, 256);
    const auto root = test::MakeRandomCircuit(20240611, 10000, 8);
    TByteStream circuit;
    for (auto _ : state) {
        circuit.clear();
        SaveToStream(*root, circuit);
        benchmark::DoNotOptimize(circuit.data());
    }
    state.counters["phasor_file_MB"] = double(PhasorsToBytes(list).size()) / MB;
    state.counters["circuit_file_MB"] = double(circuit.size()) / MB;
}
BENCHMARK(BM_WholeCopies)->Unit(benchmark::kMillisecond);

}  // namespace
