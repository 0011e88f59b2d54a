#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "parser/complexParser.h"
#include "phasors/phasor.h"

namespace zeigora {
namespace {

// Rows print as their escaped expression, in ASCII.
template <typename Row>
requires requires(const Row& r) {
    r.text;
}
void PrintTo(const Row& row, std::ostream* os) {
    *os << ::testing::PrintToString(row.text);
}

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

constexpr long double PiL = 3.14159265358979323846264338327950288L;

struct CodeCase {
    std::string text;
    Bytes code;  // without the final opEnd
    Consts constants;
};

class ParseCode : public ::testing::TestWithParam<CodeCase> {};

TEST_P(ParseCode, EmitsPostfixCodeAndConstants) {
    const CodeCase& c = GetParam();
    const Expression e = Parse(c.text, WorkedList());
    EXPECT_FALSE(e.Failed);
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

const CodeCase WorkedResultsCodes[] = {{"2j", {CST(0), BI(biJ), opMul}, {2}},
                                       {"2e", {CST(0), PH(2), opMul}, {2}},
                                       {"2e3", {CST(0)}, {2000}},
                                       {"2e - 3", {CST(0), PH(2), opMul, CST(1), opSub}, {2, 3}},
                                       {"2,5", {CST(0)}, {2.5L}},
                                       {"2.5", {CST(0)}, {2.5L}},
                                       {"sin 1", {PH(3), BI(biOne), opMul}, {}},
                                       {"-2^2", {CST(0), CST(0), opPow, opNeg}, {2}},
                                       {"1+2j", {BI(biOne), CST(0), BI(biJ), opMul, opAdd}, {2}}};
INSTANTIATE_TEST_SUITE_P(WorkedResults, ParseCode, ::testing::ValuesIn(WorkedResultsCodes));

const CodeCase GrammarCodes[] = {{"  1 +  2 ", {BI(biOne), CST(0), opAdd}, {2}},
                                 {"2^-1", {CST(0), BI(biOne), opNeg, opPow}, {2}},
                                 {"2^3^2", {CST(0), CST(1), CST(0), opPow, opPow}, {2, 3}},
                                 {"--2", {CST(0), opNeg, opNeg}, {2}},
                                 {"2 -3", {CST(0), CST(1), opSub}, {2, 3}},
                                 {"2 3", {CST(0), CST(1), opMul}, {2, 3}},
                                 {"6/2/3", {CST(0), CST(1), opDiv, CST(2), opDiv}, {6, 2, 3}},
                                 {"2(1+j)", {CST(0), BI(biOne), BI(biJ), opAdd, opMul}, {2}},
                                 {"sin(pi)", {BI(biPi), opCall, 0}, {}},
                                 {"sin(1,2)", {CST(0), opCall, 0}, {1.0L + 2.0L / 10.0L}},
                                 {"2e 3", {CST(0), PH(2), opMul, CST(1), opMul}, {2, 3}},
                                 {"conj(j)", {BI(biJ), opCall, 23}, {}},
                                 {"cot(1)", {BI(biOne), opCall, 3}, {}},
                                 {"0,0e5", {BI(biZero)}, {}},
                                 {"10e-1", {BI(biOne)}, {}},
                                 {"3.5e-2", {CST(0)}, {3.5L * (1.0L / 100.0L)}},
                                 {"2e+3", {CST(0)}, {2000}}};
INSTANTIATE_TEST_SUITE_P(Grammar, ParseCode, ::testing::ValuesIn(GrammarCodes));

const CodeCase DegreeSignCodes[] = {{"90\xB0", {CST(0)}, {90 * PiL / 180}},
                                    {"1e3\xB0", {CST(0)}, {1000 * PiL / 180}},
                                    {"3.5e-2\xB0", {CST(0)}, {3.5L * (1.0L / 100.0L) * PiL / 180}}};
INSTANTIATE_TEST_SUITE_P(DegreeSign, ParseCode, ::testing::ValuesIn(DegreeSignCodes));

struct ErrorCase {
    std::string text;
    std::int32_t pos;
    std::uint8_t kind;
};

const std::string Incomplete = "Unvollst\xE4ndiger Ausdruck";

class ParseError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ParseError, ReportsPositionKindAndMessage) {
    const ErrorCase& c = GetParam();
    const Expression e = Parse(c.text, WorkedList());
    EXPECT_TRUE(e.Failed);
    EXPECT_EQ(e.ErrorPos, c.pos);
    EXPECT_EQ(e.ErrorKind, c.kind);
    const std::map<std::uint8_t, std::string> messages = {
        {ekIncomplete, Incomplete},
        {ekParenExpected, "\")\" oder Operator erwartet"},
        {ekInvalidNumber, "Ung\xFCltige Zahl"},
        {ekUnknownPhasor, "Unbekannter Zeiger"},
        {ekUnknownFunction, "Unbekannte Funktion"},
        {ekOperatorExpected, "Operator erwartet"}};
    EXPECT_EQ(SyntaxErrorText(e.ErrorPos, e.ErrorKind),
              "Syntaxfehler (" + std::to_string(c.pos) + "): " + messages.at(c.kind));
    ASSERT_FALSE(e.Code.empty());
    EXPECT_EQ(e.Code.back(), opEnd);
}

const ErrorCase WorkedResultsErrors[] = {
    {"", 0, ekIncomplete},        {"*2", 0, ekIncomplete},     {"2+", 2, ekIncomplete},
    {"2)", 1, ekIncomplete},      {"(2 ", 3, ekParenExpected}, {"2 ,5", 1, ekInvalidNumber},
    {"2.", 2, ekInvalidNumber},   {"j2", 2, ekUnknownPhasor},  {"Sin(1)", 3, ekUnknownFunction},
    {"2 e3", 4, ekUnknownPhasor}, {"pi\xB0", 2, ekIncomplete}};
INSTANTIATE_TEST_SUITE_P(WorkedResults, ParseError, ::testing::ValuesIn(WorkedResultsErrors));

const ErrorCase EdgeCasesErrors[] = {{std::string("1\0", 2), 1, ekOperatorExpected},
                                     {"(2))", 3, ekIncomplete},
                                     {"e(2)", 1, ekUnknownFunction},
                                     {"Zeiger1 (1+j)", 7, ekUnknownFunction},
                                     {"2E", 2, ekUnknownPhasor},
                                     {"Pi", 2, ekUnknownPhasor},
                                     {"pi2", 3, ekUnknownPhasor},
                                     {"2 .5", 1, ekInvalidNumber},
                                     {"1,234.5", 5, ekIncomplete},
                                     {"sin(1, 2)", 6, ekInvalidNumber},
                                     {"2+\xE4", 2, ekIncomplete},
                                     {"Zeiger1_", 7, ekIncomplete},
                                     {"\t1", 0, ekIncomplete},
                                     {"sin(1", 5, ekParenExpected}};
INSTANTIATE_TEST_SUITE_P(EdgeCases, ParseError, ::testing::ValuesIn(EdgeCasesErrors));

TEST(ParseNames, FunctionsPhasorsAndTheirPrecedence) {
    EXPECT_EQ(SyntaxErrorText(5, ekNone), "Unbekannter Fehler");  // unknown kinds, no position
    const std::vector<std::string> names = {
        "sin", "cos",   "tan",   "cot",   "arcsin",    "arccos", "arctan", "arccot",
        "ln",  "lb",    "log",   "angle", "exp",       "sqrt",   "sqr",    "sign",
        "abs", "round", "floor", "ceil",  "heaviside", "re",     "im",     "conj"};
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(FunctionCode(names[i]), static_cast<int>(i)) << names[i];
    for (const char* unknown : {"Sin", "sinus", ""})
        EXPECT_EQ(FunctionCode(unknown), 24) << unknown;

    // Phasors shadow constants, and the first of equal names wins.
    TPhasorArray list = ListOf({"j", "pi", "A", "A", "sin"});
    EXPECT_EQ(Parse("j", list).Code, (Bytes{PH(0), opEnd}));
    EXPECT_EQ(Parse("pi", list).Code, (Bytes{PH(1), opEnd}));
    EXPECT_EQ(Parse("A", list).Code, (Bytes{PH(2), opEnd}));
    EXPECT_EQ(Parse("sin(1)", list).Code, (Bytes{BI(biOne), opCall, 0, opEnd}));
    for (int i = 5; i < 300; ++i)
        AppendPhasor(list);
    list[299].Name = "P299";  // beyond index 255 the operand is wider than a byte
    EXPECT_EQ(Parse("P299", list).Code, (Bytes{opPhasor, 0x2B, 0x01, 0, 0, opEnd}));
}

std::string SumOfLiterals(int first, int last) {
    std::string s = std::to_string(first);
    for (int v = first + 1; v <= last; ++v)
        s += "+" + std::to_string(v);
    return s;
}

TEST(ParseLimits, LiteralsNestingAndCodeArea) {
    const Expression huge = Parse("1e99999", WorkedList());
    ASSERT_FALSE(huge.Failed);
    ASSERT_EQ(huge.Constants.size(), 1u);
    EXPECT_TRUE(std::isinf(huge.Constants[0]));

    // At 256 distinct literals the next one is rejected.
    const Expression full = Parse(SumOfLiterals(2, 257), WorkedList());
    EXPECT_FALSE(full.Failed);
    EXPECT_EQ(full.Constants.size(), 256u);
    const std::string text = SumOfLiterals(2, 258);
    const Expression over = Parse(text, WorkedList());
    EXPECT_TRUE(over.Failed);
    EXPECT_EQ(over.ErrorKind, ekInvalidNumber);
    EXPECT_EQ(over.ErrorPos, static_cast<std::int32_t>(text.size() - 3));

    // Deep nesting fails without exhausting the stack.
    EXPECT_FALSE(Parse(std::string(127, '(') + "1" + std::string(127, ')'), WorkedList()).Failed);
    const Expression deep =
        Parse(std::string(100000, '(') + "1" + std::string(100000, ')'), WorkedList());
    EXPECT_TRUE(deep.Failed);
    EXPECT_EQ(deep.ErrorKind, ekIncomplete);
    EXPECT_EQ(deep.ErrorPos, 300);
    EXPECT_TRUE(Parse(std::string(100000, '-') + "1", WorkedList()).Failed);

    std::string js;  // the code never exceeds its area
    for (int i = 0; i < 12000; ++i)
        js += "j ";
    const Expression e = Parse(js, WorkedList());
    EXPECT_TRUE(e.Failed);
    EXPECT_EQ(e.ErrorKind, ekIncomplete);
    EXPECT_LE(e.Code.size(), MaxCodeLength);
    EXPECT_EQ(e.Code.back(), opEnd);
}

}  // namespace
}  // namespace zeigora
