#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include <cmath>
#include <limits>
#include "complex/numtext.h"
#include "plane/grid.h"
#include "plane/paintboxex.h"
#include "plane/planesettings.h"
#include "recordingcanvas.h"

namespace zeigora {
namespace {

using testing::TRecordingCanvas;

std::set<int> Mirrored(int centre, std::initializer_list<int> offsets) {
    std::set<int> s;
    for (int d : offsets)
        s.insert({centre + d, centre - d});
    return s;
}

class GridTest : public ::testing::Test {
  protected:
    void SetUp() override { SetDecimalSeparator(','); }
    void Draw(int w, int h, bool hasScale1, bool hasScale2) {
        ComputeMapping(Settings, w, h, Mapping);
        ResetChainPoint(Mapping);
        DrawGrid(Canvas, w, h, Settings, Mapping, hasScale1, hasScale2);
    }
    // Columns of full-height lines (vertical) or rows of full-width lines in a colour and style.
    std::set<int> Lines(bool vertical, TColor color, int style) const {
        std::set<int> at;
        for (const auto& l : Canvas.Lines)
            if (l.Color == color && l.Style == style &&
                (vertical ? l.From.X == l.To.X && l.From.Y == 0 && l.To.Y == 400
                          : l.From.Y == l.To.Y && l.From.X == 0 && l.To.X == 600))
                at.insert(vertical ? l.From.X : l.From.Y);
        return at;
    }
    const TCanvas& Metrics() { return Surface.BitmapCanvas(); }

    TPaintBoxEx Surface{600, 400};
    TRecordingCanvas Canvas{Surface.BitmapCanvas()};
    TPlaneSettings Settings;
    TPlaneMapping Mapping;
};

TEST_F(GridTest, GridAndSubGridFromTheOriginOutwards) {
    Draw(600, 400, true, false);
    EXPECT_EQ(Lines(true, 0xC0C0C0, 0), Mirrored(300, {80, 160, 240}));
    EXPECT_EQ(Lines(false, 0xC0C0C0, 0), Mirrored(200, {80, 160}));
    // Sub-lines include those past the last grid line.
    EXPECT_EQ(Lines(true, 0xC0C0C0, 2), Mirrored(300, {27, 53, 107, 133, 187, 213, 267, 293}));
    EXPECT_EQ(Lines(false, 0xC0C0C0, 2), Mirrored(200, {27, 53, 107, 133, 187, 213}));
}

TEST_F(GridTest, HiddenGridKeepsTicksAndNumbers) {
    Settings.GridVisible = false;
    Draw(600, 400, true, false);
    std::set<int> ticks;
    for (const auto& l : Canvas.Lines) {
        EXPECT_EQ(l.Color, Settings.AxisColor);
        if (l.From.X == l.To.X && l.From.Y == 195 && l.To.Y == 205) ticks.insert(l.From.X);
    }
    EXPECT_EQ(ticks, Mirrored(300, {80, 160, 240}));
    EXPECT_FALSE(Canvas.Texts.empty());
    Canvas.Texts.clear();
    Draw(600, 400, false, false);  // no visible phasor: no numbers
    EXPECT_TRUE(Canvas.Texts.empty());
}

TEST_F(GridTest, NumberTexts) {
    const struct {
        const char* Name;
        double Scale1;
        bool AutoValues;
        int Accuracy;
        int Width;
        std::vector<std::string> FirstTexts;  // the real axis, right number then its mirror
    } cases[] = {
        {"plain", 1.0, false, 2, 600, {"1,00", "-1,00", "2,00", "-2,00", "3,00", "-3,00"}},
        {"odd width", 1.0, true, 2, 601, {"998,34m", "-998,34m"}},
    };
    for (const auto& c : cases) {
        Canvas.Texts.clear();
        Settings = TPlaneSettings{};
        Settings.Scale1 = c.Scale1;
        Settings.AutoValues = c.AutoValues;
        Settings.Accuracy = c.Accuracy;
        Draw(c.Width, 400, true, false);
        std::vector<std::string> texts;
        for (const auto& t : Canvas.Texts)
            texts.push_back(t.Text);
        ASSERT_GE(texts.size(), c.FirstTexts.size()) << c.Name;
        texts.resize(c.FirstTexts.size());
        EXPECT_EQ(texts, c.FirstTexts) << c.Name;
    }
    EXPECT_EQ(FormatAxisNumber(0, true, 0.5), "500m");
    EXPECT_EQ(FormatAxisNumber(-4, false, 2.0), "2");  // no decimals below zero
    EXPECT_EQ(FormatAxisNumber(2, false, std::nan("")), "NaN");
}

TEST_F(GridTest, WholeMultiplesPrintWhole) {
    // Every even width from 400 to 1920 (heights alike) and every margin from 1 to 49 % on
    // 600 x 400: the numbers of both scales read 1, -1, 2, -2, ... exactly.
    std::vector<std::pair<int, double>> sizes;  // width (height = 2/3 of it, even), margin
    for (int w = 400; w <= 1920; w += 2)
        sizes.push_back({w, 10});
    for (int p = 1; p <= 49; ++p)
        sizes.push_back({600, p});
    for (const auto& [w, margin] : sizes) {
        const int h = w * 2 / 3 / 2 * 2;
        Settings.MarginFactor = 100 / (100 - 2 * margin);
        Canvas.Texts.clear();
        Draw(w, h, true, true);
        std::vector<std::string> expected;
        for (double count : {CountX(Settings), CountY(Settings)})
            for (int i = 1; i <= std::min(int(count), 4096); ++i)
                for (const char* sign : {"", "-", "", "-"})
                    expected.push_back(sign + std::to_string(i));
        std::vector<std::string> texts;
        for (const auto& t : Canvas.Texts)
            texts.push_back(t.Text);
        ASSERT_EQ(texts, expected) << w << "x" << h << ", margin " << margin;
    }
}

TEST_F(GridTest, NumberPlaces) {
    // Scale 1: below the real axis and right of the imaginary one; 3 pairs on Re, 2 on Im.
    Draw(600, 400, true, false);
    ASSERT_EQ(Canvas.Texts.size(), 10u);
    auto t = Canvas.Texts;
    EXPECT_EQ(t[0].X, 380 - Metrics().TextWidth("1") / 2);
    EXPECT_EQ(t[0].Y, 208);
    EXPECT_EQ(t[1].X, 220 - Metrics().TextWidth("-1") / 2);  // centred with its minus
    EXPECT_EQ(t[6].Text, "1");
    EXPECT_EQ(t[6].X, 308);
    EXPECT_EQ(t[6].Y, 120 - Metrics().TextHeight("1") / 2);
    // Scale 2: above the real axis and left of the imaginary one, each text by its own width.
    Canvas.Texts.clear();
    Draw(600, 400, false, true);
    ASSERT_EQ(Canvas.Texts.size(), 10u);
    t = Canvas.Texts;
    EXPECT_EQ(t[0].Y, 192 - Metrics().TextHeight("1"));
    EXPECT_EQ(t[6].X, 292 - Metrics().TextWidth("1"));
    EXPECT_EQ(t[7].Text, "-1");
    EXPECT_EQ(t[7].X, 292 - Metrics().TextWidth("-1"));
    EXPECT_EQ(t[7].Y, 280 - Metrics().TextHeight("-1") / 2);
}

TEST_F(GridTest, AxesWithArrowheadsAndNames) {
    ComputeMapping(Settings, 600, 400, Mapping);
    DrawAxes(Canvas, 600, 400, Mapping, 0x123456, 0, false, "Im", "Re", 1);
    ASSERT_EQ(Canvas.Texts.size(), 2u);
    EXPECT_EQ(Canvas.Texts[0].X, 600 - Metrics().TextWidth("Re") - 5);
    EXPECT_EQ(Canvas.Texts[0].Y, 205);
    // The arrow to the right edge: shaft, then both wings 10 pixels back and 3 aside.
    std::vector<TPoint> toRight;
    for (const auto& l : Canvas.Lines)
        if (l.From == TPoint{600, 200}) toRight.push_back(l.To);
    EXPECT_EQ(toRight, (std::vector<TPoint>{{590, 203}, {590, 197}}));
    Canvas.Lines.clear();  // a zero-width surface has no horizontal axis
    ComputeMapping(Settings, 0, 400, Mapping);
    DrawAxes(Canvas, 0, 400, Mapping, 0, 0, false, "Im", "Re", 1);
    for (const auto& l : Canvas.Lines)
        EXPECT_NE(l.From.Y, l.To.Y) << l.From.X << "," << l.From.Y;
}

// The mapping between values and pixels.
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
