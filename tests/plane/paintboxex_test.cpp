#include "plane/paintboxex.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

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

TEST(LineAA, PenStyleDashAndDot) {
    const struct {
        int Style;
        std::string Expected;  // columns of row 5 from 0: '#' black, '.' white
    } cases[] = {
        {psDash, "....########....########....########....########..."},
        {psDot, "..##..##..##..##..##..##..##..##..##..##..##..##.."},
    };
    for (const auto& c : cases) {
        TSurface s(60, 10);
        s.Box.BitmapCanvas().SetPenStyle(c.Style);
        s.Box.LineAA(-1, 1, 0, 5, 50, 5, -1);
        std::string row;
        for (int x = 0; x < int(c.Expected.size()); ++x) {
            const TColor p = s.Box.GetPixel(x, 5);
            row += p == 0 ? '#' : (p == kWhite ? '.' : '?');
        }
        EXPECT_EQ(row, c.Expected) << "style " << c.Style;
    }
}

TEST(LineAA, NothingDrawn) {
    const struct {
        const char* What;
        int Width, PenWidth, Style;
        long double X2, Dash;
    } cases[] = {
        {"same sub-sample", 1, 1, psSolid, 10.02L, 0},
        {"thickness 0", 0, 0, psSolid, 20, 0},
        {"pen style clear", 1, 1, psClear, 20, -1},
        {"pen style 6", 1, 1, psInsideFrame, 20, -1},
    };
    for (const auto& c : cases)
        for (bool fast : {false, true}) {
            TSurface s(30, 20);
            s.Box.FastAntialiasing = fast;
            s.Box.BitmapCanvas().SetPenWidth(c.PenWidth);
            s.Box.BitmapCanvas().SetPenStyle(c.Style);
            s.Box.LineAA(-1, c.Width, 10, 10, c.X2, 10, c.Dash);
            EXPECT_EQ(s.ChangedPixels(), 0) << c.What;
        }
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

TEST(EllipseAA, RingShares) {
    // Worked sample by sample: the share of the 256 points of each cell that lie outside the
    // ellipse and inside the one a pixel larger, blended into white; the cells on the axes are
    // blended twice (their mirror pixels coincide).
    TSurface s(20, 20);
    EllipseAA(s.Box, 10, 10, 4, 4);
    const int quadrant[5][5] = {{255, 255, 255, 247, 0},
                                {255, 255, 255, 188, 51},
                                {255, 255, 245, 49, 162},
                                {247, 188, 49, 98, 255},
                                {0, 51, 162, 255, 255}};
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 5; ++i)
            for (int x : {10 + i, 10 - i})
                for (int y : {10 + j, 10 - j})
                    EXPECT_EQ(s.Box.GetPixel(x, y), TColor(quadrant[j][i] * 0x010101))
                        << x << "," << y;
    EXPECT_EQ(s.ChangedPixels(), 10 * 4 + 4 * 2);  // the cells above, mirrored
    // An ellipse in orange: each channel on its own; the far cells are skipped.
    TSurface e(30, 20);
    e.Box.BitmapCanvas().SetPenColor(0x0080FF);
    EllipseAA(e.Box, 15, 10, 7, 3);
    const TColor rows[4][9] = {
        {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xD3E8FF, 0x0080FF, 0xFFFFFF},
        {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xDEEEFF, 0x349AFF, 0x8DC6FF, 0xFFFFFF},
        {0xFFFFFF, 0xF6FAFF, 0xD3E9FF, 0xA1D0FF, 0x56ABFF, 0x1D8EFF, 0xA1D0FF, 0xFFFFFF, 0xFFFFFF},
        {0x0080FF, 0x0884FF, 0x2B95FF, 0x5DAEFF, 0xA7D3FF, 0xF7FBFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}};
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(e.Box.GetPixel(15 - i, 10 - j), rows[j][i]) << i << "," << j;
}

std::string RecordPicture(const char* name) {
    TPaintBoxEx box(200, 100);
    box.BeginRecording();
    TCanvas& c = box.DrawingCanvas();
    c.SetBrushColor(0xFFFFFF);
    c.SetPenColor(0xFFFFFF);
    c.Rectangle(0, 0, 200, 100);
    c.SetBrushStyle(TBrushStyle::Clear);
    c.SetPenColor(0x0000FF);  // red
    c.MoveTo(10, 10);
    c.LineTo(190, 10);
    c.SetPenColor(0x00FF00);  // green, dashed
    c.SetPenStyle(psDash);
    c.LineTo(190, 90);
    c.SetPenStyle(psSolid);
    c.SetPenWidth(4);
    c.SetPenColor(0xFF0000);  // blue, wide
    c.LineTo(10, 90);
    c.SetPenWidth(1);
    c.Ellipse(50, 20, 150, 80);
    c.SetPixel(5, 5, 0x00FFFF);
    c.SetFontColor(0x000000);
    c.SetFontBold(true);
    c.TextOut(60, 40, "Zeiger \xFC\xB5");
    const std::string file = ::testing::TempDir() + name;
    box.EndRecording(file);
    return file;
}

TEST(Metafile, RecordStructureIsExact) {
    const std::string file = RecordPicture("structure.emf");
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> d{std::istreambuf_iterator<char>(in), {}};
    const auto u32 = [&](std::size_t at) {
        std::uint32_t v = 0;
        std::memcpy(&v, d.data() + at, 4);
        return v;
    };
    ASSERT_GE(d.size(), 108u);
    EXPECT_EQ(u32(0), 1u);            // header first
    EXPECT_EQ(u32(40), 0x464D4520u);  // " EMF"
    EXPECT_EQ(u32(48), d.size());     // nBytes
    std::size_t at = 0, records = 0, lastType = 0;
    std::uint32_t highestHandle = 0;
    bool sawText = false;
    while (at < d.size()) {
        const std::uint32_t type = u32(at), size = u32(at + 4);
        ASSERT_EQ(size % 4, 0u) << "record " << records;
        ASSERT_GE(size, 8u);
        ASSERT_LE(at + size, d.size());
        // Object creation records carry their handle index first.
        if (type == 38 || type == 39 || type == 82 || type == 95)
            highestHandle = std::max(highestHandle, u32(at + 8));
        if (type == 84) {  // text: its bounds must be a real rectangle
            sawText = true;
            EXPECT_LT(std::int32_t(u32(at + 8)), std::int32_t(u32(at + 16)));
            EXPECT_LT(std::int32_t(u32(at + 12)), std::int32_t(u32(at + 20)));
        }
        lastType = type;
        at += size;
        ++records;
    }
    EXPECT_EQ(u32(52), records);                     // nRecords
    EXPECT_EQ(u32(56) & 0xFFFF, highestHandle + 1);  // nHandles
    EXPECT_EQ(lastType, 14u);                        // EOF last
    EXPECT_TRUE(sawText);
    unlink(file.c_str());
}

TEST(Metafile, IndependentReaderAcceptsIt) {
    if (system("command -v emf2svg-conv > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "emf2svg-conv is not installed";
    const std::string file = RecordPicture("reader.emf");
    const std::string svg = file + ".svg";
    ASSERT_EQ(system(("emf2svg-conv -i '" + file + "' -o '" + svg + "' 2>&1").c_str()), 0);
    std::stringstream text;
    text << std::ifstream(svg).rdbuf();
    const std::string s = text.str();
    for (const char* part : {"Zeiger \xC3\xBC\xC2\xB5", "#FF0000", "#00FF00", "#0000FF",
                             "stroke-dasharray", "stroke-width=\"4"})
        EXPECT_NE(s.find(part), std::string::npos) << part << "\n" << s;
    unlink(file.c_str());
    unlink(svg.c_str());
}

}  // namespace
}  // namespace zeigora
