#include "phasors/phasornames.h"

#include <cstring>

#include "phasors/prefetch.h"

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
    while (size * 4 < 5 * list.size())
        size *= 2;
    Slots.resize(size);
    Offset.reserve(list.size() + 1);
    for (std::size_t i = 0; i < list.size(); ++i) {
        PrefetchAhead(list, i, TRecordPart::Name);
        Offset.push_back(static_cast<std::uint32_t>(Pool.size()));
        Pool += list[i].Name.View();
    }
    Offset.push_back(static_cast<std::uint32_t>(Pool.size()));
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string_view name = NameOf(i);
        const std::uint32_t hash = HashOf(name);
        TSlot& slot = Slots[SlotOf(name, hash)];
        if (slot.Index >= 0) continue;  // an earlier one stays
        slot.Hash = hash;
        slot.Index = static_cast<std::int32_t>(i);
        slot.Length = static_cast<std::uint8_t>(name.size());
        if (name.size() <= InlineLength) std::memcpy(slot.Inline, name.data(), name.size());
    }
}

std::string_view TPhasorNames::NameOf(std::size_t index) const {
    return std::string_view(Pool).substr(Offset[index], Offset[index + 1] - Offset[index]);
}

bool TPhasorNames::Holds(const TSlot& slot, std::string_view name, std::uint32_t hash) const {
    if (slot.Hash != hash || slot.Length != name.size()) return false;
    if (name.size() <= InlineLength) return std::memcmp(slot.Inline, name.data(), name.size()) == 0;
    return NameOf(static_cast<std::size_t>(slot.Index)) == name;
}

// The slot that holds the name, or the empty one where it would go.
std::size_t TPhasorNames::SlotOf(std::string_view name, std::uint32_t hash) const {
    const std::size_t mask = Slots.size() - 1;
    for (std::size_t s = hash & mask;; s = (s + 1) & mask) {
        const TSlot& slot = Slots[s];
        if (slot.Index < 0 || Holds(slot, name, hash)) return s;
    }
}

int TPhasorNames::Find(std::string_view name) const {
    return Slots[SlotOf(name, HashOf(name))].Index;
}

}  // namespace zeigora
