#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "complex/numtext.h"
#include "plane/grid.h"
#include "plane/paintboxex.h"
#include "recordingcanvas.h"

namespace zeigora {
namespace {

using testing::TRecordingCanvas;

class GridTest : public ::testing::Test {
  protected:
    void SetUp() override { SetDecimalSeparator(','); }

    void Draw(int w, int h, bool hasScale1, bool hasScale2) {
        ComputeMapping(Settings, w, h, Mapping);
        ResetChainPoint(Mapping);
        DrawGrid(Canvas, w, h, Settings, Mapping, hasScale1, hasScale2);
    }

    // Columns of full-height lines (rows of full-width lines) in the given colour and style.
    std::set<int> Columns(TColor color, int style, int height) const {
        std::set<int> xs;
        for (const auto& l : Canvas.Lines)
            if (l.Color == color && l.Style == style && l.From.X == l.To.X && l.From.Y == 0 &&
                l.To.Y == height)
                xs.insert(l.From.X);
        return xs;
    }
    std::set<int> Rows(TColor color, int style, int width) const {
        std::set<int> ys;
        for (const auto& l : Canvas.Lines)
            if (l.Color == color && l.Style == style && l.From.Y == l.To.Y && l.From.X == 0 &&
                l.To.X == width)
                ys.insert(l.From.Y);
        return ys;
    }
    std::vector<std::string> TextsOf() const {
        std::vector<std::string> t;
        for (const auto& r : Canvas.Texts)
            t.push_back(r.Text);
        return t;
    }

    TPaintBoxEx Surface{600, 400};
    TRecordingCanvas Canvas{Surface.BitmapCanvas()};
    TPlaneSettings Settings;
    TPlaneMapping Mapping;
};

std::set<int> Mirrored(int centre, std::initializer_list<int> offsets) {
    std::set<int> s;
    for (int d : offsets) {
        s.insert(centre + d);
        s.insert(centre - d);
    }
    return s;
}

TEST_F(GridTest, DefaultGridAndSubGrid) {
    Draw(600, 400, true, false);
    EXPECT_EQ(Columns(0xC0C0C0, 0, 400), Mirrored(300, {80, 160, 240}));
    EXPECT_EQ(Rows(0xC0C0C0, 0, 600), Mirrored(200, {80, 160}));
    // Sub-lines from the origin outwards, including those past the last grid line.
    EXPECT_EQ(Columns(0xC0C0C0, 2, 400), Mirrored(300, {27, 53, 107, 133, 187, 213, 267, 293}));
    EXPECT_EQ(Rows(0xC0C0C0, 2, 600), Mirrored(200, {27, 53, 107, 133, 187, 213}));
}

TEST_F(GridTest, TwoSubIntervalsSplitEachIntervalInHalf) {
    Settings.SubIntervals = 2;
    Draw(600, 400, true, false);
    EXPECT_EQ(Columns(0xC0C0C0, 2, 400), Mirrored(300, {40, 120, 200, 280}));
}

TEST_F(GridTest, HiddenGridKeepsTicksAndNumbers) {
    Settings.GridVisible = false;
    Draw(600, 400, true, false);
    for (const auto& l : Canvas.Lines)
        EXPECT_EQ(l.Color, Settings.AxisColor);
    std::set<int> tickColumns;
    for (const auto& l : Canvas.Lines)
        if (l.From.X == l.To.X && l.From.Y == 195 && l.To.Y == 205) tickColumns.insert(l.From.X);
    EXPECT_EQ(tickColumns, Mirrored(300, {80, 160, 240}));
    EXPECT_FALSE(Canvas.Texts.empty());
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
        {"defaults", 1.0, true, 2, 600, {"1", "-1", "2", "-2", "3", "-3", "1", "-1"}},
        {"plain", 1.0, false, 2, 600, {"1,00", "-1,00", "2,00", "-2,00", "3,00", "-3,00"}},
        {"half scale", 0.5, true, 2, 600, {"500m", "-500m", "1", "-1", "1,5", "-1,5"}},
        {"half scale plain", 0.5, false, 2, 600, {"0,50", "-0,50", "1,00", "-1,00", "1,50"}},
        {"no decimals", 1.0, false, 0, 600, {"1", "-1", "2", "-2"}},
        {"odd width", 1.0, true, 2, 601, {"998,34m", "-998,34m"}},
        {"odd width plain", 1.0, false, 2, 601, {"1,00", "-1,00"}},
    };
    for (const auto& c : cases) {
        Canvas.Texts.clear();
        Settings = TPlaneSettings{};
        Settings.Scale1 = c.Scale1;
        Settings.AutoValues = c.AutoValues;
        Settings.Accuracy = c.Accuracy;
        Draw(c.Width, 400, true, false);
        const std::vector<std::string> texts = TextsOf();
        ASSERT_GE(texts.size(), c.FirstTexts.size()) << c.Name;
        EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + c.FirstTexts.size()),
                  c.FirstTexts)
            << c.Name;
    }
}

TEST_F(GridTest, NoVisiblePhasorNoNumbers) {
    Draw(600, 400, false, false);
    EXPECT_TRUE(Canvas.Texts.empty());
    EXPECT_FALSE(Canvas.Lines.empty());
}

TEST_F(GridTest, ScaleOneNumbersBelowAndRight) {
    Draw(600, 400, true, false);
    ASSERT_EQ(Canvas.Texts.size(), 10u);  // 3 pairs on Re, 2 pairs on Im
    const TCanvas& m = Surface.BitmapCanvas();
    const auto& t = Canvas.Texts;
    EXPECT_EQ(t[0].X, 380 - m.TextWidth("1") / 2);
    EXPECT_EQ(t[0].Y, 208);
    EXPECT_EQ(t[1].X, 220 - m.TextWidth("-1") / 2);
    EXPECT_EQ(t[1].Y, 208);
    EXPECT_EQ(t[6].Text, "1");
    EXPECT_EQ(t[6].X, 308);
    EXPECT_EQ(t[6].Y, 120 - m.TextHeight("1") / 2);
    EXPECT_EQ(t[7].Text, "-1");
    EXPECT_EQ(t[7].Y, 280 - m.TextHeight("-1") / 2);
    EXPECT_EQ(t[0].Color, Settings.AxisColor);
}

TEST_F(GridTest, ScaleTwoNumbersAboveAndLeft) {
    Settings.Scale2 = 2.0;
    Draw(600, 400, false, true);
    ASSERT_EQ(Canvas.Texts.size(), 10u);
    const TCanvas& m = Surface.BitmapCanvas();
    const auto& t = Canvas.Texts;
    EXPECT_EQ(t[0].Text, "2");
    EXPECT_EQ(t[0].Y, 192 - m.TextHeight("2"));
    EXPECT_EQ(t[1].Text, "-2");
    EXPECT_EQ(t[6].Text, "2");
    EXPECT_EQ(t[6].X, 292 - m.TextWidth("2"));
    EXPECT_EQ(t[7].X, 292 - m.TextWidth("-2"));
}

TEST_F(GridTest, AxesWithArrowheadsAndNames) {
    ComputeMapping(Settings, 600, 400, Mapping);
    DrawAxes(Canvas, 600, 400, Mapping, 0x123456, 0, false, "Im", "Re", 1);
    const TCanvas& m = Surface.BitmapCanvas();
    ASSERT_EQ(Canvas.Texts.size(), 2u);
    EXPECT_EQ(Canvas.Texts[0].X, 600 - m.TextWidth("Re") - 5);
    EXPECT_EQ(Canvas.Texts[0].Y, 205);
    EXPECT_EQ(Canvas.Texts[1].X, 300 - m.TextWidth("Im") - 5);
    EXPECT_EQ(Canvas.Texts[1].Y, 5);
    // The arrow to the right edge: shaft, then both wings 10 pixels back and 3 aside.
    std::vector<std::pair<TPoint, TPoint>> toRight;
    for (const auto& l : Canvas.Lines)
        if (l.From == TPoint{600, 200}) toRight.push_back({l.From, l.To});
    ASSERT_EQ(toRight.size(), 2u);
    EXPECT_EQ(toRight[0].second, (TPoint{590, 203}));
    EXPECT_EQ(toRight[1].second, (TPoint{590, 197}));
    EXPECT_EQ(Mapping.ChainX, 300);
    EXPECT_EQ(Mapping.ChainY, 200);
}

TEST_F(GridTest, ZeroWidthSurfaceHasNoHorizontalAxis) {
    ComputeMapping(Settings, 0, 400, Mapping);
    DrawAxes(Canvas, 0, 400, Mapping, 0, 0, false, "Im", "Re", 1);
    for (const auto& l : Canvas.Lines)
        EXPECT_EQ(l.From.Y == l.To.Y, false) << l.From.X << "," << l.From.Y;
}

TEST(AxisNumber, EdgeCases) {
    SetDecimalSeparator(',');
    EXPECT_EQ(FormatAxisNumber(0, true, 0.5), "500m");
    EXPECT_EQ(FormatAxisNumber(-4, false, 2.0), "2");  // no decimals below zero
    EXPECT_EQ(FormatAxisNumber(2, false, std::nan("")), "NaN");
}

}  // namespace
}  // namespace zeigora
