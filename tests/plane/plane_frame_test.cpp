// The whole frame and the phasor arrows in it: layers, circles, arrow heads, names, the
// selection band, graphical addition, and values or settings no drawing can place.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "plane/frame.h"
#include "plane/hittest.h"
#include "plane/phasordraw.h"
#include "plane_support.h"

namespace zeigora {
namespace {

constexpr TColor Blue = 0xFF0000;
constexpr TColor Grey = 0xC0C0C0;

TPhasor MakePhasor(double re, double im, TColor color = 0, std::uint8_t scale = 0,
                   const char* name = "A") {
    TPhasor p = ZeroPhasor();
    InitPhasor(p);
    p.Name = name;
    p.Value = MakeComplex(re, im);
    p.Color = color;
    p.Scale = scale;
    return p;
}

struct TSeg {
    int X1, Y1, X2, Y2;
    bool operator==(const TSeg&) const = default;
};

class FrameTest : public ::testing::Test {
  protected:
    void Render(const TPhasor* selected = nullptr) {
        RenderPlane(Surface, View, Phasors, selected);
    }
    TColor Pixel(int x, int y) const { return Surface.GetPixel(x, y); }
    std::vector<TSeg> Segments() const {
        std::vector<TSeg> s;
        for (const auto& d : View.DrawnPhasors)
            s.push_back({d.X1, d.Y1, d.X2, d.Y2});
        return s;
    }
    // Somewhere within a pixel of (x, y) a ring has blended its colour into the white: red
    // for a red ring, grey for a black one.
    bool RingNear(int x, int y, TColor color) const {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const TColor c = Pixel(x + dx, y + dy);
                const int r = c & 0xFF, g = (c >> 8) & 0xFF;
                if (c != clWhite && (color == clRed ? r == 255 && g < 200 : r == g)) return true;
            }
        return false;
    }

    TPaintBoxEx Surface{600, 400};
    TPlaneView View;
    TPhasorArray Phasors;
};

TEST(PhasorArrowHead, Figures) {
    const struct {
        int PenWidth;
        double W1X, W1Y, W2X, W2Y;
    } cases[] = {
        {1, 375.286, 129.428, 370.572, 124.714},
        {4, 370.572, 138.856, 361.144, 129.428},  // sqrt(4) * 10 = 20 pixels long
    };
    TArrowHead h;
    for (const auto& c : cases) {
        ASSERT_TRUE(PhasorArrowHead(300, 200, 380, 120, c.PenWidth, h));
        EXPECT_NEAR(h.Wing1X, c.W1X, 1e-3);
        EXPECT_NEAR(h.Wing1Y, c.W1Y, 1e-3);
        EXPECT_NEAR(h.Wing2X, c.W2X, 1e-3);
        EXPECT_NEAR(h.Wing2Y, c.W2Y, 1e-3);
    }
    EXPECT_FALSE(PhasorArrowHead(300, 200, 300, 200, 1, h));
}

TEST_F(FrameTest, EmptyPlane) {
    View.DrawnPhasors.push_back({1, 2, 3, 4, nullptr});  // left over from an earlier frame
    Render();
    EXPECT_TRUE(View.DrawnPhasors.empty());
    EXPECT_EQ(Pixel(50, 30), clWhite);    // background
    EXPECT_EQ(Pixel(380, 30), Grey);      // grid line
    EXPECT_EQ(Pixel(300, 50), clBlack);   // imaginary axis
    EXPECT_EQ(Pixel(380, 203), clBlack);  // tick over the grid line
}

TEST_F(FrameTest, ArrowsAndLayers) {
    for (bool aa : {true, false}) {
        View.Settings.AntiAliasing = aa;
        Phasors = {MakePhasor(1, 1, clRed)};
        Render();
        EXPECT_EQ(Segments(), (std::vector<TSeg>{{300, 200, 380, 120}}));
        const TColor c = Pixel(340, 160);  // on the shaft: red, slightly lighter when smoothed
        EXPECT_EQ(c & 0xFF, 0xFFu) << aa;
        EXPECT_LT((c >> 8) & 0xFF, 0x40u) << aa;
        EXPECT_EQ(FindPhasorAt(View.DrawnPhasors, 345, 160), &Phasors[0]);
        // Scale-2 phasors come after all scale-1 phasors, whatever the list order.
        Phasors = {MakePhasor(1, 0, Blue, 1), MakePhasor(2, 0, clRed)};
        Phasors[0].NameVisible = Phasors[1].NameVisible = 0;
        Render();
        EXPECT_EQ(Pixel(340, 200), Blue) << aa;
        EXPECT_EQ(Pixel(420, 200), clRed) << aa;
        ASSERT_EQ(View.DrawnPhasors.size(), 2u);
        EXPECT_EQ(View.DrawnPhasors[0].Phasor, &Phasors[1]);
        EXPECT_EQ(View.DrawnPhasors[1].Phasor, &Phasors[0]);
    }
}

TEST_F(FrameTest, LongPhasorsKeepStartAndDirection) {
    // Tips thousands of pixels out: each line leaves the origin in its own direction.
    const struct {
        double Re, Im;
        int OnX, OnY, OffX, OffY;  // a pixel on the true line; one on the line a span limit drew
    } cases[] = {
        {-25, -0.5, 250, 201, 250, 199},  // to (-1700, 240)
        {50, 30, 400, 140, 400, 125},     // to (4300, -2200); 37 degrees would pass 125
        {30, -50, 360, 300, 433, 300},    // 59 degrees, not 37
        {-0.5, 16, 300, 185, 300, 215},   // from the origin, not from Im = 1
    };
    for (const auto& c : cases) {
        Phasors = {MakePhasor(c.Re, c.Im, clRed)};
        Phasors[0].NameVisible = 0;
        Render();
        EXPECT_TRUE(RingNear(c.OnX, c.OnY, clRed)) << c.Re << "," << c.Im;
        EXPECT_FALSE(RingNear(c.OffX, c.OffY, clRed)) << c.Re << "," << c.Im;
    }
    // The selection band follows the same line.
    Phasors = {MakePhasor(30, -50, clRed)};
    Render(&Phasors[0]);
    EXPECT_EQ(Pixel(364, 300), 0xE6E6FFu);
    // A wide plane: -3.5+0.3j starts at the origin.
    Surface.Resize(3800, 2000);
    Phasors = {MakePhasor(-3.5, 0.3, clRed)};
    Render();
    EXPECT_TRUE(RingNear(1890, 999, clRed));
}

TEST_F(FrameTest, NameBesideTheTip) {
    // The name's ink, found as what writing it changes, against the ink of the same text
    // written at a known place: left of the tip for re > 0, right of it otherwise, centred on
    // the tip's row.
    TPaintBoxEx probe(100, 60);
    PreparePlane(probe, 100, 60, clWhite, View.Mapping);
    TCanvas& pc = probe.DrawingCanvas();
    pc.SetFontColor(clRed);
    pc.TextOut(40, 20, "Zk");
    const auto ink = [](const TPaintBoxEx& a, const TPaintBoxEx* b) {
        int left = 1 << 30, top = 1 << 30;
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x)
                if (a.GetPixel(x, y) != (b ? b->GetPixel(x, y) : clWhite)) {
                    left = std::min(left, x);
                    top = std::min(top, y);
                }
        return std::pair{left, top};
    };
    const auto [probeLeft, probeTop] = ink(probe, nullptr);
    const int width = pc.TextWidth("Zk"), height = pc.TextHeight("Zk");
    const struct {
        double Re;
        int TipX, Left;
    } cases[] = {{0.25, 320, 320 - 12 - width}, {-0.25, 280, 292}, {0, 300, 312}};
    for (const auto& c : cases) {
        Phasors = {MakePhasor(c.Re, 1.5, clRed, 0, "Zk")};
        Phasors[0].NameVisible = 0;
        Render();
        TPaintBoxEx without(600, 400);
        std::memcpy(without.Bits(), Surface.Bits(), Surface.Bitmap.sizeInBytes());
        Phasors[0].NameVisible = 1;
        Render();
        const auto [left, top] = ink(Surface, &without);
        EXPECT_EQ(left - (probeLeft - 40), c.Left) << c.Re;
        EXPECT_EQ(top - (probeTop - 20), 80 - height / 2) << c.Re;
    }
}

TEST_F(FrameTest, UnitCircles) {
    View.Settings.Scale2 = 2;  // scale 2: 40 pixels per unit
    View.Settings.UnitCircle1 = true;
    Render();
    EXPECT_TRUE(RingNear(369, 160, clBlack));  // 80 pixels out at 30 degrees
    EXPECT_FALSE(RingNear(335, 180, clBlack));
    View.Settings.UnitCircle1 = false;
    View.Settings.UnitCircle2 = true;
    Render();
    EXPECT_FALSE(RingNear(369, 160, clBlack));
    EXPECT_TRUE(RingNear(335, 180, clBlack));
}

TEST_F(FrameTest, SolutionCircle) {
    // The solution circle takes the first colour and scale 1: radius 2 is 160 pixels even
    // though the roots are drawn at scale 2.
    View.Settings.RootsMode = true;
    View.Settings.Scale2 = 4;
    Phasors = {MakePhasor(1, 0, clRed, 1), MakePhasor(0, 2, clRed, 1)};
    Render();
    EXPECT_TRUE(RingNear(413, 87, clRed));
    View.Settings.ShowSolutionCircle = false;
    Render();
    EXPECT_EQ(Pixel(413, 87), clWhite);
}

TEST_F(FrameTest, SelectionBandIsTwelvePixelsWideAndPale) {
    Phasors = {MakePhasor(2, 0, clRed)};
    Phasors[0].NameVisible = 0;
    View.Settings.AntiAliasing = false;  // plain: the band colour itself in 12 rows
    Render(&Phasors[0]);
    for (int y = 180; y <= 220; ++y) {
        const TColor expected = y == 200 ? clRed : (y >= 194 && y <= 205 ? 0xDFDFFE : clWhite);
        EXPECT_EQ(Pixel(400, y), expected) << y;
    }
}

TEST_F(FrameTest, GraphicalAdditionChainsEachScaleAndSkipsUnplaceable) {
    View.Settings.GraphicalAddition = true;
    Phasors = {MakePhasor(1, 0), MakePhasor(0, 1), MakePhasor(1, 0, 0, 1), MakePhasor(-1, 0)};
    Render();
    EXPECT_EQ(Segments(), (std::vector<TSeg>{{300, 200, 380, 200},
                                             {380, 200, 380, 120},
                                             {380, 120, 300, 120},     // scale 1
                                             {300, 200, 380, 200}}));  // scale 2 from 0 again
    EXPECT_EQ(View.DrawnPhasors[3].Phasor, &Phasors[2]);
    // Hidden, NaN, infinite and far-away phasors neither draw nor move the chain.
    Phasors = {MakePhasor(1, 0), MakePhasor(1, 1),   MakePhasor(0, 0),    MakePhasor(0, 0),
               MakePhasor(0, 0), MakePhasor(1e6, 0), MakePhasor(0, -2e5), MakePhasor(0, 1)};
    Phasors[1].Visible = 0;
    Phasors[2].Value.Re = Phasors[3].Value.Im = std::numeric_limits<double>::quiet_NaN();
    Phasors[4].Value.Re = std::numeric_limits<double>::infinity();
    Render();
    EXPECT_EQ(Segments(), (std::vector<TSeg>{{300, 200, 380, 200}, {380, 200, 380, 120}}));
    EXPECT_EQ(FindPhasorAt(View.DrawnPhasors, 300, 100), nullptr);
}

TEST_F(FrameTest, AbsurdSettingsFieldsAndSurfacesAreSafe) {
    // The second tip lies millions of pixels out but still within reach of 32 bits.
    const struct {
        double Scale1, ReIntervals;
        int SubIntervals, W, H;
    } settings[] = {{1e-300, 3, 3, 600, 400}, {1e300, 3, 3, 600, 400},
                    {1, 1e-300, 3, 600, 400}, {1, 1e9, 1000000, 600, 400},
                    {1, 3, -5, 600, 400},     {1, 3, 3, 0, 0},
                    {1, 3, 3, 1, 1}};
    for (bool aa : {true, false})
        for (const auto& c : settings) {
            Phasors = {MakePhasor(1, 1, clRed), MakePhasor(4e4, -4e4, clRed)};
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
    // Values a damaged or foreign file may hold in the drawing fields.
    const struct {
        std::uint8_t Style, Width, Scale;
    } fields[] = {{200, 1, 0}, {5, 0, 0}, {0, 255, 7}, {4, 4, 1}, {255, 0, 255}};
    for (bool aa : {true, false})
        for (const auto& f : fields)
            for (const auto& size : {std::pair{600, 400}, std::pair{0, 0}, std::pair{1, 300}}) {
                Surface.Resize(size.first, size.second);
                View.Settings = TPlaneSettings{};
                View.Settings.AntiAliasing = aa;
                Phasors = {MakePhasor(0.1, -0.05), MakePhasor(-1e-300, 1e7)};
                for (TPhasor& p : Phasors) {
                    p.Style = f.Style;
                    p.Width = f.Width;
                    p.Scale = f.Scale;
                }
                Render(&Phasors[0]);
                if (size.first > 0) {  // B is off-surface
                    EXPECT_EQ(View.DrawnPhasors.size(), 1u);
                }
            }
}

// Frames that take over the previous background against frames drawn from nothing, after
// every kind of change.
TEST(FrameLayers, ReusedFramesMatchFreshOnes) {
    std::mt19937 rng(1312);
    auto pick = [&](int n) { return static_cast<int>(rng() % n); };
    auto value = [&] { return std::uniform_real_distribution<double>(-4, 4)(rng); };
    TPaintBoxEx surface(160, 120);
    TPlaneView view;
    TPhasorArray phasors;
    for (int k = 0; k < 4; ++k)
        phasors.push_back(MakePhasor(value(), value(), 0x2040F0 * k, 0, "Zk"));
    int selected = -1, reused = 0;
    QImage previous;
    for (int step = 0; step < 400; ++step) {
        TPlaneSettings& s = view.Settings;
        TCanvas& c = surface.BitmapCanvas();
        bool resized = false;
        switch (pick(14)) {
            case 0:
            case 1:
            case 2:  // a drag
                phasors[pick(int(phasors.size()))].Value =
                    MakeComplex(pick(6) ? value() : std::nan(""), value());
                break;
            case 3:
                for (TPhasor& p : phasors)
                    p.Visible = pick(3) != 0;
                break;
            case 4:
                phasors[pick(int(phasors.size()))].Scale ^= 1;
                break;
            case 5:
                selected = pick(int(phasors.size()) + 1) - 1;
                break;
            case 6:
                s.Scale1 = pick(3) + 0.5;
                break;
            case 7:
                s.UnitCircle1 = pick(2), s.UnitCircle2 = pick(2), s.GridVisible = pick(4) != 0;
                break;
            case 8:
                s.AntiAliasing = pick(3) != 0, s.GraphicalAddition = pick(2);
                break;
            case 9:
                s.AxisColor = rng() & 0xFFFFFF, s.ReLabel = pick(2) ? "Re" : "x";
                break;
            case 10:
                surface.Resize(120 + pick(3) * 20, 90 + pick(2) * 30);
                resized = true;
                break;
            case 11:
                c.SetPenWidth(pick(4)), c.SetFontPixelSize(10 + pick(2)), c.SetFontBold(pick(2));
                break;
            case 12:
                s.RootsMode = pick(4) == 0, s.ShowNumbers = pick(4) != 0;
                break;
            default:
                break;
        }
        const TPhasor* sel = selected >= 0 ? &phasors[selected] : nullptr;
        ASSERT_TRUE(test::FrameMatchesFresh(surface, view, phasors, sel, view.Cores,
                                            resized ? QImage() : previous))
            << "step " << step;
        previous = surface.Bitmap.copy();
        reused += surface.Changed != surface.Bitmap.rect();
    }
    EXPECT_GT(reused, 100);
}

// Picking the phasor under the pointer from the drawn segments.
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
    // Zero length: equal distance picks the one drawn first.
    const TDrawnPhasorArray points{{300, 300, 200, 200, &a}, {300, 300, 200, 200, &b}};
    EXPECT_EQ(FindPhasorAt(points, 305, 205), &a);
    EXPECT_EQ(FindPhasorAt(points, 315, 200), nullptr);
    // Beyond a shared start at equal distance: the segment whose line passes farther wins.
    const TDrawnPhasorArray star{{300, 380, 200, 200, &a}, {300, 300, 200, 120, &b}};
    EXPECT_EQ(FindPhasorAt(star, 290, 205), &b);
    EXPECT_EQ(FindPhasorAt(star, 295, 210), &a);
}

}  // namespace
}  // namespace zeigora
