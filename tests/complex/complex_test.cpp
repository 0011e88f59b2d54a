#include "complex/complex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zeigora {
namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Inf = std::numeric_limits<double>::infinity();

bool IsDefaultNaN(double x) {
    return std::isnan(x) && std::signbit(x);
}

TEST(ComplexForms, PhaseIsKeptInZeroToTwoPi) {
    const struct {
        double Re, Im, Abs, Phase;
    } made[] = {
        {0, -1, 1, 3 * Pi / 2},
        {0, 0, 0, 0},
        {1, -1, std::sqrt(2.0), 7 * Pi / 4},
        {-3, 4, 5, Pi - std::atan(4.0 / 3.0)},
    };
    for (const auto& c : made) {
        const TComplex z = MakeComplex(c.Re, c.Im);
        EXPECT_DOUBLE_EQ(z.Abs, c.Abs) << c.Re << " " << c.Im;
        EXPECT_NEAR(z.Phase, c.Phase, 1e-15) << c.Re << " " << c.Im;
    }
    const struct {
        double Set, Stored, Re, Im;
    } set[] = {
        {-Pi / 2, 3 * Pi / 2, 0, -1},
        {5 * Pi, Pi, -1, 0},
        {-2 * Pi, 0, 1, 0},
        {1e6 * 2 * Pi + Pi / 2, Pi / 2, 0, 1},
    };
    for (const auto& c : set) {
        TComplex z = ComplexOne;
        SetPhase(z, c.Set);
        EXPECT_NEAR(z.Phase, c.Stored, 1e-9) << c.Set;
        EXPECT_NEAR(z.Re, c.Re, 1e-9) << c.Set;
        EXPECT_NEAR(z.Im, c.Im, 1e-9) << c.Set;
    }
}

TEST(ComplexForms, EdgeCasesOfTheForms) {
    TComplex z = ComplexOne;  // non-finite inputs become the default NaN
    SetPhase(z, Inf);
    EXPECT_TRUE(IsDefaultNaN(z.Phase) && std::isnan(z.Re));
    EXPECT_TRUE(IsDefaultNaN(MakeComplex(std::numeric_limits<double>::quiet_NaN(), 1).Phase));

    z = MakeComplex(1, 1);  // a negative magnitude keeps the phase and flips the direction
    SetAbs(z, -2);
    EXPECT_EQ(z.Abs, -2);
    EXPECT_NEAR(z.Phase, Pi / 4, 1e-15);
    EXPECT_NEAR(z.Re, -std::sqrt(2.0), 1e-15);
    EXPECT_NEAR(z.Im, -std::sqrt(2.0), 1e-15);

    z = ComplexNeg(ComplexZero);
    EXPECT_TRUE(std::signbit(z.Re));
    EXPECT_TRUE(std::signbit(z.Im));
    EXPECT_EQ(z.Abs, 0);
    EXPECT_DOUBLE_EQ(z.Phase, Pi);
}

TEST(ComplexArithmetic, PolarOperationsDeriveRectFromAngle) {
    const TComplex jj = ComplexMul(MakeComplex(0, 1), MakeComplex(0, 1));
    EXPECT_EQ(jj.Re, -1);
    EXPECT_NEAR(jj.Im, 1.2246e-16, 1e-20);  // sin of the double nearest pi
    const TComplex c = Conjugate(MakeComplex(1, 2));
    EXPECT_NEAR(c.Phase, 2 * Pi - std::atan2(2.0, 1.0), 1e-15);
    EXPECT_EQ(c.Im, std::sin(c.Phase) * c.Abs);
}

TEST(ComplexArithmetic, DivisionByZeroGivesInfinitiesAndNaN) {
    TComplex r = ComplexZero;
    ReciprocalInPlace(r);
    for (const TComplex& q : {ComplexDiv(ComplexOne, ComplexZero), r}) {
        EXPECT_EQ(q.Re, Inf);
        EXPECT_TRUE(std::isnan(q.Im));
        EXPECT_EQ(q.Abs, Inf);
        EXPECT_EQ(q.Phase, 0);
    }
    const TComplex n = ComplexDiv(ComplexZero, ComplexZero);
    EXPECT_TRUE(std::isnan(n.Abs) && std::isnan(n.Re) && std::isnan(n.Im));
}

TEST(ComplexFunctions, BranchCutAndZeroArguments) {
    const TComplex l0 = ComplexLn(ComplexZero);
    EXPECT_EQ(l0.Re, -Inf);
    EXPECT_EQ(l0.Im, 0);
    EXPECT_EQ(l0.Abs, Inf);
    EXPECT_DOUBLE_EQ(l0.Phase, Pi);
    // The branch cut on the positive real axis: the evaluator tests pin ln, sqrt and roots.
    EXPECT_EQ(ComplexRoot(ComplexZero, 2).Abs, 0);
    EXPECT_TRUE(std::isnan(ComplexCos(MakeComplex(Inf, 0)).Re));
}

}  // namespace
}  // namespace zeigora
