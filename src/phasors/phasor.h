// The phasor record, the phasor list and its small set of operations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "complex/complex.h"
#include "phasors/recordmemory.h"
#include "phasors/shortstring.h"

namespace zeigora {

enum class TEvalState : std::uint8_t { esPending = 0, esInProgress = 1, esDone = 2, esFailed = 3 };

// Error codes besides the parser's error positions.
inline constexpr std::int32_t ErrInvalidName = -1;
inline constexpr std::int32_t ErrDependency = -2;

// The bytes of this record are exactly one 832-byte record of a phasor file. Flags are kept
// as bytes (not bool) because a file may hold any value there; non-zero means true. Records
// start on a cache line (832 bytes are 13 of them), so that the fields a recalculation of a
// long list reads lie in as few lines as possible: name, value and definition, working fields.
struct alignas(64) TPhasor {
    TShortString Name;
    std::uint8_t NameVisible;
    std::uint8_t Pad1[7];
    TComplex Value;
    TShortString Definition;
    TEvalState EvalState;
    std::uint8_t Pad2[3];
    std::int32_t ErrorCode;
    TShortString ErrorText;
    std::uint8_t Visible;
    std::uint8_t Pad3[3];
    std::uint32_t Color;  // 0x00BBGGRR
    std::uint8_t Style;   // pen style index
    std::uint8_t Width;   // pen width in pixels
    std::uint8_t Scale;   // 0 = scale 1, otherwise scale 2
    std::uint8_t Pad4;
    std::uint32_t Reserved;
};

static_assert(sizeof(TPhasor) == 832);
static_assert(offsetof(TPhasor, Name) == 0);
static_assert(offsetof(TPhasor, NameVisible) == 256);
static_assert(offsetof(TPhasor, Value) == 264);
static_assert(offsetof(TPhasor, Definition) == 296);
static_assert(offsetof(TPhasor, EvalState) == 552);
static_assert(offsetof(TPhasor, ErrorCode) == 556);
static_assert(offsetof(TPhasor, ErrorText) == 560);
static_assert(offsetof(TPhasor, Visible) == 816);
static_assert(offsetof(TPhasor, Color) == 820);
static_assert(offsetof(TPhasor, Style) == 824);
static_assert(offsetof(TPhasor, Width) == 825);
static_assert(offsetof(TPhasor, Scale) == 826);
static_assert(offsetof(TPhasor, Reserved) == 828);

using TPhasorArray = std::vector<TPhasor, TRecordAllocator<TPhasor>>;
using PPhasor = TPhasor*;

// An all-zero record, as lengthening the list leaves it.
TPhasor ZeroPhasor();

void InitPhasor(TPhasor& p);
void InitPhasorNoName(TPhasor& p);

// Appends a zero record, initialises it with InitPhasor and returns its index.
std::size_t AppendPhasor(TPhasorArray& list);

void DeletePhasorAt(TPhasorArray& list, std::size_t index);
int IndexOfPhasor(const TPhasor* p, const TPhasorArray& list);
bool IsValidPhasorName(std::string_view name);

}  // namespace zeigora
