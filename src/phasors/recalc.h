// Recalculation of all phasors in dependency order, with the error list of the status bar.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "phasors/phasor.h"

namespace zeigora {

// One entry of the error list: Name + ": " + ErrorText, and the phasor it belongs to.
struct TErrorEntry {
    std::string Caption;  // cp1252
    int PhasorIndex;
};

struct TRecalcResult {
    std::vector<TErrorEntry> Errors;
    std::string StatusText;  // count + " Fehler (hier rechtsklicken)", or empty
};

// A syntax error found at the very first character. Its position 0 would read as "no error"
// in ErrorCode, leaving a failed phasor unlisted and the dialog silent; it gets a dependency-
// style negative code instead, so it is listed and the dialog focuses the definition.
inline constexpr std::int32_t ErrSyntaxAtStart = -3;

// The ErrorCode of a phasor whose definition has a syntax error at errorPos.
std::int32_t SyntaxErrorCode(std::int32_t errorPos);

// Checks all names, evaluates every defined phasor in dependency order and writes Value,
// EvalState, ErrorCode and ErrorText of every record.
TRecalcResult RecalculateAll(TPhasorArray& phasors);

}  // namespace zeigora
