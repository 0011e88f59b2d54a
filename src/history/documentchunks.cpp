#include "history/documentchunks.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "circuit/circuitfile.h"
#include "phasors/phasorfile.h"

namespace zeigora {

namespace {

void CutInto(TStatePieces& pieces, std::string_view bytes, std::size_t& pos, std::size_t size) {
    const std::size_t n = std::min(size, bytes.size() - pos);
    pieces.push_back(bytes.substr(pos, n));
    pos += n;
}

}  // namespace

TStatePieces PhasorStatePieces(std::string_view leading, std::string_view phasorFileBytes) {
    TStatePieces pieces{leading};
    pieces.reserve(1 + phasorFileBytes.size() / PhasorRecordSize);
    for (std::size_t pos = 0; pos < phasorFileBytes.size();)
        CutInto(pieces, phasorFileBytes, pos, PhasorRecordSize);
    return pieces;
}

TStatePieces PhasorStatePieces(std::string_view leading, const TPhasorArray& list,
                               std::deque<TPhasor>& cleaned) {
    TStatePieces pieces{leading};
    pieces.reserve(1 + list.size());
    for (const TPhasor& p : list) {
        const TPhasor clean = FileRecord(p);
        const TPhasor* record = &p;
        if (std::memcmp(&clean, &p, sizeof p) != 0) record = &cleaned.emplace_back(clean);
        pieces.emplace_back(reinterpret_cast<const char*>(record), sizeof *record);
    }
    return pieces;
}

TStatePieces CircuitStatePieces(std::string_view circuitFileBytes) {
    TStatePieces pieces;
    for (std::size_t pos = 0; pos < circuitFileBytes.size();) {
        // The type code's low byte decides: the file holds no other types than 0 to 3.
        const bool group = circuitFileBytes[pos] == etGroup;
        CutInto(pieces, circuitFileBytes, pos, group ? GroupRecordSize : ElementRecordSize);
    }
    return pieces;
}

}  // namespace zeigora
