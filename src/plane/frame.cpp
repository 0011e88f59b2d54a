#include "plane/frame.h"

#include "plane/grid.h"
#include "plane/phasordraw.h"

namespace zeigora {

namespace {

constexpr int LabelGap = 12;

void DrawUnitCircles(TPaintBoxEx& surface, const TPlaneView& view) {
    const TPlaneSettings& s = view.Settings;
    const TPlaneMapping& m = view.Mapping;
    if (s.UnitCircle1) DrawPlaneCircle(surface, m, s.AntiAliasing, clBlack, m.Factor1X, m.Factor1Y);
    if (s.UnitCircle2) DrawPlaneCircle(surface, m, s.AntiAliasing, clBlack, m.Factor2X, m.Factor2Y);
}

// In roots mode the second phasor carries the common magnitude of the roots.
void DrawSolutionCircle(TPaintBoxEx& surface, const TPlaneView& view, const TPhasorArray& phasors) {
    const TPlaneSettings& s = view.Settings;
    if (!s.RootsMode || !s.ShowSolutionCircle || phasors.size() < 2) return;
    const double r = phasors[1].Value.Abs;
    DrawPlaneCircle(surface, view.Mapping, s.AntiAliasing, phasors[0].Color,
                    view.Mapping.Factor1X * r, view.Mapping.Factor1Y * r);
}

}  // namespace

void PreparePlane(TPaintBoxEx& surface, int width, int height, std::uint32_t backColor,
                  TPlaneMapping& mapping) {
    TCanvas& canvas = surface.DrawingCanvas();
    canvas.SetBrushStyle(TBrushStyle::Solid);
    canvas.SetBrushColor(backColor);
    canvas.SetPenStyle(psSolid);
    canvas.SetPenColor(backColor);
    canvas.Rectangle(0, 0, width, height);
    canvas.SetBrushStyle(TBrushStyle::Clear);
    canvas.SetFontName("Verdana");
    canvas.SetPenColor(clBlack);
    mapping.OriginX = width / 2;
    mapping.OriginY = height / 2;
}

std::pair<TPPhasorArray, TPPhasorArray> SplitByScale(TPhasorArray& phasors) {
    std::pair<TPPhasorArray, TPPhasorArray> lists;
    for (TPhasor& p : phasors) {
        if (p.Visible == 0) continue;
        (p.Scale != 0 ? lists.second : lists.first).push_back(&p);
    }
    return lists;
}

void RenderPlane(TPaintBoxEx& surface, TPlaneView& view, TPhasorArray& phasors,
                 const TPhasor* selected) {
    const TPlaneSettings& s = view.Settings;
    TPlaneMapping& m = view.Mapping;
    const int w = surface.Width(), h = surface.Height();
    TCanvas& canvas = surface.DrawingCanvas();
    PreparePlane(surface, w, h, s.BackGroundColor, m);
    const auto [list1, list2] = SplitByScale(phasors);
    ComputeMapping(s, w, h, m);
    canvas.SetPenWidth(1);
    DrawGrid(canvas, w, h, s, m, !list1.empty(), !list2.empty());
    DrawAxes(canvas, w, h, m, s.AxisColor, s.AxisStyle, s.AntiAliasing, s.ImLabel, s.ReLabel, 1);
    DrawUnitCircles(surface, view);
    view.DrawnPhasors.clear();
    const TPhasorDrawOptions options{LabelGap, selected, s.AntiAliasing, !s.GraphicalAddition};
    DrawPhasors(surface, m, view.DrawnPhasors, list1, options);
    ResetChainPoint(m);
    DrawPhasors(surface, m, view.DrawnPhasors, list2, options);
    DrawSolutionCircle(surface, view, phasors);
}

}  // namespace zeigora
