#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "plane/frame.h"
#include "plane/hittest.h"
#include "plane/phasordraw.h"

namespace zeigora {
namespace {

TPhasor MakePhasor(const char* name, double re, double im, TColor color = 0,
                   std::uint8_t scale = 0) {
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

std::vector<TSeg> Segments(const TDrawnPhasorArray& drawn) {
    std::vector<TSeg> s;
    for (const auto& d : drawn)
        s.push_back({d.X1, d.Y1, d.X2, d.Y2});
    return s;
}

class PhasorTest : public ::testing::Test {
  protected:
    void Render(const TPhasor* selected = nullptr) {
        RenderPlane(Surface, View, Phasors, selected);
    }
    TColor Pixel(int x, int y) const { return Surface.GetPixel(x, y); }

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
    for (const auto& c : cases) {
        TArrowHead h;
        ASSERT_TRUE(PhasorArrowHead(300, 200, 380, 120, c.PenWidth, h));
        EXPECT_NEAR(h.Wing1X, c.W1X, 1e-3);
        EXPECT_NEAR(h.Wing1Y, c.W1Y, 1e-3);
        EXPECT_NEAR(h.Wing2X, c.W2X, 1e-3);
        EXPECT_NEAR(h.Wing2Y, c.W2Y, 1e-3);
    }
    // Rounded for the plain drawing: (375, 129) and (371, 125).
    TArrowHead h;
    PhasorArrowHead(300, 200, 380, 120, 1, h);
    EXPECT_EQ(RoundToPixel(h.Wing1X), 375);
    EXPECT_EQ(RoundToPixel(h.Wing1Y), 129);
    EXPECT_EQ(RoundToPixel(h.Wing2X), 371);
    EXPECT_EQ(RoundToPixel(h.Wing2Y), 125);
    EXPECT_FALSE(PhasorArrowHead(300, 200, 300, 200, 1, h));
}

TEST(PhasorHighlight, BandColour) {
    EXPECT_EQ(HighlightColor(0x0000FF), 0xDFDFFEu);  // red 254, green 223, blue 223
    EXPECT_EQ(HighlightColor(0x000000), 0xDFDFDFu);
    EXPECT_EQ(HighlightColor(0xFFFFFF), 0xFEFEFEu);
}

TEST_F(PhasorTest, ArrowFromOriginToTip) {
    for (bool aa : {true, false}) {
        View.Settings.AntiAliasing = aa;
        Phasors = {MakePhasor("A", 1, 1, clRed)};
        Render();
        EXPECT_EQ(Segments(View.DrawnPhasors), (std::vector<TSeg>{{300, 200, 380, 120}}));
        EXPECT_EQ(View.DrawnPhasors[0].Phasor, &Phasors[0]);
        const TColor c = Pixel(340, 160);  // on the shaft: red, slightly lighter when smoothed
        EXPECT_EQ(c & 0xFF, 0xFFu) << aa;
        EXPECT_LT((c >> 8) & 0xFF, 0x40u) << aa;
        EXPECT_EQ(FindPhasorAt(View.DrawnPhasors, 345, 160), &Phasors[0]);
    }
}

// Bounding columns of the pixels that carry the name colour (pure green is used nowhere else).
std::pair<int, int> GreenColumns(const TPaintBoxEx& s) {
    int lo = s.Width(), hi = -1;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) {
            const TColor c = s.GetPixel(x, y);
            const int r = c & 0xFF, g = (c >> 8) & 0xFF;
            if (g > r + 60) lo = std::min(lo, x), hi = std::max(hi, x);
        }
    return {lo, hi};
}

TEST_F(PhasorTest, NameStandsBesideTheTip) {
    const struct {
        double Re, Im;
        int TipX;
        bool Left;
    } cases[] = {{1, 1, 380, true}, {-2, 0, 140, false}, {0, 1, 300, false}, {0, 0, 300, false}};
    const int width = Surface.DrawingCanvas().TextWidth("Name");
    for (const auto& c : cases) {
        TPhasor p = MakePhasor("Name", c.Re, c.Im, 0x00FF00);
        p.Width = 0;  // no shaft: only the name carries the colour
        Phasors = {p};
        Render();
        const auto [lo, hi] = GreenColumns(Surface);
        ASSERT_LE(lo, hi) << c.Re;
        if (c.Left) {
            EXPECT_LE(hi, c.TipX - 12 + 1);
            EXPECT_GE(lo, c.TipX - 12 - width - 1);
        } else {
            EXPECT_GE(lo, c.TipX + 12 - 1);
            EXPECT_LE(hi, c.TipX + 12 + width + 1);
        }
    }
}

TEST_F(PhasorTest, ZeroValueRecordsAPointSegment) {
    Phasors = {MakePhasor("Z", 0, 0, clRed)};
    Render();
    EXPECT_EQ(Segments(View.DrawnPhasors), (std::vector<TSeg>{{300, 200, 300, 200}}));
}

TEST_F(PhasorTest, SelectionBandIsTwelvePixelsWideAndPale) {
    Phasors = {MakePhasor("A", 2, 0, clRed)};
    Phasors[0].NameVisible = 0;
    // Plain drawing: the band colour itself in the 12 rows around the shaft.
    View.Settings.AntiAliasing = false;
    Render(&Phasors[0]);
    for (int y = 180; y <= 220; ++y) {
        const TColor expected = y == 200 ? clRed : (y >= 194 && y <= 205 ? 0xDFDFFE : clWhite);
        EXPECT_EQ(Pixel(400, y), expected) << y;
    }
    // Antialiased: the same band, its outer rows partly covered.
    View.Settings.AntiAliasing = true;
    Render(&Phasors[0]);
    EXPECT_EQ(Pixel(400, 200), clRed);
    for (int y = 195; y <= 205; ++y)
        EXPECT_NE(Pixel(400, y), clWhite) << y;
    EXPECT_EQ(Pixel(400, 192), clWhite);
    EXPECT_EQ(Pixel(400, 208), clWhite);
}

TEST_F(PhasorTest, GraphicalAdditionChainsEachScale) {
    View.Settings.GraphicalAddition = true;
    Phasors = {MakePhasor("A", 1, 0), MakePhasor("B", 0, 1), MakePhasor("S", 1, 0, 0, 1),
               MakePhasor("C", -1, 0)};
    Render();
    EXPECT_EQ(Segments(View.DrawnPhasors),
              (std::vector<TSeg>{{300, 200, 380, 200},
                                 {380, 200, 380, 120},
                                 {380, 120, 300, 120},     // scale 1
                                 {300, 200, 380, 200}}));  // scale 2 starts at the origin again
    EXPECT_EQ(View.DrawnPhasors[3].Phasor, &Phasors[2]);
}

TEST_F(PhasorTest, UnplaceablePhasorsAreSkipped) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    View.Settings.GraphicalAddition = true;
    TPhasor hidden = MakePhasor("H", 1, 1);
    hidden.Visible = 0;
    TPhasor nanRe = MakePhasor("N", 0, 0), nanIm = nanRe, infRe = nanRe;
    nanRe.Value.Re = nan;
    nanIm.Value.Im = nan;
    infRe.Value.Re = inf;
    Phasors = {MakePhasor("A", 1, 0),
               hidden,
               nanRe,
               nanIm,
               infRe,
               MakePhasor("Far", 1e6, 0),
               MakePhasor("Far2", 0, -2e5),
               MakePhasor("B", 0, 1)};
    Render();
    EXPECT_EQ(Segments(View.DrawnPhasors),
              (std::vector<TSeg>{{300, 200, 380, 200}, {380, 200, 380, 120}}));
    EXPECT_EQ(FindPhasorAt(View.DrawnPhasors, 300, 100), nullptr);
}

TEST_F(PhasorTest, FieldsFromAnyFileAreSafe) {
    // Values a damaged or foreign file may hold in the drawing fields.
    const struct {
        std::uint8_t Style, Width, Scale;
    } fields[] = {{200, 1, 0}, {5, 0, 0}, {0, 255, 7}, {4, 4, 1}, {255, 0, 255}};
    for (bool aa : {true, false})
        for (const auto& f : fields)
            for (const auto& size : {std::pair{600, 400}, std::pair{0, 0}, std::pair{1, 300}}) {
                Surface.Resize(size.first, size.second);
                View.Settings.AntiAliasing = aa;
                Phasors = {MakePhasor("A", 0.1, -0.05), MakePhasor("B", -1e-300, 1e7)};
                for (TPhasor& p : Phasors) {
                    p.Style = f.Style;
                    p.Width = f.Width;
                    p.Scale = f.Scale;
                }
                Render(&Phasors[0]);
                // B's tip lies far outside any surface that has an extent.
                if (size.first > 0) EXPECT_EQ(View.DrawnPhasors.size(), 1u);
            }
}

}  // namespace
}  // namespace zeigora
