#include "plane/frame.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

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

// The layers below the phasors (background, grid, numbers, axes, unit circles) depend only on
// the settings, the size, which scales have phasors and the canvas state at the start of the
// frame. A frame that finds them all as before copies the previous background back byte for
// byte (coverage byte included) and the canvas state those layers left.
struct TCanvasState {
    TColor PenColor, BrushColor, FontColor;
    int PenStyle, PenWidth, FontPixelSize;
    TBrushStyle BrushStyle;
    std::string FontName;
    bool FontBold;
    TPoint PenPos;
    bool operator==(const TCanvasState&) const = default;
};

struct TPlaneLayers {
    const TPaintBoxEx* Surface = nullptr;
    int Width = 0, Height = 0;
    TPlaneSettings Settings;
    bool HasScale1 = false, HasScale2 = false;
    // Before: the canvas state the layers take over (the rest they set themselves).
    TCanvasState Before{}, After{};
    QImage Background;
    QRect PhasorArea;  // what the phasors of the last frame may have covered
};

namespace {

TCanvasState StateOf(const TCanvas& c) {
    return {c.PenColor(),      c.BrushColor(), c.FontColor(), c.PenStyle(), c.PenWidth(),
            c.FontPixelSize(), c.BrushStyle(), c.FontName(),  c.FontBold(), c.PenPos()};
}

void Restore(TCanvas& c, const TCanvasState& s) {
    c.SetPenColor(s.PenColor);
    c.SetBrushColor(s.BrushColor);
    c.SetFontColor(s.FontColor);
    c.SetPenStyle(s.PenStyle);
    c.SetPenWidth(s.PenWidth);
    c.SetFontPixelSize(s.FontPixelSize);
    c.SetBrushStyle(s.BrushStyle);
    c.SetFontName(s.FontName);
    c.SetFontBold(s.FontBold);
    c.MoveTo(s.PenPos.X, s.PenPos.Y);
}

TCanvasState TakenOver(const TCanvas& c) {
    TCanvasState s{};
    s.PenWidth = c.PenWidth();  // the background rectangle's outline
    s.FontPixelSize = c.FontPixelSize();
    s.FontBold = c.FontBold();
    return s;
}

bool Matches(const TPlaneLayers& l, const TPlaneLayers& key) {
    return l.Surface == key.Surface && l.Width == key.Width && l.Height == key.Height &&
           l.HasScale1 == key.HasScale1 && l.HasScale2 == key.HasScale2 && l.Before == key.Before &&
           l.Settings == key.Settings && l.Background.size() == QSize(key.Width, key.Height);
}

void DrawLayers(TPaintBoxEx& surface, TPlaneView& view, bool hasScale1, bool hasScale2) {
    const TPlaneSettings& s = view.Settings;
    TPlaneMapping& m = view.Mapping;
    const int w = surface.Width(), h = surface.Height();
    TCanvas& canvas = surface.DrawingCanvas();
    PreparePlane(surface, w, h, s.BackGroundColor, m);
    ComputeMapping(s, w, h, m);
    canvas.SetPenWidth(1);
    DrawGrid(canvas, w, h, s, m, hasScale1, hasScale2);
    DrawAxes(canvas, w, h, m, s.AxisColor, s.AxisStyle, s.AntiAliasing, s.ImLabel, s.ReLabel, 1);
    DrawUnitCircles(surface, view);
}

// A rectangle that holds everything the drawn phasors may have touched: shaft, head (which may
// reach back past the start), band and name.
QRect PhasorArea(const TPaintBoxEx& surface, const TPlaneView& view, const TPhasorArray& phasors) {
    const TPlaneSettings& s = view.Settings;
    if (s.RootsMode && s.ShowSolutionCircle && phasors.size() >= 2) return surface.Bitmap.rect();
    TCanvas& canvas = const_cast<TPaintBoxEx&>(surface).DrawingCanvas();
    std::int64_t left = 0, top = 0, right = -1, bottom = -1;
    for (const TDrawnPhasor& d : view.DrawnPhasors) {
        const TPhasor& p = *d.Phasor;
        const std::int64_t width = std::max<std::int64_t>(p.Width, 1);
        std::int64_t reach =
            static_cast<std::int64_t>(std::sqrt(double(width)) * 10) + 2 * width + 8;
        if (p.NameVisible != 0) {
            const std::string_view name = p.Name.View();
            reach = std::max<std::int64_t>(
                reach, std::max(canvas.TextWidth(name) + LabelGap, canvas.TextHeight(name)) + 4);
        }
        const std::int64_t l = std::min(d.X1, d.X2) - reach, r = std::max(d.X1, d.X2) + reach;
        const std::int64_t t = std::min(d.Y1, d.Y2) - reach, b = std::max(d.Y1, d.Y2) + reach;
        if (right < left) {
            left = l, top = t, right = r, bottom = b;
        } else {
            left = std::min(left, l), top = std::min(top, t);
            right = std::max(right, r), bottom = std::max(bottom, b);
        }
    }
    if (right < left) return {};
    const std::int64_t w = surface.Width(), h = surface.Height();
    left = std::clamp<std::int64_t>(left, 0, w);
    right = std::clamp<std::int64_t>(right, -1, w - 1);
    top = std::clamp<std::int64_t>(top, 0, h);
    bottom = std::clamp<std::int64_t>(bottom, -1, h - 1);
    if (right < left || bottom < top) return {};
    return QRect(QPoint(int(left), int(top)), QPoint(int(right), int(bottom)));
}

}  // namespace

void RenderPlane(TPaintBoxEx& surface, TPlaneView& view, TPhasorArray& phasors,
                 const TPhasor* selected) {
    const TPlaneSettings& s = view.Settings;
    TPlaneMapping& m = view.Mapping;
    const int w = surface.Width(), h = surface.Height();
    TCanvas& canvas = surface.DrawingCanvas();
    const auto [list1, list2] = SplitByScale(phasors);
    TPlaneLayers key;
    key.Surface = &surface;
    key.Width = w;
    key.Height = h;
    key.Settings = s;
    key.HasScale1 = !list1.empty();
    key.HasScale2 = !list2.empty();
    key.Before = TakenOver(canvas);
    std::shared_ptr<TPlaneLayers>& layers = view.Layers.Layers;
    const bool reuse = layers && !surface.Recording() && Matches(*layers, key);
    if (reuse) {
        std::memcpy(surface.Bitmap.bits(), layers->Background.constBits(),
                    static_cast<std::size_t>(surface.Bitmap.sizeInBytes()));
        Restore(canvas, layers->After);
        ComputeMapping(s, w, h, m);
        ResetChainPoint(m);
    } else {
        surface.Changed = surface.Bitmap.rect();
        DrawLayers(surface, view, key.HasScale1, key.HasScale2);
        layers.reset();
        if (!surface.Recording() && w > 0 && h > 0) {
            key.Background = surface.Bitmap.copy();
            key.After = StateOf(canvas);
            layers = std::make_shared<TPlaneLayers>(std::move(key));
        }
    }
    view.DrawnPhasors.clear();
    const TPhasorDrawOptions options{LabelGap, selected, s.AntiAliasing, !s.GraphicalAddition};
    DrawPhasors(surface, m, view.DrawnPhasors, list1, options);
    ResetChainPoint(m);
    DrawPhasors(surface, m, view.DrawnPhasors, list2, options);
    DrawSolutionCircle(surface, view, phasors);
    if (!layers) return;
    const QRect area = PhasorArea(surface, view, phasors);
    if (reuse) surface.Changed = area | layers->PhasorArea;
    layers->PhasorArea = area;
}

}  // namespace zeigora
