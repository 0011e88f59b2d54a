#include "circuitplot/phasordiagram.h"

#include <algorithm>
#include <cmath>

#include "circuitplot/plotaxis.h"
#include "plane/frame.h"
#include "plane/grid.h"
#include "plane/phasordraw.h"

namespace zeigora {

namespace {

constexpr std::uint32_t VoltageColor = 0xFF0000;
constexpr std::uint32_t CurrentColor = 0x0000FF;
constexpr double ImIntervals = 4.0;

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

// The parts' names beside the middle of their arrows, on the side away from the origin: their
// tips meet each other and the total's.
void DrawPartNames(TCanvas& canvas, const TDrawnPhasorArray& drawn, const TPhasorArray& phasors,
                   int originX, int originY) {
    for (const TDrawnPhasor& d : drawn) {
        const TPhasor& p = *d.Phasor;
        if (&p - phasors.data() + 2 >= static_cast<std::ptrdiff_t>(phasors.size())) continue;
        const double mx = (d.X1 + d.X2) / 2.0, my = (d.Y1 + d.Y2) / 2.0;
        double nx = -(d.Y2 - d.Y1), ny = d.X2 - d.X1;
        const double len = std::hypot(nx, ny);
        if (len < 1.0) continue;
        if (nx * (mx - originX) + ny * (my - originY) < 0) {
            nx = -nx;
            ny = -ny;
        }
        const std::string_view name = p.Name.View();
        const int w = canvas.TextWidth(name), h = canvas.TextHeight(name);
        // The box's nearest corner sits 6 pixels out from the middle of the arrow.
        const double cx = mx + nx / len * (6 + w / 2.0), cy = my + ny / len * (6 + h / 2.0);
        canvas.SetFontColor(p.Color);
        canvas.TextOut(static_cast<int>(std::lround(cx - w / 2.0)),
                       static_cast<int>(std::lround(cy - h / 2.0)), name);
    }
}

}  // namespace

TPhasorArray DiagramPhasors(const TGroupPhasors& d) {
    const bool currents = d.PartsAreCurrents();
    const std::string part = currents ? "I" : "U", other = currents ? "U" : "I";
    TPhasorArray list;
    for (const TDiagramPhasor& p : d.Parts) {
        list.push_back(Arrow(part + p.Label, p.Value, currents, KindColor(p.Kind), 2));
        list.back().NameVisible = 0;  // drawn beside the arrow's middle instead
    }
    list.push_back(Arrow(part + d.Label, currents ? d.I : d.U, currents,
                         currents ? CurrentColor : VoltageColor, 3));
    list.push_back(Arrow(other + d.Label, currents ? d.U : d.I, !currents,
                         currents ? VoltageColor : CurrentColor, 1));
    list.back().Style = psDash;
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
    DrawGrid(canvas, w, h, s, m, true, true);
    DrawAxes(canvas, w, h, m, s.AxisColor, s.AxisStyle, s.AntiAliasing, s.ImLabel, s.ReLabel, 1);
    view.Plane.DrawnPhasors.clear();
    TPPhasorArray parts, totals;
    for (std::size_t k = 0; k < view.Phasors.size(); ++k)
        (k + 2 < view.Phasors.size() ? parts : totals).push_back(&view.Phasors[k]);
    TPhasorDrawOptions options;
    options.AntiAliasing = antiAliasing;
    options.ResetAfterEach = false;
    ResetChainPoint(m);
    DrawPhasors(surface, m, view.Plane.DrawnPhasors, parts, options);
    ResetChainPoint(m);
    options.ResetAfterEach = true;
    DrawPhasors(surface, m, view.Plane.DrawnPhasors, totals, options);
    canvas.SetBrushStyle(TBrushStyle::Clear);
    DrawPartNames(canvas, view.Plane.DrawnPhasors, view.Phasors, m.OriginX, m.OriginY);
}

}  // namespace zeigora
