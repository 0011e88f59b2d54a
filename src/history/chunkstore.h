// Pieces of byte data kept once, however many states of an undo history hold them. A piece is
// stored without its runs of zero bytes, which make up most of a record's unused text space.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zeigora {

class TChunkStore {
  public:
    using TId = std::uint32_t;

    // The id of a piece with these bytes, stored now if no piece has them; each call adds one
    // reference, which Release gives back.
    TId Intern(std::string_view bytes);
    // One more reference to a stored piece.
    void AddRef(TId id) { ++Chunks[id].Refs; }
    void Release(TId id);
    // Appends the piece's bytes.
    void AppendTo(TId id, std::string& out) const;
    // Whether the piece holds exactly these bytes.
    bool Holds(TId id, std::string_view bytes) const;

    std::size_t Count() const { return Chunks.size() - Free.size(); }
    // The heap this store takes, as far as it can tell: pieces, index and bookkeeping.
    std::size_t MemoryBytes() const;

  private:
    struct TChunk {
        std::string Packed;
        std::uint64_t Hash = 0;
        std::uint32_t Refs = 0;
    };

    std::size_t HeldBytes(const TChunk& chunk) const;

    std::vector<TChunk> Chunks;
    std::vector<TId> Free;
    std::size_t PieceBytes = 0;  // the pieces' own heap and their index nodes
    std::unordered_multimap<std::uint64_t, TId> ByHash;
};

// The packed form: pairs of a literal run and a zero run, each length as a little-endian base
// 128 number, the literal bytes after their length. Exposed for the tests.
std::string PackZeroRuns(std::string_view bytes);
void UnpackZeroRuns(std::string_view packed, std::string& out);

// A quick hash of the bytes, different for different seeds.
std::uint64_t HashBytes(std::string_view bytes, std::uint64_t seed = 0);

}  // namespace zeigora
