// Frames that redraw only what changed against frames drawn from nothing, and the clip that
// such a frame draws under: every primitive writes under it exactly the pixels it writes
// without it, and none outside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "plane/frame.h"
#include "plane/phasordraw.h"
#include "plane_support.h"

namespace zeigora {
namespace {

void FillRandom(TPaintBoxEx& box, std::mt19937& rng) {
    std::uint8_t* bits = box.Bitmap.bits();
    for (qsizetype k = 0; k < box.Bitmap.sizeInBytes(); ++k)
        bits[k] = static_cast<std::uint8_t>(rng() % 4 == 0 ? 255 : rng());  // byte 3 too
}

// One primitive of each kind the frame draws, with random settings.
void DrawPrimitive(TPaintBoxEx& box, int kind, std::mt19937& rng) {
    auto coord = [&](int extent) { return static_cast<int>(rng() % (extent + 40)) - 20; };
    const int w = box.Width(), h = box.Height();
    const int x1 = coord(w), y1 = coord(h), x2 = coord(w), y2 = coord(h);
    TCanvas& c = box.BitmapCanvas();
    c.SetPenColor(rng() & 0xFFFFFF);
    c.SetBrushColor(rng() & 0xFFFFFF);
    c.SetFontColor(rng() & 0xFFFFFF);
    c.SetPenStyle(static_cast<int>(rng() % 5));
    c.SetPenWidth(1 + static_cast<int>(rng() % 3) * static_cast<int>(rng() % 2) * 3);
    c.SetBrushStyle(rng() % 2 ? TBrushStyle::Solid : TBrushStyle::Clear);
    c.MoveTo(x1, y1);
    switch (kind) {
        case 0:
            box.SetPixel(x1, y1, c.PenColor());
            break;
        case 1:
            SmoothLine(c, x1, y1, x2, y2);
            break;
        case 2:
            EllipseAA(box, x1, y1, static_cast<int>(rng() % 50), static_cast<int>(rng() % 40));
            break;
        case 3:
            c.LineTo(x2, y2);  // thin and dashed or wide
            break;
        case 4:
            c.Rectangle(x1, y1, x2, y2);
            break;
        case 5:  // also rings far larger than the surface
            c.Ellipse(x1 * 4 - w, y1 * 4 - h, x2 * 4 - w, y2 * 4 - h);
            break;
        case 6:
            c.TextOut(x1, y1, rng() % 2 ? "Zeiger" : "\xC4j W\xDF");
            break;
        default:
            box.FastAntialiasing = rng() % 2;
            box.LineAA(-1, 1 + static_cast<int>(rng() % 12), x1, y1, x2, y2, -1);
            break;
    }
}

TEST(Clip, EveryPrimitiveWritesTheSamePixelsInsideAndNoneOutside) {
    std::mt19937 rng(1317);
    int partly = 0;
    for (int i = 0; i < 1600; ++i) {
        const int kind = i % 8, w = 40 + static_cast<int>(rng() % 60);
        const int h = 30 + static_cast<int>(rng() % 50);
        TPaintBoxEx whole(w, h), clipped(w, h);
        FillRandom(whole, rng);
        std::memcpy(clipped.Bitmap.bits(), whole.Bitmap.constBits(), whole.Bitmap.sizeInBytes());
        const QImage before = whole.Bitmap.copy();
        clipped.Clip =
            QRect(static_cast<int>(rng() % (w + 10)) - 5, static_cast<int>(rng() % (h + 10)) - 5,
                  1 + static_cast<int>(rng() % w), 1 + static_cast<int>(rng() % h));
        const std::mt19937 start = rng;
        DrawPrimitive(whole, kind, rng);
        rng = start;
        DrawPrimitive(clipped, kind, rng);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const QImage& expected = clipped.Clip.contains(x, y) ? whole.Bitmap : before;
                ASSERT_EQ(0, std::memcmp(clipped.Bitmap.constScanLine(y) + x * 4,
                                         expected.constScanLine(y) + x * 4, 4))
                    << "case " << i << " kind " << kind << " at " << x << "," << y;
            }
        partly += !test::SameBytes(clipped.Bitmap, before) &&
                  !test::SameBytes(clipped.Bitmap, whole.Bitmap);
    }
    EXPECT_GT(partly, 200);  // many cases draw both inside and outside the clip
}

TPhasor RandomPhasor(std::mt19937& rng, int k) {
    auto value = [&] { return std::uniform_real_distribution<double>(-3.5, 3.5)(rng); };
    TPhasor p = ZeroPhasor();
    InitPhasor(p);
    p.Name = "Z" + std::to_string(k);
    p.Value = MakeComplex(value(), value());
    p.Color = rng() & 0xFFFFFF;
    p.Width = static_cast<std::uint8_t>(1 + rng() % 4);
    p.Style = static_cast<std::uint8_t>(rng() % 5);
    return p;
}

// One change of the kinds a drag, the wheel, the clock or a dialog make.
void Change(TPhasorArray& phasors, TPlaneSettings& s, int& selected, std::mt19937& rng) {
    auto pick = [&](int n) { return static_cast<int>(rng() % n); };
    auto shift = [&] { return std::uniform_real_distribution<double>(-0.3, 0.3)(rng); };
    TPhasor& p = phasors[std::size_t(pick(int(phasors.size())))];
    switch (pick(16)) {
        case 0:
            p.Value = RandomPhasor(rng, 0).Value;
            break;
        case 1:
            p.Value = MakeComplex(pick(2) ? 60.0 : std::nan(""), -30.0);  // far out, or failed
            break;
        case 2:
            p.Color = rng() & 0xFFFFFF;
            break;
        case 3:
            p.Width = static_cast<std::uint8_t>(pick(8) ? 1 + pick(4) : pick(2) * 40);
            break;
        case 4:
            p.Style = static_cast<std::uint8_t>(pick(7));
            break;
        case 5:
            p.Name = pick(2) ? "\xC4gj" : "Langer Name";
            break;
        case 6:
            p.NameVisible ^= 1;
            break;
        case 7:
            p.Visible ^= 1;
            break;
        case 8:
            selected = pick(int(phasors.size()) + 1) - 1;
            break;
        case 9:
            p.Scale ^= 1;
            break;
        case 10:
            s.GraphicalAddition = pick(3) == 0;
            break;
        case 11:
            s.AntiAliasing = pick(4) != 0;
            break;
        case 12:
            s.RootsMode = pick(4) == 0;
            break;
        case 13: {  // the name changes sides, the tip stays
            TPhasor& q = phasors[0];
            q.Visible = q.NameVisible = 1;
            q.Value = MakeComplex(q.Value.Re == 1e-4 ? -1e-4 : 1e-4, q.Value.Im);
            break;
        }
        default:  // a drag: a few pixels
            p.Value = MakeComplex(p.Value.Re + shift(), p.Value.Im + shift());
            break;
    }
}

// Every pixel that drawing a phasor changes lies in the ink the partial frames go by.
TEST(FramePartial, PhasorInkHoldsEveryPixelDrawn) {
    std::mt19937 rng(1314);
    for (int i = 0; i < 500; ++i) {
        TPaintBoxEx box(200, 150);
        TPlaneMapping m;
        PreparePlane(box, 200, 150, clWhite, m);
        m.Factor1X = m.Factor1Y = m.Factor2X = m.Factor2Y = 20;
        m.ChainX = static_cast<int>(rng() % 200), m.ChainY = static_cast<int>(rng() % 150);
        TPhasor p = RandomPhasor(rng, i);
        if (rng() % 4 == 0) p.Value = MakeComplex(p.Value.Re / 20, p.Value.Im / 20);    // short
        if (rng() % 8 == 0) p.Value = MakeComplex(p.Value.Re * 40, p.Value.Im);         // far
        if (rng() % 3 == 0) p.Value = MakeComplex(p.Value.Re, rng() % 2 ? 0.0 : 0.05);  // level
        if (rng() % 8 == 0) p.Width = static_cast<std::uint8_t>(rng() % 50);
        p.NameVisible = rng() % 3 != 0;
        const TPhasorDrawOptions options{12, nullptr, rng() % 4 != 0, true};
        const bool selected = rng() % 3 == 0;
        TDrawnPhasorArray drawn;
        ASSERT_TRUE(PlacePhasor(m, drawn, &p, options));
        const QImage before = box.Bitmap.copy();
        DrawPlacedPhasor(box, drawn[0], selected, options);
        std::vector<QRect> ink;
        PhasorInk(box.DrawingCanvas(), drawn[0], selected, options, box.Bitmap.rect(), ink);
        for (int y = 0; y < box.Height(); ++y)
            for (int x = 0; x < box.Width(); ++x)
                if (std::memcmp(before.constScanLine(y) + x * 4,
                                box.Bitmap.constScanLine(y) + x * 4, 4) != 0) {
                    ASSERT_TRUE(std::any_of(ink.begin(), ink.end(),
                                            [&](const QRect& r) { return r.contains(x, y); }))
                        << "case " << i << " at " << x << "," << y << " width " << int(p.Width);
                }
    }
}

TEST(FramePartial, FramesAfterEveryKindOfChangeMatchFreshOnes) {
    std::mt19937 rng(1313);
    TPaintBoxEx surface(400, 260);  // large enough for whole frames on both cores
    TPlaneView view;
    view.Cores = TFrameCores::Both;
    TPhasorArray phasors;
    for (int k = 0; k < 10; ++k)
        phasors.push_back(RandomPhasor(rng, k));
    int selected = -1, partial = 0;
    QImage previous;
    for (int step = 0; step < 600; ++step) {
        const int changes = 1 + static_cast<int>(rng() % 3 == 0) * static_cast<int>(rng() % 3);
        for (int k = 0; k < changes; ++k)
            Change(phasors, view.Settings, selected, rng);
        const TPhasor* sel = selected >= 0 ? &phasors[std::size_t(selected)] : nullptr;
        ASSERT_TRUE(
            test::FrameMatchesFresh(surface, view, phasors, sel, TFrameCores::One, previous))
            << "step " << step;
        previous = surface.Bitmap.copy();
        partial += surface.Changed.width() * 2 < surface.Width();
        if (rng() % 20 == 0)  // as the picture export writes its comment: the next frame covers it
            surface.BitmapCanvas().TextOut(int(rng() % 300), int(rng() % 250), "Created with");
    }
    EXPECT_GT(partial, 150);
}

}  // namespace
}  // namespace zeigora
