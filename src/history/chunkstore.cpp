#include "history/chunkstore.h"

#include <algorithm>
#include <cstring>

namespace zeigora {

namespace {

// Shorter zero runs cost more as a run of their own than as literal bytes.
constexpr std::size_t MinZeroRun = 3;

void PutLength(std::string& out, std::size_t n) {
    while (n >= 0x80) {
        out.push_back(static_cast<char>((n & 0x7F) | 0x80));
        n >>= 7;
    }
    out.push_back(static_cast<char>(n));
}

std::size_t GetLength(std::string_view packed, std::size_t& pos) {
    std::size_t n = 0;
    for (int shift = 0; pos < packed.size(); shift += 7) {
        const auto byte = static_cast<unsigned char>(packed[pos++]);
        n |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) break;
    }
    return n;
}

std::size_t ZeroRunAt(std::string_view bytes, std::size_t pos) {
    std::size_t end = pos;
    while (end < bytes.size() && bytes[end] == 0)
        ++end;
    return end - pos;
}

}  // namespace

// Four lanes of eight bytes at a time: a long list is hashed on every step.
std::uint64_t HashBytes(std::string_view bytes, std::uint64_t seed) {
    constexpr std::uint64_t Mul = 0x9E3779B97F4A7C15ull;
    std::uint64_t lane[4] = {seed ^ bytes.size(), seed + 1, seed + 2, seed + 3};
    std::size_t pos = 0;
    for (; pos + 32 <= bytes.size(); pos += 32)
        for (int i = 0; i < 4; ++i) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + pos + 8 * i, 8);
            lane[i] = (lane[i] ^ word) * Mul;
            lane[i] ^= lane[i] >> 29;
        }
    std::uint64_t h = lane[0];
    for (int i = 1; i < 4; ++i)
        h = (h ^ lane[i]) * Mul;
    for (; pos < bytes.size(); ++pos)
        h = (h ^ static_cast<unsigned char>(bytes[pos])) * Mul;
    h ^= h >> 29;
    return (h * Mul) ^ (h >> 32);
}

namespace {

bool AllZero(std::string_view bytes) {
    static const char Zeros[256] = {};
    for (std::size_t pos = 0; pos < bytes.size(); pos += sizeof Zeros) {
        const std::size_t n = std::min(sizeof Zeros, bytes.size() - pos);
        if (std::memcmp(bytes.data() + pos, Zeros, n) != 0) return false;
    }
    return true;
}

// Whether the packed form stands for exactly these bytes, without unpacking it.
bool PackedEquals(std::string_view packed, std::string_view bytes) {
    std::size_t pos = 0;
    std::size_t at = 0;
    while (pos < packed.size()) {
        const std::size_t literal = GetLength(packed, pos);
        if (literal > packed.size() - pos || literal > bytes.size() - at ||
            packed.compare(pos, literal, bytes.data() + at, literal) != 0)
            return false;
        pos += literal;
        at += literal;
        const std::size_t zeros = GetLength(packed, pos);
        if (zeros > bytes.size() - at || !AllZero(bytes.substr(at, zeros))) return false;
        at += zeros;
    }
    return at == bytes.size();
}

}  // namespace

std::string PackZeroRuns(std::string_view bytes) {
    std::string out;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t literalEnd = pos;
        while (literalEnd < bytes.size() && ZeroRunAt(bytes, literalEnd) < MinZeroRun)
            literalEnd += bytes[literalEnd] == 0 ? ZeroRunAt(bytes, literalEnd) : 1;
        PutLength(out, literalEnd - pos);
        out.append(bytes.substr(pos, literalEnd - pos));
        const std::size_t zeros = ZeroRunAt(bytes, literalEnd);
        PutLength(out, zeros);
        pos = literalEnd + zeros;
    }
    return out;
}

void UnpackZeroRuns(std::string_view packed, std::string& out) {
    std::size_t pos = 0;
    while (pos < packed.size()) {
        const std::size_t literal = GetLength(packed, pos);
        out.append(packed.substr(pos, literal));
        pos += literal;
        out.append(GetLength(packed, pos), '\0');
    }
}

TChunkStore::TId TChunkStore::Intern(std::string_view bytes) {
    // Hashed and compared as they are: only a piece not yet stored is packed.
    const std::uint64_t hash = HashBytes(bytes);
    const auto [first, last] = ByHash.equal_range(hash);
    for (auto it = first; it != last; ++it)
        if (PackedEquals(Chunks[it->second].Packed, bytes)) {
            AddRef(it->second);
            return it->second;
        }
    std::string packed = PackZeroRuns(bytes);
    TId id;
    if (!Free.empty()) {
        id = Free.back();
        Free.pop_back();
    } else {
        id = static_cast<TId>(Chunks.size());
        Chunks.emplace_back();
    }
    packed.shrink_to_fit();
    Chunks[id] = TChunk{std::move(packed), hash, 1};
    ByHash.emplace(hash, id);
    PieceBytes += HeldBytes(Chunks[id]);
    return id;
}

void TChunkStore::Release(TId id) {
    TChunk& chunk = Chunks[id];
    if (--chunk.Refs > 0) return;
    const auto [first, last] = ByHash.equal_range(chunk.Hash);
    for (auto it = first; it != last; ++it)
        if (it->second == id) {
            ByHash.erase(it);
            break;
        }
    PieceBytes -= HeldBytes(chunk);
    chunk = TChunk{};
    Free.push_back(id);
}

void TChunkStore::AppendTo(TId id, std::string& out) const {
    UnpackZeroRuns(Chunks[id].Packed, out);
}

bool TChunkStore::Holds(TId id, std::string_view bytes) const {
    return PackedEquals(Chunks[id].Packed, bytes);
}

namespace {

// A short packed piece lives inside the string object itself.
const std::size_t InlineCapacity = std::string().capacity();
// A node of the index: the key, the id, the link and the cached hash, rounded up as the
// allocator does.
constexpr std::size_t IndexNodeBytes = 32;

}  // namespace

std::size_t TChunkStore::HeldBytes(const TChunk& chunk) const {
    const std::size_t capacity = chunk.Packed.capacity();
    return IndexNodeBytes + (capacity > InlineCapacity ? capacity + 1 : 0);
}

std::size_t TChunkStore::MemoryBytes() const {
    return PieceBytes + Chunks.capacity() * sizeof(TChunk) + Free.capacity() * sizeof(TId) +
           ByHash.bucket_count() * sizeof(void*);
}

}  // namespace zeigora
