// Recursive-descent scanner and parser of phasor definitions. There is no token list: every
// routine works on the characters directly, takes a position and reports success plus the
// number of characters it consumed. The first error recorded sticks until a later successful
// match clears it, which decides which of several possible messages the user sees.
#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include "complex/cp1252text.h"
#include "parser/complexParser.h"

namespace zeigora {

namespace {

enum TCharClass : std::uint8_t {
    chSign = 0,
    chMulDiv = 1,
    chPower = 2,
    chOpen = 3,
    chClose = 4,
    chOther = 5,
    chDecimal = 6,
    chExponent = 7,
    chDegree = 8,
};

constexpr unsigned char DegreeSign = 0xB0;

// Every nesting (sign, power, parenthesis) passes through ParseUnary and consumes at least one
// character first, so a definition of at most 255 characters never nests deeper than 256.
// Deeper nesting can only come from over-long texts; it is reported as an incomplete
// expression at the position where the limit is crossed, which keeps the stack bounded.
constexpr int MaxNesting = 300;

// opConst carries a one-byte index; a 256th distinct literal cannot be encoded.
constexpr std::size_t MaxConstants = 256;

TCharClass ClassOf(char c) {
    switch (static_cast<unsigned char>(c)) {
        case '+':
        case '-':
            return chSign;
        case '*':
        case '/':
            return chMulDiv;
        case '^':
            return chPower;
        case '(':
            return chOpen;
        case ')':
            return chClose;
        case '.':
        case ',':
            return chDecimal;
        case 'e':
        case 'E':
            return chExponent;
        case DegreeSign:
            return chDegree;
        default:
            return chOther;
    }
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

struct TResult {
    bool Ok;
    std::size_t Len;  // characters consumed
};

struct TMatch {
    bool Matched;
    char Ch;
    std::size_t Len;  // blanks skipped + 1, matched or not
};

class TParser {
  public:
    TParser(std::string_view text, const TPhasorArray& phasors) : Text(text), Phasors(&phasors) {}
    TParser(std::string_view text, const TPhasorNames& names) : Text(text), Names(&names) {}

    Expression Run();

  private:
    std::string_view Text;
    // Names are looked up in the index when there is one, else by a walk over the list.
    const TPhasorArray* Phasors = nullptr;
    const TPhasorNames* Names = nullptr;
    Expression Out;
    std::uint8_t Kind = ekNone;
    std::size_t ErrorPointer = 0;
    int Depth = 0;
    bool CodeFull = false;
    std::size_t CodeFullPos = 0;

    // The end of the text reads as NUL, and so does an embedded NUL.
    char Ch(std::size_t p) const { return p < Text.size() ? Text[p] : '\0'; }
    bool AtEnd(std::size_t p) const { return Ch(p) == '\0'; }
    std::size_t SkipBlanks(std::size_t p) const {
        while (Ch(p) == ' ')
            ++p;
        return p;
    }

    void RecordError(std::uint8_t kind, std::size_t pos) {
        if (Kind != ekNone) return;
        Kind = kind;
        ErrorPointer = pos;
    }

    void Emit(std::initializer_list<std::uint8_t> bytes, std::size_t pos);
    void EmitOp(std::uint8_t op, std::size_t pos) { Emit({op}, pos); }
    void EmitLiteral(long double value, std::size_t pos, bool& ok);

    TMatch MatchOperator(std::size_t pos, TCharClass cls);
    bool IsIdentChar(std::size_t pos);
    std::size_t ReadDigits(std::size_t pos, long double& value) const;
    int FindPhasor(std::string_view name) const;

    TResult ParseSum(std::size_t pos);
    TResult ParseTerm(std::size_t pos);
    TResult ParseUnary(std::size_t pos);
    TResult ParseUnaryNested(std::size_t pos);
    TResult ParseFactor(std::size_t pos);
    TResult ParseParenthesis(std::size_t pos);
    TResult ParseNumber(std::size_t pos);
    TResult ParseExponent(std::size_t pos, long double& value);
    TResult ParseIdentifier(std::size_t pos);
};

// Code of a failed attempt stays in place (the parse as a whole then fails). Past the code
// area nothing more is written; the parse is failed at the end instead.
void TParser::Emit(std::initializer_list<std::uint8_t> bytes, std::size_t pos) {
    if (CodeFull || Out.Code.size() + bytes.size() + 1 > MaxCodeLength) {
        if (!CodeFull) CodeFullPos = pos;
        CodeFull = true;
        return;
    }
    Out.Code.insert(Out.Code.end(), bytes);
}

void TParser::EmitLiteral(long double value, std::size_t pos, bool& ok) {
    ok = true;
    if (value == 0.0L) return Emit({opBuiltin, biZero}, pos);
    if (value == 1.0L) return Emit({opBuiltin, biOne}, pos);
    std::size_t index = 0;
    while (index < Out.Constants.size() && !(Out.Constants[index] == value))
        ++index;
    if (index == Out.Constants.size()) {
        if (index >= MaxConstants) {
            RecordError(ekInvalidNumber, pos);
            ok = false;
            return;
        }
        Out.Constants.push_back(value);
    }
    Emit({opConst, static_cast<std::uint8_t>(index)}, pos);
}

TMatch TParser::MatchOperator(std::size_t pos, TCharClass cls) {
    const std::size_t p = SkipBlanks(pos);
    TMatch m{false, Ch(p), p - pos + 1};
    if (!AtEnd(p) && ClassOf(m.Ch) == cls) {
        m.Matched = true;
        Kind = ekNone;
    }
    return m;
}

bool TParser::IsIdentChar(std::size_t pos) {
    const char c = Ch(pos);
    if (!IsDigit(c) && !IsLetter(c)) return false;
    Kind = ekNone;
    return true;
}

std::size_t TParser::ReadDigits(std::size_t pos, long double& value) const {
    value = 0.0L;
    std::size_t p = pos;
    while (IsDigit(Ch(p))) {
        value = value * 10.0L + static_cast<long double>(Ch(p) - '0');
        ++p;
    }
    return p - pos;
}

int TParser::FindPhasor(std::string_view name) const {
    if (Names != nullptr) return Names->Find(name);
    for (std::size_t i = 0; i < Phasors->size(); ++i)
        if ((*Phasors)[i].Name.View() == name) return static_cast<int>(i);
    return -1;
}

TResult TParser::ParseSum(std::size_t pos) {
    TResult term = ParseTerm(pos);
    bool ok = term.Ok;
    std::size_t p = pos + term.Len;
    while (ok) {
        const TMatch sign = MatchOperator(p, chSign);
        if (!sign.Matched) break;
        const TResult next = ParseTerm(p + sign.Len);
        if (!next.Ok) {
            ok = false;
            break;
        }
        p += sign.Len + next.Len;
        EmitOp(sign.Ch == '+' ? opAdd : opSub, p);
    }
    if (!term.Ok) p = pos;
    p = SkipBlanks(p);
    return {ok, p - pos};
}

// Juxtaposition is an implicit "*"; its failure only ends the term. Signs end the term before
// juxtaposition is tried, so '2 -3' stays a difference.
TResult TParser::ParseTerm(std::size_t pos) {
    const TResult first = ParseUnary(pos);
    if (!first.Ok) return {false, 0};
    std::size_t p = pos + first.Len;
    for (;;) {
        p = SkipBlanks(p);
        const char c = Ch(p);
        if (AtEnd(p) || c == '+' || c == '-') break;
        const TMatch op = MatchOperator(p, chMulDiv);
        const bool required = op.Matched;
        const std::size_t at = required ? p + op.Len : p;
        const TResult next = ParseUnary(at);
        if (!next.Ok) {
            if (required) return {false, p - pos};
            break;
        }
        p = at + next.Len;
        EmitOp(required && op.Ch == '/' ? opDiv : opMul, p);
    }
    return {true, p - pos};
}

TResult TParser::ParseUnary(std::size_t pos) {
    if (Depth >= MaxNesting) {
        RecordError(ekIncomplete, pos);
        return {false, 0};
    }
    ++Depth;
    const TResult r = ParseUnaryNested(pos);
    --Depth;
    return r;
}

// A sign binds looser than "^" ('-2^2' is -4), and the exponent is a unary of its own, which
// makes powers right-associative and lets the exponent carry signs ('2^-2').
TResult TParser::ParseUnaryNested(std::size_t pos) {
    const TMatch sign = MatchOperator(pos, chSign);
    if (sign.Matched) {
        const TResult operand = ParseUnary(pos + sign.Len);
        if (operand.Ok) {
            if (sign.Ch == '-') EmitOp(opNeg, pos);
            Kind = ekNone;
            return {true, sign.Len + operand.Len};
        }
    }
    const TResult factor = ParseFactor(pos);
    if (!factor.Ok) return {false, 0};
    std::size_t len = factor.Len;
    const TMatch power = MatchOperator(pos + len, chPower);
    if (power.Matched) {
        const TResult exponent = ParseUnary(pos + len + power.Len);
        if (!exponent.Ok) return {false, 0};
        len += power.Len + exponent.Len;
        EmitOp(opPow, pos + len);
    }
    Kind = ekNone;
    return {true, len};
}

TResult TParser::ParseFactor(std::size_t pos) {
    const std::size_t p = SkipBlanks(pos);
    const char c = Ch(p);
    TResult r{false, 0};
    if (c == '(') {
        r = ParseParenthesis(p);
    } else if (IsDigit(c)) {
        r = ParseNumber(p);
    } else if (IsLetter(c)) {
        r = ParseIdentifier(p);
    } else {
        RecordError(ekIncomplete, p);  // also at the end of the text
        return {false, 0};
    }
    return {r.Ok, r.Ok ? p - pos + r.Len : 0};
}

TResult TParser::ParseParenthesis(std::size_t pos) {
    const TMatch open = MatchOperator(pos, chOpen);
    if (!open.Matched) {
        RecordError(ekIncomplete, pos + open.Len - 1);
        return {false, 0};
    }
    const TResult inner = ParseSum(pos + open.Len);
    const std::size_t innerEnd = pos + open.Len + inner.Len;
    if (inner.Ok) {
        const TMatch close = MatchOperator(innerEnd, chClose);
        if (close.Matched) {
            Kind = ekNone;
            return {true, innerEnd + close.Len - pos};
        }
    }
    RecordError(ekParenExpected, innerEnd);
    return {false, 0};
}

TResult TParser::ParseNumber(std::size_t pos) {
    long double value = 0.0L;
    std::size_t p = pos + ReadDigits(pos, value);
    const TMatch decimal = MatchOperator(p, chDecimal);
    if (decimal.Matched) {
        if (decimal.Len != 1) {  // blanks before the separator
            RecordError(ekInvalidNumber, p);
            return {false, 0};
        }
        ++p;
        long double fraction = 0.0L;
        const std::size_t count = ReadDigits(p, fraction);
        if (count == 0) {
            RecordError(ekInvalidNumber, p);
            return {false, 0};
        }
        value += fraction / RealPower(10.0L, static_cast<long double>(count));
        p += count;
    }
    p += ParseExponent(p, value).Len;
    const TMatch degree = MatchOperator(p, chDegree);
    if (degree.Matched) {
        value = value * PiL / 180.0L;
        p += degree.Len;
    }
    bool stored = true;
    EmitLiteral(value, pos, stored);
    if (!stored) return {false, 0};
    return {true, p - pos};
}

// An exponent needs every piece directly after the mantissa; if one is missing, nothing is
// consumed and the letter is read as an identifier ('2e' is 2*e).
TResult TParser::ParseExponent(std::size_t pos, long double& value) {
    const TMatch letter = MatchOperator(pos, chExponent);
    if (!letter.Matched || letter.Len != 1) return {false, 0};
    std::size_t p = pos + 1;
    bool negative = false;
    const TMatch sign = MatchOperator(p, chSign);
    if (sign.Matched) {
        if (sign.Len != 1) return {false, 0};
        negative = sign.Ch == '-';
        ++p;
    }
    long double digits = 0.0L;
    const std::size_t count = ReadDigits(p, digits);
    if (count == 0) return {false, 0};
    value *= RealPower(10.0L, negative ? -digits : digits);
    Kind = ekNone;
    return {true, p + count - pos};
}

// Function calls win over phasors of the same name; phasor names shadow e, j and pi.
TResult TParser::ParseIdentifier(std::size_t pos) {
    std::size_t p = pos;
    while (IsIdentChar(p))
        ++p;
    const std::string_view name = Text.substr(pos, p - pos);
    const std::size_t afterName = p;
    p = SkipBlanks(p);
    if (Ch(p) == '(') {
        const int code = FunctionCode(name);
        if (code >= 24) {
            RecordError(ekUnknownFunction, afterName);
            return {false, 0};
        }
        const TResult argument = ParseParenthesis(p);
        if (!argument.Ok) {
            RecordError(ekUnknownPhasor, afterName);
            return {false, 0};
        }
        p += argument.Len;
        Emit({opCall, static_cast<std::uint8_t>(code)}, p);
        Kind = ekNone;
        return {true, p - pos};
    }
    const int index = FindPhasor(name);
    if (index >= 0) {
        const auto i = static_cast<std::uint32_t>(index);
        Emit({opPhasor, static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 8),
              static_cast<std::uint8_t>(i >> 16), static_cast<std::uint8_t>(i >> 24)},
             p);
    } else if (name == "e") {
        Emit({opBuiltin, biE}, p);
    } else if (name == "j") {
        Emit({opBuiltin, biJ}, p);
    } else if (name == "pi") {
        Emit({opBuiltin, biPi}, p);
    } else {
        RecordError(ekUnknownPhasor, afterName);
        return {false, 0};
    }
    Kind = ekNone;
    return {true, p - pos};
}

std::int32_t ClampPos(std::size_t pos) {
    constexpr auto max = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(pos < max ? pos : max);
}

Expression TParser::Run() {
    Out.Code.reserve(64);
    const TResult sum = ParseSum(0);
    Out.Failed = !(sum.Ok && sum.Len == Text.size());
    if (Out.Failed) {
        if (Kind == ekNone && sum.Len != Text.size()) {
            Out.ErrorKind = ekOperatorExpected;
            Out.ErrorPos = ClampPos(sum.Len);
        } else {
            Out.ErrorKind = Kind;
            Out.ErrorPos = ClampPos(ErrorPointer);
        }
    } else if (CodeFull) {
        // Only an over-long text gets here; it is not one expression this program can hold.
        Out.Failed = true;
        Out.ErrorKind = ekIncomplete;
        Out.ErrorPos = ClampPos(CodeFullPos);
    }
    Out.Code.push_back(opEnd);
    return std::move(Out);
}

}  // namespace

Expression Parse(std::string_view text, const TPhasorArray& phasors) {
    return TParser(text, phasors).Run();
}

Expression Parse(std::string_view text, const TPhasorNames& names) {
    return TParser(text, names).Run();
}

std::string SyntaxErrorText(std::int32_t errorPos, std::uint8_t errorKind) {
    static constexpr std::array<const char*, 7> Messages = {
        "",
        "\")\" oder Operator erwartet",
        "Unbekannter Zeiger",
        "Ungültige Zahl"_cp,
        "Unvollständiger Ausdruck"_cp,
        "Operator erwartet",
        "Unbekannte Funktion",
    };
    if (errorKind == ekNone || errorKind >= Messages.size()) return "Unbekannter Fehler";
    char digits[16];
    const auto res = std::to_chars(digits, digits + sizeof digits, errorPos);
    return "Syntaxfehler (" + std::string(digits, res.ptr) + "): " + Messages[errorKind];
}

int FunctionCode(std::string_view name) {
    static constexpr std::array<std::string_view, 24> Names = {
        "sin", "cos",   "tan",   "cot",   "arcsin",    "arccos", "arctan", "arccot",
        "ln",  "lb",    "log",   "angle", "exp",       "sqrt",   "sqr",    "sign",
        "abs", "round", "floor", "ceil",  "heaviside", "re",     "im",     "conj",
    };
    for (std::size_t i = 0; i < Names.size(); ++i)
        if (Names[i] == name) return static_cast<int>(i);
    return static_cast<int>(Names.size());
}

}  // namespace zeigora
