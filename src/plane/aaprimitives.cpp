// The thin antialiased line and the antialiased ellipse ring.

#include <cmath>
#include <cstdint>
#include <utility>

#include "plane/paintboxex.h"

namespace zeigora {

namespace {

// Mixes the pen colour into a pixel with weight e of 2D. A pixel the canvas would not write is
// not read either: under a clip another thread may be drawing it.
void BlendPixel(TCanvas& canvas, int x, int y, TColor pen, std::int64_t e, std::int64_t d) {
    if (!canvas.Writes(x, y)) return;
    const TColor old = canvas.GetPixel(x, y);
    TColor result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::int64_t o = (old >> shift) & 0xFF, p = (pen >> shift) & 0xFF;
        const std::int64_t c = ((o * (2 * d - e) + p * e) / 2) / d;
        result |= TColor(c & 0xFF) << shift;
    }
    canvas.SetPixel(x, y, result);
}

// Blends with alpha in single precision, mixed in extended precision.
void BlendAlpha(TPaintBoxEx& surface, int x, int y, TColor pen, float alpha) {
    if (!surface.Clip.isNull() && !surface.Clip.contains(x, y)) return;
    const TColor old = surface.GetPixel(x, y);
    TColor result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const long double o = (old >> shift) & 0xFF, p = (pen >> shift) & 0xFF;
        const long double a = alpha;
        const auto c = static_cast<std::int64_t>(p * a + (1 - a) * o);
        result |= TColor(c & 0xFF) << shift;
    }
    surface.SetPixel(x, y, result);
}

long double Sq(long double v) {
    return v * v;
}

struct TRecip {
    float X, Y;
};

TRecip Reciprocals(int rx, int ry) {
    return {static_cast<float>(1.0L / rx), static_cast<float>(1.0L / ry)};
}

// (x / rx)^2 + (y / ry)^2 with the stored reciprocals.
long double Radius(long double x, long double y, TRecip r) {
    return Sq(x * r.X) + Sq(y * r.Y);
}

// Samples of cell (i, j) outside the inner ellipse and inside the outer one. The squared terms
// of the 16 columns and 16 rows are computed once; their sums are the same as per sample.
// Cells have i, j >= 0, so every term grows with its column or row.
int RingCount(int i, int j, TRecip inner, TRecip outer) {
    long double xIn[16], xOut[16], yIn[16], yOut[16];
    for (int k = 0; k < 16; ++k) {
        const long double x = i + k * 0.0625L, y = j + k * 0.0625L;  // exact: k / 16
        xIn[k] = Sq(x * inner.X);
        xOut[k] = Sq(x * outer.X);
        yIn[k] = Sq(y * inner.Y);
        yOut[k] = Sq(y * outer.Y);
    }
    // The sums grow with the column and with the row, so per row the inner test holds from
    // column a0 on and the outer one below column a1; both bounds only fall row by row.
    int count = 0, a0 = 16, a1 = 16;
    for (int b = 0; b < 16; ++b) {
        while (a0 > 0 && xIn[a0 - 1] + yIn[b] > 1)
            --a0;
        while (a1 > 0 && !(xOut[a1 - 1] + yOut[b] < 1))
            --a1;
        if (a1 > a0) count += a1 - a0;
    }
    return count;
}

}  // namespace

void SmoothLine(TCanvas& canvas, int x1, int y1, int x2, int y2) {
    std::int64_t dx = std::int64_t(x2) - x1, dy = std::int64_t(y2) - y1;
    if (dx == 0 || dy == 0) {
        canvas.LineTo(x2, y2);
        return;
    }
    canvas.MoveTo(x2, y2);
    const bool steep = std::llabs(dy) > std::llabs(dx);
    if (steep) {
        std::swap(dx, dy);
        std::swap(x1, y1);
        std::swap(x2, y2);
    }
    if (dx < 0) {
        std::swap(x1, x2);
        std::swap(y1, y2);
        dx = -dx;
        dy = -dy;
    }
    int ystep = 1;
    if (dy < 0) {
        ystep = -1;
        dy = -dy;
    }
    const std::int64_t d = std::llrint(std::sqrt(double(dx * dx + dy * dy)));
    const TColor pen = canvas.PenColor();
    auto blend = [&](int x, int y, std::int64_t e) {
        if (steep) std::swap(x, y);
        BlendPixel(canvas, x, y, pen, e, d);
    };
    int y = y1;
    std::int64_t err = 0;
    for (int x = x1; x <= x2; ++x) {
        std::int64_t a = d - 2 * err, b = d + 2 * err;
        if (a > d) {
            blend(x, y - ystep, a - d);
            a = d;
        }
        if (b > d) {
            blend(x, y + ystep, b - d);
            b = d;
        }
        if (a >= 0 && b >= 0) blend(x, y, a + b);
        err += dy;
        if (2 * err >= dx) {
            y += ystep;
            err -= dx;
        }
    }
}

void EllipseAA(TPaintBoxEx& surface, int cx, int cy, int rx, int ry) {
    if (rx == 0 || ry == 0) return;
    const TColor pen = surface.DrawingCanvas().PenColor();
    const bool small = rx < 3 || ry < 3;
    const TRecip wellInside = Reciprocals(rx - 2, ry - 2),
                 wellOutside = Reciprocals(rx + 2, ry + 2);
    const TRecip inner = Reciprocals(rx, ry), outer = Reciprocals(rx + 1, ry + 1);
    // The cells that pass both skip tests form one run of rows per column, [first, last]; both
    // ends only fall from column to column, so they are followed instead of testing every cell.
    int first = 0, last = ry + 1;
    if (!small) {
        while (first <= ry + 1 && Radius(0, first, wellInside) < 1)
            ++first;
        while (last >= 0 && Radius(0, last, wellOutside) > 1)
            --last;
    }
    // Under a clip only the cells with a mirror pixel inside it are worked out.
    const QRect clip = surface.Clip;
    const std::int64_t reachX = std::llabs(rx) + 2, reachY = std::llabs(ry) + 2;
    if (!clip.isNull() && (cx + reachX < clip.left() || cx - reachX > clip.right() ||
                           cy + reachY < clip.top() || cy - reachY > clip.bottom()))
        return;
    const auto inside = [&clip](int c, int d, int lo, int hi) {
        return clip.isNull() || (c + d >= lo && c + d <= hi) || (c - d >= lo && c - d <= hi);
    };
    for (int i = 0; i <= rx + 1; ++i) {
        if (!small && i > 0) {
            while (first > 0 && !(Radius(i, first - 1, wellInside) < 1))
                --first;
            while (last >= 0 && Radius(i, last, wellOutside) > 1)
                --last;
        }
        if (!inside(cx, i, clip.left(), clip.right())) continue;
        for (int j = first; j <= last; ++j) {
            if (!inside(cy, j, clip.top(), clip.bottom())) continue;
            const float alpha = static_cast<float>(RingCount(i, j, inner, outer)) / 256.0f;
            BlendAlpha(surface, cx + i, cy + j, pen, alpha);
            BlendAlpha(surface, cx + i, cy - j, pen, alpha);
            BlendAlpha(surface, cx - i, cy + j, pen, alpha);
            BlendAlpha(surface, cx - i, cy - j, pen, alpha);
        }
    }
}

}  // namespace zeigora
