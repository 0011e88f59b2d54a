#include "circuitplot/sweepplot.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "complex/cp1252text.h"

namespace zeigora {

namespace {

constexpr std::uint32_t CurveColor = 0xB04000;  // blue
constexpr std::uint32_t PhaseColor = 0x008000;  // green
constexpr std::uint32_t GridColor = 0xD8D8D8;
constexpr std::uint32_t SubGridColor = 0xEEEEEE;
constexpr std::uint32_t TextColor = 0x404040;
constexpr std::uint32_t MarkColor = 0x505050;
constexpr std::uint32_t ResonanceColor = 0x0000D0;  // red
constexpr std::uint32_t CurrentColor = 0x0090FF;    // orange
constexpr int LeftMargin = 64, RightMargin = 16, TopMargin = 26, BottomMargin = 30;
constexpr double GridSpacing = 60.0;  // pixels between grid lines at least

void Clear(TPaintBoxEx& surface) {
    TCanvas& canvas = surface.DrawingCanvas();
    canvas.SetBrushStyle(TBrushStyle::Solid);
    canvas.SetBrushColor(clWhite);
    canvas.SetPenStyle(psSolid);
    canvas.SetPenColor(clWhite);
    canvas.SetPenWidth(1);
    canvas.Rectangle(0, 0, surface.Width(), surface.Height());
    canvas.SetBrushStyle(TBrushStyle::Clear);
    canvas.SetFontName(DefaultFontName);
    canvas.SetFontBold(false);
}

void Text(TCanvas& canvas, int x, int y, std::string_view text, std::uint32_t color) {
    canvas.SetBrushStyle(TBrushStyle::Clear);
    canvas.SetFontColor(color);
    canvas.TextOut(x, y, text);
}

// A text with a white box under it, so it stays readable over grid and curve.
void BoxedText(TCanvas& canvas, int x, int y, std::string_view text, std::uint32_t color) {
    canvas.SetBrushStyle(TBrushStyle::Solid);
    canvas.SetBrushColor(clWhite);
    canvas.SetPenColor(clWhite);
    canvas.SetPenStyle(psSolid);
    canvas.SetPenWidth(1);
    canvas.Rectangle(x - 2, y, x + canvas.TextWidth(text) + 2, y + canvas.TextHeight(text));
    Text(canvas, x, y, text, color);
}

void Line(TCanvas& canvas, int x1, int y1, int x2, int y2, std::uint32_t color, int style) {
    canvas.SetPenColor(color);
    canvas.SetPenStyle(style);
    canvas.SetPenWidth(1);
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
    canvas.SetPenStyle(psSolid);
}

int Px(double v) {
    return static_cast<int>(std::lround(std::clamp(v, -1e6, 1e6)));
}

TPlotPoint LocusPlace(const TSweepPlotGeometry& g, const TComplex& v) {
    return {g.X.ToPixel(v.Re), g.Y.ToPixel(v.Im)};
}

struct TRange {
    double Lo = INFINITY, Hi = -INFINITY;
    void Add(double v) {
        if (!std::isfinite(v)) return;
        Lo = std::min(Lo, v);
        Hi = std::max(Hi, v);
    }
    bool Empty() const { return !(Hi >= Lo); }
};

// Equal units on both axes, the data (and the origin) centred in the plot rectangle.
void FitLocus(TSweepPlotGeometry& g, const std::vector<TComplex>& values) {
    TRange re, im;
    re.Add(0.0);
    im.Add(0.0);
    for (const TComplex& v : values)
        if (std::isfinite(v.Re) && std::isfinite(v.Im)) {
            re.Add(v.Re);
            im.Add(v.Im);
        }
    double spanRe = re.Hi - re.Lo, spanIm = im.Hi - im.Lo;
    const double span = std::max({spanRe, spanIm, 1e-300});
    if (spanRe < span * 1e-6) spanRe = span * 1e-6;
    if (spanIm < span * 1e-6) spanIm = span * 1e-6;
    const double w = g.Plot.Right - g.Plot.Left, h = g.Plot.Bottom - g.Plot.Top;
    const double scale = 0.92 * std::min(w / spanRe, h / spanIm);  // pixels per unit
    const double cx = (re.Lo + re.Hi) / 2, cy = (im.Lo + im.Hi) / 2;
    const double mx = (g.Plot.Left + g.Plot.Right) / 2, my = (g.Plot.Top + g.Plot.Bottom) / 2;
    g.X = {cx - (mx - g.Plot.Left) / scale, cx + (g.Plot.Right - mx) / scale, false, g.Plot.Left,
           g.Plot.Right};
    g.Y = {cy - (g.Plot.Bottom - my) / scale, cy + (my - g.Plot.Top) / scale, false, g.Plot.Bottom,
           g.Plot.Top};
}

void DrawLinearGridX(TCanvas& canvas, const TPlotAxis& x, const TPlotRect& r, bool labels) {
    const double step = NiceStep(GridSpacing * (x.Max - x.Min) / std::fabs(x.P1 - x.P0));
    for (const double v : LinearTicks(x.Min, x.Max, step)) {
        const int px = Px(x.ToPixel(v));
        Line(canvas, px, Px(r.Top), px, Px(r.Bottom), GridColor, psSolid);
        if (!labels) continue;
        const std::string t = AxisText(v);
        Text(canvas, px - canvas.TextWidth(t) / 2, Px(r.Bottom) + 4, t, TextColor);
    }
}

void DrawLinearGridY(TCanvas& canvas, const TPlotAxis& y, const TPlotRect& r) {
    const double step = NiceStep(GridSpacing * 0.75 * (y.Max - y.Min) / std::fabs(y.P1 - y.P0));
    for (const double v : LinearTicks(y.Min, y.Max, step)) {
        const int py = Px(y.ToPixel(v));
        Line(canvas, Px(r.Left), py, Px(r.Right), py, GridColor, psSolid);
        const std::string t = AxisText(v);
        Text(canvas, Px(r.Left) - canvas.TextWidth(t) - 5, py - canvas.TextHeight(t) / 2, t,
             TextColor);
    }
}

// Decades solid with their numbers, 2..9 times them dotted.
void DrawLogGridX(TCanvas& canvas, const TPlotAxis& x, const TPlotRect& r, bool labels) {
    const double decades = std::log10(x.Max / x.Min);
    const bool sub = std::fabs(x.P1 - x.P0) / std::max(decades, 1e-9) > 80.0;
    for (const double d : DecadeTicks(x.Min / 10, x.Max)) {
        for (int m = 1; m <= 9; ++m) {
            const double v = d * m;
            if (v < x.Min * (1 - 1e-12) || v > x.Max * (1 + 1e-12)) continue;
            if (m > 1 && !sub) continue;
            const int px = Px(x.ToPixel(v));
            Line(canvas, px, Px(r.Top), px, Px(r.Bottom), m == 1 ? GridColor : SubGridColor,
                 psSolid);
            if (m != 1 || !labels) continue;
            const std::string t = AxisText(v);
            Text(canvas, px - canvas.TextWidth(t) / 2, Px(r.Bottom) + 4, t, TextColor);
        }
    }
}

void DrawLogGridY(TCanvas& canvas, const TPlotAxis& y, const TPlotRect& r) {
    const double decades = std::log10(y.Max / y.Min);
    const int every = std::max(
        1, static_cast<int>(std::ceil(decades * 30.0 / std::max(1.0, std::fabs(y.P1 - y.P0)))));
    int k = 0;
    for (const double v : DecadeTicks(y.Min, y.Max)) {
        if (k++ % every != 0) continue;
        const int py = Px(y.ToPixel(v));
        Line(canvas, Px(r.Left), py, Px(r.Right), py, GridColor, psSolid);
        const std::string t = AxisText(v);
        Text(canvas, Px(r.Left) - canvas.TextWidth(t) - 5, py - canvas.TextHeight(t) / 2, t,
             TextColor);
    }
}

void Frame(TCanvas& canvas, const TPlotRect& r) {
    canvas.SetBrushStyle(TBrushStyle::Clear);
    canvas.SetPenColor(0x808080);
    canvas.SetPenStyle(psSolid);
    canvas.SetPenWidth(1);
    canvas.Rectangle(Px(r.Left), Px(r.Top), Px(r.Right) + 1, Px(r.Bottom) + 1);
}

bool IsDecade(double v) {
    const double e = std::log10(std::fabs(v));
    return std::fabs(e - std::round(e)) < 1e-9;
}

// The rising-x arrow at the middle of the curve's length.
void DrawDirectionArrow(TPaintBoxEx& surface, const std::vector<TPlotPoint>& c, bool rising,
                        const TPlotRect& clip, bool aa) {
    double total = 0.0;
    for (std::size_t k = 1; k < c.size(); ++k)
        if (std::isfinite(c[k].X + c[k].Y + c[k - 1].X + c[k - 1].Y))
            total += std::hypot(c[k].X - c[k - 1].X, c[k].Y - c[k - 1].Y);
    if (!(total > 0.0) || !std::isfinite(total)) return;
    double run = 0.0;
    for (std::size_t k = 1; k < c.size(); ++k) {
        if (!std::isfinite(c[k].X + c[k].Y + c[k - 1].X + c[k - 1].Y)) continue;
        const double len = std::hypot(c[k].X - c[k - 1].X, c[k].Y - c[k - 1].Y);
        if (run + len < total / 2 || len < 1e-9) {
            run += len;
            continue;
        }
        const double t = (total / 2 - run) / len;
        double dx = c[k].X - c[k - 1].X, dy = c[k].Y - c[k - 1].Y;
        if (!rising) {
            dx = -dx;
            dy = -dy;
        }
        const TPlotPoint at{c[k - 1].X + t * (c[k].X - c[k - 1].X) + 5.0 * dx / len,
                            c[k - 1].Y + t * (c[k].Y - c[k - 1].Y) + 5.0 * dy / len};
        if (at.X >= clip.Left && at.X <= clip.Right && at.Y >= clip.Top && at.Y <= clip.Bottom)
            DrawArrowHeadAt(surface, at, dx, dy, CurveColor, aa);
        return;
    }
}

void DrawLocusMarks(TPaintBoxEx& surface, const TSweepPlotGeometry& g, const TSweepResult& s,
                    const TSweepPlotOptions& o) {
    TCanvas& canvas = surface.DrawingCanvas();
    std::vector<TRect> taken;
    auto free = [&taken](const TRect& r) {
        return std::none_of(taken.begin(), taken.end(), [&r](const TRect& t) {
            return r.Left < t.Right && t.Left < r.Right && r.Top < t.Bottom && t.Top < r.Bottom;
        });
    };
    auto inside = [&g](TPlotPoint p) {
        return p.X >= g.Plot.Left && p.X <= g.Plot.Right && p.Y >= g.Plot.Top &&
               p.Y <= g.Plot.Bottom;
    };
    // Decades first, so that 2 and 5 only get a label where one is left free.
    for (const bool decades : {true, false})
        for (const TSweepPoint& m : s.Marks) {
            if ((s.Linear || IsDecade(m.X)) != decades) continue;
            const TPlotPoint p = LocusPlace(g, SweepValue(m, o.Quantity));
            if (!inside(p)) continue;
            DrawDot(surface, p, 2, MarkColor, MarkColor);
            const std::string t = UnitText(m.X, o.XUnit);
            const int x = Px(p.X) + 6, y = Px(p.Y) - canvas.TextHeight(t) - 2;
            const TRect box{x - 2, y, x + canvas.TextWidth(t) + 2, y + canvas.TextHeight(t)};
            if (!free(box)) continue;
            taken.push_back(box);
            BoxedText(canvas, x, y, t, MarkColor);
        }
    int line = 0;
    for (const TSweepPoint& r : s.Resonances) {
        const TPlotPoint p = LocusPlace(g, SweepValue(r, o.Quantity));
        if (!inside(p)) continue;
        DrawDot(surface, p, 4, ResonanceColor, clWhite);
        const std::string t = ResonanceText(r.X);
        BoxedText(canvas, Px(p.X) + 8, Px(p.Y) + 4 + line++ * canvas.TextHeight(t), t,
                  ResonanceColor);
    }
    if (s.HasCurrent)
        DrawDot(surface, LocusPlace(g, SweepValue(s.Current, o.Quantity)), 5, clBlack,
                CurrentColor);
}

void DrawAxesThroughOrigin(TCanvas& canvas, const TSweepPlotGeometry& g) {
    const double ox = g.X.ToPixel(0.0), oy = g.Y.ToPixel(0.0);
    if (ox >= g.Plot.Left && ox <= g.Plot.Right) {
        Line(canvas, Px(ox), Px(g.Plot.Top), Px(ox), Px(g.Plot.Bottom), clBlack, psSolid);
        Text(canvas, Px(ox) + 5, Px(g.Plot.Top) + 2, "Im", clBlack);
    }
    if (oy >= g.Plot.Top && oy <= g.Plot.Bottom) {
        Line(canvas, Px(g.Plot.Left), Px(oy), Px(g.Plot.Right), Px(oy), clBlack, psSolid);
        Text(canvas, Px(g.Plot.Right) - canvas.TextWidth("Re") - 3, Px(oy) + 3, "Re", clBlack);
    }
}

}  // namespace

std::string QuantityUnit(TSweepQuantity q) {
    switch (q) {
        case TSweepQuantity::Z:
            return "Ohm";
        case TSweepQuantity::Y:
            return "S";
        case TSweepQuantity::U:
            return "V";
        case TSweepQuantity::I:
            return "A";
        case TSweepQuantity::S:
            return "VA";
    }
    return "";
}

char QuantityLetter(TSweepQuantity q) {
    constexpr char Letters[] = {'Z', 'Y', 'U', 'I', 'S'};
    return Letters[static_cast<int>(q)];
}

double PhaseDegrees(const TComplex& z) {
    const double p = z.Phase > std::numbers::pi ? z.Phase - 2 * std::numbers::pi : z.Phase;
    return p * (180.0 / std::numbers::pi);
}

std::string ResonanceText(double frequency) {
    return "Resonanz bei " + UnitText(frequency, "Hz");
}

void RenderLocus(TPaintBoxEx& surface, const TSweepResult& sweep, const TSweepPlotOptions& o,
                 TSweepPlotGeometry& g) {
    Clear(surface);
    TCanvas& canvas = surface.DrawingCanvas();
    const int w = surface.Width(), h = surface.Height();
    g.Plot = {static_cast<double>(LeftMargin), static_cast<double>(TopMargin),
              static_cast<double>(std::max(LeftMargin + 10, w - RightMargin)),
              static_cast<double>(std::max(TopMargin + 10, h - BottomMargin))};
    std::vector<TComplex> values;
    values.reserve(sweep.Points.size());
    for (const TSweepPoint& p : sweep.Points)
        values.push_back(SweepValue(p, o.Quantity));
    FitLocus(g, values);
    DrawLinearGridX(canvas, g.X, g.Plot, true);
    DrawLinearGridY(canvas, g.Y, g.Plot);
    DrawAxesThroughOrigin(canvas, g);
    Frame(canvas, g.Plot);
    g.Curve.clear();
    for (const TComplex& v : values)
        g.Curve.push_back(LocusPlace(g, v));
    DrawPolyline(surface, g.Curve, g.Plot, CurveColor, 2, o.AntiAliasing);
    const bool rising = sweep.Points.size() < 2 || sweep.Points.back().X >= sweep.Points[0].X;
    DrawDirectionArrow(surface, g.Curve, rising, g.Plot, o.AntiAliasing);
    DrawLocusMarks(surface, g, sweep, o);
    Text(canvas, LeftMargin, 6, o.Title, clBlack);
}

void RenderFrequencyResponse(TPaintBoxEx& surface, const TSweepResult& sweep,
                             const TSweepPlotOptions& o, TSweepPlotGeometry& g) {
    Clear(surface);
    TCanvas& canvas = surface.DrawingCanvas();
    const int w = surface.Width(), h = surface.Height();
    const double right = std::max(LeftMargin + 10, w - RightMargin);
    const double bottom = std::max(TopMargin + 40, h - BottomMargin);
    const double split = TopMargin + (bottom - TopMargin) * 0.55;
    g.Plot = {static_cast<double>(LeftMargin), static_cast<double>(TopMargin), right, split - 10};
    g.PhasePlot = {static_cast<double>(LeftMargin), split + 10, right, bottom};
    TRange xr, mag, ph;
    for (const TSweepPoint& p : sweep.Points) {
        xr.Add(p.X);
        const TComplex v = SweepValue(p, o.Quantity);
        if (o.Decibel)
            mag.Add(20.0 * std::log10(v.Abs));
        else if (v.Abs > 0.0)
            mag.Add(v.Abs);
        ph.Add(PhaseDegrees(v));
    }
    const bool logX = !sweep.Linear && xr.Lo > 0.0;
    if (xr.Empty() || !(xr.Hi > xr.Lo))
        xr = {xr.Empty() ? 1.0 : xr.Lo, xr.Empty() ? 10.0 : xr.Lo * 10};
    g.X = {xr.Lo, xr.Hi, logX, g.Plot.Left, g.Plot.Right};
    if (o.Decibel) {
        if (mag.Empty()) mag = {-10, 10};
        if (mag.Hi - mag.Lo < 20) mag = {(mag.Lo + mag.Hi) / 2 - 10, (mag.Lo + mag.Hi) / 2 + 10};
        const double step = NiceStep((mag.Hi - mag.Lo) / 5);
        g.Y = {std::floor(mag.Lo / step) * step, std::ceil(mag.Hi / step) * step, false,
               g.Plot.Bottom, g.Plot.Top};
    } else {
        if (mag.Empty()) mag = {1, 10};
        // A peak or notch right on a decade gets room beyond it.
        double lo = std::pow(10.0, std::floor(std::log10(mag.Lo) - 0.02));
        double hi = std::pow(10.0, std::ceil(std::log10(mag.Hi) + 0.02));
        if (!(hi > lo)) hi = lo * 10;
        g.Y = {lo, hi, true, g.Plot.Bottom, g.Plot.Top};
    }
    if (ph.Empty()) ph = {-90, 90};
    double plo = std::max(-180.0, std::floor(ph.Lo / 45 - 1e-9) * 45);
    double phi = std::min(180.0, std::ceil(ph.Hi / 45 + 1e-9) * 45);
    if (phi - plo < 90) {
        plo = std::max(-180.0, plo - 45);
        phi = std::min(180.0, phi + 45);
    }
    g.PhaseY = {plo, phi, false, g.PhasePlot.Bottom, g.PhasePlot.Top};

    for (const TPlotRect* r : {&g.Plot, &g.PhasePlot}) {
        if (logX)
            DrawLogGridX(canvas, g.X, *r, r == &g.PhasePlot);
        else
            DrawLinearGridX(canvas, g.X, *r, r == &g.PhasePlot);
    }
    if (o.Decibel)
        DrawLinearGridY(canvas, g.Y, g.Plot);
    else
        DrawLogGridY(canvas, g.Y, g.Plot);
    for (const double v : LinearTicks(plo, phi, phi - plo > 180 ? 90 : 45)) {
        const int py = Px(g.PhaseY.ToPixel(v));
        Line(canvas, Px(g.PhasePlot.Left), py, Px(g.PhasePlot.Right), py,
             v == 0.0 ? 0x909090 : GridColor, psSolid);
        const std::string t = AxisText(v) + "\xB0";
        Text(canvas, Px(g.PhasePlot.Left) - canvas.TextWidth(t) - 5, py - canvas.TextHeight(t) / 2,
             t, TextColor);
    }
    Frame(canvas, g.Plot);
    Frame(canvas, g.PhasePlot);

    std::vector<TPlotPoint> magCurve, phaseCurve;
    for (const TSweepPoint& p : sweep.Points) {
        const TComplex v = SweepValue(p, o.Quantity);
        const double x = g.X.ToPixel(p.X);
        const double m = o.Decibel ? 20.0 * std::log10(v.Abs) : v.Abs;
        magCurve.push_back({x, (o.Decibel || m > 0.0) ? g.Y.ToPixel(m) : NAN});
        const double deg = PhaseDegrees(v);
        // A jump across ±180° is no line.
        if (!phaseCurve.empty() &&
            std::fabs(g.PhaseY.ToPixel(deg) - phaseCurve.back().Y) >
                0.5 * std::fabs(g.PhasePlot.Bottom - g.PhasePlot.Top) &&
            std::fabs(deg) > 90)
            phaseCurve.push_back({NAN, NAN});
        phaseCurve.push_back({x, g.PhaseY.ToPixel(deg)});
    }
    DrawPolyline(surface, magCurve, g.Plot, CurveColor, 2, o.AntiAliasing);
    DrawPolyline(surface, phaseCurve, g.PhasePlot, PhaseColor, 2, o.AntiAliasing);

    int line = 0;
    for (const TSweepPoint& r : sweep.Resonances) {
        const int x = Px(g.X.ToPixel(r.X));
        for (const TPlotRect* rect : {&g.Plot, &g.PhasePlot})
            Line(canvas, x, Px(rect->Top), x, Px(rect->Bottom), ResonanceColor, psDash);
        const std::string t = ResonanceText(r.X);
        const int tw = canvas.TextWidth(t);
        const int tx = x + 4 + tw < right ? x + 4 : x - 4 - tw;
        BoxedText(canvas, tx, Px(g.Plot.Top) + 3 + line++ * canvas.TextHeight(t), t,
                  ResonanceColor);
    }
    if (sweep.HasCurrent) {
        const int x = Px(g.X.ToPixel(sweep.Current.X));
        for (const TPlotRect* rect : {&g.Plot, &g.PhasePlot})
            Line(canvas, x, Px(rect->Top), x, Px(rect->Bottom), CurrentColor, psSolid);
        const TComplex v = SweepValue(sweep.Current, o.Quantity);
        const double m = o.Decibel ? 20.0 * std::log10(v.Abs) : v.Abs;
        if (o.Decibel || m > 0.0)
            DrawDot(surface, {g.X.ToPixel(sweep.Current.X), g.Y.ToPixel(m)}, 4, clBlack,
                    CurrentColor);
        DrawDot(surface, {g.X.ToPixel(sweep.Current.X), g.PhaseY.ToPixel(PhaseDegrees(v))}, 4,
                clBlack, CurrentColor);
    }
    const std::string letter(1, QuantityLetter(o.Quantity));
    const std::string magTitle =
        o.Decibel ? "|" + letter + "| [dB, bezogen auf 1 " + QuantityUnit(o.Quantity) + "]"
                  : "|" + letter + "| [" + QuantityUnit(o.Quantity) + "]";
    Text(canvas, LeftMargin, 6, o.Title + "   " + magTitle, clBlack);
    Text(canvas, LeftMargin, Px(split - 8), "Phase [\xB0]", clBlack);
    const std::string unit = "[" + o.XUnit + "]";
    Text(canvas, Px(right) - canvas.TextWidth(unit), Px(bottom) + 4 + canvas.TextHeight(unit), unit,
         TextColor);
}

int NearestLocusPoint(const TSweepPlotGeometry& g, double x, double y, double maxDistance) {
    int best = -1;
    double bestDistance = maxDistance;
    for (std::size_t k = 0; k < g.Curve.size(); ++k) {
        const double d = std::hypot(g.Curve[k].X - x, g.Curve[k].Y - y);
        if (d <= bestDistance) {
            bestDistance = d;
            best = static_cast<int>(k);
        }
    }
    return best;
}

}  // namespace zeigora
