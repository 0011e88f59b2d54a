#include <gtest/gtest.h>

#include "plane/frame.h"

namespace zeigora {
namespace {

TPhasor MakeFramePhasor(double re, double im, TColor color, std::uint8_t scale = 0) {
    TPhasor p = ZeroPhasor();
    InitPhasor(p);
    p.Value = MakeComplex(re, im);
    p.Color = color;
    p.Scale = scale;
    p.NameVisible = 0;
    return p;
}

class FrameTest : public ::testing::Test {
  protected:
    void Render() { RenderPlane(Surface, View, Phasors, nullptr); }
    TColor Pixel(int x, int y) const { return Surface.GetPixel(x, y); }

    TPaintBoxEx Surface{600, 400};
    TPlaneView View;
    TPhasorArray Phasors;
};

constexpr TColor Blue = 0xFF0000;
constexpr TColor Grey = 0xC0C0C0;

TEST(SplitByScale, VisiblePhasorsPerScaleInListOrder) {
    TPhasorArray list(5, ZeroPhasor());
    const std::uint8_t scales[] = {0, 1, 0, 7, 0};
    for (int i = 0; i < 5; ++i) {
        list[i].Visible = 1;
        list[i].Scale = scales[i];
    }
    list[2].Visible = 0;
    const auto [one, two] = SplitByScale(list);
    EXPECT_EQ(one, (TPPhasorArray{&list[0], &list[4]}));
    EXPECT_EQ(two, (TPPhasorArray{&list[1], &list[3]}));
}

TEST_F(FrameTest, EmptyPlane) {
    View.DrawnPhasors.push_back({1, 2, 3, 4, nullptr});  // left over from an earlier frame
    Render();
    EXPECT_TRUE(View.DrawnPhasors.empty());
    EXPECT_EQ(Pixel(50, 30), clWhite);    // background
    EXPECT_EQ(Pixel(380, 30), Grey);      // grid line
    EXPECT_EQ(Pixel(300, 50), clBlack);   // imaginary axis
    EXPECT_EQ(Pixel(380, 203), clBlack);  // tick over the grid line
    View.Settings.BackGroundColor = 0x203040;
    Render();
    EXPECT_EQ(Pixel(599, 399), 0x203040u);
}

TEST_F(FrameTest, LaterLayersCoverEarlierOnes) {
    for (bool aa : {true, false}) {
        View.Settings.AntiAliasing = aa;
        // Scale-2 phasors come after all scale-1 phasors, whatever the list order; both cover
        // the real axis.
        Phasors = {MakeFramePhasor(1, 0, Blue, 1), MakeFramePhasor(2, 0, clRed)};
        Render();
        EXPECT_EQ(Pixel(340, 200), Blue) << aa;
        EXPECT_EQ(Pixel(420, 200), clRed) << aa;
        ASSERT_EQ(View.DrawnPhasors.size(), 2u);
        EXPECT_EQ(View.DrawnPhasors[0].Phasor, &Phasors[1]);
        EXPECT_EQ(View.DrawnPhasors[1].Phasor, &Phasors[0]);
    }
}

// Somewhere within a pixel of (x, y) the ring has blended its colour into the white: red for
// a red ring, grey for a black one.
bool RingNear(const TPaintBoxEx& s, int x, int y, TColor color) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const TColor c = s.GetPixel(x + dx, y + dy);
            const int r = c & 0xFF, g = (c >> 8) & 0xFF;
            if (c != clWhite && (color == clRed ? r == 255 && g < 200 : r == g)) return true;
        }
    return false;
}

TEST_F(FrameTest, UnitCircles) {
    View.Settings.UnitCircle1 = true;
    View.Settings.Scale2 = 0.5;
    Render();
    EXPECT_TRUE(RingNear(Surface, 300 + 57, 200 - 57, clBlack));     // radius 80 at 45 degrees
    EXPECT_FALSE(RingNear(Surface, 300 + 113, 200 - 113, clBlack));  // scale 2 is off
    View.Settings.UnitCircle2 = true;
    Render();
    EXPECT_TRUE(RingNear(Surface, 300 + 113, 200 - 113, clBlack));  // radius 160
}

TEST_F(FrameTest, SolutionCircleUsesFirstColourAndScaleOne) {
    View.Settings.RootsMode = true;
    View.Settings.Scale2 = 4;
    Phasors = {MakeFramePhasor(1, 0, clRed, 1), MakeFramePhasor(0, 2, clRed, 1)};
    Render();
    // Radius 2 at scale 1 is 160 pixels even though the roots are drawn at scale 2.
    EXPECT_TRUE(RingNear(Surface, 413, 87, clRed));
    View.Settings.ShowSolutionCircle = false;
    Render();
    EXPECT_EQ(Pixel(413, 87), clWhite);
}

TEST_F(FrameTest, AbsurdSettingsAndSurfaces) {
    // The second tip lies millions of pixels out but still within reach of 32 bits.
    Phasors = {MakeFramePhasor(1, 1, clRed), MakeFramePhasor(4e4, -4e4, clRed)};
    const struct {
        double Scale1, ReIntervals;
        int SubIntervals, W, H;
    } cases[] = {{1e-300, 3, 3, 600, 400}, {1e300, 3, 3, 600, 400},
                 {1, 1e-300, 3, 600, 400}, {1, 1e9, 1000000, 600, 400},
                 {1, 3, -5, 600, 400},     {1, 3, 3, 0, 0},
                 {1, 3, 3, 1, 1}};
    for (bool aa : {true, false})
        for (const auto& c : cases) {
            View.Settings = TPlaneSettings{};
            View.Settings.AntiAliasing = aa;
            View.Settings.UnitCircle1 = true;
            View.Settings.Scale1 = c.Scale1;
            View.Settings.ReIntervals = c.ReIntervals;
            View.Settings.SubIntervals = c.SubIntervals;
            Surface.Resize(c.W, c.H);
            Render();
            EXPECT_LE(View.DrawnPhasors.size(), 2u);
        }
}

}  // namespace
}  // namespace zeigora
