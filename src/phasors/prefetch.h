// Passes over long phasor lists read a few fields of every 832-byte record; the processor does
// not fetch ahead at that stride by itself, and lists of 100 000 records do not stay in its
// caches. These ask for the fields of the record some places ahead.
#pragma once

#include <cstddef>

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

}  // namespace zeigora
