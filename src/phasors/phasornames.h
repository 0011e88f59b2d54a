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
    explicit TPhasorNames(const TPhasorArray& list);

    // The first index whose Name equals name exactly, as a walk from index 0 finds it; -1 if
    // no phasor bears it.
    int Find(std::string_view name) const;

  private:
    // Open addressing over a power of two of slots, at most half of them used: lists may
    // hold 100 000 names, and a table of plain numbers stays in the cache where one node
    // per name would not.
    struct TSlot {
        std::uint32_t Hash = 0;
        std::int32_t Index = -1;  // -1: empty
    };
    std::vector<TSlot> Slots;
    std::string Pool;                   // every name, one after the other
    std::vector<std::uint32_t> Offset;  // per index: where its name starts in Pool

    std::string_view NameAt(std::int32_t index) const;
    std::size_t SlotOf(std::string_view name, std::uint32_t hash) const;
};

}  // namespace zeigora
