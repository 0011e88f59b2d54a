#include "history/snapshothistory.h"

#include <utility>

namespace zeigora {

TSnapshotHistory::TSnapshotHistory(std::size_t maxSteps, std::size_t maxBytes)
    : MaxSteps(maxSteps), MaxBytes(maxBytes) {}

TSnapshotHistory::TState TSnapshotHistory::MakeState(const TStatePieces& state, int selection) {
    TState made;
    made.Pieces.reserve(state.size());
    for (const std::string_view piece : state)
        made.Pieces.push_back(Store.Intern(piece));
    made.Selection = selection;
    return made;
}

void TSnapshotHistory::Drop(TState& state) {
    for (const TChunkStore::TId id : state.Pieces)
        Store.Release(id);
    state.Pieces.clear();
}

void TSnapshotHistory::Clear() {
    for (TState& state : States)
        Drop(state);
    States.clear();
    Current = 0;
    MergeOpen = false;
}

void TSnapshotHistory::Reset(const TStatePieces& state, int selection) {
    Clear();
    States.push_back(MakeState(state, selection));
}

bool TSnapshotHistory::IsCurrent(const TStatePieces& state) const {
    if (States.empty()) return false;
    const std::vector<TChunkStore::TId>& pieces = States[Current].Pieces;
    if (pieces.size() != state.size()) return false;
    for (std::size_t i = 0; i < pieces.size(); ++i)
        if (!Store.Holds(pieces[i], state[i])) return false;
    return true;
}

bool TSnapshotHistory::Commit(const TStatePieces& state, std::string caption, int selectionBefore,
                              int selectionAfter, std::uint64_t mergeKey) {
    if (States.empty()) return false;
    TState next = MakeState(state, selectionAfter);
    if (next.Pieces == States[Current].Pieces) {
        Drop(next);
        return false;
    }
    while (CanRedo()) {
        Drop(States.back());
        States.pop_back();
    }
    const bool merge =
        MergeOpen && mergeKey != 0 && Current > 0 && States[Current].MergeKey == mergeKey;
    if (merge) {
        Drop(States[Current]);
        next.Caption = std::move(States[Current].Caption);
        States[Current] = std::move(next);
    } else {
        States[Current].Selection = selectionBefore;
        next.Caption = std::move(caption);
        States.push_back(std::move(next));
        ++Current;
    }
    States[Current].MergeKey = mergeKey;
    MergeOpen = mergeKey != 0;
    while (StepCount() > MaxSteps || (MemoryBytes() > MaxBytes && StepCount() > 1))
        DropOldest();
    return true;
}

void TSnapshotHistory::DropOldest() {
    Drop(States.front());
    States.pop_front();
    --Current;
}

std::string TSnapshotHistory::UndoCaption() const {
    return CanUndo() ? States[Current].Caption : std::string();
}

std::string TSnapshotHistory::RedoCaption() const {
    return CanRedo() ? States[Current + 1].Caption : std::string();
}

TRestoredState TSnapshotHistory::Restore(std::size_t index) const {
    TRestoredState restored;
    for (const TChunkStore::TId id : States[index].Pieces)
        Store.AppendTo(id, restored.Bytes);
    restored.Selection = States[index].Selection;
    return restored;
}

TRestoredState TSnapshotHistory::Undo(int currentSelection) {
    if (!CanUndo()) return {};
    MergeOpen = false;
    States[Current].Selection = currentSelection;
    --Current;
    return Restore(Current);
}

TRestoredState TSnapshotHistory::Redo(int currentSelection) {
    if (!CanRedo()) return {};
    MergeOpen = false;
    States[Current].Selection = currentSelection;
    ++Current;
    return Restore(Current);
}

std::size_t TSnapshotHistory::MemoryBytes() const {
    std::size_t bytes = Store.MemoryBytes();
    for (const TState& state : States)
        bytes += sizeof(TState) + state.Pieces.capacity() * sizeof(TChunkStore::TId) +
                 state.Caption.capacity();
    return bytes;
}

}  // namespace zeigora
