#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "parser/complexParser.h"
#include "phasors/phasor.h"

namespace zeigora {
namespace {

constexpr double Pi = 3.14159265358979323846;

TPhasorArray TwoPhasors() {
    TPhasorArray list;
    AppendPhasor(list);
    list[0].Name = "Zeiger1";
    list[0].Value = MakeComplex(3, 4);
    AppendPhasor(list);
    list[1].Name = "Zeiger2";
    list[1].Value = MakeComplex(-1, 0);
    return list;
}

TComplex Eval(const std::string& text) {
    const TPhasorArray list = TwoPhasors();
    const Expression e = Parse(text, list);
    EXPECT_FALSE(e.Failed) << text;
    return EvalExpr(e, list);
}

// The message of the EvalError the call throws.
template <typename F>
std::string ErrorOf(F call) {
    try {
        call();
    } catch (const EvalError& err) {
        return err.what();
    }
    return "(no error)";
}

std::string EvalFailure(const std::string& text) {
    const TPhasorArray list = TwoPhasors();
    return ErrorOf([&] { EvalExpr(Parse(text, list), list); });
}

struct ValueCase {
    std::string text;
    double re, im;
};

void PrintTo(const ValueCase& c, std::ostream* os) {  // the expression, escaped to ASCII
    *os << ::testing::PrintToString(c.text);
}

class EvalValue : public ::testing::TestWithParam<ValueCase> {};

TEST_P(EvalValue, MatchesWithinRounding) {
    const ValueCase& c = GetParam();
    const TComplex z = Eval(c.text);
    EXPECT_NEAR(z.Re, c.re, 1e-12) << c.text;
    EXPECT_NEAR(z.Im, c.im, 1e-12) << c.text;
    // Both forms stay consistent.
    EXPECT_NEAR(z.Abs, std::hypot(c.re, c.im), 1e-12) << c.text;
}

const double R2 = 1 / std::sqrt(2.0);

const ValueCase Values[] = {
    {"ln(-j)", 0, 3 * Pi / 2}, {"sqrt(-j)", -R2, R2},         {"(-8)^(1/3)", 1, std::sqrt(3.0)},
    {"abs(3+4j)", 5, 0},       {"conj(1+2j)", 1, -2},         {"j^j", std::exp(-Pi / 2), 0},
    {"sin(pi/2)", 1, 0},       {"cos(j)", std::cosh(1.0), 0}, {"1e3\xB0", 1000 * Pi / 180, 0}};
INSTANTIATE_TEST_SUITE_P(Functions, EvalValue, ::testing::ValuesIn(Values));

TEST(EvalExpr, ExactConstantsAndPolarRounding) {
    EXPECT_LT(Eval("e^(j*pi)+1").Abs, 1e-15);
    EXPECT_EQ(Eval("pi").Re, Pi);  // builtins are double constants
    const TComplex j = Eval("j");
    EXPECT_EQ(j.Im, 1.0);
    EXPECT_EQ(j.Phase, Pi / 2);
    EXPECT_EQ(Eval("angle(-j)").Re, -Pi / 2);
    // The whole negative real axis is +pi, whatever the sign of its zero imaginary part.
    for (const char* text :
         {"angle(-1)", "angle(0-1)", "angle(-2.5)", "angle(Zeiger2)", "angle(conj(-1))"})
        EXPECT_EQ(Eval(text).Re, Pi) << text;
    EXPECT_EQ(Eval("-j").Phase, 3 * Pi / 2);

    TPhasorArray list = TwoPhasors();
    list[0].Value = TComplex{1, 2, 7, 9};  // inconsistent on purpose: pushed as stored
    const TComplex z = EvalExpr(Parse("Zeiger1", list), list);
    EXPECT_EQ(std::memcmp(&z, &list[0].Value, sizeof z), 0);
}

TEST(EvalExpr, NonFiniteResultsAreValuesNotErrors) {
    for (const char* text : {"sqr(0)", "0^2", "0/0"}) {
        const TComplex z = Eval(text);
        EXPECT_TRUE(std::isnan(z.Re) && std::isnan(z.Im)) << text;
    }
    EXPECT_TRUE(std::isinf(Eval("ln(0)").Re));  // the exact forms are the complex functions'
    EXPECT_TRUE(std::isinf(Eval("1/0").Re));
}

TEST(EvalExpr, Failures) {
    // Every name parses (the function table is pinned by the parser tests); the unimplemented
    // ones share one refusal.
    for (const char* name : {"cot", "heaviside"}) {
        const std::string text = std::string(name) + "(1)";  // fails only when evaluated
        EXPECT_FALSE(Parse(text, TwoPhasors()).Failed) << text;
        EXPECT_EQ(EvalFailure(text), "Not yet Implemented.") << text;
    }
    EXPECT_EQ(EvalFailure("2+"), "EvalExpr: Syntax error");
    std::string deep;
    for (int i = 0; i < 260; ++i)
        deep += "2+(";
    EXPECT_EQ(EvalFailure(deep + "2" + std::string(260, ')')), "EvalExpr: Stack overflow.");

    // A reference beyond a shortened list.
    TPhasorArray list = TwoPhasors();
    const Expression e = Parse("Zeiger1+Zeiger2", list);
    DeletePhasorAt(list, 1);
    const std::string notEnough = "EvalExpr: Not enough arguments.";
    EXPECT_EQ(ErrorOf([&] { EvalExpr(e, list); }), notEnough);
    EXPECT_EQ(ErrorOf([&] { ExpressionDependencies(e, list); }), notEnough);
}

TEST(ExpressionDependencies, DistinctAndAscending) {
    const TPhasorArray list = TwoPhasors();
    EXPECT_EQ(ExpressionDependencies(Parse("Zeiger2+Zeiger1*Zeiger2", list), list),
              (std::vector<int>{0, 1}));
    EXPECT_EQ(ExpressionDependencies(Parse("sin(2)+pi", list), list), std::vector<int>{});
}

}  // namespace
}  // namespace zeigora
