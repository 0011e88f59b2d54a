#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "plane/planesettings.h"

namespace zeigora {
namespace {

TEST(PlaneMapping, Factors) {
    const struct {
        const char* Name;
        double Scale1, Scale2, MarginFactor;
        int W, H;
        int OriginX;
        double F1X, F1Y, F2X;
    } cases[] = {
        {"defaults", 1, 1, 1.25, 600, 400, 300, 80, 80, 80},
        {"odd width", 1, 1, 1.25, 601, 400, 300, 240.4 / 3, 80, 240.4 / 3},
        {"scales apart", 0.5, 10, 1.25, 600, 400, 300, 160, 160, 8},
        {"margin 49 %", 1, 1, 1 / (1 - 2 * 0.49), 600, 400, 300, 2, 2, 2},
        {"no extent", 1, 1, 1.25, 0, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        TPlaneSettings s;
        s.Scale1 = c.Scale1;
        s.Scale2 = c.Scale2;
        s.MarginFactor = c.MarginFactor;
        TPlaneMapping m;
        ComputeMapping(s, c.W, c.H, m);
        EXPECT_EQ(m.OriginX, c.OriginX) << c.Name;
        EXPECT_NEAR(m.Factor1X, c.F1X, 1e-12) << c.Name;
        EXPECT_NEAR(m.Factor1Y, c.F1Y, 1e-12) << c.Name;
        EXPECT_NEAR(m.Factor2X, c.F2X, 1e-12) << c.Name;
    }
}

TEST(PlaneMapping, DefaultsOn600x400) {
    const TPlaneSettings s;
    TPlaneMapping m;
    ComputeMapping(s, 600, 400, m);
    EXPECT_EQ(m.OriginY, 200);
    EXPECT_DOUBLE_EQ(CountX(s), 3.75);
    EXPECT_DOUBLE_EQ(CountY(s), 2.5);
    EXPECT_DOUBLE_EQ(GridOffset(3, 300, CountX(s)), 240.0);
    EXPECT_DOUBLE_EQ(GridOffset(1, 601 / 2, CountX(s)), 80.0);  // odd width: integer half
    // The phasor 1+1j at scale 1 ends at (380, 120); a non-zero scale byte means scale 2.
    EXPECT_DOUBLE_EQ(ToPixels(0, 8.0, m.Factor1X, 1.0), 80.0);
    EXPECT_DOUBLE_EQ(ToPixels(7, 8.0, m.Factor1X, 1.0), 8.0);
    EXPECT_DOUBLE_EQ(FromPixels(1, 8.0, m.Factor1X, 80.0), 10.0);
    EXPECT_DOUBLE_EQ(PixelToRe(600, 380, 80.0), 1.0);
    EXPECT_DOUBLE_EQ(PixelToIm(400, 120, 80.0), 1.0);
    EXPECT_DOUBLE_EQ(PixelToRe(601, 220, 80.0), -1.0);
}

TEST(PlaneMapping, RoundingIsHalfToEvenAndSafe) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double In;
        int Out;
    } cases[] = {
        {2.5, 2},         {3.5, 4}, {-2.5, -2}, {0.49, 0}, {1e300, 1000000000}, {-inf, -1000000000},
        {std::nan(""), 0}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundToPixel(c.In), c.Out) << c.In;
}

}  // namespace
}  // namespace zeigora
