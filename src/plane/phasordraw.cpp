#include "plane/phasordraw.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace zeigora {

namespace {

struct TTip {
    int X;
    int Y;
};

// The rounded tip, or nothing when the value cannot be placed on pixels.
std::optional<TTip> TipOf(const TPhasor& p, const TPlaneMapping& m) {
    const double re = p.Value.Re, im = p.Value.Im;
    if (!std::isfinite(re) || !std::isfinite(im)) return std::nullopt;
    const double x = m.ChainX + RoundHalfEven(ToPixels(p.Scale, m.Factor2X, m.Factor1X, re));
    const double y = m.ChainY - RoundHalfEven(ToPixels(p.Scale, m.Factor2Y, m.Factor1Y, im));
    if (!(std::fabs(x) <= MaxPixelOffset) || !(std::fabs(y) <= MaxPixelOffset)) return std::nullopt;
    return TTip{static_cast<int>(x), static_cast<int>(y)};
}

// Under a clip, the line is drawn with the clip cut down to the box around the part of the
// line that can reach it (the line's pixels lie within 2 widths + 4 of it): the same pixels
// are written, and the walk along the line keeps to that part.
void LineAAInClip(TPaintBoxEx& surface, TColor color, int width, double x1, double y1, double x2,
                  double y2) {
    const QRect clip = surface.Clip;
    if (clip.isNull()) {
        surface.LineAA(color, width, x1, y1, x2, y2, -1);
        return;
    }
    const double r = 2.0 * std::max(width, 0) + 4;
    const double lo[2] = {clip.left() - r, clip.top() - r};
    const double hi[2] = {clip.right() + r, clip.bottom() + r};
    double ax = x1, ay = y1, bx = x2, by = y2;
    if (!CutToBox(ax, ay, bx, by, lo, hi)) return;
    const QRect near(
        QPoint(int(std::floor(std::min(ax, bx) - r)), int(std::floor(std::min(ay, by) - r))),
        QPoint(int(std::ceil(std::max(ax, bx) + r)), int(std::ceil(std::max(ay, by) + r))));
    surface.Clip = clip & near;
    if (!surface.Clip.isEmpty()) surface.LineAA(color, width, x1, y1, x2, y2, -1);
    surface.Clip = clip;
}

void DrawHighlightBand(TPaintBoxEx& surface, const TPhasor& p, const TDrawnPhasor& s,
                       bool antiAliasing) {
    TCanvas& canvas = surface.DrawingCanvas();
    canvas.SetPenColor(HighlightColor(p.Color));
    canvas.SetPenStyle(psSolid);
    canvas.SetPenWidth(p.Width * 2 + 10);
    if (antiAliasing) {
        surface.FastAntialiasing = true;
        LineAAInClip(surface, canvas.PenColor(), canvas.PenWidth(), s.X1, s.Y1, s.X2, s.Y2);
    } else {
        canvas.MoveTo(s.X1, s.Y1);
        canvas.LineTo(s.X2, s.Y2);
    }
}

void DrawName(TCanvas& canvas, const TPhasor& p, const TDrawnPhasor& s, int labelGap) {
    const std::string_view name = p.Name.View();
    canvas.SetFontColor(p.Color);
    const int left = p.Value.Re > 0 ? s.X2 - canvas.TextWidth(name) - labelGap : s.X2 + labelGap;
    canvas.TextOut(left, s.Y2 - canvas.TextHeight(name) / 2, name);
    canvas.MoveTo(s.X2, s.Y2);
}

}  // namespace

bool CutToBox(double& x1, double& y1, double& x2, double& y2, const double lo[2],
              const double hi[2]) {
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - lo[0], hi[0] - x1, y1 - lo[1], hi[1] - y1};
    double t0 = 0, t1 = 1;
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0) return false;
        } else if (p[k] < 0) {
            t0 = std::max(t0, q[k] / p[k]);
        } else {
            t1 = std::min(t1, q[k] / p[k]);
        }
    }
    if (t0 > t1) return false;
    x2 = x1 + t1 * dx, y2 = y1 + t1 * dy;
    x1 = x1 + t0 * dx, y1 = y1 + t0 * dy;
    return true;
}

std::uint32_t HighlightColor(std::uint32_t color) {
    std::uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t c = (color >> shift) & 0xFF;
        result |= ((c >> 3) + 223) << shift;
    }
    return result;
}

void DrawPhasors(TPaintBoxEx& surface, TPlaneMapping& mapping, TDrawnPhasorArray& drawn,
                 const TPPhasorArray& list, const TPhasorDrawOptions& options) {
    for (PPhasor p : list)
        DrawPhasor(surface, mapping, drawn, p, p == options.Selected, options);
}

void DrawPhasor(TPaintBoxEx& surface, TPlaneMapping& mapping, TDrawnPhasorArray& drawn,
                PPhasor phasor, bool isSelected, const TPhasorDrawOptions& options) {
    if (PlacePhasor(mapping, drawn, phasor, options))
        DrawPlacedPhasor(surface, drawn.back(), isSelected, options);
}

bool PlacePhasor(TPlaneMapping& mapping, TDrawnPhasorArray& drawn, PPhasor phasor,
                 const TPhasorDrawOptions& options) {
    const TPhasor& p = *phasor;
    if (p.Visible == 0) return false;
    const std::optional<TTip> tip = TipOf(p, mapping);
    if (!tip) return false;
    drawn.push_back({mapping.ChainX, tip->X, mapping.ChainY, tip->Y, phasor});
    mapping.ChainX = tip->X;
    mapping.ChainY = tip->Y;
    if (options.ResetAfterEach) ResetChainPoint(mapping);
    return true;
}

void DrawPlacedPhasor(TPaintBoxEx& surface, const TDrawnPhasor& segment, bool isSelected,
                      const TPhasorDrawOptions& options) {
    const TPhasor& p = *segment.Phasor;
    TCanvas& canvas = surface.DrawingCanvas();
    canvas.MoveTo(segment.X1, segment.Y1);
    canvas.SetPenColor(p.Color);
    if (isSelected) DrawHighlightBand(surface, p, segment, options.AntiAliasing);
    canvas.SetPenColor(p.Color);
    canvas.SetPenStyle(p.Style);
    canvas.SetPenWidth(p.Width);
    DrawPhasorArrow(surface, segment.X1, segment.Y1, segment.X2, segment.Y2, options.AntiAliasing);
    if (p.NameVisible != 0) DrawName(canvas, p, segment, options.LabelGap);
}

namespace {

// The box from (left, top) to (right, bottom), inclusive, cut to `bounds`; empty ones are left
// out. 64-bit so that far tips and wide margins cannot overflow.
void AddBox(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
            const QRect& bounds, std::vector<QRect>& ink) {
    left = std::max<std::int64_t>(left, bounds.left());
    top = std::max<std::int64_t>(top, bounds.top());
    right = std::min<std::int64_t>(right, bounds.right());
    bottom = std::min<std::int64_t>(bottom, bounds.bottom());
    if (left <= right && top <= bottom)
        ink.push_back(QRect(QPoint(int(left), int(top)), QPoint(int(right), int(bottom))));
}

// The shaft (and band) as boxes of at most 48 pixels along it, each `margin` wider.
void ShaftInk(const TDrawnPhasor& s, std::int64_t margin, const QRect& bounds,
              std::vector<QRect>& ink) {
    double x1 = s.X1, y1 = s.Y1, x2 = s.X2, y2 = s.Y2;
    const double lo[2] = {double(bounds.left() - margin), double(bounds.top() - margin)};
    const double hi[2] = {double(bounds.right() + margin), double(bounds.bottom() + margin)};
    if (!CutToBox(x1, y1, x2, y2, lo, hi)) return;
    const double length = std::max(std::fabs(x2 - x1), std::fabs(y2 - y1));
    const int pieces = std::max(1, static_cast<int>(std::ceil(length / 48)));
    for (int k = 0; k < pieces; ++k) {
        const double a = double(k) / pieces, b = double(k + 1) / pieces;
        const double ax = x1 + a * (x2 - x1), ay = y1 + a * (y2 - y1);
        const double bx = x1 + b * (x2 - x1), by = y1 + b * (y2 - y1);
        AddBox(std::int64_t(std::floor(std::min(ax, bx))) - margin,
               std::int64_t(std::floor(std::min(ay, by))) - margin,
               std::int64_t(std::ceil(std::max(ax, bx))) + margin,
               std::int64_t(std::ceil(std::max(ay, by))) + margin, bounds, ink);
    }
}

}  // namespace

void PhasorInk(const TCanvas& canvas, const TDrawnPhasor& segment, bool isSelected,
               const TPhasorDrawOptions& options, const QRect& bounds, std::vector<QRect>& ink) {
    const TPhasor& p = *segment.Phasor;
    const std::int64_t width = std::max<std::int64_t>(p.Width, 1);
    // Shaft and band spread half their width to each side of the line (the band width + 5),
    // plus the rounding of the sub-sampled walk and of the plain pen's round caps.
    ShaftInk(segment, (isSelected ? width + 5 : width) + 4, bounds, ink);
    // The head's wings lie within sqrt(10) / 3 head lengths of the tip.
    const auto head = static_cast<std::int64_t>(std::ceil(std::sqrt(double(width)) * 10.6));
    const std::int64_t reach = head + width + 4;
    AddBox(std::int64_t(segment.X2) - reach, std::int64_t(segment.Y2) - reach,
           std::int64_t(segment.X2) + reach, std::int64_t(segment.Y2) + reach, bounds, ink);
    if (p.NameVisible == 0) return;
    // The name's box, with a whole line height around it for glyphs that overhang it.
    const std::string_view name = p.Name.View();
    const std::int64_t w = canvas.TextWidth(name), h = canvas.TextHeight(name);
    const std::int64_t left =
        p.Value.Re > 0 ? segment.X2 - w - options.LabelGap : segment.X2 + options.LabelGap;
    const std::int64_t top = segment.Y2 - h / 2;
    AddBox(left - h, top - h, left + w + h, top + 2 * h, bounds, ink);
}

bool PhasorArrowHead(int x1, int y1, int x2, int y2, int penWidth, TArrowHead& head) {
    const double headLength = std::sqrt(static_cast<double>(penWidth)) * 10;
    const double halfWidth = headLength / 3;
    const double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
    const double len = std::sqrt(dx * dx + dy * dy);
    if (len == 0) return false;
    // A phasor shorter than its head gets a head reaching back past its start.
    const double t = 1 - headLength / len;
    const double bx = x1 + t * dx, by = y1 + t * dy;
    const double ux = dx / len, uy = dy / len;
    head = {bx - uy * halfWidth, by + ux * halfWidth, bx + uy * halfWidth, by - ux * halfWidth};
    return true;
}

void DrawPhasorArrow(TPaintBoxEx& surface, int x1, int y1, int x2, int y2, bool antiAliasing) {
    TCanvas& canvas = surface.DrawingCanvas();
    TArrowHead head;
    if (!PhasorArrowHead(x1, y1, x2, y2, canvas.PenWidth(), head)) return;
    if (antiAliasing) {
        surface.FastAntialiasing = false;
        const TColor color = canvas.PenColor();
        const int width = canvas.PenWidth();
        LineAAInClip(surface, color, width, x1, y1, x2, y2);
        canvas.SetPenStyle(psSolid);
        LineAAInClip(surface, color, width, x2, y2, head.Wing1X, head.Wing1Y);
        LineAAInClip(surface, color, width, x2, y2, head.Wing2X, head.Wing2Y);
    } else {
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
        canvas.SetPenStyle(psSolid);
        canvas.LineTo(RoundToPixel(head.Wing1X), RoundToPixel(head.Wing1Y));
        canvas.MoveTo(x2, y2);
        canvas.LineTo(RoundToPixel(head.Wing2X), RoundToPixel(head.Wing2Y));
    }
    canvas.MoveTo(x2, y2);
}

}  // namespace zeigora
