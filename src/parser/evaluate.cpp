// Evaluation of postfix code on a fixed stack of complex values, and the dependency list of an
// expression. Arithmetic never raises (floating-point exceptions are masked); only malformed
// code, references beyond the list and unimplemented functions do.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "parser/complexParser.h"

namespace zeigora {

namespace {

constexpr const char* MsgSyntax = "EvalExpr: Syntax error";
constexpr const char* MsgArguments = "EvalExpr: Not enough arguments.";
constexpr const char* MsgNotImplemented = "Not yet Implemented.";
constexpr const char* MsgOverflow = "EvalExpr: Stack overflow.";

constexpr std::size_t StackSize = 256;

// Reads the code defensively: a successful parse always yields well-formed code, but an
// Expression is a plain value that callers may have assembled themselves.
class TCodeReader {
  public:
    explicit TCodeReader(const std::vector<std::uint8_t>& code) : Code(code) {}

    std::uint8_t Byte() {
        if (Pos >= Code.size()) return opEnd;
        return Code[Pos++];
    }
    std::uint8_t Operand() {
        if (Pos >= Code.size()) throw EvalError(MsgArguments);
        return Code[Pos++];
    }
    std::uint32_t PhasorIndex() {
        std::uint32_t index = 0;
        for (int shift = 0; shift < 32; shift += 8)
            index |= static_cast<std::uint32_t>(Operand()) << shift;
        return index;
    }

  private:
    const std::vector<std::uint8_t>& Code;
    std::size_t Pos = 0;
};

TComplex Builtin(std::uint8_t which) {
    switch (which) {
        case biPi:
            return MakeComplex(static_cast<double>(PiL), 0.0);
        case biE:
            return MakeComplex(std::exp(1.0), 0.0);
        case biJ:
            return MakeComplex(0.0, 1.0);
        case biOne:
            return MakeComplex(1.0, 0.0);
        case biZero:
            return MakeComplex(0.0, 0.0);
        default:
            throw EvalError(MsgSyntax);
    }
}

// In (-pi, pi]: a zero imaginary part counts as +0, so every point of the negative real axis
// gives +pi, also -1 (negated, its Im is -0), where atan2 alone gives -pi.
double Angle(const TComplex& z) {
    return std::atan2(z.Im == 0.0 ? 0.0 : z.Im, z.Re);
}

TComplex Magnitude(const TComplex& z) {
    const long double re = z.Re;
    const long double im = z.Im;
    return MakeComplex(static_cast<double>(std::sqrt(re * re + im * im)), 0.0);
}

TComplex CallFunction(int code, const TComplex& z) {
    switch (code) {
        case 0:
            return ComplexSin(z);
        case 1:
            return ComplexCos(z);
        case 2:
            return ComplexDiv(ComplexSin(z), ComplexCos(z));
        case 8:
            return ComplexLn(z);
        case 11:  // principal angle from Re and Im, unlike the stored Phase in [0, 2 pi)
            return MakeComplex(Angle(z), 0.0);
        case 12:
            return ComplexExp(z);
        case 13:
            return ComplexRoot(z, 2);
        case 14:
            return ComplexPower(z, MakeComplex(2.0, 0.0));
        case 16:
            return Magnitude(z);
        case 21:
            return MakeComplex(z.Re, 0.0);
        case 22:  // purely imaginary, so that re(z) + im(z) = z
            return MakeComplex(0.0, z.Im);
        case 23:
            return Conjugate(z);
        default:
            throw EvalError(MsgNotImplemented);
    }
}

TComplex Binary(std::uint8_t op, const TComplex& a, const TComplex& b) {
    switch (op) {
        case opAdd:
            return ComplexAdd(a, b);
        case opSub:
            return ComplexSub(a, b);
        case opMul:
            return ComplexMul(a, b);
        case opDiv:
            return ComplexDiv(a, b);
        default:
            return ComplexPower(a, b);
    }
}

class TStack {
  public:
    void Push(const TComplex& z) {
        if (Count >= StackSize) throw EvalError(MsgOverflow);
        Items[Count++] = z;
    }
    TComplex Pop() {
        if (Count == 0) throw EvalError(MsgArguments);
        return Items[--Count];
    }

  private:
    TComplex Items[StackSize];
    std::size_t Count = 0;
};

// valueOf(index) gives the value of the phasor at index, or throws for one beyond the list.
template <typename TValueOf>
TComplex Evaluate(const Expression& expr, const TValueOf& valueOf) {
    if (expr.Failed) throw EvalError(MsgSyntax);
    TStack stack;
    TCodeReader code(expr.Code);
    for (std::uint8_t op = code.Byte(); op != opEnd; op = code.Byte()) {
        switch (op) {
            case opPhasor:
                stack.Push(valueOf(code.PhasorIndex()));  // as stored, NaN included
                break;
            case opConst: {
                const std::uint8_t index = code.Operand();
                if (index >= expr.Constants.size()) throw EvalError(MsgArguments);
                stack.Push(MakeComplex(static_cast<double>(expr.Constants[index]), 0.0));
                break;
            }
            case opBuiltin:
                stack.Push(Builtin(code.Operand()));
                break;
            case opAdd:
            case opSub:
            case opMul:
            case opDiv:
            case opPow: {
                const TComplex b = stack.Pop();
                const TComplex a = stack.Pop();
                stack.Push(Binary(op, a, b));
                break;
            }
            case opNeg:
                stack.Push(ComplexNeg(stack.Pop()));
                break;
            case opCall: {
                const int function = code.Operand();
                stack.Push(CallFunction(function, stack.Pop()));
                break;
            }
            default:
                throw EvalError(MsgSyntax);
        }
    }
    return stack.Pop();
}

}  // namespace

TComplex EvalExpr(const Expression& expr, const TPhasorArray& phasors) {
    return Evaluate(expr, [&phasors](std::uint32_t index) -> const TComplex& {
        if (index >= phasors.size()) throw EvalError(MsgArguments);
        return phasors[index].Value;
    });
}

TComplex EvalExprOnValues(const Expression& expr, std::span<const TComplex> values) {
    return Evaluate(expr, [values](std::uint32_t index) -> const TComplex& {
        if (index >= values.size()) throw EvalError(MsgArguments);
        return values[index];
    });
}

// Collected and sorted rather than marked in an array as long as the list: a definition names
// a handful of phasors, while the list may hold a hundred thousand.
std::vector<int> ExpressionDependencies(const Expression& expr, const TPhasorArray& phasors) {
    std::vector<int> result;
    TCodeReader code(expr.Code);
    for (std::uint8_t op = code.Byte(); op != opEnd; op = code.Byte()) {
        if (op == opPhasor) {
            const std::uint32_t index = code.PhasorIndex();
            if (index >= phasors.size()) throw EvalError(MsgArguments);
            result.push_back(static_cast<int>(index));
        } else if (op == opConst || op == opBuiltin || op == opCall) {
            code.Operand();
        }
    }
    std::sort(result.begin(), result.end());
    result.erase(std::unique(result.begin(), result.end()), result.end());
    return result;
}

}  // namespace zeigora
