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
    TPhasor p = ZeroPhasor();
    p.Name = name;
    p.NameVisible = 1;
    p.Visible = 1;
    p.Value = value;
    p.Color = color;
    p.Width = static_cast<std::uint8_t>(width);
    p.Scale = current ? 1 : 0;
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

double FitScale(const TReach& r, double reIntervals, double imIntervals) {
    const double need = std::max(r.Re / reIntervals, r.Im / imIntervals);
    return need > 0.0 && std::isfinite(need) ? NiceStep(need) : 1.0;
}

}  // namespace

TPhasorArray DiagramPhasors(const TGroupPhasors& d) {
    const bool currents = d.PartsAreCurrents();
    const std::string part = currents ? "I" : "U", other = currents ? "U" : "I";
    TPhasorArray list;
    for (const TDiagramPhasor& p : d.Parts)
        list.push_back(Arrow(part + p.Label, p.Value, currents, KindColor(p.Kind), 2));
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
        parts.Add(phasors[k].Value.Re, phasors[k].Value.Im);
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
}

}  // namespace zeigora
