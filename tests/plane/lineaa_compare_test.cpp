// The production LineAA against the step-by-step reference, byte for byte (byte 3 included),
// over random lines, widths, dash settings and backgrounds.

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "plane/lineaa_reference.h"
#include "plane/paintboxex.h"

namespace zeigora {
namespace {

void FillRandom(TPaintBoxEx& box, std::mt19937& rng, bool white) {
    for (int y = 0; y < box.Height(); ++y) {
        std::uint8_t* p = box.PixelAddress(0, y);
        for (int x = 0; x < box.Width() * 4; ++x)
            p[x] = white && x % 4 != 3 ? 255 : static_cast<std::uint8_t>(rng());
    }
}

bool SameBytes(const TPaintBoxEx& a, const TPaintBoxEx& b) {
    for (int y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.Bitmap.constScanLine(y), b.Bitmap.constScanLine(y), a.Width() * 4))
            return false;
    return true;
}

TEST(LineAACompare, ProductionMatchesReference) {
    std::mt19937 rng(20261206);
    auto uniform = [&](long double lo, long double hi) {
        return std::uniform_real_distribution<long double>(lo, hi)(rng);
    };
    const long double dashes[] = {-1, -1, -1, 0, 0.5L, 1, 2.7L};
    int drawn = 0;
    for (int i = 0; i < 1500; ++i) {
        const int w = 20 + static_cast<int>(rng() % 60), h = 15 + static_cast<int>(rng() % 50);
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
        const long double x1 = uniform(-10, w + 10), y1 = uniform(-10, h + 10);
        long double x2 = x1 + uniform(-reach, reach), y2 = y1 + uniform(-reach, reach);
        if (rng() % 10 == 0) x2 = x1 + (rng() % 3) * 0.5L;  // vertical and near-degenerate
        if (rng() % 10 == 0) y2 = y1;
        for (TPaintBoxEx* box : {&produced, &expected}) {
            box->FastAntialiasing = fast;
            box->BitmapCanvas().SetPenWidth(penWidth);
            box->BitmapCanvas().SetPenStyle(style);
            box->BitmapCanvas().SetPenColor(0x3080C0);
        }
        produced.LineAA(color, width, x1, y1, x2, y2, dash);
        drawn += !SameBytes(produced, expected);
        LineAAReference(expected, color, width, x1, y1, x2, y2, dash);
        ASSERT_TRUE(SameBytes(produced, expected))
            << "case " << i << ": " << double(x1) << "," << double(y1) << " -> " << double(x2)
            << "," << double(y2) << " width " << width << " pen " << penWidth << " style " << style
            << " dash " << double(dash) << " fast " << fast;
    }
}

TEST(LineAACompare, LongLinesAndSpanLimit) {
    std::mt19937 rng(7);
    for (int i = 0; i < 12; ++i) {
        TPaintBoxEx produced(300, 200), expected(300, 200);
        FillRandom(produced, rng, false);
        std::memcpy(expected.Bitmap.bits(), produced.Bitmap.constBits(),
                    produced.Bitmap.sizeInBytes());
        const long double x1 = -50.0L + i * 13.3L, y1 = 250.0L - i * 31.7L;
        const long double x2 = 2500.0L - i * 400.0L, y2 = -1500.0L + i * 180.0L;
        for (TPaintBoxEx* box : {&produced, &expected})
            box->FastAntialiasing = i % 2;
        produced.LineAA(0x112233, 1 + i % 4, x1, y1, x2, y2, 0);
        LineAAReference(expected, 0x112233, 1 + i % 4, x1, y1, x2, y2, 0);
        ASSERT_TRUE(SameBytes(produced, expected)) << "case " << i;
    }
}

}  // namespace
}  // namespace zeigora
