#include "phasors/phasornames.h"

namespace zeigora {

namespace {

std::uint32_t HashOf(std::string_view name) {
    std::uint32_t h = 2166136261u;  // FNV-1a
    for (const char c : name)
        h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

}  // namespace

TPhasorNames::TPhasorNames(const TPhasorArray& list) {
    std::size_t size = 16;
    while (size < 2 * list.size())
        size *= 2;
    Slots.resize(size);
    Offset.reserve(list.size() + 1);
    for (const TPhasor& p : list) {
        Offset.push_back(static_cast<std::uint32_t>(Pool.size()));
        Pool += p.Name.View();
    }
    Offset.push_back(static_cast<std::uint32_t>(Pool.size()));
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string_view name = list[i].Name.View();
        const std::uint32_t hash = HashOf(name);
        TSlot& slot = Slots[SlotOf(name, hash)];
        if (slot.Index < 0) slot = {hash, static_cast<std::int32_t>(i)};  // an earlier one stays
    }
}

std::string_view TPhasorNames::NameAt(std::int32_t index) const {
    const auto i = static_cast<std::size_t>(index);
    return std::string_view(Pool).substr(Offset[i], Offset[i + 1] - Offset[i]);
}

// The slot that holds the name, or the empty one where it would go.
std::size_t TPhasorNames::SlotOf(std::string_view name, std::uint32_t hash) const {
    const std::size_t mask = Slots.size() - 1;
    for (std::size_t s = hash & mask;; s = (s + 1) & mask) {
        const TSlot& slot = Slots[s];
        if (slot.Index < 0 || (slot.Hash == hash && NameAt(slot.Index) == name)) return s;
    }
}

int TPhasorNames::Find(std::string_view name) const {
    return Slots[SlotOf(name, HashOf(name))].Index;
}

}  // namespace zeigora
