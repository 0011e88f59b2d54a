#include "circuitplot/phasordiagram.h"

#include <algorithm>
#include <cmath>

#include "circuitplot/plotaxis.h"
#include "circuitplot/textlayout.h"
#include "plane/frame.h"
#include "plane/grid.h"
#include "plane/phasordraw.h"

namespace zeigora {

namespace {

constexpr std::uint32_t VoltageColor = 0xFF0000;
constexpr std::uint32_t CurrentColor = 0x0000FF;
constexpr double ImIntervals = 4.0;
// Beyond this many arrows the names crowd whatever their places: each takes its first place
// unchecked, which keeps a group of thousands of parts as quick to draw as a small one.
constexpr std::size_t MaxPlacedNames = 64;

TPhasor Arrow(const std::string& name, TComplex value, bool current, std::uint32_t color,
              int width) {
    TPhasor p = MakePhasor(name, value, current, color);
    p.Width = static_cast<std::uint8_t>(width);
    p.EvalState = TEvalState::esDone;
    return p;
}

// The largest extent per axis of the points the phasors of one scale reach.
struct TReach {
    double Re = 0.0, Im = 0.0;
    void Add(double re, double im) {
        if (std::isfinite(re)) Re = std::max(Re, std::fabs(re));
        if (std::isfinite(im)) Im = std::max(Im, std::fabs(im));
    }
};

// The smallest round value per grid interval (1, 1.5, 2, 2.5, 3, 4, 5, 6 or 8 times a power of
// ten) at which the reach fits.
double FitScale(const TReach& r, double reIntervals, double imIntervals) {
    const double need = std::max(r.Re / reIntervals, r.Im / imIntervals);
    if (!(need > 0.0) || !std::isfinite(need)) return 1.0;
    const double decade = std::pow(10.0, std::floor(std::log10(need)));
    for (const double m : {1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0, 8.0})
        if (m * decade >= need * (1 - 1e-12)) return m * decade;
    return 10.0 * decade;
}

// The axis names as the plane writes them.
void BlockAxisNames(TTextLayout& t, const TPlaneSettings& s, const TPlaneMapping& m, int w) {
    TCanvas& canvas = t.Canvas();
    t.Block(t.Box(w - canvas.TextWidth(s.ReLabel) - 5, m.OriginY + 5, s.ReLabel));
    t.Block(t.Box(m.OriginX - canvas.TextWidth(s.ImLabel) - 5, 5, s.ImLabel));
}

struct TText {
    TRect Box;
    std::string Text;
};

// The axis numbers where the plane writes them: scale 1 below and right of the axes, scale 2
// above and left of them.
std::vector<TText> AxisNumbers(const TTextLayout& t, const TPlaneSettings& s,
                               const TPlaneMapping& m, int w, int h) {
    const TCanvas& canvas = t.Canvas();
    const int gap = s.MarkLength + s.SafetySpace, lineHeight = canvas.TextHeight("0");
    std::vector<TText> numbers;
    auto add = [&](int x, int y, const std::string& text) {
        numbers.push_back({t.Box(x, y, text), text});
    };
    for (int scale = 0; scale <= 1; ++scale) {
        const double value = scale == 0 ? s.Scale1 : s.Scale2;
        const double countX = CountX(s), countY = CountY(s);
        for (int i = 1; i <= TruncCount(countX, 4096); ++i) {
            const double d = GridOffset(i, w / 2, countX);
            const std::string text =
                FormatAxisNumber(s.Accuracy, s.AutoValues, GridValue(i, w, value));
            const std::string neg = "-" + text;
            const int y = scale == 0 ? m.OriginY + gap : m.OriginY - gap - lineHeight;
            add(RoundToPixel(m.OriginX + d - canvas.TextWidth(text) / 2), y, text);
            add(RoundToPixel(m.OriginX - d - canvas.TextWidth(neg) / 2), y, neg);
        }
        for (int i = 1; i <= TruncCount(countY, 4096); ++i) {
            const double d = GridOffset(i, h / 2, countY);
            const std::string text =
                FormatAxisNumber(s.Accuracy, s.AutoValues, GridValue(i, h, value));
            const std::string neg = "-" + text;
            auto x = [&](const std::string& t) {
                return scale == 0 ? m.OriginX + gap : m.OriginX - gap - canvas.TextWidth(t);
            };
            add(x(text), RoundToPixel(m.OriginY - d - lineHeight / 2), text);
            add(x(neg), RoundToPixel(m.OriginY + d - lineHeight / 2), neg);
        }
    }
    return numbers;
}

// A name's box beside the shaft of an arrow, `off` pixels from the line through it, on side +1
// or -1, at `along` (0 the tail, 1 the tip, where the box ends with the arrow); side 0 puts it
// `off` pixels beyond the tip (along 1) or behind the tail (along 0), in line with the arrow.
TRect NameBox(const TDrawnPhasor& d, double along, int side, int off, int w, int h) {
    const double dx = d.X2 - d.X1, dy = d.Y2 - d.Y1, len = std::hypot(dx, dy);
    const double ux = len < 1.0 ? 1.0 : dx / len, uy = len < 1.0 ? 0.0 : dy / len;
    // Half the box's extent along a unit direction.
    auto reach = [w, h](double x, double y) { return std::fabs(x) * w / 2 + std::fabs(y) * h / 2; };
    double cx = d.X1 + along * dx, cy = d.Y1 + along * dy;
    double nx = -uy * side, ny = ux * side;
    if (side == 0) {
        nx = along == 1.0 ? ux : -ux;
        ny = along == 1.0 ? uy : -uy;
    } else if (along == 1.0) {
        cx -= ux * reach(ux, uy);
        cy -= uy * reach(ux, uy);
    }
    cx += nx * (off + reach(nx, ny));
    cy += ny * (off + reach(nx, ny));
    const int left = static_cast<int>(std::lround(cx - w / 2.0));
    const int top = static_cast<int>(std::lround(cy - h / 2.0));
    return {left, top, left + w, top + h};
}

// The arrows names keep clear of: shafts and arrowheads.
void BlockArrows(TTextLayout& t, const TDrawnPhasorArray& drawn) {
    for (const TDrawnPhasor& d : drawn) {
        const TPlotPoint tip{static_cast<double>(d.X2), static_cast<double>(d.Y2)};
        t.Block({static_cast<double>(d.X1), static_cast<double>(d.Y1)}, tip);
        TArrowHead head;
        if (!PhasorArrowHead(d.X1, d.Y1, d.X2, d.Y2, d.Phasor->Width, head)) continue;
        t.Block(tip, {head.Wing1X, head.Wing1Y});
        t.Block(tip, {head.Wing2X, head.Wing2Y});
    }
}

// Every name's place beside its arrow, off the shaft: a part's at the middle of its arrow (its
// tip meets the next part's tail), on the side away from the origin first; the totals' beside
// their tips, above the arrow first. The first place that covers no arrow, earlier name or axis
// number is taken; failing that one that leaves out a number, failing that one clear of names.
std::vector<TRect> PlaceNames(TTextLayout& t, const TDrawnPhasorArray& drawn,
                              const TPhasorArray& phasors, const TPlaneMapping& m,
                              const std::vector<TText>& numbers) {
    auto clearOfNumbers = [&numbers](const TRect& box) {
        return std::none_of(numbers.begin(), numbers.end(),
                            [&box](const TText& n) { return Overlap(box, n.Box); });
    };
    std::vector<TRect> names;
    for (const TDrawnPhasor& d : drawn) {
        const TPhasor& p = *d.Phasor;
        const bool part = &p - phasors.data() + 2 < static_cast<std::ptrdiff_t>(phasors.size());
        const std::string_view name = p.Name.View();
        const int w = t.Canvas().TextWidth(name), h = t.Canvas().TextHeight(name);
        // Side +1 turns the arrow's direction clockwise on screen.
        const double mx = (d.X1 + d.X2) / 2.0 - m.OriginX, my = (d.Y1 + d.Y2) / 2.0 - m.OriginY;
        const double cross = -(d.Y2 - d.Y1) * mx + (d.X2 - d.X1) * my;
        const int first = part ? (cross >= 0 ? 1 : -1) : (d.X2 >= d.X1 ? -1 : 1);
        const double anchor = part ? 0.5 : 1.0, other = part ? 1.0 : 0.5;
        std::vector<TRect> boxes;
        for (const int off : {4, 6 + h, 8 + 2 * h})
            for (const double along : {anchor, other, part ? 0.25 : 0.75})
                for (const int side : {first, -first})
                    boxes.push_back(NameBox(d, along, side, off, w, h));
        for (const int off : {4, 6 + h})
            for (const double end : {1.0, 0.0})
                boxes.push_back(NameBox(d, end, 0, off, w, h));
        const TRect* chosen = nullptr;
        for (int tier = drawn.size() > MaxPlacedNames ? 3 : 0; tier < 3 && chosen == nullptr;
             ++tier)
            for (const TRect& box : boxes)
                if (chosen == nullptr && t.Free(box, tier < 2) && (tier > 0 || clearOfNumbers(box)))
                    chosen = &box;
        names.push_back(chosen != nullptr ? *chosen : t.Inside(boxes.front()));
        t.Take(names.back());
    }
    return names;
}

// The parts head to tail from the origin, then the totals from the origin; returns the
// segments drawn.
TDrawnPhasorArray DrawArrows(TPaintBoxEx& surface, TPlaneMapping m, TPhasorArray& phasors,
                             bool antiAliasing) {
    TPPhasorArray parts, totals;
    for (std::size_t k = 0; k < phasors.size(); ++k)
        (k + 2 < phasors.size() ? parts : totals).push_back(&phasors[k]);
    TDrawnPhasorArray drawn;
    TPhasorDrawOptions options;
    options.AntiAliasing = antiAliasing;
    options.ResetAfterEach = false;
    ResetChainPoint(m);
    DrawPhasors(surface, m, drawn, parts, options);
    ResetChainPoint(m);
    options.ResetAfterEach = true;
    DrawPhasors(surface, m, drawn, totals, options);
    return drawn;
}

}  // namespace

TPhasorArray DiagramPhasors(const TGroupPhasors& d) {
    const bool currents = d.PartsAreCurrents();
    const std::string part = currents ? "I" : "U", other = currents ? "U" : "I";
    TPhasorArray list;
    for (const TDiagramPhasor& p : d.Parts) {
        list.push_back(Arrow(part + p.Label, p.Value, currents, KindColor(p.Kind), 2));
    }
    list.push_back(Arrow(part + d.Label, currents ? d.I : d.U, currents,
                         currents ? CurrentColor : VoltageColor, 3));
    list.push_back(Arrow(other + d.Label, currents ? d.U : d.I, !currents,
                         currents ? VoltageColor : CurrentColor, 1));
    list.back().Style = psDash;
    for (TPhasor& p : list)
        p.NameVisible = 0;  // placed by the diagram, off the arrows
    return list;
}

void FitDiagramScales(const TPhasorArray& phasors, bool partsAreCurrents, TPlaneSettings& s,
                      int width, int height) {
    s.ImIntervals = ImIntervals;
    s.ReIntervals = ImIntervals * std::max(1, width) / std::max(1, height);
    TReach parts, reference;
    double re = 0.0, im = 0.0;  // the chain of parts, head to tail
    for (std::size_t k = 0; k + 2 < phasors.size(); ++k) {
        re += phasors[k].Value.Re;
        im += phasors[k].Value.Im;
        parts.Add(re, im);
    }
    if (phasors.size() >= 2) {
        const TComplex& total = phasors[phasors.size() - 2].Value;
        parts.Add(total.Re, total.Im);
        const TComplex& ref = phasors.back().Value;
        reference.Add(ref.Re, ref.Im);
    }
    // The reference takes about two thirds of the room, the polygon all of it.
    const double partsScale = FitScale(parts, s.ReIntervals, s.ImIntervals);
    const double refScale = FitScale(reference, s.ReIntervals * 0.7, s.ImIntervals * 0.7);
    s.Scale1 = partsAreCurrents ? refScale : partsScale;
    s.Scale2 = partsAreCurrents ? partsScale : refScale;
}

void RenderPhasorDiagram(TPaintBoxEx& surface, const TGroupPhasors& diagram,
                         TPhasorDiagramView& view, bool antiAliasing) {
    view.Phasors = DiagramPhasors(diagram);
    TPlaneSettings& s = view.Plane.Settings;
    TPlaneMapping& m = view.Plane.Mapping;
    // The plane's axis numbers are exact only for an even number of pixels from edge to edge.
    const int w = surface.Width() & ~1, h = surface.Height() & ~1;
    s.AntiAliasing = antiAliasing;
    FitDiagramScales(view.Phasors, diagram.PartsAreCurrents(), s, w, h);
    TCanvas& canvas = surface.DrawingCanvas();
    PreparePlane(surface, surface.Width(), surface.Height(), s.BackGroundColor, m);
    ComputeMapping(s, w, h, m);
    canvas.SetPenWidth(1);
    s.ShowNumbers = false;  // written below where they fit
    DrawGrid(canvas, w, h, s, m, true, true);
    DrawAxes(canvas, w, h, m, s.AxisColor, s.AxisStyle, s.AntiAliasing, s.ImLabel, s.ReLabel, 1);
    // Names and numbers are placed knowing where the arrows go: names off the arrows, numbers
    // where they fit and no name is. The numbers lie under the arrows, the names over them.
    TTextLayout t(canvas, surface.Width(), surface.Height(), view.Texts);
    BlockAxisNames(t, s, m, w);
    TPaintBoxEx scratch(1, 1);
    const TDrawnPhasorArray arrows = DrawArrows(scratch, m, view.Phasors, false);
    BlockArrows(t, arrows);
    const std::vector<TText> numbers = AxisNumbers(t, s, m, w, h);
    view.Names = PlaceNames(t, arrows, view.Phasors, m, numbers);
    for (const TText& n : numbers)
        if (t.Free(n.Box, false)) t.Draw(n.Box, n.Text, s.AxisColor);
    view.Plane.DrawnPhasors = DrawArrows(surface, m, view.Phasors, antiAliasing);
    for (std::size_t k = 0; k < arrows.size(); ++k)
        t.Write(view.Names[k], arrows[k].Phasor->Name.View(), arrows[k].Phasor->Color);
}

}  // namespace zeigora
