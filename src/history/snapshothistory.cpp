#include "history/snapshothistory.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace zeigora {

TSnapshotHistory::TSnapshotHistory(std::size_t maxSteps, std::size_t maxBytes)
    : MaxSteps(maxSteps), MaxBytes(maxBytes) {}

namespace {

// Consecutive pieces are kept together in blocks of 16 on average and 32 at most. Where a block
// ends depends on its last piece and on how many came before it in the block, not on where it
// stands, so an inserted or removed piece changes a block or two and the rest stay shared; the
// count keeps long runs of equal pieces from becoming blocks of one.
constexpr std::size_t MaxBlockPieces = 32;

// Only a record's head and tail decide, where its name and its last fields stand: every record
// of the list is looked at on every step.
constexpr std::size_t DecidingHead = 128;
constexpr std::size_t DecidingTail = 64;

bool EndsBlock(std::string_view piece, std::size_t piecesInBlock) {
    if (piecesInBlock >= MaxBlockPieces) return true;
    std::uint64_t h = HashBytes(piece.substr(0, DecidingHead), piecesInBlock);
    if (piece.size() > DecidingHead)
        h = HashBytes(piece.substr(std::max(DecidingHead, piece.size() - DecidingTail)), h);
    return (h >> 60) == 0;
}

// Pieces that lie one after another in memory, as the records of one file do, make a block
// without being copied.
template <class Visit>
void ForEachBlock(const TStatePieces& state, Visit visit) {
    std::string copied;
    std::string_view adjacent;
    bool copying = false;
    std::size_t count = 0;
    for (const std::string_view piece : state) {
        if (count == 0) {
            adjacent = piece;
            copying = false;
        } else if (!copying && adjacent.data() + adjacent.size() == piece.data()) {
            adjacent = std::string_view(adjacent.data(), adjacent.size() + piece.size());
        } else {
            if (!copying) copied.assign(adjacent);
            copying = true;
            copied.append(piece);
        }
        if (EndsBlock(piece, ++count)) {
            if (!visit(copying ? std::string_view(copied) : adjacent)) return;
            count = 0;
        }
    }
    if (count > 0) visit(copying ? std::string_view(copied) : adjacent);
}

}  // namespace

// A block that stands where it stood in the state before is taken over from it after a
// comparison, neither hashed nor looked up.
TSnapshotHistory::TState TSnapshotHistory::MakeState(const TStatePieces& state, int selection,
                                                     const TState* before) {
    TState made;
    ForEachBlock(state, [&](std::string_view block) {
        const std::size_t i = made.Blocks.size();
        if (before != nullptr && i < before->Blocks.size() &&
            Store.Holds(before->Blocks[i], block)) {
            Store.AddRef(before->Blocks[i]);
            made.Blocks.push_back(before->Blocks[i]);
        } else {
            made.Blocks.push_back(Store.Intern(block));
        }
        return true;
    });
    made.Blocks.shrink_to_fit();
    made.Selection = selection;
    return made;
}

void TSnapshotHistory::Drop(TState& state) {
    for (const TChunkStore::TId id : state.Blocks)
        Store.Release(id);
    state.Blocks.clear();
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
    States.push_back(MakeState(state, selection, nullptr));
}

bool TSnapshotHistory::IsCurrent(const TStatePieces& state) const {
    if (States.empty()) return false;
    const std::vector<TChunkStore::TId>& blocks = States[Current].Blocks;
    std::size_t i = 0;
    bool same = true;
    ForEachBlock(state, [&](std::string_view block) {
        same = i < blocks.size() && Store.Holds(blocks[i++], block);
        return same;
    });
    return same && i == blocks.size();
}

bool TSnapshotHistory::Commit(const TStatePieces& state, std::string caption, int selectionBefore,
                              int selectionAfter, std::uint64_t mergeKey) {
    if (States.empty()) return false;
    TState next = MakeState(state, selectionAfter, &States[Current]);
    if (next.Blocks == States[Current].Blocks) {
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
    // Typing that ends where it began leaves no step.
    if (merge && States[Current].Blocks == States[Current - 1].Blocks) {
        Drop(States.back());
        States.pop_back();
        --Current;
        MergeOpen = false;
    }
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
    for (const TChunkStore::TId id : States[index].Blocks)
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
        bytes += sizeof(TState) + state.Blocks.capacity() * sizeof(TChunkStore::TId) +
                 state.Caption.capacity();
    return bytes;
}

}  // namespace zeigora
