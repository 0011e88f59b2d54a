// The undo history: states come back byte for byte, typing merges into one step, the steps are
// bounded.
#include "history/snapshothistory.h"

#include "history/documentchunks.h"
#include "phasors/phasorfile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <random>
#include <string>
#include <vector>

namespace zeigora {
namespace {

using TState = std::vector<std::string>;

TStatePieces Pieces(const TState& state) {
    return {state.begin(), state.end()};
}

std::string Joined(const TState& state) {
    std::string bytes;
    for (const std::string& piece : state)
        bytes += piece;
    return bytes;
}

// A record-like piece: a few bytes of content in a mostly zero area, sometimes zero runs of
// one and two bytes and runs longer than 127 (two length bytes).
std::string RandomPiece(std::mt19937& rng) {
    std::string piece(rng() % 400, '\0');
    for (char& c : piece)
        if (rng() % 4 == 0) c = static_cast<char>(rng() % 256);
    return piece;
}

// A phasor record's 832 bytes with a short name shrink to a few dozen, and every packed piece
// unpacks to its bytes.
TEST(ChunkStoreTest, ZeroRunsAreLeftOut) {
    std::string record(832, '\0');
    record.replace(0, 8, "\x07Zeiger1");
    record[264 + 7] = '\x40';
    EXPECT_EQ(PackZeroRuns(record).size(), 1u + 8 + 2 + 1 + 1 + 2u);
    EXPECT_EQ(PackZeroRuns(std::string(3, '\0')), std::string("\x00\x03", 2));
    EXPECT_EQ(PackZeroRuns(std::string_view("a\0\0b", 4)), std::string("\x04"
                                                                       "a\0\0b"
                                                                       "\x00",
                                                                       6));
    std::mt19937 rng(7);
    for (int i = 0; i < 2000; ++i) {
        const std::string bytes = RandomPiece(rng);
        std::string out = "x";
        UnpackZeroRuns(PackZeroRuns(bytes), out);
        ASSERT_EQ(out, "x" + bytes);
    }
}

// A stored piece is compared with bytes without unpacking it: equal exactly when the bytes are,
// near misses (one byte changed, one zero more or less at the end) included.
TEST(ChunkStoreTest, StoredPieceMatchesOnlyItsOwnBytes) {
    std::mt19937 rng(3);
    TChunkStore store;
    for (int i = 0; i < 2000; ++i) {
        const std::string bytes = RandomPiece(rng);
        const TChunkStore::TId id = store.Intern(bytes);
        std::vector<std::string> others{bytes + '\0', bytes + 'x', RandomPiece(rng)};
        if (!bytes.empty()) {
            others.push_back(bytes.substr(0, bytes.size() - 1));
            std::string changed = bytes;
            changed[rng() % changed.size()] ^= static_cast<char>(1 + rng() % 255);
            others.push_back(changed);
        }
        EXPECT_TRUE(store.Holds(id, bytes));
        for (const std::string& other : others) {
            ASSERT_EQ(store.Holds(id, other), other == bytes);
            const TChunkStore::TId otherId = store.Intern(other);
            ASSERT_EQ(otherId == id, other == bytes);
            store.Release(otherId);
        }
        store.Release(id);
    }
    EXPECT_EQ(store.Count(), 0u);
}

// The list cut into records where it stands gives the file's bytes, records with stale
// characters behind their texts and set padding included.
TEST(DocumentChunksTest, PhasorRecordsInPlaceAreTheFileBytes) {
    std::mt19937 rng(5);
    TPhasorArray list;
    for (int i = 0; i < 200; ++i) {
        AppendPhasor(list);
        TPhasor& p = list.back();
        p.Name = "Zeiger" + std::to_string(i);
        if (rng() % 3 == 0) {
            p.Definition = "Zeiger1+Zeiger2";
            p.Definition = "Z";
        }
        if (rng() % 5 == 0) p.Pad2[1] = 7;
        p.Color = rng();
    }
    std::deque<TPhasor> cleaned;
    std::string joined;
    for (const std::string_view piece : PhasorStatePieces("mode", list, cleaned))
        joined.append(piece);
    EXPECT_EQ(joined, "mode" + PhasorsToBytes(list));
    EXPECT_GT(cleaned.size(), 0u);
    EXPECT_LT(cleaned.size(), list.size());
}

// Random edits of a list of pieces; undoing all gives every earlier state back in turn, redoing
// all every later one, with the selection each state was left with.
TEST(SnapshotHistoryTest, UndoAndRedoWalkTheStatesByteForByte) {
    std::mt19937 rng(11);
    TState state;
    for (int i = 0; i < 20; ++i)
        state.push_back(RandomPiece(rng));
    TSnapshotHistory history;
    history.Reset(Pieces(state), 0);
    std::vector<std::string> seen{Joined(state)};
    std::vector<int> selectedBefore{0};
    for (int step = 1; step <= 150; ++step) {
        const auto at = state.empty() ? 0 : rng() % state.size();
        switch (rng() % 4) {
            case 0:
                state.insert(state.begin() + at, RandomPiece(rng));
                break;
            case 1:
                if (!state.empty()) state.erase(state.begin() + at);
                break;
            case 2:
                if (!state.empty()) state[at] = RandomPiece(rng);
                break;
            default:
                state.assign(rng() % 3, RandomPiece(rng));
        }
        if (history.Commit(Pieces(state), "Schritt " + std::to_string(step), -step, step)) {
            seen.push_back(Joined(state));
            selectedBefore.push_back(-step);
        }
    }
    ASSERT_EQ(history.StepCount() + 1, seen.size());
    for (std::size_t i = seen.size() - 1; i > 0; --i) {
        const TRestoredState back = history.Undo(1000);
        ASSERT_EQ(back.Bytes, seen[i - 1]) << i;
        EXPECT_EQ(back.Selection, selectedBefore[i]);
    }
    EXPECT_FALSE(history.CanUndo());
    for (std::size_t i = 1; i < seen.size(); ++i) {
        const TRestoredState forward = history.Redo(7);
        ASSERT_EQ(forward.Bytes, seen[i]) << i;
        EXPECT_EQ(forward.Selection, 1000);
    }
    EXPECT_FALSE(history.CanRedo());
}

TEST(SnapshotHistoryTest, TypingInOneFieldIsOneStep) {
    TSnapshotHistory history;
    history.Reset({"R"}, 0);
    for (const char* name : {"R1", "R12", "R123"})
        history.Commit({name}, "Bezeichnung", 0, 0, 1);
    EXPECT_EQ(history.StepCount(), 1u);
    history.Commit({"R123", "x"}, "Wert", 0, 0, 2);
    history.Commit({"R123", "xy"}, "Wert", 0, 0, 2);
    history.Commit({"R1234", "xy"}, "Bezeichnung", 0, 0, 1);
    EXPECT_EQ(history.StepCount(), 3u);
    // Undo ends the typing: the same field starts a step of its own afterwards.
    history.Undo(0);
    history.Commit({"R12345", "xy"}, "Bezeichnung", 0, 0, 1);
    history.EndMerge();
    history.Commit({"R123456", "xy"}, "Bezeichnung", 0, 0, 1);
    EXPECT_EQ(history.StepCount(), 4u);
    // Typing back to where the step began takes the step away.
    history.Commit({"R1234567", "xy"}, "Bezeichnung", 0, 0, 1);
    history.Commit({"R12345", "xy"}, "Bezeichnung", 0, 0, 1);
    EXPECT_EQ(history.UndoableSteps(), 3u);
    history.Commit({"R123456", "xy"}, "Bezeichnung", 0, 0, 1);
    EXPECT_EQ(history.UndoableSteps(), 4u);
    EXPECT_EQ(history.Undo(0).Bytes, "R12345xy");
    EXPECT_EQ(history.Undo(0).Bytes, "R123xy");
    EXPECT_EQ(history.Undo(0).Bytes, "R123");
    EXPECT_EQ(history.Undo(0).Bytes, "R");
}

TEST(SnapshotHistoryTest, OldestStepsGoFirstBeyondTheLimits) {
    TSnapshotHistory history(200);
    history.Reset({"0"}, 0);
    for (int i = 1; i <= 250; ++i)
        history.Commit({std::to_string(i)}, "S", 0, 0);
    EXPECT_EQ(history.StepCount(), 200u);
    std::string last;
    while (history.CanUndo())
        last = history.Undo(0).Bytes;
    EXPECT_EQ(last, "50");

    // 100 kB steps against a budget of 1 MB: at most ten of them stay.
    TSnapshotHistory small(200, 1000000);
    small.Reset({""}, 0);
    std::mt19937 rng(3);
    for (int i = 0; i < 30; ++i) {
        std::string big(100000, '\0');
        for (char& c : big)
            c = static_cast<char>(rng() | 1);
        small.Commit({big}, "Gross", 0, 0);
        EXPECT_LE(small.MemoryBytes(), 1000000u + 100200u);
    }
    EXPECT_LT(small.StepCount(), 10u);
    EXPECT_GE(small.StepCount(), 1u);
}

}  // namespace
}  // namespace zeigora
