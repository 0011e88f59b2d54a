#include "plane/grid.h"

#include <algorithm>
#include <cmath>

#include "complex/numtext.h"

namespace zeigora {

namespace {

// Loop bounds taken from settings are capped so that absurd values cannot hang a frame: no
// screen is 4096 pixels wide on one side of the origin, so beyond that the lines lie closer
// than a pixel anyway, and the sub-lines of a frame stay within a fixed budget.
constexpr int MaxGridLines = 4096;
constexpr int MaxSubLines = 65536;
// More decimals than a double carries are meaningless; the cap keeps patterns short.
constexpr int MaxAxisDigits = 20;

void VerticalLine(TCanvas& canvas, int x, int height) {
    canvas.MoveTo(x, 0);
    canvas.LineTo(x, height);
}

void HorizontalLine(TCanvas& canvas, int y, int width) {
    canvas.MoveTo(0, y);
    canvas.LineTo(width, y);
}

// Grid lines of one axis: drawLines(offset) draws the pair at +- offset.
template <typename DrawLines>
void DrawGridAxis(TCanvas& canvas, const TPlaneSettings& s, int halfExtent, double count,
                  DrawLines drawLines) {
    const int last = TruncCount(count, MaxGridLines);
    const int sub = std::min(s.SubIntervals, std::max(2, MaxSubLines / (last + 1)));
    for (int i = 0; i <= last; ++i) {
        const int offset = RoundToPixel(GridOffset(i, halfExtent, count));
        if (i != 0) drawLines(offset);
        if (!s.SubGridVisible) continue;
        canvas.SetPenStyle(s.SubGridStyle);
        canvas.SetPenColor(s.SubGridColor);
        for (int k = 1; k <= sub - 1; ++k)
            drawLines(RoundToPixel(halfExtent / count * k / s.SubIntervals + offset));
        canvas.SetPenStyle(s.GridStyle);
        canvas.SetPenColor(s.GridColor);
    }
}

void DrawGridLines(TCanvas& canvas, int w, int h, const TPlaneSettings& s, const TPlaneMapping& m) {
    canvas.SetPenStyle(s.GridStyle);
    canvas.SetPenColor(s.GridColor);
    DrawGridAxis(canvas, s, w / 2, CountX(s),
                 [&](int offset) { DrawGridLinesX(canvas, m, h, offset); });
    DrawGridAxis(canvas, s, h / 2, CountY(s),
                 [&](int offset) { DrawGridLinesY(canvas, m, w, offset); });
}

}  // namespace

void DrawGridLinesX(TCanvas& canvas, const TPlaneMapping& m, int height, int offset) {
    VerticalLine(canvas, m.OriginX + offset, height);
    VerticalLine(canvas, m.OriginX - offset, height);
}

void DrawGridLinesY(TCanvas& canvas, const TPlaneMapping& m, int width, int offset) {
    HorizontalLine(canvas, m.OriginY + offset, width);
    HorizontalLine(canvas, m.OriginY - offset, width);
}

void DrawTicksX(TCanvas& canvas, const TPlaneMapping& m, int offset, int halfLength) {
    for (int x : {m.OriginX + offset, m.OriginX - offset}) {
        canvas.MoveTo(x, m.OriginY - halfLength);
        canvas.LineTo(x, m.OriginY + halfLength);
    }
}

void DrawTicksY(TCanvas& canvas, const TPlaneMapping& m, int offset, int halfLength) {
    for (int y : {m.OriginY + offset, m.OriginY - offset}) {
        canvas.MoveTo(m.OriginX - halfLength, y);
        canvas.LineTo(m.OriginX + halfLength, y);
    }
}

std::string FormatAxisNumber(int digits, bool autoValues, double value) {
    digits = std::clamp(digits, 0, MaxAxisDigits);
    std::string pattern = "0";
    if (digits > 0) {
        pattern += '.';
        pattern.append(static_cast<std::size_t>(digits), '0');
    }
    // Non-finite values only appear on a surface without extent; they read as the formatter's
    // special texts in both modes.
    if (autoValues || !std::isfinite(value)) return FormatFloatEng(pattern, value);
    return FormatFixed(value, digits, DecimalSeparator());
}

double GridValue(int i, int extent, double scaleValue) {
    return scaleValue * i * (2.0 * (extent / 2) / extent);
}

void DrawNumbersX(TCanvas& canvas, const TPlaneSettings& s, const TPlaneMapping& m,
                  std::uint8_t scale, double offset, double value) {
    const std::string text = FormatAxisNumber(s.Accuracy, s.AutoValues, value);
    const std::string negText = "-" + text;
    const int gap = s.MarkLength + s.SafetySpace;
    auto row = [&](const std::string& t) {
        return scale == 0 ? m.OriginY + gap : m.OriginY - gap - canvas.TextHeight(t);
    };
    canvas.TextOut(RoundToPixel(m.OriginX + offset - canvas.TextWidth(text) / 2), row(text), text);
    canvas.TextOut(RoundToPixel(m.OriginX - offset - canvas.TextWidth(negText) / 2), row(negText),
                   negText);
}

void DrawNumbersY(TCanvas& canvas, const TPlaneSettings& s, const TPlaneMapping& m,
                  std::uint8_t scale, double offset, double value) {
    const std::string text = FormatAxisNumber(s.Accuracy, s.AutoValues, value);
    const std::string negText = "-" + text;
    const int gap = s.MarkLength + s.SafetySpace;
    auto column = [&](const std::string& t) {
        return scale == 0 ? m.OriginX + gap : m.OriginX - gap - canvas.TextWidth(t);
    };
    canvas.TextOut(column(text), RoundToPixel(m.OriginY - offset - canvas.TextHeight(text) / 2),
                   text);
    canvas.TextOut(column(negText),
                   RoundToPixel(m.OriginY + offset - canvas.TextHeight(negText) / 2), negText);
}

void DrawGrid(TCanvas& canvas, int w, int h, const TPlaneSettings& s, const TPlaneMapping& m,
              bool hasScale1, bool hasScale2) {
    if (s.GridVisible) DrawGridLines(canvas, w, h, s, m);
    canvas.SetPenStyle(s.AxisStyle);
    canvas.SetPenColor(s.AxisColor);
    canvas.SetFontColor(s.AxisColor);
    const double countX = CountX(s), countY = CountY(s);
    for (int i = 1; i <= TruncCount(countX, MaxGridLines); ++i) {
        const double d = GridOffset(i, w / 2, countX);
        DrawTicksX(canvas, m, RoundToPixel(d), s.MarkLength);
        if (!s.ShowNumbers) continue;
        if (hasScale1) DrawNumbersX(canvas, s, m, 0, d, GridValue(i, w, s.Scale1));
        if (hasScale2) DrawNumbersX(canvas, s, m, 1, d, GridValue(i, w, s.Scale2));
    }
    for (int i = 1; i <= TruncCount(countY, MaxGridLines); ++i) {
        const double d = GridOffset(i, h / 2, countY);
        DrawTicksY(canvas, m, RoundToPixel(d), s.MarkLength);
        if (!s.ShowNumbers) continue;
        if (hasScale1) DrawNumbersY(canvas, s, m, 0, d, GridValue(i, h, s.Scale1));
        if (hasScale2) DrawNumbersY(canvas, s, m, 1, d, GridValue(i, h, s.Scale2));
    }
    canvas.MoveTo(m.ChainX, m.ChainY);
}

void DrawAxisArrow(TCanvas& canvas, int x1, int y1, int x2, int y2, bool antiAliasing) {
    const double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
    const double len = std::sqrt(dx * dx + dy * dy);
    if (len == 0) return;
    const double t = 1 - 10 / len;
    const double bx = x1 + t * dx, by = y1 + t * dy;
    const double ux = dx / len, uy = dy / len;
    const int w1x = RoundToPixel(bx - uy * 3), w1y = RoundToPixel(by + ux * 3);
    const int w2x = RoundToPixel(bx + uy * 3), w2y = RoundToPixel(by - ux * 3);
    if (antiAliasing) {
        SmoothLine(canvas, x1, y1, x2, y2);
        SmoothLine(canvas, x2, y2, w1x, w1y);
        canvas.MoveTo(x2, y2);
        SmoothLine(canvas, x2, y2, w2x, w2y);
    } else {
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
        canvas.LineTo(w1x, w1y);
        canvas.MoveTo(x2, y2);
        canvas.LineTo(w2x, w2y);
    }
    canvas.MoveTo(x2, y2);
}

void DrawAxes(TCanvas& canvas, int w, int h, TPlaneMapping& m, std::uint32_t axisColor,
              int axisStyle, bool antiAliasing, std::string_view imLabel, std::string_view reLabel,
              int penWidth) {
    const int cx = m.OriginX, cy = m.OriginY;
    canvas.SetPenColor(axisColor);
    canvas.SetPenStyle(axisStyle);
    canvas.SetPenWidth(penWidth);
    canvas.SetFontColor(axisColor);
    canvas.MoveTo(cx, cy);
    DrawAxisArrow(canvas, cx, cy, 0, cy, antiAliasing);
    DrawAxisArrow(canvas, cx, cy, w, cy, antiAliasing);
    canvas.MoveTo(cx, cy);
    DrawAxisArrow(canvas, cx, cy, cx, 0, antiAliasing);
    DrawAxisArrow(canvas, cx, cy, cx, h, antiAliasing);
    canvas.TextOut(w - canvas.TextWidth(reLabel) - 5, cy + 5, reLabel);
    canvas.TextOut(cx - canvas.TextWidth(imLabel) - 5, 5, imLabel);
    ResetChainPoint(m);
}

void DrawPlaneCircle(TPaintBoxEx& surface, const TPlaneMapping& m, bool antiAliasing,
                     std::uint32_t color, double radiusX, double radiusY) {
    TCanvas& canvas = surface.DrawingCanvas();
    canvas.SetPenColor(color);
    const double rx = std::fabs(radiusX), ry = std::fabs(radiusY);
    // A ring whose smaller radius exceeds the surface's diagonal lies wholly outside it; skipping
    // it also keeps a near-zero scale from turning into an endless pixel loop. Radii that do
    // not fit pixel coordinates are skipped as well.
    const double reach = static_cast<double>(surface.Width()) + surface.Height() + 2;
    if (!(std::min(rx, ry) <= reach) || !(std::max(rx, ry) <= MaxPixelOffset)) return;
    // The antialiased ring visits every cell of its bounding quarter; beyond this it is drawn
    // as a plain ellipse.
    const bool smallEnough = std::max(rx, ry) <= 4 * reach;
    if (antiAliasing && smallEnough) {
        EllipseAA(surface, m.OriginX, m.OriginY, RoundToPixel(radiusX), RoundToPixel(radiusY));
        return;
    }
    canvas.Ellipse(RoundToPixel(m.OriginX - radiusX), RoundToPixel(m.OriginY - radiusY),
                   RoundToPixel(m.OriginX + radiusX), RoundToPixel(m.OriginY + radiusY));
}

}  // namespace zeigora
