#include "platform/rastercanvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <string>

namespace zeigora {
namespace {

struct TRaster {
    QImage Image{80, 20, QImage::Format_RGB32};
    TRasterCanvas Canvas{&Image};
    TRaster() {
        Image.fill(Qt::white);
        Canvas.SetBrushStyle(TBrushStyle::Clear);
    }
    // Row y from column 0 to `count` - 1: '#' pen colour (black), '.' white, 'o' other.
    std::string Row(int y, int count) const {
        std::string s;
        for (int x = 0; x < count; ++x) {
            const TColor c = Canvas.GetPixel(x, y);
            s += c == clBlack ? '#' : (c == clWhite ? '.' : 'o');
        }
        return s;
    }
    void Line(int x1, int y1, int x2, int y2) {
        Canvas.MoveTo(x1, y1);
        Canvas.LineTo(x2, y2);
    }
};

TEST(RasterCanvas, LineToLeavesOutItsEndPixelAndClipsFarPoints) {
    TRaster r;
    r.Line(2, 3, 10, 3);
    EXPECT_EQ(r.Row(3, 12), "..########..");
    EXPECT_EQ(r.Canvas.PenPos(), (TPoint{10, 3}));
    r.Line(0, 5, 4, 9);  // diagonal: (0,5) .. (3,8)
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(r.Canvas.GetPixel(i, 5 + i), clBlack);
    EXPECT_EQ(r.Canvas.GetPixel(4, 9), clWhite);
    r.Line(30, 4, 30, 4);  // zero length: nothing
    EXPECT_EQ(r.Canvas.GetPixel(30, 4), clWhite);
    r.Line(-2000000000, 7, 2000000000, 7);
    EXPECT_EQ(r.Row(7, 80), std::string(80, '#'));
    r.Line(-2000000000, -2000000000, 2000000000, 2000000000);  // through (0, 0)
    EXPECT_EQ(r.Canvas.GetPixel(5, 5), clBlack);
    EXPECT_EQ(r.Canvas.GetPixel(6, 5), clWhite);
}

TEST(RasterCanvas, ClassicDashPatterns) {
    const struct {
        int Style;
        const char* Expected;
    } cases[] = {
        {psDash, "##################......################"},
        {psDot, "###...###...###...###...###...###...###."},
        {psDashDot, "#########......###......#########......#"},
        {psDashDotDot, "#########...###...###...#########...###."},
    };
    for (const auto& c : cases) {
        TRaster r;
        r.Canvas.SetPenStyle(c.Style);
        r.Line(0, 2, 70, 2);
        EXPECT_EQ(r.Row(2, 40), c.Expected) << "style " << c.Style;
    }
}

}  // namespace
}  // namespace zeigora
