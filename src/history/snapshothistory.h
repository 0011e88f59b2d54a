// The undo history of one window: the states of its document, step by step, each cut into
// pieces by the window (one record each) so that a step keeps only the pieces it changed; the
// rest are shared with the neighbouring states. Every state remembers the selection that goes
// with it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "history/chunkstore.h"

namespace zeigora {

using TStatePieces = std::vector<std::string_view>;

struct TRestoredState {
    std::string Bytes;  // the pieces one after another
    int Selection = -1;
};

class TSnapshotHistory {
  public:
    // At least this many steps are kept, as long as they fit into the byte budget.
    static constexpr std::size_t DefaultMaxSteps = 256;
    static constexpr std::size_t DefaultMaxBytes = 24u * 1024u * 1024u;

    explicit TSnapshotHistory(std::size_t maxSteps = DefaultMaxSteps,
                              std::size_t maxBytes = DefaultMaxBytes);

    // Forgets every step; the state given is the one undo goes back to at most.
    void Reset(const TStatePieces& state, int selection);
    // Forgets every step and the state: nothing is recorded until the next Reset.
    void Clear();
    bool Started() const { return !States.empty(); }

    // Whether the state equals the current one.
    bool IsCurrent(const TStatePieces& state) const;
    // Records a step to the state if it differs from the current one; selectionBefore is
    // what undo selects again. A step whose merge key is not 0 and equals that of the step
    // just recorded replaces it (typing in one field), or removes it if the state is that
    // before it again. Returns whether anything was recorded.
    bool Commit(const TStatePieces& state, std::string caption, int selectionBefore,
                int selectionAfter, std::uint64_t mergeKey = 0);
    // The next Commit starts a step of its own whatever its merge key.
    void EndMerge() { MergeOpen = false; }

    bool CanUndo() const { return Current > 0; }
    bool CanRedo() const { return Current + 1 < States.size(); }
    // The caption of the step that undo or redo would take back or do again; empty if none.
    std::string UndoCaption() const;
    std::string RedoCaption() const;

    // One step back or forward. currentSelection is kept with the state left, so that going
    // back to it selects what was selected there last.
    TRestoredState Undo(int currentSelection);
    TRestoredState Redo(int currentSelection);

    // Steps kept, those undone included; the steps undo can take back.
    std::size_t StepCount() const { return States.empty() ? 0 : States.size() - 1; }
    std::size_t UndoableSteps() const { return Current; }
    std::size_t MemoryBytes() const;

  private:
    struct TState {
        std::vector<TChunkStore::TId> Blocks;  // of pieces, see the .cpp
        std::string Caption;                   // of the step that led here
        int Selection = -1;
        std::uint64_t MergeKey = 0;
    };

    TState MakeState(const TStatePieces& state, int selection, const TState* before);
    void Drop(TState& state);
    TRestoredState Restore(std::size_t index) const;
    void DropOldest();

    std::size_t MaxSteps;
    std::size_t MaxBytes;
    TChunkStore Store;
    std::deque<TState> States;
    std::size_t Current = 0;
    bool MergeOpen = false;
};

}  // namespace zeigora
