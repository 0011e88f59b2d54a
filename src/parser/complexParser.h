// The expression language of phasor definitions: scanning and parsing into postfix code, and
// evaluating that code against the phasor list.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "complex/complex.h"
#include "phasors/phasor.h"
#include "phasors/phasornames.h"

namespace zeigora {

enum TOpcode : std::uint8_t {
    opEnd = 0,
    opPhasor = 1,   // operand: phasor index, 4 bytes little-endian (lists of any length)
    opConst = 2,    // operand: one byte, index into Constants
    opBuiltin = 3,  // operand: one byte, TBuiltin
    opAdd = 4,
    opSub = 5,
    opMul = 6,
    opDiv = 7,
    opPow = 8,
    opNeg = 9,
    opCall = 10,  // operand: one byte, function code 0..23
};

enum TBuiltin : std::uint8_t { biPi = 0, biE = 1, biJ = 2, biOne = 3, biZero = 4 };

enum TErrorKind : std::uint8_t {
    ekNone = 0,
    ekParenExpected = 1,
    ekUnknownPhasor = 2,
    ekInvalidNumber = 3,
    ekIncomplete = 4,
    ekOperatorExpected = 5,
    ekUnknownFunction = 6,
};

// Longest code a parse may produce; definitions of at most 255 characters stay far below it.
inline constexpr std::size_t MaxCodeLength = 32768;

struct Expression {
    std::vector<std::uint8_t> Code;      // postfix code, always ends with opEnd
    std::vector<long double> Constants;  // literals other than 0 and 1, no duplicates
    std::int32_t ErrorPos = -1;
    std::uint8_t ErrorKind = ekNone;
    bool Failed = false;
};

// Raised by the evaluator; carries the message text.
class EvalError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Parses a cp1252 text against the names of the list. Never throws.
Expression Parse(std::string_view text, const TPhasorArray& phasors);
// The same with the list's names looked up in an index of them (for parsing many texts).
Expression Parse(std::string_view text, const TPhasorNames& names);

std::string SyntaxErrorText(std::int32_t errorPos, std::uint8_t errorKind);

// Returns 0..23 for the known function names, 24 for any other.
int FunctionCode(std::string_view name);

TComplex EvalExpr(const Expression& expr, const TPhasorArray& phasors);
// The same with the phasors' values taken from values, indexed as the list.
TComplex EvalExprOnValues(const Expression& expr, std::span<const TComplex> values);

// Distinct phasor indices referenced by the code, ascending. Throws EvalError for an index
// beyond the list.
std::vector<int> ExpressionDependencies(const Expression& expr, const TPhasorArray& phasors);

}  // namespace zeigora
