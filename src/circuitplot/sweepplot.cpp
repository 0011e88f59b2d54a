#include "circuitplot/sweepplot.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "circuitplot/textlayout.h"
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
constexpr int LeftMargin = 64, RightMargin = 16;
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

int Px(double v) {
    return static_cast<int>(std::lround(std::clamp(v, -1e6, 1e6)));
}

// The title above the plot, and below it the numbers of the x axis and a row for its unit:
// font heights with a little air.
int TopMargin(const TCanvas& canvas) {
    return 6 + canvas.TextHeight("X") + 7;
}

int BottomMargin(const TCanvas& canvas) {
    return 4 + 2 * canvas.TextHeight("X") + 2;
}

// An axis number moved inside the picture; where it would cover an earlier text it may move
// up to `slide` pixels either way along its axis, else it is left out.
void Number(TTextLayout& t, int x, int y, const std::string& text, TPoint slide) {
    const TRect box = t.Inside(t.Box(x, y, text));
    for (const int k : {0, -1, 1}) {
        const TRect moved{box.Left + k * slide.X, box.Top + k * slide.Y, box.Right + k * slide.X,
                          box.Bottom + k * slide.Y};
        if (!t.Free(moved)) continue;
        t.Draw(moved, text, TextColor);
        return;
    }
}

// Number texts centred below a vertical grid line, and right-aligned left of a horizontal one
// (where the phase plot's lowest number meets the first frequency it moves up).
void NumberBelow(TTextLayout& t, int px, double bottom, const std::string& text) {
    const int w = t.Canvas().TextWidth(text);
    Number(t, px - w / 2, Px(bottom) + 4, text, {w / 2, 0});
}

void NumberLeft(TTextLayout& t, double left, int py, const std::string& text) {
    TCanvas& canvas = t.Canvas();
    const int h = canvas.TextHeight(text);
    Number(t, Px(left) - canvas.TextWidth(text) - 5, py - h / 2, text, {0, h / 2});
}

void Line(TCanvas& canvas, int x1, int y1, int x2, int y2, std::uint32_t color, int style) {
    canvas.SetPenColor(color);
    canvas.SetPenStyle(style);
    canvas.SetPenWidth(1);
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
    canvas.SetPenStyle(psSolid);
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

void DrawLinearGridX(TTextLayout& t, const TPlotAxis& x, const TPlotRect& r, bool labels) {
    TCanvas& canvas = t.Canvas();
    const double step = NiceStep(GridSpacing * (x.Max - x.Min) / std::fabs(x.P1 - x.P0));
    for (const double v : LinearTicks(x.Min, x.Max, step)) {
        const int px = Px(x.ToPixel(v));
        Line(canvas, px, Px(r.Top), px, Px(r.Bottom), GridColor, psSolid);
        if (labels) NumberBelow(t, px, r.Bottom, AxisText(v));
    }
}

void DrawLinearGridY(TTextLayout& t, const TPlotAxis& y, const TPlotRect& r) {
    TCanvas& canvas = t.Canvas();
    const double step = NiceStep(GridSpacing * 0.75 * (y.Max - y.Min) / std::fabs(y.P1 - y.P0));
    for (const double v : LinearTicks(y.Min, y.Max, step)) {
        const int py = Px(y.ToPixel(v));
        Line(canvas, Px(r.Left), py, Px(r.Right), py, GridColor, psSolid);
        NumberLeft(t, r.Left, py, AxisText(v));
    }
}

// Decades solid with their numbers, 2..9 times them dotted.
void DrawLogGridX(TTextLayout& t, const TPlotAxis& x, const TPlotRect& r, bool labels) {
    TCanvas& canvas = t.Canvas();
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
            if (m == 1 && labels) NumberBelow(t, px, r.Bottom, AxisText(v));
        }
    }
}

void DrawLogGridY(TTextLayout& t, const TPlotAxis& y, const TPlotRect& r) {
    TCanvas& canvas = t.Canvas();
    const double decades = std::log10(y.Max / y.Min);
    const int every = std::max(
        1, static_cast<int>(std::ceil(decades * 30.0 / std::max(1.0, std::fabs(y.P1 - y.P0)))));
    int k = 0;
    for (const double v : DecadeTicks(y.Min, y.Max)) {
        if (k++ % every != 0) continue;
        const int py = Px(y.ToPixel(v));
        Line(canvas, Px(r.Left), py, Px(r.Right), py, GridColor, psSolid);
        NumberLeft(t, r.Left, py, AxisText(v));
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

bool Inside(const TPlotRect& r, TPlotPoint p) {
    return p.X >= r.Left && p.X <= r.Right && p.Y >= r.Top && p.Y <= r.Bottom;
}

// A label beside a point: the first of right above, left above, right below and left below
// that is free, then the same up to `rows` lines farther out; none where all are taken (the
// point keeps its mark).
bool LabelBeside(TTextLayout& t, TPlotPoint p, int gap, std::string_view text, std::uint32_t color,
                 int rows = 0) {
    const int w = t.Canvas().TextWidth(text), h = t.Canvas().TextHeight(text);
    const int right = Px(p.X) + gap, left = Px(p.X) - gap - w;
    for (int k = 0; k <= rows; ++k) {
        const int above = Px(p.Y) - gap / 2 - h - k * h, below = Px(p.Y) + gap / 2 + k * h;
        for (const TPoint at :
             {TPoint{right, above}, TPoint{left, above}, TPoint{right, below}, TPoint{left, below}})
            if (t.Place(at.X, at.Y, text, color, true)) return true;
    }
    return false;
}

// Dots at the marks, the resonances and the circuit window's frequency, then their labels:
// resonances first (a few lines out if need be), then the decades, then 2 and 5 where room is
// left. A label covers no
// other text and no dot, and stays inside the plot.
void DrawLocusMarks(TPaintBoxEx& surface, TTextLayout& t, const TSweepPlotGeometry& g,
                    const TSweepResult& s, const TSweepPlotOptions& o) {
    const int w = surface.Width(), h = surface.Height();
    t.Block({0, 0, w, Px(g.Plot.Top)});
    t.Block({0, Px(g.Plot.Bottom) + 1, w, h});
    t.Block({0, 0, Px(g.Plot.Left), h});
    t.Block({Px(g.Plot.Right) + 1, 0, w, h});
    auto dot = [&](TPlotPoint p, int radius, std::uint32_t color, std::uint32_t fill) {
        DrawDot(surface, p, radius, color, fill);
        t.Block({Px(p.X) - radius - 1, Px(p.Y) - radius - 1, Px(p.X) + radius + 2,
                 Px(p.Y) + radius + 2});
    };
    std::vector<TPlotPoint> marks, resonances;
    for (const TSweepPoint& m : s.Marks) {
        marks.push_back(LocusPlace(g, SweepValue(m, o.Quantity)));
        if (Inside(g.Plot, marks.back())) dot(marks.back(), 2, MarkColor, MarkColor);
    }
    for (const TSweepPoint& r : s.Resonances) {
        resonances.push_back(LocusPlace(g, SweepValue(r, o.Quantity)));
        if (Inside(g.Plot, resonances.back())) dot(resonances.back(), 4, ResonanceColor, clWhite);
    }
    if (s.HasCurrent)
        dot(LocusPlace(g, SweepValue(s.Current, o.Quantity)), 5, clBlack, CurrentColor);
    for (std::size_t k = 0; k < resonances.size(); ++k)
        if (Inside(g.Plot, resonances[k]))
            LabelBeside(t, resonances[k], 10, ResonanceText(s.Resonances[k].X), ResonanceColor, 4);
    for (const bool decades : {true, false})
        for (std::size_t k = 0; k < marks.size(); ++k)
            if ((s.Linear || IsDecade(s.Marks[k].X)) == decades && Inside(g.Plot, marks[k]))
                LabelBeside(t, marks[k], 6, UnitText(s.Marks[k].X, o.XUnit), MarkColor);
}

void DrawAxesThroughOrigin(TTextLayout& t, const TSweepPlotGeometry& g) {
    TCanvas& canvas = t.Canvas();
    const double ox = g.X.ToPixel(0.0), oy = g.Y.ToPixel(0.0);
    if (ox >= g.Plot.Left && ox <= g.Plot.Right) {
        Line(canvas, Px(ox), Px(g.Plot.Top), Px(ox), Px(g.Plot.Bottom), clBlack, psSolid);
        t.Place(Px(ox) + 5, Px(g.Plot.Top) + 2, "Im", clBlack);
    }
    if (oy >= g.Plot.Top && oy <= g.Plot.Bottom) {
        Line(canvas, Px(g.Plot.Left), Px(oy), Px(g.Plot.Right), Px(oy), clBlack, psSolid);
        t.Place(Px(g.Plot.Right) - canvas.TextWidth("Re") - 3, Px(oy) + 3, "Re", clBlack);
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
    const int top = TopMargin(canvas);
    g.Plot = {static_cast<double>(LeftMargin), static_cast<double>(top),
              static_cast<double>(std::max(LeftMargin + 10, w - RightMargin)),
              static_cast<double>(std::max(top + 10, h - BottomMargin(canvas)))};
    TTextLayout t(canvas, w, h, g.Texts);
    t.Put(LeftMargin, 6, o.Title, clBlack);
    std::vector<TComplex> values;
    values.reserve(sweep.Points.size());
    for (const TSweepPoint& p : sweep.Points)
        values.push_back(SweepValue(p, o.Quantity));
    FitLocus(g, values);
    DrawLinearGridX(t, g.X, g.Plot, true);
    DrawLinearGridY(t, g.Y, g.Plot);
    DrawAxesThroughOrigin(t, g);
    Frame(canvas, g.Plot);
    g.Curve.clear();
    for (const TComplex& v : values)
        g.Curve.push_back(LocusPlace(g, v));
    DrawPolyline(surface, g.Curve, g.Plot, CurveColor, 2, o.AntiAliasing);
    const bool rising = sweep.Points.size() < 2 || sweep.Points.back().X >= sweep.Points[0].X;
    DrawDirectionArrow(surface, g.Curve, rising, g.Plot, o.AntiAliasing);
    DrawLocusMarks(surface, t, g, sweep, o);
}

void RenderFrequencyResponse(TPaintBoxEx& surface, const TSweepResult& sweep,
                             const TSweepPlotOptions& o, TSweepPlotGeometry& g) {
    Clear(surface);
    TCanvas& canvas = surface.DrawingCanvas();
    const int w = surface.Width(), h = surface.Height();
    const int top = TopMargin(canvas), lineHeight = canvas.TextHeight("X");
    const double right = std::max(LeftMargin + 10, w - RightMargin);
    const double bottom = std::max(top + 40, h - BottomMargin(canvas));
    const double split = top + (bottom - top) * 0.55;
    // The phase plot's title between the two plots.
    const double gap = (lineHeight + 7) / 2.0;
    g.Plot = {static_cast<double>(LeftMargin), static_cast<double>(top), right, split - gap};
    g.PhasePlot = {static_cast<double>(LeftMargin), split + gap, right, bottom};
    TTextLayout t(canvas, w, h, g.Texts);
    const std::string letter(1, QuantityLetter(o.Quantity));
    const std::string magTitle =
        o.Decibel ? "|" + letter + "| [dB, bezogen auf 1 " + QuantityUnit(o.Quantity) + "]"
                  : "|" + letter + "| [" + QuantityUnit(o.Quantity) + "]";
    t.Put(LeftMargin, 6, o.Title + "   " + magTitle, clBlack);
    t.Put(LeftMargin, Px(split - gap + 2), "Phase [\xB0]", clBlack);
    const std::string unit = "[" + o.XUnit + "]";
    t.Put(Px(right) - canvas.TextWidth(unit), Px(bottom) + 4 + lineHeight, unit, TextColor);
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
            DrawLogGridX(t, g.X, *r, r == &g.PhasePlot);
        else
            DrawLinearGridX(t, g.X, *r, r == &g.PhasePlot);
    }
    if (o.Decibel)
        DrawLinearGridY(t, g.Y, g.Plot);
    else
        DrawLogGridY(t, g.Y, g.Plot);
    for (const double v : LinearTicks(plo, phi, phi - plo > 180 ? 90 : 45)) {
        const int py = Px(g.PhaseY.ToPixel(v));
        Line(canvas, Px(g.PhasePlot.Left), py, Px(g.PhasePlot.Right), py,
             v == 0.0 ? 0x909090 : GridColor, psSolid);
        NumberLeft(t, g.PhasePlot.Left, py, AxisText(v) + "\xB0");
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

    // Each resonance's text in the first free row from the top, right of its line or else left.
    t.Block({0, 0, Px(g.Plot.Left) + 1, h});
    t.Block({Px(g.Plot.Right), 0, w, h});
    for (const TSweepPoint& r : sweep.Resonances) {
        const int x = Px(g.X.ToPixel(r.X));
        for (const TPlotRect* rect : {&g.Plot, &g.PhasePlot})
            Line(canvas, x, Px(rect->Top), x, Px(rect->Bottom), ResonanceColor, psDash);
        const std::string text = ResonanceText(r.X);
        const int tw = canvas.TextWidth(text);
        for (int y = Px(g.Plot.Top) + 3; y + lineHeight < g.Plot.Bottom; y += lineHeight)
            if (t.Place(x + 4, y, text, ResonanceColor, true) ||
                t.Place(x - 4 - tw, y, text, ResonanceColor, true))
                break;
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
