#include <gtest/gtest.h>

#include "plane/hittest.h"

namespace zeigora {
namespace {

TEST(HitTest, EmptyListFindsNothing) {
    EXPECT_EQ(FindPhasorAt({}, 300, 200), nullptr);
}

TEST(HitTest, DistanceToOneSegment) {
    TPhasor p = ZeroPhasor();
    const TDrawnPhasorArray drawn{{300, 380, 200, 120, &p}};
    const struct {
        int X, Y;
        bool Hit;
    } cases[] = {
        {340, 160, true},   // on the segment
        {350, 170, true},   // sqrt(200) off the line
        {351, 171, false},  // about 15.56 off
        {285, 200, false},  // behind the start, exactly 15
        {286, 200, true},   // 14
        {390, 110, true},   // beyond the tip, sqrt(200)
        {391, 109, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindPhasorAt(drawn, c.X, c.Y) == &p, c.Hit) << c.X << "," << c.Y;
}

TEST(HitTest, LaterSegmentWinsOnTop) {
    TPhasor a = ZeroPhasor(), b = ZeroPhasor();
    const TDrawnPhasorArray drawn{{300, 380, 200, 120, &a}, {300, 380, 200, 120, &b}};
    EXPECT_EQ(FindPhasorAt(drawn, 340, 160), &b);
}

TEST(HitTest, SharedStartPrefersTheLineFartherAway) {
    // Both segments start at the origin; the point lies behind that start, at equal distance
    // from both, and the earlier segment's line passes farther from it.
    TPhasor a = ZeroPhasor(), b = ZeroPhasor();
    const TDrawnPhasorArray drawn{{300, 380, 200, 200, &a}, {300, 380, 200, 120, &b}};
    EXPECT_EQ(FindPhasorAt(drawn, 290, 200), &b);  // on a's line: Perp 0 for a
    EXPECT_EQ(FindPhasorAt(drawn, 300, 210), &a);
}

TEST(HitTest, ZeroLengthSegments) {
    TPhasor a = ZeroPhasor(), b = ZeroPhasor();
    const TDrawnPhasorArray drawn{{300, 300, 200, 200, &a}, {300, 300, 200, 200, &b}};
    EXPECT_EQ(FindPhasorAt(drawn, 305, 205), &a);  // equal distance: the one drawn first
    EXPECT_EQ(FindPhasorAt(drawn, 315, 200), nullptr);
}

}  // namespace
}  // namespace zeigora
