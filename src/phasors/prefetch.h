// Passes over long phasor lists read a few fields of every 832-byte record; the processor does
// not fetch ahead at that stride by itself, and lists of 100 000 records do not stay in its
// caches. These ask for the fields of the record some places ahead, and leave alone what does
// not change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "phasors/phasor.h"

namespace zeigora {

// Bytes of a record within one cache line: from Offset on, Size of them.
struct TRecordPart {
    std::size_t Offset, Size;
};

namespace RecordPart {
// Length and first 15 characters.
inline constexpr TRecordPart Name{offsetof(TPhasor, Name), 16};
// Value, and the length and first 23 characters of Definition.
inline constexpr TRecordPart ValueAndDefinition{
    offsetof(TPhasor, Value), offsetof(TPhasor, Definition) + 24 - offsetof(TPhasor, Value)};
// EvalState, ErrorCode, and the length and first 15 characters of ErrorText.
inline constexpr TRecordPart Working{
    offsetof(TPhasor, EvalState), offsetof(TPhasor, ErrorText) + 16 - offsetof(TPhasor, EvalState)};
// The 16th to 63rd character of ErrorText.
inline constexpr TRecordPart MoreErrorText{offsetof(TPhasor, ErrorText) + 16, 48};

constexpr bool InOneLine(TRecordPart part) {
    return part.Offset / 64 == (part.Offset + part.Size - 1) / 64;
}
static_assert(alignof(TPhasor) == 64 && InOneLine(Name) && InOneLine(ValueAndDefinition) &&
              InOneLine(Working) && InOneLine(MoreErrorText));
}  // namespace RecordPart

inline constexpr std::size_t PrefetchDistance = 12;  // records

// Always inlined: the compiler takes a function that does nothing but prefetch for one without
// effect and drops the calls to it.
[[gnu::always_inline]] inline void PrefetchRecord(const TPhasorArray& list, std::size_t i,
                                                  TRecordPart part) {
    if (i < list.size()) __builtin_prefetch(reinterpret_cast<const char*>(&list[i]) + part.Offset);
}

[[gnu::always_inline]] inline void PrefetchAhead(const TPhasorArray& list, std::size_t i,
                                                 TRecordPart part) {
    PrefetchRecord(list, i + PrefetchDistance, part);
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
