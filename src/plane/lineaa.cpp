// The thick antialiased line: Murphy's modified Bresenham in a sub-sampled grid, drawn from the
// centre line outwards in parallel strokes. Instead of walking every stroke once per pass and
// every sub-sample on its own, the covered sub-samples are counted per pixel into a band of
// counters along the line (solid strokes together, see lineaagroup.cpp; dashed ones a segment
// of a stroke at a time), and each pixel is then blended once; the resulting bytes are the same
// as those of the three-pass form.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "plane/lineaawalk.h"
#include "plane/paintboxex.h"

namespace zeigora {
namespace lineaa {
namespace {

std::int64_t Round(long double v) {
    return std::llrint(v);
}

// The same addressing as TPaintBoxEx::PixelAddress, with the image start and row length taken
// once per line.
std::uint8_t* PixelAt(const TLineWalk& w, std::int64_t x, std::int64_t y) {
    return w.Bits + y * w.Stride + x * 4;
}

bool Inside(const TLineWalk& w, std::int64_t x, std::int64_t y) {
    return x >= w.Left && y >= w.Top && x < w.Right && y < w.Bottom;
}

// Steps left in the current cell when moving in direction d.
std::int64_t StepsLeft(std::int64_t c, std::int64_t q, std::int64_t d, std::int64_t n) {
    if (d > 0) return (q > 0 ? q * n + n - 1 : (q < 0 ? q * n : n - 1)) - c;
    return c - (q > 0 ? q * n : (q < 0 ? q * n - n + 1 : -n + 1));
}

// v div n2 (truncating), with the usual sub-sampling factors as constants.
std::int64_t DivN2(std::int64_t v, std::int64_t n2) {
    switch (n2) {
        case 225:
            return v / 225;
        case 25:
            return v / 25;
        default:
            return v / n2;
    }
}

void Darken(std::uint8_t& ch, std::int64_t count, int dec) {
    const std::int64_t v = ch - count * dec;
    ch = static_cast<std::uint8_t>(v > 0 ? v : 0);
}

}  // namespace

void Flush(const TLineWalk& w, std::int64_t major, std::int64_t minor, std::int64_t count) {
    if (count == 0) return;
    const std::int64_t x = w.Steep ? minor : major, y = w.Steep ? major : minor;
    if (!Inside(w, x, y)) return;
    TBand& band = *w.Band;
    const std::int64_t row = major - band.First;
    if (row >= 0 && row < band.Rows) {
        const std::int64_t k = minor - band.Base[row];
        if (k >= 0 && k < band.RowWidth) {
            band.Count[row * band.RowWidth + k] += static_cast<std::uint32_t>(count);
            return;
        }
    }
    std::uint8_t* p = PixelAt(w, x, y);
    if (w.Fast) {  // darkening by a + b samples equals darkening by a, then by b
        Darken(p[2], count, w.Dr);
        Darken(p[1], count, w.Dg);
        Darken(p[0], count, w.Db);
    } else {
        w.Runs->push_back({p, count});
    }
}

namespace {

// The minor moves of one stroke in closed form. The stroke's error starts at E0 and grows by
// kv per step, losing ku with every minor move, which happens while it is above kt. Once inside
// the window (L, L + ku], L = kt - ku + kv, it stays there; before that it only climbs (no
// minor moves) or only falls (a minor move every step). So the number of minor moves in the
// first p steps is min(p, max(0, floor((E0 + p kv - L - 1) / ku))).
struct TMinorMoves {
    std::int64_t E0, L, Ku, Kv;

    // The first step p with at least k minor moves before it (k >= 1), or -1 if none.
    std::int64_t FirstReaching(std::int64_t k) const {
        if (Kv == 0) return FloorDiv(E0 - L - 1, Ku) >= k ? k : -1;
        const std::int64_t p = CeilDiv(k * Ku + L + 1 - E0, Kv);
        return p > k ? p : k;
    }
};

// FirstReaching for a growing k without a division per call: the quotient and remainder of
// (k ku + L + 1 - E0 + kv - 1) / kv are carried along as k grows by one cell (n, or 2n - 1 at
// pixel 0).
class TMinorCursor {
  public:
    TMinorCursor(const TMinorMoves& m, std::int64_t k, const TLineWalk& w) : M_(m), K_(k) {
        if (m.Kv == 0) return;
        const std::int64_t num = k * m.Ku + m.L + 1 - m.E0 + m.Kv - 1;
        Q_ = FloorDiv(num, m.Kv);
        R_ = num - Q_ * m.Kv;
        for (int i = 0; i < 2; ++i) {
            StepQ_[i] = w.CellRise[i].Q;
            StepR_[i] = w.CellRise[i].R;
        }
        N_ = w.N;
    }

    // The first step reaching the current k, or `none`.
    std::int64_t Next(std::int64_t none) const {
        if (M_.Kv == 0) {
            const std::int64_t p = M_.FirstReaching(K_);
            return p < 0 ? none : p;
        }
        return Q_ > K_ ? Q_ : K_;
    }

    void Advance(std::int64_t size) {
        K_ += size;
        if (M_.Kv == 0) return;
        const int i = size == N_ ? 0 : 1;
        Q_ += StepQ_[i];
        R_ += StepR_[i];
        if (R_ >= M_.Kv) {
            R_ -= M_.Kv;
            ++Q_;
        }
    }

  private:
    TMinorMoves M_;
    std::int64_t K_, Q_ = 0, R_ = 0, N_ = 0;
    std::int64_t StepQ_[2] = {}, StepR_[2] = {};
};

// One dashed stroke from (x, y) with start error e, counted in segments of steps that stay
// in one pixel: the pixel changes only at major cell borders (every n steps) and where the
// minor moves cross a cell border. Segments inside the band are added to its row directly.
void StrokeDashed(const TLineWalk& w, std::int64_t x, std::int64_t y, std::int64_t e) {
    const std::int64_t major = w.Steep ? y : x, minor = w.Steep ? x : y;
    const std::int64_t end = w.U + 1;
    const TMinorMoves moves{-e, w.Kt - 2 * w.U + w.Kv, 2 * w.U, w.Kv};
    std::int64_t pMajor = PixelOf(major, w.N), pMinor = PixelOf(minor, w.N);
    std::int64_t nextMajor = StepsLeft(major, pMajor, w.Sm, w.N) + 1;
    TMinorCursor cursor(moves, StepsLeft(minor, pMinor, w.Sn, w.N) + 1, w);
    std::int64_t nextMinor = cursor.Next(end);
    const TBand& band = *w.Band;
    const auto width = static_cast<std::uint64_t>(band.RowWidth);
    std::uint32_t* row = nullptr;
    std::int64_t base = 0;
    auto selectRow = [&] {
        const std::int64_t r = pMajor - band.First;
        row = r >= 0 && r < band.Rows ? w.BandCounts + r * band.RowWidth : nullptr;
        base = row ? band.Base[r] : 0;
    };
    selectRow();
    std::int64_t p = 0;
    while (p < end) {
        const std::int64_t stop = std::min({nextMajor, nextMinor, end});
        const std::int64_t count = w.Allowed[stop] - w.Allowed[p];
        const auto k = static_cast<std::uint64_t>(pMinor - base);
        if (row && k < width)
            row[k] += static_cast<std::uint32_t>(count);
        else
            Flush(w, pMajor, pMinor, count);
        p = stop;
        if (p == nextMajor) {
            pMajor += w.Sm;
            nextMajor += CellSize(pMajor, w.N);
            selectRow();
        }
        if (p == nextMinor) {
            pMinor += w.Sn;
            cursor.Advance(CellSize(pMinor, w.N));
            nextMinor = cursor.Next(end);
        }
    }
}

}  // namespace

// The same count for a solid stroke, a major cell at a time: the band row is chosen once per
// cell, and inside it only the minor border crossings split the steps. Steps [from, to) only:
// the position at `from` follows from the closed form of the minor moves.
void StrokeSolid(const TLineWalk& w, const TStroke& s, std::int64_t from, std::int64_t to) {
    // Only the steps whose pixels lie in the clip's major range can leave a mark.
    const std::int64_t major0 = w.Steep ? s.Y : s.X;
    const std::int64_t inFrom = w.Sm > 0 ? w.MajorFirst - major0 : major0 - w.MajorLast;
    const std::int64_t inTo = (w.Sm > 0 ? w.MajorLast - major0 : major0 - w.MajorFirst) + 1;
    const std::int64_t end = std::min({to, w.U + 1, inTo});
    std::int64_t p = std::max<std::int64_t>({from, 0, inFrom});
    if (p >= end) return;
    const TMinorMoves moves{-s.E, w.Kt - 2 * w.U + w.Kv, 2 * w.U, w.Kv};
    const std::int64_t before = std::min(
        p, std::max<std::int64_t>(0, FloorDiv(moves.E0 + p * moves.Kv - moves.L - 1, moves.Ku)));
    const std::int64_t major = (w.Steep ? s.Y : s.X) + w.Sm * p;
    const std::int64_t minor = (w.Steep ? s.X : s.Y) + w.Sn * before;
    std::int64_t pMajor = PixelOf(major, w.N), pMinor = PixelOf(minor, w.N);
    std::int64_t cellEnd = p + StepsLeft(major, pMajor, w.Sm, w.N) + 1;
    TMinorCursor cursor(moves, before + StepsLeft(minor, pMinor, w.Sn, w.N) + 1, w);
    std::int64_t nextMinor = cursor.Next(end);
    const TBand& band = *w.Band;
    const auto width = static_cast<std::uint64_t>(band.RowWidth);
    while (p < end) {
        const std::int64_t stop = std::min(cellEnd, end);
        const std::int64_t r = pMajor - band.First;
        std::uint32_t* row = r >= 0 && r < band.Rows ? w.BandCounts + r * band.RowWidth : nullptr;
        const std::int64_t base = row ? band.Base[r] : 0;
        auto add = [&](std::int64_t count) {
            const auto k = static_cast<std::uint64_t>(pMinor - base);
            if (row && k < width)
                row[k] += static_cast<std::uint32_t>(count);
            else
                Flush(w, pMajor, pMinor, count);
        };
        while (nextMinor < stop) {
            add(nextMinor - p);
            p = nextMinor;
            pMinor += w.Sn;
            cursor.Advance(CellSize(pMinor, w.N));
            nextMinor = cursor.Next(end);
        }
        add(stop - p);
        p = stop;
        pMajor += w.Sm;
        cellEnd += CellSize(pMajor, w.N);
    }
}

namespace {

struct TPt {
    std::int64_t X, Y;
};

void MoveSquare(bool steep, TPt& a, TPt& b, std::int64_t pm) {
    if (steep) {
        a.X += pm;
        b.X -= pm;
    } else {
        a.Y += pm;
        b.Y -= pm;
    }
}

// The outer walk across the line's thickness: which strokes there are and their start errors.
void WalkStrokes(const TLineWalk& w, TPt start, long double tk, std::int64_t ku, std::int64_t pm,
                 std::int64_t qn, std::int64_t s, std::vector<TStroke>& strokes) {
    auto Stroke = [&strokes](const TLineWalk&, std::int64_t x, std::int64_t y, std::int64_t e) {
        strokes.push_back({x, y, e});
    };
    TPt a = start, b = start;
    std::int64_t d0 = 0, d1 = 0, dd = 0;
    while (tk > dd) {
        Stroke(w, a.X, a.Y, s * d1);
        if (a.X != b.X || a.Y != b.Y) Stroke(w, b.X, b.Y, -s * d1);
        if (d0 < w.Kt) {
            MoveSquare(w.Steep, a, b, pm);
        } else {
            dd += w.Kv;
            d0 -= ku;
            if (w.Steep) {
                a.Y -= qn;
                b.Y += qn;
            } else {
                a.X -= qn;
                b.X += qn;
            }
            if (d1 < w.Kt) {
                MoveSquare(w.Steep, a, b, pm);
                d1 += w.Kv;
            } else {  // an extra parallel stroke fills the gap
                d1 += w.Kd;
                if (tk < dd) return;
                Stroke(w, a.X, a.Y, s * d1);
                Stroke(w, b.X, b.Y, -s * d1);
                MoveSquare(w.Steep, a, b, pm);
            }
        }
        dd += ku;
        d0 += w.Kv;
    }
}

bool DashAllows(long double dash, int style, long double q, std::int64_t p) {
    if (dash > 0) return Round(p * q) % 3 != 0;
    const std::int64_t k = Round(p * q) / 2;
    switch (style) {
        case psSolid:
            return true;
        case psDash:
            return k % 6 >= 2;
        case psDot:
            return k % 2 == 1;
        case psDashDot:
            return k % 8 <= 4 || k % 8 == 6;
        case psDashDotDot:
            return k % 10 <= 4 || k % 10 == 6 || k % 10 == 8;
        default:
            return false;
    }
}

// A line this long across is walked only where it can reach the surface: it is clipped to the
// surface grown by `margin` pixels on every side, keeping its start (when inside) and its
// direction. Shorter lines are walked as given, so their pixels stay exactly as they were.
constexpr long double WalkSpanX = 1600, WalkSpanY = 1200;

// Liang-Barsky: false when nothing of the line lies in [lo, hiX] x [lo, hiY].
bool ClipToArea(long double& x1, long double& y1, long double& x2, long double& y2, long double lo,
                long double hiX, long double hiY) {
    const long double dx = x2 - x1, dy = y2 - y1;
    long double t0 = 0, t1 = 1;
    auto edge = [&](long double p, long double q) {  // keeps t with p t <= q
        if (p == 0) return q >= 0;
        const long double r = q / p;
        if (p < 0) {
            if (r > t1) return false;
            t0 = std::max(t0, r);
        } else {
            if (r < t0) return false;
            t1 = std::min(t1, r);
        }
        return true;
    };
    if (!edge(-dx, x1 - lo) || !edge(dx, hiX - x1) || !edge(-dy, y1 - lo) || !edge(dy, hiY - y1))
        return false;
    const long double sx = x1, sy = y1;
    if (t0 > 0) {
        x1 = sx + t0 * dx;
        y1 = sy + t0 * dy;
    }
    if (t1 < 1) {
        x2 = sx + t1 * dx;
        y2 = sy + t1 * dy;
    }
    return true;
}

// The end state of one pixel covered by `count` sub-samples: darkened in fast mode; in quality
// mode cleared, counted (8 bits) and blended with the line colour.
void Apply(const TLineWalk& w, std::uint8_t* p, std::int64_t count, const std::int64_t rgb[3],
           std::int64_t n2) {
    if (w.Fast) {
        Darken(p[2], count, w.Dr);
        Darken(p[1], count, w.Dg);
        Darken(p[0], count, w.Db);
        return;
    }
    p[3] = 0;
    const std::int64_t k = count & 0xFF;
    if (k == 0) return;
    if (k == n2) {  // (c n2 + p 0) div n2 = c
        for (int i = 0; i < 3; ++i)
            p[i] = static_cast<std::uint8_t>(rgb[i]);
    } else if (n2 ==
               225) {  // the usual factor: 32 bits hold every sum, and the division is constant
        const int kk = static_cast<int>(k);
        for (int i = 0; i < 3; ++i)
            p[i] = static_cast<std::uint8_t>((static_cast<int>(rgb[i]) * kk + p[i] * (225 - kk)) /
                                             225);
    } else {
        for (int i = 0; i < 3; ++i)
            p[i] = static_cast<std::uint8_t>(DivN2(rgb[i] * k + p[i] * (n2 - k), n2));
    }
}

// Each band row is one major pixel: its pixels inside the clip lie one after another, 4 bytes
// apart in a steep line's row, a bitmap row apart otherwise.
void ApplyBand(const TLineWalk& w, const TBand& band, const std::int64_t rgb[3], std::int64_t n2) {
    const std::int64_t minorLo = w.Steep ? w.Left : w.Top, minorHi = w.Steep ? w.Right : w.Bottom;
    const std::int64_t step = w.Steep ? 4 : w.Stride;
    for (std::int64_t row = 0; row < band.Rows; ++row) {
        const std::uint32_t* counts = band.Count.data() + row * band.RowWidth;
        const std::int64_t major = band.First + row, base = band.Base[row];
        const std::int64_t kLo = std::max<std::int64_t>(minorLo - base, 0);
        const std::int64_t kHi = std::min(minorHi - base, band.RowWidth);
        if (kLo >= kHi) continue;
        std::uint8_t* p = w.Steep ? PixelAt(w, base + kLo, major) : PixelAt(w, major, base + kLo);
        for (std::int64_t k = kLo; k < kHi; ++k, p += step)
            if (counts[k] != 0) Apply(w, p, counts[k], rgb, n2);
    }
}

// The band around the centre line from (major0, minor0) over (dMajor, dMinor) sub-samples,
// `half` pixels to either side, limited to the rows [majorLo, majorHi) that may be written.
void PrepareBand(TBand& band, std::int64_t n, std::int64_t major0, std::int64_t minor0,
                 std::int64_t dMajor, std::int64_t dMinor, std::int64_t half, std::int64_t majorLo,
                 std::int64_t majorHi) {
    const std::int64_t a = PixelOf(major0, n), b = PixelOf(major0 + dMajor, n);
    const std::int64_t first = std::max<std::int64_t>(std::min(a, b) - half, majorLo);
    const std::int64_t last = std::min(std::max(a, b) + half, majorHi - 1);
    band.First = first;
    band.Rows = std::max<std::int64_t>(last - first + 1, 0);
    band.RowWidth = 2 * half + 2;
    if (band.Rows * band.RowWidth > (1 << 22)) band.Rows = 0;  // all through the run list
    band.Base.resize(band.Rows);
    band.Count.assign(band.Rows * band.RowWidth, 0);
    // The centre line's minor coordinate in pixels, at the middle of each major pixel.
    const double slope = dMinor / static_cast<double>(dMajor);
    const double at = (minor0 + ((first * n + n / 2) - major0) * slope) / n;
    for (std::int64_t row = 0; row < band.Rows; ++row)
        band.Base[row] = static_cast<std::int64_t>(std::floor(at + row * slope)) - half;
}

// Quality mode: the clearing, counting and blending passes over the collected runs.
void BlendRuns(const std::vector<TRun>& runs, TColor c, std::int64_t n2) {
    for (const TRun& r : runs)
        r.Pixel[3] = 0;
    for (const TRun& r : runs)
        r.Pixel[3] = static_cast<std::uint8_t>(r.Pixel[3] + r.Count);
    const std::int64_t rgb[3] = {(c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF};  // b, g, r
    for (const TRun& r : runs) {
        std::uint8_t* p = r.Pixel;
        const std::int64_t k = p[3];
        if (k == 0) continue;
        for (int i = 0; i < 3; ++i)
            p[i] = static_cast<std::uint8_t>(DivN2(rgb[i] * k + p[i] * (n2 - k), n2));
        p[3] = 0;
    }
}

}  // namespace
}  // namespace lineaa

long double Hypot(long double a, long double b) {
    a = std::fabs(a);
    b = std::fabs(b);
    if (a < b) return b * std::sqrt(1 + (a / b) * (a / b));
    if (b < a) return a * std::sqrt(1 + (b / a) * (b / a));
    return a * std::sqrt(2.0L);
}

void TPaintBoxEx::LineAA(std::int64_t color, int width, long double x1, long double y1,
                         long double x2, long double y2, long double dash) {
    using namespace lineaa;
    if (Height() <= 0) return;
    const QRect clip = Clip.isNull() ? Bitmap.rect() : Clip & Bitmap.rect();
    if (clip.isEmpty()) return;
    for (long double v : {x1, y1, x2, y2})
        if (!std::isfinite(v)) return;
    const TCanvas& pen = BitmapCanvas();
    const int penWidth = width < 1 ? pen.PenWidth() : width;
    if (std::fabs(x1 - x2) > WalkSpanX || std::fabs(y1 - y2) > WalkSpanY) {
        const long double margin = 2.0L * std::max(penWidth, 0) + 4;
        if (!ClipToArea(x1, y1, x2, y2, -margin, Width() + margin, Height() + margin)) return;
    }
    // A short line this far out cannot reach a pixel.
    for (long double v : {x1, y1, x2, y2})
        if (!(std::fabs(v) <= 1e9L)) return;
    // Nor can a line whose reach misses the clip: a frame that redraws a small part skips most.
    const long double reach = 2.0L * std::max(penWidth, 0) + 4;
    if (std::max(x1, x2) + reach < clip.left() || std::min(x1, x2) - reach > clip.right() + 1 ||
        std::max(y1, y2) + reach < clip.top() || std::min(y1, y2) - reach > clip.bottom() + 1)
        return;
    const int style = pen.PenStyle();
    if (dash < 0 && (style < psSolid || style > psDashDotDot)) return;
    TLineWalk w{};
    w.Fast = FastAntialiasing;
    w.N = w.Fast ? SubSampling : 3 * SubSampling;
    const std::int64_t n2 = w.N * w.N;
    if (w.N < 1) return;
    const std::int64_t t = std::int64_t(penWidth) * w.N;
    const TColor c = (color == -1 ? pen.PenColor() : static_cast<TColor>(color)) & 0xFFFFFF;
    w.Dr = static_cast<int>((256 - (c & 0xFF)) / n2);
    w.Dg = static_cast<int>((256 - ((c >> 8) & 0xFF)) / n2);
    w.Db = static_cast<int>((256 - ((c >> 16) & 0xFF)) / n2);
    std::int64_t sx1 = Round(w.N * x1), sy1 = Round(w.N * y1);
    const std::int64_t du = Round(w.N * x2) - sx1, dv = Round(w.N * y2) - sy1;
    w.Steep = std::llabs(dv) >= std::llabs(du);
    w.Sm = (w.Steep ? dv : du) > 0 ? 1 : -1;
    w.Sn = (w.Steep ? du : dv) > 0 ? 1 : -1;
    const std::int64_t pm = w.Steep ? -w.Sm : w.Sm, qn = w.Steep ? -w.Sn : w.Sn;
    const std::int64_t s = w.Sn * pm;
    w.U = std::llabs(w.Steep ? dv : du);
    const std::int64_t v = std::llabs(w.Steep ? du : dv);
    const long double len = Hypot(w.U, v), tk = t * len;
    if (!(tk > 0)) return;
    const std::int64_t ku = 2 * w.U;
    w.Kv = 2 * v;
    w.Kd = w.Kv - ku;
    w.Kt = w.U - w.Kv;
    if (w.Kv > 0)
        for (int i = 0; i < 2; ++i) {  // (cell size) ku / kv, for a cell of n and of 2n - 1
            const std::int64_t size = i == 0 ? w.N : 2 * w.N - 1;
            w.CellRise[i] = {size * ku / w.Kv, size * ku % w.Kv};
        }
    std::vector<std::int32_t> allowed;
    if (dash > 0 || (dash < 0 && style != psSolid)) {
        const long double q =
            dash > 0 ? len / (w.U * dash * t) : len / static_cast<long double>(w.U * t);
        allowed.resize(w.U + 2);
        for (std::int64_t p = 0; p <= w.U; ++p)
            allowed[p + 1] = allowed[p] + DashAllows(dash, style, q, p);
        w.Allowed = allowed.data();
    }
    w.Left = clip.left();
    w.Top = clip.top();
    w.Right = clip.right() + std::int64_t{1};
    w.Bottom = clip.bottom() + std::int64_t{1};
    w.MajorFirst = FirstOf(w.Steep ? w.Top : w.Left, w.N);
    w.MajorLast = LastOf((w.Steep ? w.Bottom : w.Right) - 1, w.N);
    w.Bits = Bitmap.bits();
    w.Stride = Bitmap.bytesPerLine();
    static thread_local std::vector<TRun> runs;
    static thread_local TBand band;
    runs.clear();
    w.Runs = &runs;
    w.Band = &band;
    const TPt start{sx1 + w.N / 2, sy1 + w.N / 2};
    const std::int64_t half = static_cast<std::int64_t>(tk / (2 * w.U * w.N)) + 3;
    PrepareBand(band, w.N, w.Steep ? start.Y : start.X, w.Steep ? start.X : start.Y,
                w.Steep ? dv : du, w.Steep ? du : dv, half, w.Steep ? w.Top : w.Left,
                w.Steep ? w.Bottom : w.Right);
    w.BandCounts = band.Count.data();
    static thread_local std::vector<TStroke> strokes;
    strokes.clear();
    WalkStrokes(w, start, tk, ku, pm, qn, s, strokes);
    if (w.Allowed) {
        for (const TStroke& k : strokes)
            StrokeDashed(w, k.X, k.Y, k.E);
    } else {
        CountStrokes(w, strokes);
    }
    const std::int64_t rgb[3] = {(c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF};  // b, g, r
    ApplyBand(w, band, rgb, n2);
    if (!w.Fast) BlendRuns(runs, c, n2);
}

}  // namespace zeigora
