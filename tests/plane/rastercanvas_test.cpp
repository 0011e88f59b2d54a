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
        {psSolid, "########################################"},
        {psDash, "##################......################"},
        {psDot, "###...###...###...###...###...###...###."},
        {psDashDot, "#########......###......#########......#"},
        {psDashDotDot, "#########...###...###...#########...###."},
        {psClear, "........................................"},
    };
    for (const auto& c : cases) {
        TRaster r;
        r.Canvas.SetPenStyle(c.Style);
        r.Line(0, 2, 70, 2);
        EXPECT_EQ(r.Row(2, 40), c.Expected) << "style " << c.Style;
    }
}

TEST(RasterCanvas, SolidBrushFillsDashGapsAndWidePensDrawSolid) {
    TRaster r;
    r.Canvas.SetBrushStyle(TBrushStyle::Solid);
    r.Canvas.SetBrushColor(0x0000FF);
    r.Canvas.SetPenStyle(psDot);
    r.Line(0, 2, 12, 2);
    EXPECT_EQ(r.Row(2, 13), "###ooo###ooo.");
    r.Canvas.SetBrushStyle(TBrushStyle::Clear);
    r.Canvas.SetPenWidth(3);
    r.Line(10, 10, 40, 10);
    for (int y = 9; y <= 11; ++y)
        EXPECT_EQ(r.Row(y, 40).substr(12, 26), std::string(26, '#'));
}

TEST(RasterCanvas, RectangleAndEllipseStayInTheirBoxes) {
    TRaster r;
    r.Canvas.SetBrushStyle(TBrushStyle::Solid);
    r.Canvas.SetBrushColor(0x00FF00);
    r.Canvas.Rectangle(2, 2, 8, 6);
    EXPECT_EQ(r.Row(2, 10), "..######..");
    EXPECT_EQ(r.Row(3, 10), "..#oooo#..");
    EXPECT_EQ(r.Row(5, 10), "..######..");
    EXPECT_EQ(r.Row(6, 10), "..........");
    r.Canvas.SetPenStyle(psClear);  // without a pen the fill is one pixel smaller
    r.Canvas.Rectangle(20, 2, 24, 6);
    EXPECT_EQ(r.Row(4, 26).substr(18), "..ooo...");
    EXPECT_EQ(r.Row(5, 26).substr(18), "........");
    TRaster e;
    e.Canvas.Ellipse(10, 2, 30, 12);
    for (int y = 0; y < 20; ++y) {
        const std::string row = e.Row(y, 40);
        EXPECT_EQ(row.substr(0, 10) + row.substr(30), std::string(20, '.')) << y;
        if (y < 2 || y >= 12) {
            EXPECT_EQ(row, std::string(40, '.')) << y;
        }
    }
    EXPECT_EQ(e.Canvas.GetPixel(10, 7), clBlack);
    EXPECT_EQ(e.Canvas.GetPixel(29, 7), clBlack);
}

TEST(RasterCanvas, TextGlyphsAndBackground) {
    TRaster r;
    EXPECT_EQ(r.Canvas.TextWidth(""), 0);
    EXPECT_GT(r.Canvas.TextWidth("\x80"), 0);  // the euro sign has a glyph
    const int h = r.Canvas.TextHeight("i");
    r.Canvas.SetFontColor(0xFF0000);
    r.Canvas.TextOut(2, 2, "i");  // clear brush: no background
    EXPECT_EQ(r.Canvas.GetPixel(2, 2), clWhite);
    r.Canvas.SetBrushStyle(TBrushStyle::Solid);
    r.Canvas.SetBrushColor(0x00FF00);
    r.Canvas.TextOut(40, 2, "i");  // solid brush: the text box takes the brush colour
    EXPECT_EQ(r.Canvas.GetPixel(40, 2), 0x00FF00u);
    EXPECT_EQ(r.Canvas.GetPixel(40, 2 + h), clWhite);
}

TEST(RasterCanvas, PixelsSwapRedAndBlue) {
    TRaster r;
    r.Canvas.SetPixel(1, 1, 0x0000FF);
    EXPECT_EQ(r.Canvas.GetPixel(1, 1), 0x0000FFu);
    EXPECT_EQ(r.Image.pixel(1, 1) & 0xFFFFFF, 0xFF0000u);  // QRgb is 0xRRGGBB
    EXPECT_EQ(r.Canvas.GetPixel(-1, 1), 0u);
    r.Canvas.SetPixel(80, 1, 0);  // ignored
}

}  // namespace
}  // namespace zeigora
