#include "plane/paintboxex.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

namespace zeigora {
namespace {

constexpr TColor kWhite = 0xFFFFFF;

// A white surface with a black solid pen of width 1.
struct TSurface {
    TPaintBoxEx Box;
    TSurface(int w, int h) : Box(w, h) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                Box.SetPixel(x, y, kWhite);
        Box.BitmapCanvas().SetPenColor(clBlack);
    }
    int Grey(int x, int y) const { return Box.GetPixel(x, y) & 0xFF; }
    int ChangedPixels() const {
        int n = 0;
        for (int y = 0; y < Box.Height(); ++y)
            for (int x = 0; x < Box.Width(); ++x)
                n += Box.GetPixel(x, y) != kWhite;
        return n;
    }
};

TEST(PaintBoxEx, PixelBytesAndBounds) {
    TPaintBoxEx box(4, 3);
    box.SetPixel(2, 2, 0x0000FF);
    EXPECT_EQ(box.GetPixel(2, 2), 0x0000FFu);
    std::uint32_t word;
    std::memcpy(&word, box.PixelAddress(2, 2), 4);
    EXPECT_EQ(word, 0x00FF0000u);  // red and blue swapped, byte 3 cleared
    box.SetPixel(-1, 0, 0x123456);
    box.SetPixel(4, 0, 0x123456);
    EXPECT_EQ(box.GetPixel(-1, 0), 0u);
    EXPECT_EQ(box.GetPixel(0, 3), 0u);
    TPaintBoxEx empty(5, 0);
    EXPECT_EQ(empty.Bits(), nullptr);
    empty.SetPixel(0, 0, 1);
    empty.LineAA(0, 1, 0, 0, 4, 0, 0);
}

TEST(PaintBoxEx, RecordingFailuresKeepTheSurfaceUsable) {
    TPaintBoxEx box(20, 10);
    box.BeginRecording();
    TCanvas* recording = &box.DrawingCanvas();
    EXPECT_NE(recording, &box.BitmapCanvas());
    try {
        box.BeginRecording();
        FAIL() << "second BeginRecording must fail";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Already recording.");
    }
    EXPECT_TRUE(box.Recording());
    EXPECT_EQ(&box.DrawingCanvas(), recording);
    EXPECT_THROW(box.EndRecording("/nonexistent-folder/x.emf"), std::runtime_error);
    EXPECT_FALSE(box.Recording());
    EXPECT_EQ(&box.DrawingCanvas(), &box.BitmapCanvas());
    box.BeginRecording();  // the failed recording is over
    const std::string file = ::testing::TempDir() + "again.emf";
    EXPECT_TRUE(box.EndRecording(file));
    unlink(file.c_str());
}

TEST(LineAA, HorizontalLineGreyLevels) {
    const struct {
        bool Fast;
        int Width, Inner, End, Changed;
    } cases[] = {{false, 1, 0, 119, 11}, {true, 1, 5, 105, 11}, {false, 3, 0, 119, 33}};
    for (const auto& c : cases) {
        TSurface s(40, 30);
        s.Box.FastAntialiasing = c.Fast;
        s.Box.LineAA(0, c.Width, 10, 10, 20, 10, 0);
        for (int y = 10 - c.Width / 2; y <= 10 + c.Width / 2; ++y) {
            EXPECT_EQ(s.Grey(10, y), c.End);
            EXPECT_EQ(s.Grey(20, y), c.End);
            for (int x = 11; x <= 19; ++x)
                EXPECT_EQ(s.Box.GetPixel(x, y), TColor(c.Inner * 0x010101));
        }
        EXPECT_EQ(s.ChangedPixels(), c.Changed) << "fast " << c.Fast << " width " << c.Width;
    }
    TSurface s(40, 3);
    s.Box.BitmapCanvas().SetPenColor(0x0000FF);  // colour -1 takes the pen
    s.Box.LineAA(-1, 1, 2, 0, 20, 0, 0);
    EXPECT_EQ(s.Box.GetPixel(10, 0), 0x0000FFu);
}

TEST(Hypot, ExactAndWithoutOverflow) {
    EXPECT_EQ(Hypot(-4, 3), 5);
    EXPECT_EQ(Hypot(0, 0), 0);
    EXPECT_EQ(Hypot(1e4000L, 1e4000L), 1e4000L * std::sqrt(2.0L));
}

TEST(SmoothLine, EveryColumnHasAMainPixel) {
    TSurface s(20, 12);
    TCanvas& c = s.Box.BitmapCanvas();
    SmoothLine(c, 0, 0, 10, 5);
    EXPECT_EQ(c.PenPos(), (TPoint{10, 5}));
    // The error alternates 0 and -5: even columns get one black main pixel, odd ones a main
    // pixel of weight 12 and the neighbour above with weight 10 (of 22).
    for (int x = 0; x <= 10; ++x) {
        int changed = 0;
        for (int r = 0; r < 12; ++r)
            changed += s.Box.GetPixel(x, r) != kWhite;
        EXPECT_EQ(changed, 1 + x % 2) << "column " << x;
        if (x % 2 == 0) {
            EXPECT_EQ(s.Grey(x, x / 2), 0) << "column " << x;
        } else {
            EXPECT_EQ(s.Grey(x, (x + 1) / 2), 115) << "column " << x;
            EXPECT_EQ(s.Grey(x, (x - 1) / 2), 139) << "column " << x;
        }
    }
}

TEST(EllipseAA, SmallRadiusBlendsEveryCell) {
    TSurface s(12, 12);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            s.Box.PixelAddress(x, y)[3] = 7;
    EllipseAA(s.Box, 5, 5, 1, 1);
    // Every cell up to RX + 1 is blended and loses byte 3, even the centre that holds no
    // sample of the ring.
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool cell = x >= 3 && x <= 7 && y >= 3 && y <= 7;
            EXPECT_EQ(s.Box.PixelAddress(x, y)[3], cell ? 0 : 7) << x << "," << y;
        }
    TSurface none(10, 10);
    EllipseAA(none.Box, 5, 5, 0, 3);
    EXPECT_EQ(none.ChangedPixels(), 0);
}

}  // namespace
}  // namespace zeigora
