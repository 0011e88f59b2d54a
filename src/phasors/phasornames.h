// The phasor list's names in a hash index, so that a definition's identifiers are found in
// constant time instead of by a walk over the whole list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "phasors/phasor.h"

namespace zeigora {

class TPhasorNames {
  public:
    // A snapshot of the list's names; later changes of the list do not reach it.
    explicit TPhasorNames(const TPhasorArray& list) { Assign(list); }
    // Takes the list's names instead, keeping the memory for them.
    void Assign(const TPhasorArray& list);

    // The first index whose Name equals name exactly, as a walk from index 0 finds it; -1 if
    // no phasor bears it.
    int Find(std::string_view name) const;
    // The name of the phasor at index, as it was when the index was made.
    std::string_view NameOf(std::size_t index) const;
    // Asks for the slots of the names a text may look up soon: finding them then waits for no
    // memory.
    void PrefetchNamesIn(std::string_view text) const;

  private:
    // Open addressing over a power of two of slots, at most four fifths of them used:
    // lists may hold 100 000 names, and a table of plain numbers stays in the cache where one
    // node per name would not. A slot holds the hash and the index only, 8 bytes: the name is
    // compared in Pool, in list order, where the names a definition uses mostly lie close
    // together.
    struct TSlot {
        std::uint32_t Hash = 0;
        std::int32_t Index = -1;  // -1: empty
    };
    std::vector<TSlot> Slots;
    std::string Pool;                   // every name, one after the other
    std::vector<std::uint32_t> Offset;  // per index: where its name starts in Pool
    std::vector<std::uint32_t> Hashes;  // per index, while the slots are filled

    bool Holds(const TSlot& slot, std::string_view name, std::uint32_t hash) const;
    std::size_t SlotOf(std::string_view name, std::uint32_t hash) const;
};

}  // namespace zeigora
