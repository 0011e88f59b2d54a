#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "parser/complexParser.h"
#include "parser/printexpr.h"
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

std::string EvalFailure(const std::string& text) {
    const TPhasorArray list = TwoPhasors();
    try {
        EvalExpr(Parse(text, list), list);
    } catch (const EvalError& err) {
        return err.what();
    }
    return "(no error)";
}

struct ValueCase {
    std::string text;
    double re, im;
};

void PrintTo(const ValueCase& c, std::ostream* os) {
    PrintExpression(c.text, os);
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

INSTANTIATE_TEST_SUITE_P(
    Functions, EvalValue,
    ::testing::Values(ValueCase{"ln(-j)", 0, 3 * Pi / 2}, ValueCase{"sqrt(-j)", -R2, R2},
                      ValueCase{"(-8)^(1/3)", 1, std::sqrt(3.0)},
                      ValueCase{"angle(-j)", -Pi / 2, 0}, ValueCase{"im(1+2j)", 0, 2},
                      ValueCase{"re(1+2j)", 1, 0}, ValueCase{"abs(3+4j)", 5, 0},
                      ValueCase{"conj(1+2j)", 1, -2}, ValueCase{"j^j", std::exp(-Pi / 2), 0},
                      ValueCase{"sin(pi/2)", 1, 0}, ValueCase{"cos(j)", std::cosh(1.0), 0},
                      ValueCase{"tan(pi/4)", 1, 0}, ValueCase{"exp(1)", std::exp(1.0), 0},
                      ValueCase{"sqr(3)", 9, 0}, ValueCase{"sqrt(0)", 0, 0}, ValueCase{"0*j", 0, 0},
                      ValueCase{"j*j", -1, 0}, ValueCase{"Zeiger1*Zeiger2", -3, -4},
                      ValueCase{"Zeiger1-Zeiger2", 4, 4}, ValueCase{"2^-2", 0.25, 0},
                      ValueCase{"-2^2", -4, 0}, ValueCase{"2^3^2", 512, 0},
                      ValueCase{"90\xB0", Pi / 2, 0}, ValueCase{"1e3\xB0", 1000 * Pi / 180, 0}));

TEST(EvalExpr, EulerIdentityIsTiny) {
    EXPECT_LT(Eval("e^(j*pi)+1").Abs, 1e-15);
}

TEST(EvalExpr, PolarProductsCarryRoundingInIm) {
    const TComplex z = Eval("j*j");
    EXPECT_EQ(z.Re, -1.0);
    EXPECT_NE(z.Im, 0.0);
    EXPECT_LT(std::fabs(z.Im), 1e-15);
}

TEST(EvalExpr, BuiltinsAreDoubleConstants) {
    EXPECT_EQ(Eval("pi").Re, Pi);
    EXPECT_EQ(Eval("e").Re, std::exp(1.0));
    const TComplex j = Eval("j");
    EXPECT_EQ(j.Im, 1.0);
    EXPECT_EQ(j.Phase, Pi / 2);
    const TComplex angle = Eval("angle(-j)");
    EXPECT_EQ(angle.Re, -Pi / 2);
    EXPECT_EQ(Eval("-j").Phase, 3 * Pi / 2);
}

TEST(EvalExpr, NonFiniteResultsAreValuesNotErrors) {
    const TComplex ln0 = Eval("ln(0)");
    EXPECT_TRUE(std::isinf(ln0.Re) && ln0.Re < 0);
    EXPECT_EQ(ln0.Im, 0.0);
    for (const char* text : {"sqr(0)", "0^2"}) {
        const TComplex z = Eval(text);
        EXPECT_TRUE(std::isnan(z.Re) && std::isnan(z.Im)) << text;
    }
    const TComplex inv = Eval("1/0");
    EXPECT_TRUE(std::isinf(inv.Re));
    EXPECT_TRUE(std::isnan(inv.Im));
    const TComplex nan = Eval("0/0");
    EXPECT_TRUE(std::isnan(nan.Re) && std::isnan(nan.Im) && std::isnan(nan.Abs));
}

TEST(EvalExpr, PhasorValuesArePushedAsStored) {
    TPhasorArray list = TwoPhasors();
    list[0].Value = TComplex{1, 2, 7, 9};  // inconsistent on purpose: no recomputation
    const TComplex z = EvalExpr(Parse("Zeiger1", list), list);
    EXPECT_EQ(std::memcmp(&z, &list[0].Value, sizeof z), 0);
}

TEST(EvalExpr, UnimplementedFunctionsFailOnlyWhenEvaluated) {
    for (const char* name : {"cot", "arcsin", "arccos", "arctan", "arccot", "lb", "log", "sign",
                             "round", "floor", "ceil", "heaviside"}) {
        const std::string text = std::string(name) + "(1)";
        EXPECT_FALSE(Parse(text, TwoPhasors()).Failed) << text;
        EXPECT_EQ(EvalFailure(text), "Not yet Implemented.") << text;
    }
}

TEST(EvalExpr, FailedExpressionIsASyntaxError) {
    EXPECT_EQ(EvalFailure("2+"), "EvalExpr: Syntax error");
}

TEST(EvalExpr, ReferenceBeyondAShortenedList) {
    TPhasorArray list = TwoPhasors();
    const Expression e = Parse("Zeiger1+Zeiger2", list);
    DeletePhasorAt(list, 1);
    try {
        EvalExpr(e, list);
        FAIL() << "no error";
    } catch (const EvalError& err) {
        EXPECT_STREQ(err.what(), "EvalExpr: Not enough arguments.");
    }
    try {
        ExpressionDependencies(e, list);
        FAIL() << "no error";
    } catch (const EvalError& err) {
        EXPECT_STREQ(err.what(), "EvalExpr: Not enough arguments.");
    }
}

TEST(EvalExpr, DeeperThanTheStackIsRejected) {
    std::string text;
    for (int i = 0; i < 260; ++i)
        text += "2+(";
    text += "2" + std::string(260, ')');
    EXPECT_EQ(EvalFailure(text), "EvalExpr: Stack overflow.");
}

TEST(ExpressionDependencies, DistinctAndAscending) {
    const TPhasorArray list = TwoPhasors();
    EXPECT_EQ(ExpressionDependencies(Parse("Zeiger2+Zeiger1*Zeiger2", list), list),
              (std::vector<int>{0, 1}));
    EXPECT_EQ(ExpressionDependencies(Parse("sin(2)+pi", list), list), std::vector<int>{});

    TPhasorArray many;
    for (int i = 0; i < 300; ++i) {
        AppendPhasor(many);
        many.back().Name = "P" + std::to_string(i);
    }
    EXPECT_EQ(ExpressionDependencies(Parse("P299-P7+P299", many), many),
              (std::vector<int>{7, 299}));
}

}  // namespace
}  // namespace zeigora
