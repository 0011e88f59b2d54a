// The production LineAA against the step-by-step reference, byte for byte (byte 3 included),
// over random lines, widths, dash settings and backgrounds; lines beyond the walk limits
// against the reference that clips them first. A clipped line equals the full line inside the
// clip and leaves every pixel outside it as it was.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "plane/lineaa_reference.h"
#include "plane/paintboxex.h"
#include "plane_support.h"

namespace zeigora {
namespace {

void FillRandom(TPaintBoxEx& box, std::mt19937& rng, bool white) {
    for (int y = 0; y < box.Height(); ++y) {
        std::uint8_t* p = box.PixelAddress(0, y);
        for (int x = 0; x < box.Width() * 4; ++x)
            p[x] = white && x % 4 != 3 ? 255 : static_cast<std::uint8_t>(rng());
    }
}

// Puts back the pixels of `before` outside `clip`, as a clipped line must leave them.
void KeepOutside(TPaintBoxEx& box, const QImage& before, const QRect& clip) {
    for (int y = 0; y < box.Height(); ++y)
        for (int x = 0; x < box.Width(); ++x)
            if (!clip.contains(x, y))
                std::memcpy(box.PixelAddress(x, y), before.constScanLine(y) + x * 4, 4);
}

TEST(LineAACompare, ProductionMatchesReference) {
    std::mt19937 rng(20261206);
    auto uniform = [&](long double lo, long double hi) {
        return std::uniform_real_distribution<long double>(lo, hi)(rng);
    };
    const long double dashes[] = {-1, -1, -1, 0, 0.5L, 1, 2.7L};
    int drawn = 0;
    for (int i = 0; i < 2000; ++i) {
        const bool large = i % 10 == 0;  // long enough for many whole pixels along the line
        const int w = (large ? 250 : 20) + static_cast<int>(rng() % 60),
                  h = (large ? 200 : 15) + static_cast<int>(rng() % 50);
        TPaintBoxEx produced(w, h), expected(w, h);
        FillRandom(produced, rng, rng() % 3 == 0);
        std::memcpy(expected.Bitmap.bits(), produced.Bitmap.constBits(),
                    produced.Bitmap.sizeInBytes());
        const bool fast = rng() % 2 == 0;
        const bool band = rng() % 5 == 0;
        const int width = band ? 5 + static_cast<int>(rng() % 14) : static_cast<int>(rng() % 5);
        const int penWidth = 1 + static_cast<int>(rng() % 4);
        const int style = static_cast<int>(rng() % 7);
        const std::int64_t color =
            rng() % 4 == 0 ? -1 : static_cast<std::int64_t>(rng() & 0xFFFFFF);
        const long double dash = dashes[rng() % 7];
        const long double reach = band ? 30 : 1.3L * w;
        long double x1 = uniform(-10, w + 10), y1 = uniform(-10, h + 10);
        long double x2 = x1 + uniform(-reach, reach), y2 = y1 + uniform(-reach, reach);
        if (rng() % 10 == 0) x2 = x1 + (rng() % 3) * 0.5L;  // vertical and near-degenerate
        if (rng() % 10 == 0) y2 = y1;
        if (rng() % 4 == 0) {  // beyond the walk limits, through the surface, ends far out
            const long double far = rng() % 2 ? 4000 : 3e6, angle = uniform(0, 6.2832L);
            const long double dx = std::cos(angle), dy = rng() % 8 ? std::sin(angle) : 0;
            const long double px = uniform(0, w), py = uniform(0, h);
            const long double back = rng() % 3 ? uniform(0, far) : 0, ahead = uniform(0, far);
            x1 = px - back * dx;
            y1 = py - back * dy;
            x2 = px + ahead * dx;
            y2 = py + ahead * dy;
        }
        for (TPaintBoxEx* box : {&produced, &expected}) {
            box->FastAntialiasing = fast;
            box->BitmapCanvas().SetPenWidth(penWidth);
            box->BitmapCanvas().SetPenStyle(style);
            box->BitmapCanvas().SetPenColor(0x3080C0);
        }
        const QImage before = produced.Bitmap.copy();
        if (rng() % 3 == 0) {
            const int cx = static_cast<int>(rng() % w), cy = static_cast<int>(rng() % h);
            produced.Clip =
                QRect(cx - 5, cy - 5, static_cast<int>(rng() % w), static_cast<int>(rng() % h));
        }
        produced.LineAA(color, width, x1, y1, x2, y2, dash);
        drawn += !test::SameBytes(produced.Bitmap, expected.Bitmap);
        LineAAReference(expected, color, width, x1, y1, x2, y2, dash);
        if (!produced.Clip.isNull()) KeepOutside(expected, before, produced.Clip);
        ASSERT_TRUE(test::SameBytes(produced.Bitmap, expected.Bitmap))
            << "case " << i << ": " << double(x1) << "," << double(y1) << " -> " << double(x2)
            << "," << double(y2) << " width " << width << " pen " << penWidth << " style " << style
            << " dash " << double(dash) << " fast " << fast << " clip " << produced.Clip.x() << ","
            << produced.Clip.y() << " " << produced.Clip.width() << "x" << produced.Clip.height();
    }
}

}  // namespace
}  // namespace zeigora
