#include "circuitplot/plotaxis.h"

#include <algorithm>
#include <cmath>

#include "complex/numtext.h"

namespace zeigora {

namespace {

// Pixel coordinates never leave this range, whatever a sweep's values are.
constexpr double FarOut = 1e6;

bool Finite(TPlotPoint p) {
    return std::isfinite(p.X) && std::isfinite(p.Y);
}

TPlotPoint Clamp(TPlotPoint p) {
    return {std::clamp(p.X, -FarOut, FarOut), std::clamp(p.Y, -FarOut, FarOut)};
}

void Segment(TPaintBoxEx& surface, TPlotPoint a, TPlotPoint b, std::uint32_t color, int width,
             bool aa) {
    if (aa && !surface.Recording()) {
        surface.LineAA(color, width, a.X, a.Y, b.X, b.Y, 0);
        return;
    }
    TCanvas& canvas = surface.DrawingCanvas();
    canvas.SetPenColor(color);
    canvas.SetPenWidth(width);
    canvas.SetPenStyle(psSolid);
    canvas.MoveTo(static_cast<int>(std::lround(a.X)), static_cast<int>(std::lround(a.Y)));
    canvas.LineTo(static_cast<int>(std::lround(b.X)), static_cast<int>(std::lround(b.Y)));
}

}  // namespace

// Liang-Barsky.
bool ClipSegment(TPlotPoint& a, TPlotPoint& b, const TPlotRect& r) {
    double t0 = 0.0, t1 = 1.0;
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.X - r.Left, r.Right - a.X, a.Y - r.Top, r.Bottom - a.Y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const TPlotPoint start = a;
    a = {start.X + t0 * dx, start.Y + t0 * dy};
    b = {start.X + t1 * dx, start.Y + t1 * dy};
    return true;
}

double TPlotAxis::ToPixel(double v) const {
    const double t = Log ? (std::log10(v) - std::log10(Min)) / (std::log10(Max) - std::log10(Min))
                         : (v - Min) / (Max - Min);
    return P0 + t * (P1 - P0);
}

double TPlotAxis::FromPixel(double p) const {
    const double t = (p - P0) / (P1 - P0);
    if (Log) return std::pow(10.0, std::log10(Min) + t * (std::log10(Max) - std::log10(Min)));
    return Min + t * (Max - Min);
}

double NiceStep(double rough) {
    if (!(rough > 0.0) || !std::isfinite(rough)) return 1.0;
    const double decade = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double m : {1.0, 2.0, 5.0, 10.0})
        if (m * decade >= rough * (1 - 1e-12)) return m * decade;
    return 10.0 * decade;
}

std::vector<double> LinearTicks(double min, double max, double step) {
    std::vector<double> ticks;
    if (!(step > 0.0) || !std::isfinite(min) || !std::isfinite(max)) return ticks;
    for (double k = std::ceil(min / step); k * step <= max * (1 + 1e-12) + 1e-300; k += 1.0) {
        ticks.push_back(std::fabs(k * step) < step * 1e-9 ? 0.0 : k * step);
        if (ticks.size() > 200) break;
    }
    return ticks;
}

std::vector<double> DecadeTicks(double min, double max) {
    std::vector<double> ticks;
    if (!(min > 0.0) || !(max >= min) || !std::isfinite(max)) return ticks;
    for (int e = static_cast<int>(std::ceil(std::log10(min) - 1e-12));
         e <= std::floor(std::log10(max) + 1e-12) && ticks.size() < 400; ++e)
        ticks.push_back(e >= 0 ? std::pow(10.0, e) : 1.0 / std::pow(10.0, -e));
    return ticks;
}

std::string AxisText(double v) {
    // Unlike the program's number text, a thousand is "1k" here, in line with "10k" beside it.
    const std::string text = FormatFloatEng("0.000", v);
    if (std::fabs(v) >= 1000.0 && std::fabs(v) < 1e4 && text.back() != 'k')
        return FormatFloatEng("0.000", v / 1000.0) + "k";
    return text;
}

std::string UnitText(double v, const std::string& unit) {
    std::string text = AxisText(v);
    std::string prefix;
    if (!text.empty() && std::isfinite(v)) {
        const char last = text.back();
        if (last == 'k' || last == 'M' || last == 'G' || last == 'm' || last == 'n' ||
            last == '\xB5') {
            prefix = std::string(1, last);
            text.pop_back();
        }
    }
    return text + " " + prefix + unit;
}

void DrawPlotLine(TPaintBoxEx& surface, TPlotPoint a, TPlotPoint b, const TPlotRect& clip,
                  std::uint32_t color, int width, bool aa) {
    if (!Finite(a) || !Finite(b)) return;
    a = Clamp(a);
    b = Clamp(b);
    if (ClipSegment(a, b, clip)) Segment(surface, a, b, color, width, aa);
}

void DrawPolyline(TPaintBoxEx& surface, const std::vector<TPlotPoint>& points,
                  const TPlotRect& clip, std::uint32_t color, int width, bool aa) {
    for (std::size_t k = 1; k < points.size(); ++k)
        DrawPlotLine(surface, points[k - 1], points[k], clip, color, width, aa);
}

void DrawArrowHeadAt(TPaintBoxEx& surface, TPlotPoint tip, double dx, double dy,
                     std::uint32_t color, bool aa) {
    const double len = std::hypot(dx, dy);
    if (!(len > 0.0) || !Finite(tip)) return;
    const double ux = dx / len, uy = dy / len;
    constexpr double Length = 11.0, Half = 4.5;
    const TPlotRect everywhere{-FarOut, -FarOut, FarOut, FarOut};
    for (const double side : {-1.0, 1.0}) {
        const TPlotPoint wing{tip.X - ux * Length - uy * Half * side,
                              tip.Y - uy * Length + ux * Half * side};
        DrawPlotLine(surface, wing, tip, everywhere, color, 2, aa);
    }
}

void DrawDot(TPaintBoxEx& surface, TPlotPoint at, int radius, std::uint32_t color,
             std::uint32_t fill) {
    if (!Finite(at) || std::fabs(at.X) > FarOut || std::fabs(at.Y) > FarOut) return;
    TCanvas& canvas = surface.DrawingCanvas();
    const int x = static_cast<int>(std::lround(at.X)), y = static_cast<int>(std::lround(at.Y));
    canvas.SetBrushStyle(TBrushStyle::Solid);
    canvas.SetBrushColor(fill);
    canvas.SetPenColor(color);
    canvas.SetPenWidth(1);
    canvas.SetPenStyle(psSolid);
    canvas.Ellipse(x - radius, y - radius, x + radius + 1, y + radius + 1);
    canvas.SetBrushStyle(TBrushStyle::Clear);
}

double DistanceToSegment(TPlotPoint p, TPlotPoint a, TPlotPoint b) {
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0.0 ? ((p.X - a.X) * dx + (p.Y - a.Y) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.X - a.X - t * dx, p.Y - a.Y - t * dy);
}

}  // namespace zeigora
