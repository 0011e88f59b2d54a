// Arbitrary bytes as a phasor definition: parsing never fails hard, a successful parse yields
// well-formed code (each operator finds its operands, exactly one value remains), and
// evaluating it raises nothing but "Not yet Implemented.".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "parser/complexParser.h"

namespace {

using namespace zeigora;

const TPhasorArray& Phasors() {
    static const TPhasorArray list = [] {
        TPhasorArray l;
        const char* names[] = {"Zeiger1", "Zeiger2", "e", "sin", "A"};
        for (const char* n : names) {
            AppendPhasor(l);
            l.back().Name = n;
        }
        l[1].Value = MakeComplex(0.0, 0.0);
        l[2].Value = MakeComplex(-1.0, 3.0);
        return l;
    }();
    return list;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

// Stack depth the code needs; aborts on an operator without operands or an unknown opcode.
void CheckCodeShape(const Expression& e) {
    int depth = 0;
    std::size_t i = 0;
    for (;;) {
        Check(i < e.Code.size());
        const std::uint8_t op = e.Code[i++];
        if (op == opEnd) break;
        switch (op) {
            case opPhasor:
                i += 4;
                ++depth;
                break;
            case opConst:
                Check(e.Code[i] < e.Constants.size());
                [[fallthrough]];
            case opBuiltin:
                ++i;
                ++depth;
                break;
            case opCall:
                ++i;
                Check(depth >= 1);
                break;
            case opNeg:
                Check(depth >= 1);
                break;
            default:
                Check(op >= opAdd && op <= opPow);
                Check(depth >= 2);
                --depth;
        }
        Check(depth <= 128);
    }
    Check(depth == 1);
    Check(i == e.Code.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size < 255 ? size : 255);
    const Expression e = Parse(text, Phasors());
    Check(!e.Code.empty() && e.Code.back() == opEnd && e.Code.size() <= MaxCodeLength);
    Check(e.Constants.size() <= 256);
    (void)SyntaxErrorText(e.ErrorPos, e.ErrorKind);
    if (e.Failed) {
        Check(e.ErrorPos >= 0 && e.ErrorPos <= static_cast<std::int32_t>(text.size()));
        return 0;
    }
    Check(e.ErrorPos == -1 && e.ErrorKind == ekNone);
    CheckCodeShape(e);
    const std::vector<int> deps = ExpressionDependencies(e, Phasors());
    for (std::size_t i = 1; i < deps.size(); ++i)
        Check(deps[i - 1] < deps[i]);
    try {
        (void)EvalExpr(e, Phasors());
    } catch (const EvalError& err) {
        Check(std::strcmp(err.what(), "Not yet Implemented.") == 0);
    }
    return 0;
}
