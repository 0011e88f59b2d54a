#include "plane/phasordraw.h"

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

void DrawHighlightBand(TPaintBoxEx& surface, const TPhasor& p, const TDrawnPhasor& s,
                       bool antiAliasing) {
    TCanvas& canvas = surface.DrawingCanvas();
    canvas.SetPenColor(HighlightColor(p.Color));
    canvas.SetPenStyle(psSolid);
    canvas.SetPenWidth(p.Width * 2 + 10);
    if (antiAliasing) {
        surface.FastAntialiasing = true;
        surface.LineAA(canvas.PenColor(), canvas.PenWidth(), s.X1, s.Y1, s.X2, s.Y2, -1);
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
    const TPhasor& p = *phasor;
    if (p.Visible == 0) return;
    const std::optional<TTip> tip = TipOf(p, mapping);
    if (!tip) return;
    TCanvas& canvas = surface.DrawingCanvas();
    const TDrawnPhasor segment{mapping.ChainX, tip->X, mapping.ChainY, tip->Y, phasor};
    drawn.push_back(segment);
    canvas.MoveTo(segment.X1, segment.Y1);
    mapping.ChainX = tip->X;
    mapping.ChainY = tip->Y;
    canvas.SetPenColor(p.Color);
    if (isSelected) DrawHighlightBand(surface, p, segment, options.AntiAliasing);
    canvas.SetPenColor(p.Color);
    canvas.SetPenStyle(p.Style);
    canvas.SetPenWidth(p.Width);
    DrawPhasorArrow(surface, segment.X1, segment.Y1, segment.X2, segment.Y2, options.AntiAliasing);
    if (p.NameVisible != 0) DrawName(canvas, p, segment, options.LabelGap);
    if (options.ResetAfterEach) ResetChainPoint(mapping);
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
        surface.LineAA(color, width, x1, y1, x2, y2, -1);
        canvas.SetPenStyle(psSolid);
        surface.LineAA(color, width, x2, y2, head.Wing1X, head.Wing1Y, -1);
        surface.LineAA(color, width, x2, y2, head.Wing2X, head.Wing2Y, -1);
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
