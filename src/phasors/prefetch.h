// Passes over long phasor lists read a few fields of every 832-byte record; the processor does
// not fetch ahead at that stride by itself, and lists of 100 000 records do not stay in its
// caches. These ask for the fields of the record some places ahead, and leave alone what does
// not change.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#include "phasors/phasor.h"

namespace zeigora {

enum class TRecordPart : std::size_t {
    Name = 0,                                       // Name
    ValueAndDefinition = offsetof(TPhasor, Value),  // Value and the start of Definition
    Working = offsetof(TPhasor, EvalState),         // EvalState, ErrorCode, start of ErrorText
};

inline void PrefetchAhead(const TPhasorArray& list, std::size_t i, TRecordPart part) {
    constexpr std::size_t Ahead = 12;
    if (i + Ahead < list.size())
        __builtin_prefetch(reinterpret_cast<const char*>(&list[i + Ahead]) +
                           static_cast<std::size_t>(part));
}

// Writes a field only when it changes: a record left as it was need not go back to memory,
// and a repeated recalculation mostly finds every field as it was.
template <typename T>
void StoreChanged(T& field, const T& value) {
    if (std::memcmp(&field, &value, sizeof(T)) != 0) field = value;
}

inline void StoreChanged(TShortString& field, std::string_view text) {
    if (field.View() != text.substr(0, 255)) field = text;
}

}  // namespace zeigora
