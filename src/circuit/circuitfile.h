// Circuit files (".zgs"): the tree written depth-first, one little-endian record per element,
// with nothing before or after it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "circuit/circcalc.h"

namespace zeigora {

using TByteStream = std::vector<std::uint8_t>;

// type int32, name length byte + 255 characters, value double
inline constexpr std::size_t ElementRecordSize = 268;
// ... then element count int32 and the parallel byte, followed by the members' records
inline constexpr std::size_t GroupRecordSize = 273;
// Far above any circuit a person builds; keeps a stray huge file from being read whole.
inline constexpr std::size_t MaxCircuitFileSize = 64u * 1024u * 1024u;

// Appends the element's record and, for a group, the records of its whole subtree. The name
// area after the name's characters is zero-filled.
void SaveToStream(const TCustomCircuitElement& element, TByteStream& stream);

struct TByteReader {
    std::span<const std::uint8_t> Data;
    std::size_t Pos = 0;
};

// Reads one record with its subtree and returns the new, parentless element. Malformed input
// (short records, unknown type codes, negative or impossible element counts, nesting deeper
// than MaxCircuitDepth) gives nullptr and a German reason in cp1252; nothing is kept.
std::unique_ptr<TCustomCircuitElement> LoadElementFromStream(TByteReader& reader,
                                                             std::string& reason);

// Circuit is the new tree, or nullptr with Error the complete German message (cp1252).
struct TCircuitLoadResult {
    std::unique_ptr<TCircuitElementGroup> Circuit;
    std::string Error;
};

struct TCircuitSaveResult {
    bool Ok = false;
    std::string Error;
};

// The whole input must be exactly one group record. displayName is the file name as messages
// show it (FileNameText; empty: the messages speak of data instead of a file).
TCircuitLoadResult LoadCircuitFromBytes(std::span<const std::uint8_t> bytes,
                                        std::string_view displayName = {});

// fileName is native; messages name it as FileNameText shows it, with the system's reason.
TCircuitLoadResult LoadCircuitFromFile(const std::string& fileName);

// Saves complete or not at all (SaveFileSafely): a failure never leaves a half-written file in
// place of the old one.
TCircuitSaveResult SaveCircuitToFile(const TCircuitElementGroup& root, const std::string& fileName);

}  // namespace zeigora
