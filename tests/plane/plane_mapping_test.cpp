#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "plane/planesettings.h"

namespace zeigora {
namespace {

TPlaneMapping MappingFor(const TPlaneSettings& s, int w, int h) {
    TPlaneMapping m;
    ComputeMapping(s, w, h, m);
    return m;
}

TEST(PlaneMapping, DefaultsOn600x400) {
    const TPlaneSettings s;
    const TPlaneMapping m = MappingFor(s, 600, 400);
    EXPECT_EQ(m.OriginX, 300);
    EXPECT_EQ(m.OriginY, 200);
    EXPECT_DOUBLE_EQ(m.Factor1X, 80.0);
    EXPECT_DOUBLE_EQ(m.Factor1Y, 80.0);
    EXPECT_DOUBLE_EQ(m.Factor2X, 80.0);
    EXPECT_DOUBLE_EQ(m.Factor2Y, 80.0);
    EXPECT_DOUBLE_EQ(CountX(s), 3.75);
    EXPECT_DOUBLE_EQ(CountY(s), 2.5);
    for (int i = 1; i <= 3; ++i)
        EXPECT_DOUBLE_EQ(GridOffset(i, 300, CountX(s)), 80.0 * i);
    EXPECT_DOUBLE_EQ(GridOffset(2, 200, CountY(s)), 160.0);
    // The phasor 1+1j at scale 1 ends at (380, 120).
    EXPECT_EQ(m.OriginX + RoundToPixel(ToPixels(0, m.Factor2X, m.Factor1X, 1.0)), 380);
    EXPECT_EQ(m.OriginY - RoundToPixel(ToPixels(0, m.Factor2Y, m.Factor1Y, 1.0)), 120);
}

TEST(PlaneMapping, OddWidthKeepsIntegerOrigin) {
    const TPlaneMapping m = MappingFor(TPlaneSettings{}, 601, 400);
    EXPECT_EQ(m.OriginX, 300);
    EXPECT_DOUBLE_EQ(m.Factor1X, 240.4 / 3);
    EXPECT_DOUBLE_EQ(GridOffset(1, 601 / 2, 3.75), 80.0);
}

TEST(PlaneMapping, ScalesAreIndependent) {
    TPlaneSettings s;
    s.Scale1 = 0.5;
    s.Scale2 = 10.0;
    const TPlaneMapping m = MappingFor(s, 600, 400);
    EXPECT_DOUBLE_EQ(m.Factor1X, 160.0);
    EXPECT_DOUBLE_EQ(m.Factor2X, 8.0);
    EXPECT_DOUBLE_EQ(ToPixels(0, m.Factor2X, m.Factor1X, 1.0), 160.0);
    EXPECT_DOUBLE_EQ(ToPixels(7, m.Factor2X, m.Factor1X, 1.0), 8.0);  // any non-zero is scale 2
    EXPECT_DOUBLE_EQ(FromPixels(0, m.Factor2X, m.Factor1X, 80.0), 0.5);
    EXPECT_DOUBLE_EQ(FromPixels(1, m.Factor2X, m.Factor1X, 80.0), 10.0);
}

TEST(PlaneMapping, ZeroSizeSurfaceGivesZeroFactors) {
    const TPlaneMapping m = MappingFor(TPlaneSettings{}, 0, 0);
    EXPECT_EQ(m.Factor1X, 0.0);
    EXPECT_EQ(m.Factor2Y, 0.0);
}

TEST(PlaneMapping, DenseMargin) {
    TPlaneSettings s;
    s.MarginFactor = 1 / (1 - 2 * 0.49);
    const TPlaneMapping m = MappingFor(s, 600, 400);
    EXPECT_NEAR(m.Factor1X, 300 * 0.02 / 3, 1e-9);
}

TEST(PlaneMapping, PixelsBackToPlane) {
    EXPECT_DOUBLE_EQ(PixelToRe(600, 380, 80.0), 1.0);
    EXPECT_DOUBLE_EQ(PixelToIm(400, 120, 80.0), 1.0);
    EXPECT_DOUBLE_EQ(PixelToRe(601, 220, 80.0), -1.0);  // origin 300 in an odd width
    EXPECT_DOUBLE_EQ(PixelToIm(401, 280, 80.0), -1.0);
}

TEST(PlaneMapping, ResetChainPointReturnsToOrigin) {
    TPlaneMapping m;
    m.OriginX = 12;
    m.OriginY = 34;
    m.ChainX = 99;
    m.ChainY = -5;
    ResetChainPoint(m);
    EXPECT_EQ(m.ChainX, 12);
    EXPECT_EQ(m.ChainY, 34);
}

TEST(PlaneMapping, RoundingIsHalfToEvenAndSafe) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double In;
        int Out;
    } cases[] = {{2.5, 2},
                 {3.5, 4},
                 {-2.5, -2},
                 {-3.5, -4},
                 {0.49, 0},
                 {1e300, 1000000000},
                 {-inf, -1000000000},
                 {std::nan(""), 0}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundToPixel(c.In), c.Out) << c.In;
    EXPECT_EQ(RoundHalfEven(2.5), 2.0);
}

TEST(PlaneMapping, TruncCountGuardsLoopBounds) {
    EXPECT_EQ(TruncCount(3.75, 1000), 3);
    EXPECT_EQ(TruncCount(-2.0, 1000), 0);
    EXPECT_EQ(TruncCount(std::nan(""), 1000), 0);
    EXPECT_EQ(TruncCount(1e300, 1000), 1000);
}

}  // namespace
}  // namespace zeigora
