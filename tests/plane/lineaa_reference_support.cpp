#include <algorithm>
#include <cmath>
#include <cstdint>

#include "plane/lineaa_reference.h"

namespace zeigora {

namespace {

enum class TPass { Darken, Clear, Count, Blend };

struct TLine {
    TPaintBoxEx* Surface;
    TPass Pass;
    std::int64_t N, N2;
    int R, G, B, Dr, Dg, Db;
    bool Steep;
    std::int64_t Sm, Sn, U, Kv, Kd, Kt;
    long double Q, Dash;
    int Style;
};

std::int64_t Round(long double v) {
    return std::llrint(v);
}

bool DashAllows(const TLine& l, std::int64_t p) {
    if (l.Dash == 0) return true;
    if (l.Dash > 0) return Round(p * l.Q) % 3 != 0;
    const std::int64_t k = Round(p * l.Q) / 2;
    switch (l.Style) {
        case 0:
            return true;
        case 1:
            return k % 6 >= 2;
        case 2:
            return k % 2 == 1;
        case 3: {
            const std::int64_t m = k % 8;
            return m <= 4 || m == 6;
        }
        case 4: {
            const std::int64_t m = k % 10;
            return m <= 4 || m == 6 || m == 8;
        }
        default:
            return false;
    }
}

void Plot(const TLine& l, std::int64_t x, std::int64_t y) {
    const std::int64_t px = x / l.N, py = y / l.N;
    if (px < 0 || py < 0 || px >= l.Surface->Width() || py >= l.Surface->Height()) return;
    std::uint8_t* p = l.Surface->PixelAddress(static_cast<int>(px), static_cast<int>(py));
    switch (l.Pass) {
        case TPass::Darken:
            p[2] = p[2] > l.Dr ? p[2] - l.Dr : 0;
            p[1] = p[1] > l.Dg ? p[1] - l.Dg : 0;
            p[0] = p[0] > l.Db ? p[0] - l.Db : 0;
            break;
        case TPass::Clear:
            p[3] = 0;
            break;
        case TPass::Count:
            p[3] = static_cast<std::uint8_t>(p[3] + 1);
            break;
        case TPass::Blend: {
            const std::int64_t c = p[3];
            if (c == 0) break;
            p[2] = static_cast<std::uint8_t>((l.R * c + p[2] * (l.N2 - c)) / l.N2);
            p[1] = static_cast<std::uint8_t>((l.G * c + p[1] * (l.N2 - c)) / l.N2);
            p[0] = static_cast<std::uint8_t>((l.B * c + p[0] * (l.N2 - c)) / l.N2);
            p[3] = 0;
            break;
        }
    }
}

void Stroke(const TLine& l, std::int64_t x, std::int64_t y, std::int64_t e) {
    std::int64_t err = -e;
    for (std::int64_t p = 0; p <= l.U; ++p) {
        if (DashAllows(l, p)) Plot(l, x, y);
        if (err <= l.Kt) {
            (l.Steep ? y : x) += l.Sm;
            err += l.Kv;
        } else {
            (l.Steep ? y : x) += l.Sm;
            (l.Steep ? x : y) += l.Sn;
            err += l.Kd;
        }
    }
}

struct TPt {
    std::int64_t X, Y;
};

void RunPass(const TLine& l, TPt start, long double tk, std::int64_t ku, std::int64_t pm,
             std::int64_t qn, std::int64_t s) {
    TPt a = start, b = start;
    std::int64_t d0 = 0, d1 = 0, dd = 0;
    while (tk > dd) {
        Stroke(l, a.X, a.Y, s * d1);
        if (a.X != b.X || a.Y != b.Y) Stroke(l, b.X, b.Y, -s * d1);
        if (d0 < l.Kt) {
            if (l.Steep) {
                a.X += pm;
                b.X -= pm;
            } else {
                a.Y += pm;
                b.Y -= pm;
            }
        } else {
            dd += l.Kv;
            d0 -= ku;
            if (d1 < l.Kt) {
                if (l.Steep) {
                    a.Y -= qn;
                    a.X += pm;
                    b.Y += qn;
                    b.X -= pm;
                } else {
                    a.X -= qn;
                    a.Y += pm;
                    b.X += qn;
                    b.Y -= pm;
                }
                d1 += l.Kv;
            } else {
                if (l.Steep) {
                    a.Y -= qn;
                    b.Y += qn;
                } else {
                    a.X -= qn;
                    b.X += qn;
                }
                d1 += l.Kd;
                if (tk < dd) return;
                Stroke(l, a.X, a.Y, s * d1);
                Stroke(l, b.X, b.Y, -s * d1);
                if (l.Steep) {
                    a.X += pm;
                    b.X -= pm;
                } else {
                    a.Y += pm;
                    b.Y -= pm;
                }
            }
        }
        dd += ku;
        d0 += l.Kv;
    }
}

// A line more than 1600 pixels wide or 1200 high is first clipped to the surface grown by
// 2 x pen width + 4 pixels: the parameters t where it enters and leaves each slab, start and end
// moved only where they lie outside. False when nothing is left.
bool ClipLong(long double& x1, long double& y1, long double& x2, long double& y2, int penWidth,
              int w, int h) {
    if (!(std::fabs(x1 - x2) > 1600) && !(std::fabs(y1 - y2) > 1200)) return true;
    const long double m = 2.0L * (penWidth > 0 ? penWidth : 0) + 4;
    const long double dx = x2 - x1, dy = y2 - y1;
    long double t0 = 0, t1 = 1;
    const long double from[2] = {x1, y1}, d[2] = {dx, dy}, hi[2] = {w + m, h + m};
    for (int a = 0; a < 2; ++a) {
        if (d[a] == 0) {
            if (from[a] < -m || from[a] > hi[a]) return false;
            continue;
        }
        const long double ta = (-m - from[a]) / d[a], tb = (hi[a] - from[a]) / d[a];
        t0 = std::max(t0, std::min(ta, tb));
        t1 = std::min(t1, std::max(ta, tb));
    }
    if (t0 > t1) return false;
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

}  // namespace

void LineAAReference(TPaintBoxEx& surface, std::int64_t color, int width, long double x1,
                     long double y1, long double x2, long double y2, long double dash) {
    if (surface.Height() <= 0) return;
    for (long double v : {x1, y1, x2, y2})
        if (!std::isfinite(v)) return;
    const TCanvas& pen = surface.BitmapCanvas();
    const int penWidth = width < 1 ? pen.PenWidth() : width;
    if (!ClipLong(x1, y1, x2, y2, penWidth, surface.Width(), surface.Height())) return;
    for (long double v : {x1, y1, x2, y2})
        if (!(std::fabs(v) <= 1e9L)) return;  // unreachable pixels
    TLine l{};
    l.Surface = &surface;
    l.N = surface.FastAntialiasing ? surface.SubSampling : 3 * surface.SubSampling;
    l.N2 = l.N * l.N;
    const std::int64_t t = (width < 1 ? pen.PenWidth() : width) * l.N;
    const TColor c = (color == -1 ? pen.PenColor() : static_cast<TColor>(color)) & 0xFFFFFF;
    l.R = c & 0xFF;
    l.G = (c >> 8) & 0xFF;
    l.B = (c >> 16) & 0xFF;
    l.Dr = static_cast<int>((256 - l.R) / l.N2);
    l.Dg = static_cast<int>((256 - l.G) / l.N2);
    l.Db = static_cast<int>((256 - l.B) / l.N2);
    std::int64_t sx1 = Round(l.N * x1), sy1 = Round(l.N * y1);
    const std::int64_t sx2 = Round(l.N * x2), sy2 = Round(l.N * y2);
    const std::int64_t du = sx2 - sx1, dv = sy2 - sy1;
    l.Steep = std::llabs(dv) >= std::llabs(du);
    if (!l.Steep) {
        l.Sm = du > 0 ? 1 : -1;
        l.Sn = dv > 0 ? 1 : -1;
    } else {
        l.Sm = dv > 0 ? 1 : -1;
        l.Sn = du > 0 ? 1 : -1;
    }
    const std::int64_t f = l.Steep ? -1 : 1;
    const std::int64_t pm = l.Sm * f, qn = l.Sn * f, s = l.Sn * pm;
    l.U = std::llabs(l.Steep ? dv : du);
    const std::int64_t v = std::llabs(l.Steep ? du : dv);
    sx1 += l.N / 2;
    sy1 += l.N / 2;
    const long double len = Hypot(l.U, v);
    const long double tk = t * len;
    const std::int64_t ku = 2 * l.U;
    l.Kv = 2 * v;
    l.Kd = l.Kv - ku;
    l.Kt = l.U - l.Kv;
    l.Dash = dash;
    l.Q = dash > 0 ? len / (l.U * dash * t) : len / static_cast<long double>(l.U * t);
    l.Style = pen.PenStyle();
    const TPt start{sx1, sy1};
    if (surface.FastAntialiasing) {
        l.Pass = TPass::Darken;
        RunPass(l, start, tk, ku, pm, qn, s);
        return;
    }
    for (TPass pass : {TPass::Clear, TPass::Count, TPass::Blend}) {
        l.Pass = pass;
        RunPass(l, start, tk, ku, pm, qn, s);
    }
}

}  // namespace zeigora
