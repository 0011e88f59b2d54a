#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "parser/complexParser.h"
#include "parser/printexpr.h"
#include "phasors/phasor.h"

namespace zeigora {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Consts = std::vector<long double>;

TPhasorArray ListOf(const std::vector<std::string>& names) {
    TPhasorArray list;
    for (const std::string& n : names) {
        AppendPhasor(list);
        list.back().Name = n;
    }
    return list;
}

// The list of the worked results: 'e' and 'sin' shadow a constant and a function name.
const TPhasorArray& WorkedList() {
    static const TPhasorArray list = ListOf({"Zeiger1", "Zeiger2", "e", "sin"});
    return list;
}

constexpr long double Deg = 3.14159265358979323846264338327950288L / 180.0L;

struct CodeCase {
    std::string text;
    Bytes code;  // without the final opEnd
    Consts constants;
};

void PrintTo(const CodeCase& c, std::ostream* os) {
    PrintExpression(c.text, os);
}

class ParseCode : public ::testing::TestWithParam<CodeCase> {};

TEST_P(ParseCode, EmitsPostfixCodeAndConstants) {
    const CodeCase& c = GetParam();
    const Expression e = Parse(c.text, WorkedList());
    EXPECT_FALSE(e.Failed);
    EXPECT_EQ(e.ErrorPos, -1);
    EXPECT_EQ(e.ErrorKind, ekNone);
    Bytes expected = c.code;
    expected.push_back(opEnd);
    EXPECT_EQ(e.Code, expected);
    ASSERT_EQ(e.Constants.size(), c.constants.size());
    for (std::size_t i = 0; i < c.constants.size(); ++i)
        EXPECT_EQ(e.Constants[i], c.constants[i]) << i;
}

// Phasor operands are four bytes, little-endian.
#define PH(i) opPhasor, i, 0, 0, 0
#define CST(i) opConst, i
#define BI(i) opBuiltin, i

INSTANTIATE_TEST_SUITE_P(
    WorkedResults, ParseCode,
    ::testing::Values(CodeCase{"2j", {CST(0), BI(biJ), opMul}, {2}},
                      CodeCase{"2e", {CST(0), PH(2), opMul}, {2}},
                      CodeCase{"2e3", {CST(0)}, {2000}},
                      CodeCase{"2e - 3", {CST(0), PH(2), opMul, CST(1), opSub}, {2, 3}},
                      CodeCase{"2,5", {CST(0)}, {2.5L}}, CodeCase{"2.5", {CST(0)}, {2.5L}},
                      CodeCase{"sin 1", {PH(3), BI(biOne), opMul}, {}},
                      CodeCase{"-2^2", {CST(0), CST(0), opPow, opNeg}, {2}},
                      CodeCase{"1+2j", {BI(biOne), CST(0), BI(biJ), opMul, opAdd}, {2}}));

INSTANTIATE_TEST_SUITE_P(
    Grammar, ParseCode,
    ::testing::Values(
        CodeCase{"  1 +  2 ", {BI(biOne), CST(0), opAdd}, {2}},
        CodeCase{"2^-1", {CST(0), BI(biOne), opNeg, opPow}, {2}},
        CodeCase{"2^3^2", {CST(0), CST(1), CST(0), opPow, opPow}, {2, 3}},
        CodeCase{"--2", {CST(0), opNeg, opNeg}, {2}}, CodeCase{"+-2", {CST(0), opNeg}, {2}},
        CodeCase{"2*-3", {CST(0), CST(1), opNeg, opMul}, {2, 3}},
        CodeCase{"2 -3", {CST(0), CST(1), opSub}, {2, 3}},
        CodeCase{"2 3", {CST(0), CST(1), opMul}, {2, 3}},
        CodeCase{"2pi", {CST(0), BI(biPi), opMul}, {2}},
        CodeCase{"6/2/3", {CST(0), CST(1), opDiv, CST(2), opDiv}, {6, 2, 3}},
        CodeCase{"(1+j)(1-j)", {BI(biOne), BI(biJ), opAdd, BI(biOne), BI(biJ), opSub, opMul}, {}},
        CodeCase{"Zeiger1 Zeiger2", {PH(0), PH(1), opMul}, {}},
        CodeCase{"2(1+j)", {CST(0), BI(biOne), BI(biJ), opAdd, opMul}, {2}},
        CodeCase{"Zeiger1*(1+j)", {PH(0), BI(biOne), BI(biJ), opAdd, opMul}, {}},
        CodeCase{"sin (pi)", {BI(biPi), opCall, 0}, {}},
        CodeCase{"sin(pi)", {BI(biPi), opCall, 0}, {}},
        CodeCase{"sin(1,2)", {CST(0), opCall, 0}, {1.0L + 2.0L / 10.0L}},
        CodeCase{"2e 3", {CST(0), PH(2), opMul, CST(1), opMul}, {2, 3}},
        CodeCase{"conj(j)", {BI(biJ), opCall, 23}, {}},
        CodeCase{"cot(1)", {BI(biOne), opCall, 3}, {}}, CodeCase{"pi", {BI(biPi)}, {}},
        CodeCase{"2+2", {CST(0), CST(0), opAdd}, {2}}, CodeCase{"0", {BI(biZero)}, {}},
        CodeCase{"1.0", {BI(biOne)}, {}}, CodeCase{"0,0e5", {BI(biZero)}, {}},
        CodeCase{"10e-1", {BI(biOne)}, {}}, CodeCase{"3.5e-2", {CST(0)}, {3.5L * (1.0L / 100.0L)}},
        CodeCase{"2E3", {CST(0)}, {2000}}, CodeCase{"2e+3", {CST(0)}, {2000}}));

INSTANTIATE_TEST_SUITE_P(
    DegreeSign, ParseCode,
    ::testing::Values(
        CodeCase{"90\xB0", {CST(0)}, {90 * 3.14159265358979323846264338327950288L / 180}},
        CodeCase{"90 \xB0", {CST(0)}, {90 * 3.14159265358979323846264338327950288L / 180}},
        CodeCase{"1e3\xB0", {CST(0)}, {1000 * 3.14159265358979323846264338327950288L / 180}},
        CodeCase{"1.5e2\xB0", {CST(0)}, {150 * 3.14159265358979323846264338327950288L / 180}},
        CodeCase{"3.5e-2\xB0",
                 {CST(0)},
                 {3.5L * (1.0L / 100.0L) * 3.14159265358979323846264338327950288L / 180}}));

struct ErrorCase {
    std::string text;
    std::int32_t pos;
    std::uint8_t kind;
    std::string message;
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    PrintExpression(c.text, os);
}

class ParseError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ParseError, ReportsPositionKindAndMessage) {
    const ErrorCase& c = GetParam();
    const Expression e = Parse(c.text, WorkedList());
    EXPECT_TRUE(e.Failed);
    EXPECT_EQ(e.ErrorPos, c.pos);
    EXPECT_EQ(e.ErrorKind, c.kind);
    EXPECT_EQ(SyntaxErrorText(e.ErrorPos, e.ErrorKind), c.message);
    ASSERT_FALSE(e.Code.empty());
    EXPECT_EQ(e.Code.back(), opEnd);
}

const std::string Incomplete = "Unvollst\xE4ndiger Ausdruck";

INSTANTIATE_TEST_SUITE_P(
    WorkedResults, ParseError,
    ::testing::Values(
        ErrorCase{"", 0, ekIncomplete, "Syntaxfehler (0): " + Incomplete},
        ErrorCase{"*2", 0, ekIncomplete, "Syntaxfehler (0): " + Incomplete},
        ErrorCase{"2+", 2, ekIncomplete, "Syntaxfehler (2): " + Incomplete},
        ErrorCase{"2)", 1, ekIncomplete, "Syntaxfehler (1): " + Incomplete},
        ErrorCase{"(2 ", 3, ekParenExpected, "Syntaxfehler (3): \")\" oder Operator erwartet"},
        ErrorCase{"2 ,5", 1, ekInvalidNumber, "Syntaxfehler (1): Ung\xFCltige Zahl"},
        ErrorCase{"2.", 2, ekInvalidNumber, "Syntaxfehler (2): Ung\xFCltige Zahl"},
        ErrorCase{"j2", 2, ekUnknownPhasor, "Syntaxfehler (2): Unbekannter Zeiger"},
        ErrorCase{"Sin(1)", 3, ekUnknownFunction, "Syntaxfehler (3): Unbekannte Funktion"},
        ErrorCase{"2 e3", 4, ekUnknownPhasor, "Syntaxfehler (4): Unbekannter Zeiger"},
        ErrorCase{"pi\xB0", 2, ekIncomplete, "Syntaxfehler (2): " + Incomplete}));

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, ParseError,
    ::testing::Values(
        ErrorCase{"2^", 2, ekIncomplete, "Syntaxfehler (2): " + Incomplete},
        ErrorCase{"(2))", 3, ekIncomplete, "Syntaxfehler (3): " + Incomplete},
        ErrorCase{"sinus(1)", 5, ekUnknownFunction, "Syntaxfehler (5): Unbekannte Funktion"},
        ErrorCase{"e(2)", 1, ekUnknownFunction, "Syntaxfehler (1): Unbekannte Funktion"},
        ErrorCase{"Zeiger1 (1+j)", 7, ekUnknownFunction, "Syntaxfehler (7): Unbekannte Funktion"},
        ErrorCase{"2E", 2, ekUnknownPhasor, "Syntaxfehler (2): Unbekannter Zeiger"},
        ErrorCase{"Pi", 2, ekUnknownPhasor, "Syntaxfehler (2): Unbekannter Zeiger"},
        ErrorCase{"J", 1, ekUnknownPhasor, "Syntaxfehler (1): Unbekannter Zeiger"},
        ErrorCase{"pi2", 3, ekUnknownPhasor, "Syntaxfehler (3): Unbekannter Zeiger"},
        ErrorCase{"2 .5", 1, ekInvalidNumber, "Syntaxfehler (1): Ung\xFCltige Zahl"},
        ErrorCase{"1,234.5", 5, ekIncomplete, "Syntaxfehler (5): " + Incomplete},
        ErrorCase{"sin(1, 2)", 6, ekInvalidNumber, "Syntaxfehler (6): Ung\xFCltige Zahl"},
        ErrorCase{"2+\xE4", 2, ekIncomplete, "Syntaxfehler (2): " + Incomplete},
        ErrorCase{"Zeiger1_", 7, ekIncomplete, "Syntaxfehler (7): " + Incomplete},
        ErrorCase{"2*$", 2, ekIncomplete, "Syntaxfehler (2): " + Incomplete},
        ErrorCase{"\t1", 0, ekIncomplete, "Syntaxfehler (0): " + Incomplete},
        ErrorCase{"(1+2", 4, ekParenExpected, "Syntaxfehler (4): \")\" oder Operator erwartet"},
        ErrorCase{"sin(1", 5, ekParenExpected, "Syntaxfehler (5): \")\" oder Operator erwartet"},
        ErrorCase{std::string("1\0", 2), 1, ekOperatorExpected,
                  "Syntaxfehler (1): Operator erwartet"}));

TEST(SyntaxErrorText, UnknownKindsHaveNoPosition) {
    EXPECT_EQ(SyntaxErrorText(5, ekNone), "Unbekannter Fehler");
    EXPECT_EQ(SyntaxErrorText(5, 7), "Unbekannter Fehler");
    EXPECT_EQ(SyntaxErrorText(12, ekIncomplete), "Syntaxfehler (12): " + Incomplete);
}

TEST(FunctionCode, KnowsTheTwentyFourNamesCaseSensitively) {
    const std::vector<std::string> names = {
        "sin", "cos",   "tan",   "cot",   "arcsin",    "arccos", "arctan", "arccot",
        "ln",  "lb",    "log",   "angle", "exp",       "sqrt",   "sqr",    "sign",
        "abs", "round", "floor", "ceil",  "heaviside", "re",     "im",     "conj"};
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(FunctionCode(names[i]), static_cast<int>(i)) << names[i];
    EXPECT_EQ(FunctionCode("Sin"), 24);
    EXPECT_EQ(FunctionCode("sinus"), 24);
    EXPECT_EQ(FunctionCode(""), 24);
}

TEST(ParseNames, PhasorsShadowConstantsAndTheFirstOfEqualNamesWins) {
    const TPhasorArray list = ListOf({"j", "pi", "A", "A", "sin"});
    EXPECT_EQ(Parse("j", list).Code, (Bytes{PH(0), opEnd}));
    EXPECT_EQ(Parse("pi", list).Code, (Bytes{PH(1), opEnd}));
    EXPECT_EQ(Parse("A", list).Code, (Bytes{PH(2), opEnd}));
    EXPECT_EQ(Parse("e", list).Code, (Bytes{BI(biE), opEnd}));
    EXPECT_EQ(Parse("sin(1)", list).Code, (Bytes{BI(biOne), opCall, 0, opEnd}));
}

TEST(ParseNames, ReferencesBeyondIndex255UseTheWideOperand) {
    std::vector<std::string> names;
    for (int i = 0; i < 300; ++i)
        names.push_back("P" + std::to_string(i));
    const Expression e = Parse("P299", ListOf(names));
    EXPECT_EQ(e.Code, (Bytes{opPhasor, 0x2B, 0x01, 0, 0, opEnd}));
}

TEST(ParseLimits, HugeLiteralBecomesInfinity) {
    const Expression e = Parse("1e99999", WorkedList());
    ASSERT_FALSE(e.Failed);
    ASSERT_EQ(e.Constants.size(), 1u);
    EXPECT_TRUE(std::isinf(e.Constants[0]));
}

std::string SumOfLiterals(int first, int last) {
    std::string s = std::to_string(first);
    for (int v = first + 1; v <= last; ++v)
        s += "+" + std::to_string(v);
    return s;
}

TEST(ParseLimits, At256DistinctLiteralsTheNextOneIsRejected) {
    const Expression full = Parse(SumOfLiterals(2, 257), WorkedList());
    EXPECT_FALSE(full.Failed);
    EXPECT_EQ(full.Constants.size(), 256u);

    const std::string text = SumOfLiterals(2, 258);
    const Expression over = Parse(text, WorkedList());
    EXPECT_TRUE(over.Failed);
    EXPECT_EQ(over.ErrorKind, ekInvalidNumber);
    EXPECT_EQ(over.ErrorPos, static_cast<std::int32_t>(text.size() - 3));
}

TEST(ParseLimits, DeepNestingFailsWithoutExhaustingTheStack) {
    const std::string ok = std::string(127, '(') + "1" + std::string(127, ')');
    EXPECT_FALSE(Parse(ok, WorkedList()).Failed);
    const std::string signs = std::string(254, '-') + "1";
    EXPECT_FALSE(Parse(signs, WorkedList()).Failed);

    const std::string deep = std::string(100000, '(') + "1" + std::string(100000, ')');
    const Expression e = Parse(deep, WorkedList());
    EXPECT_TRUE(e.Failed);
    EXPECT_EQ(e.ErrorKind, ekIncomplete);
    EXPECT_EQ(e.ErrorPos, 300);
    EXPECT_TRUE(Parse(std::string(100000, '-') + "1", WorkedList()).Failed);
}

TEST(ParseLimits, CodeNeverExceedsItsArea) {
    std::string text;
    for (int i = 0; i < 12000; ++i)
        text += "j ";
    const Expression e = Parse(text, WorkedList());
    EXPECT_TRUE(e.Failed);
    EXPECT_EQ(e.ErrorKind, ekIncomplete);
    EXPECT_LE(e.Code.size(), MaxCodeLength);
    EXPECT_EQ(e.Code.back(), opEnd);
}

}  // namespace
}  // namespace zeigora
