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

// The slots are filled in a pass of their own, asking for each slot some names ahead: with
// 100 000 names they are spread over megabytes, and one waits for memory after the other
// otherwise.
void TPhasorNames::Assign(const TPhasorArray& list) {
    std::size_t size = 16;
    while (size * 4 < 5 * list.size())
        size *= 2;
    Slots.assign(size, TSlot{});
    Pool.clear();
    Offset.clear();
    Hashes.clear();
    Offset.reserve(list.size() + 1);
    Hashes.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        PrefetchAhead(list, i, RecordPart::Name);
        const std::string_view name = list[i].Name.View();
        Offset.push_back(static_cast<std::uint32_t>(Pool.size()));
        Pool += name;
        Hashes.push_back(HashOf(name));
    }
    Offset.push_back(static_cast<std::uint32_t>(Pool.size()));
    constexpr std::size_t Ahead = 8;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i + Ahead < list.size()) __builtin_prefetch(&Slots[Hashes[i + Ahead] & (size - 1)], 1);
        const std::string_view name = NameOf(i);
        TSlot& slot = Slots[SlotOf(name, Hashes[i])];
        if (slot.Index >= 0) continue;  // an earlier one stays
        slot.Hash = Hashes[i];
        slot.Index = static_cast<std::int32_t>(i);
    }
}

std::string_view TPhasorNames::NameOf(std::size_t index) const {
    return std::string_view(Pool).substr(Offset[index], Offset[index + 1] - Offset[index]);
}

bool TPhasorNames::Holds(const TSlot& slot, std::string_view name, std::uint32_t hash) const {
    return slot.Hash == hash && NameOf(static_cast<std::size_t>(slot.Index)) == name;
}

// The slot that holds the name, or the empty one where it would go.
std::size_t TPhasorNames::SlotOf(std::string_view name, std::uint32_t hash) const {
    const std::size_t mask = Slots.size() - 1;
    for (std::size_t s = hash & mask;; s = (s + 1) & mask) {
        const TSlot& slot = Slots[s];
        if (slot.Index < 0 || Holds(slot, name, hash)) return s;
    }
}

// Letters and digits starting with a letter, as names and function names are written; a
// prefetch for what is not looked up costs only the prefetch.
void TPhasorNames::PrefetchNamesIn(std::string_view text) const {
    const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    const auto isNameChar = [&](char c) { return isLetter(c) || (c >= '0' && c <= '9'); };
    for (std::size_t p = 0; p < text.size();) {
        if (!isLetter(text[p])) {
            ++p;
            continue;
        }
        const std::size_t start = p;
        while (p < text.size() && isNameChar(text[p]))
            ++p;
        __builtin_prefetch(&Slots[HashOf(text.substr(start, p - start)) & (Slots.size() - 1)]);
    }
}

int TPhasorNames::Find(std::string_view name) const {
    return Slots[SlotOf(name, HashOf(name))].Index;
}

}  // namespace zeigora
