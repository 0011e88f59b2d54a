#include "complex/complex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zeigora {
namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Inf = std::numeric_limits<double>::infinity();

const TComplex J = MakeComplex(0, 1);

bool IsDefaultNaN(double x) {
    return std::isnan(x) && std::signbit(x);
}

struct PhaseCase {
    double Re, Im, Abs, Phase;
};

TEST(ComplexForms, MakeComplexKeepsPhaseInZeroToTwoPi) {
    const PhaseCase cases[] = {
        {0, -1, 1, 3 * Pi / 2},
        {-1, 0, 1, Pi},
        {0, 0, 0, 0},
        {1, -1, std::sqrt(2.0), 7 * Pi / 4},
        {-3, 4, 5, Pi - std::atan(4.0 / 3.0)},
    };
    for (const auto& c : cases) {
        const TComplex z = MakeComplex(c.Re, c.Im);
        EXPECT_DOUBLE_EQ(z.Abs, c.Abs) << c.Re << " " << c.Im;
        EXPECT_NEAR(z.Phase, c.Phase, 1e-15) << c.Re << " " << c.Im;
    }
}

TEST(ComplexForms, SetPhaseNormalisesAnyAngle) {
    const PhaseCase cases[] = {
        {0, -1, 1, -Pi / 2},  // stored as 3pi/2
        {-1, 0, 1, 5 * Pi},   // stored as pi
        {1, 0, 1, -2 * Pi},
        {0, 1, 1, 1e6 * 2 * Pi + Pi / 2},
    };
    const double expected[] = {3 * Pi / 2, Pi, 0, Pi / 2};
    for (int i = 0; i < 4; ++i) {
        TComplex z = ComplexOne;
        SetPhase(z, cases[i].Phase);
        EXPECT_NEAR(z.Phase, expected[i], 1e-9) << i;
        EXPECT_GE(z.Phase, 0.0);
        EXPECT_LT(z.Phase, 2 * Pi);
        EXPECT_NEAR(z.Re, cases[i].Re, 1e-9) << i;
        EXPECT_NEAR(z.Im, cases[i].Im, 1e-9) << i;
    }
}

TEST(ComplexForms, NonFiniteInputsBecomeDefaultNaN) {
    TComplex z = ComplexOne;
    SetPhase(z, Inf);
    EXPECT_TRUE(IsDefaultNaN(z.Phase));
    EXPECT_TRUE(std::isnan(z.Re));
    EXPECT_TRUE(std::isnan(z.Im));

    const TComplex n = MakeComplex(std::numeric_limits<double>::quiet_NaN(), 1);
    EXPECT_TRUE(std::isnan(n.Abs));
    EXPECT_TRUE(IsDefaultNaN(n.Phase));
}

TEST(ComplexForms, SetAbsNegativeKeepsPhaseAndFlipsDirection) {
    TComplex z = MakeComplex(1, 1);
    SetAbs(z, -2);
    EXPECT_EQ(z.Abs, -2);
    EXPECT_NEAR(z.Phase, Pi / 4, 1e-15);
    EXPECT_NEAR(z.Re, -std::sqrt(2.0), 1e-15);
    EXPECT_NEAR(z.Im, -std::sqrt(2.0), 1e-15);
}

TEST(ComplexArithmetic, PolarOperationsDeriveRectFromAngle) {
    const TComplex jj = ComplexMul(J, J);
    EXPECT_EQ(jj.Re, -1);
    EXPECT_NEAR(jj.Im, 1.2246e-16, 1e-20);  // sin of the double nearest pi

    const TComplex c = Conjugate(MakeComplex(1, 2));
    EXPECT_NEAR(c.Phase, 2 * Pi - std::atan2(2.0, 1.0), 1e-15);
    EXPECT_EQ(c.Im, std::sin(c.Phase) * c.Abs);
    EXPECT_NEAR(c.Im, -2, 1e-14);
    EXPECT_NEAR(c.Re, 1, 1e-14);
}

TEST(ComplexArithmetic, NegOfZeroHasPhasePi) {
    const TComplex z = ComplexNeg(ComplexZero);
    EXPECT_TRUE(std::signbit(z.Re));
    EXPECT_TRUE(std::signbit(z.Im));
    EXPECT_EQ(z.Abs, 0);
    EXPECT_DOUBLE_EQ(z.Phase, Pi);
}

TEST(ComplexArithmetic, DivisionByZeroGivesInfinitiesAndNaN) {
    const TComplex q = ComplexDiv(ComplexOne, ComplexZero);
    EXPECT_EQ(q.Re, Inf);
    EXPECT_TRUE(std::isnan(q.Im));
    EXPECT_EQ(q.Abs, Inf);
    EXPECT_EQ(q.Phase, 0);

    TComplex r = ComplexZero;
    ReciprocalInPlace(r);
    EXPECT_EQ(r.Re, Inf);
    EXPECT_TRUE(std::isnan(r.Im));
    EXPECT_EQ(r.Abs, Inf);
    EXPECT_EQ(r.Phase, 0);

    const TComplex n = ComplexDiv(ComplexZero, ComplexZero);
    EXPECT_TRUE(std::isnan(n.Abs));
    EXPECT_TRUE(std::isnan(n.Re));
    EXPECT_TRUE(std::isnan(n.Im));
}

TEST(ComplexFunctions, LogBranchCutOnPositiveRealAxis) {
    const TComplex l0 = ComplexLn(ComplexZero);
    EXPECT_EQ(l0.Re, -Inf);
    EXPECT_EQ(l0.Im, 0);
    EXPECT_EQ(l0.Abs, Inf);
    EXPECT_DOUBLE_EQ(l0.Phase, Pi);

    const TComplex minusJ = MakeComplex(0, -1);
    EXPECT_NEAR(ComplexLn(minusJ).Im, 3 * Pi / 2, 1e-15);
    const TComplex half = MakeComplex(0.5, 0);
    EXPECT_NEAR(ComplexPower(minusJ, half).Phase, 3 * Pi / 4, 1e-15);
    EXPECT_NEAR(ComplexRoot(minusJ, 2).Phase, 3 * Pi / 4, 1e-15);
    EXPECT_NEAR(ComplexLog(MakeComplex(100, 0), 10).Re, 2, 1e-15);
}

TEST(ComplexFunctions, ZeroBaseAndZeroRoot) {
    const TComplex p = ComplexPower(ComplexZero, MakeComplex(2, 0));
    EXPECT_TRUE(std::isnan(p.Re));
    EXPECT_TRUE(std::isnan(p.Im));

    const TComplex r = ComplexRoot(ComplexZero, 2);
    EXPECT_EQ(r.Abs, 0);
    EXPECT_EQ(r.Re, 0);
    EXPECT_EQ(r.Im, 0);

    const TComplex cube = ComplexRoot(MakeComplex(-8, 0), 3);
    EXPECT_NEAR(cube.Abs, 2, 1e-15);
    EXPECT_NEAR(cube.Phase, Pi / 3, 1e-15);
    EXPECT_TRUE(std::isnan(ComplexCos(MakeComplex(Inf, 0)).Re));
}

TEST(ComplexArrays, SumAndReciprocalInIndexOrder) {
    EXPECT_EQ(ComplexSum({}).Re, 0);
    EXPECT_EQ(ComplexSum({}).Phase, 0);

    TComplexNumberArray a{MakeComplex(2, 0), MakeComplex(0, 4), MakeComplex(1, 1)};
    const TComplex s = ComplexSum(a);
    EXPECT_DOUBLE_EQ(s.Re, 3);
    EXPECT_DOUBLE_EQ(s.Im, 5);

    ReciprocalAll(a);
    EXPECT_DOUBLE_EQ(a[0].Re, 0.5);
    EXPECT_NEAR(a[1].Im, -0.25, 1e-16);
    EXPECT_NEAR(a[1].Phase, 3 * Pi / 2, 1e-15);
    EXPECT_NEAR(a[2].Re, 0.5, 1e-15);
    EXPECT_NEAR(a[2].Im, -0.5, 1e-15);
}

}  // namespace
}  // namespace zeigora
