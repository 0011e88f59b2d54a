#include <gtest/gtest.h>

#include "plane/hittest.h"

namespace zeigora {
namespace {

TEST(HitTest, DistanceToOneSegment) {
    TPhasor p = ZeroPhasor();
    EXPECT_EQ(FindPhasorAt({}, 300, 200), nullptr);
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

TEST(HitTest, WhichOfSeveralSegments) {
    TPhasor a = ZeroPhasor(), b = ZeroPhasor();
    // The same segment twice: the later one lies on top.
    EXPECT_EQ(FindPhasorAt({{300, 380, 200, 120, &a}, {300, 380, 200, 120, &b}}, 340, 160), &b);
    // A shared start, the point behind it at equal distance from both: the segment whose line
    // passes farther from it wins.
    const TDrawnPhasorArray shared{{300, 380, 200, 200, &a}, {300, 380, 200, 120, &b}};
    EXPECT_EQ(FindPhasorAt(shared, 290, 200), &b);
    EXPECT_EQ(FindPhasorAt(shared, 300, 210), &a);
    // Zero length: equal distance picks the one drawn first.
    const TDrawnPhasorArray points{{300, 300, 200, 200, &a}, {300, 300, 200, 200, &b}};
    EXPECT_EQ(FindPhasorAt(points, 305, 205), &a);
    EXPECT_EQ(FindPhasorAt(points, 315, 200), nullptr);
}

}  // namespace
}  // namespace zeigora
