#include "plane/frame.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "plane/framebands.h"
#include "plane/framediff.h"
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

// The solution circle of roots mode, drawn over the phasors.
struct TSolutionCircle {
    bool Drawn = false;
    std::uint32_t Color = 0;
    double Radius = 0;
    bool operator==(const TSolutionCircle&) const = default;
};

struct TPlaneLayers {
    const TPaintBoxEx* Surface = nullptr;
    int Width = 0, Height = 0;
    TPlaneSettings Settings;
    bool HasScale1 = false, HasScale2 = false;
    // Before: the canvas state the layers take over (the rest they set themselves).
    TCanvasState Before{}, After{};
    QImage Background;
    // The phasors of the last frame and what it drew over them; the bitmap's cache key as
    // the frame left it (any later write to the bitmap changes the key).
    TPhasorRecords Records;
    TSolutionCircle Circle;
    int SubSampling = 0;
    qint64 BitmapKey = 0;
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

TSolutionCircle SolutionCircleOf(const TPlaneView& view, const TPhasorArray& phasors) {
    const TPlaneSettings& s = view.Settings;
    if (!s.RootsMode || !s.ShowSolutionCircle || phasors.size() < 2) return {};
    return {true, phasors[0].Color, phasors[1].Value.Abs};
}

void PlacePhasors(TPlaneView& view, const TPPhasorArray& list1, const TPPhasorArray& list2,
                  const TPhasorDrawOptions& options) {
    view.DrawnPhasors.clear();
    for (PPhasor p : list1)
        PlacePhasor(view.Mapping, view.DrawnPhasors, p, options);
    ResetChainPoint(view.Mapping);
    for (PPhasor p : list2)
        PlacePhasor(view.Mapping, view.DrawnPhasors, p, options);
}

bool Touches(const std::vector<QRect>& ink, const QRect& part) {
    return std::any_of(ink.begin(), ink.end(), [&](const QRect& r) { return r.intersects(part); });
}

// The placed phasors, each only where its ink meets `part` (all of them when `part` is null).
void DrawPlaced(TPaintBoxEx& surface, const TPlaneView& view, const TPhasorRecords& records,
                const TPhasorDrawOptions& options, const QRect& part) {
    for (std::size_t k = 0; k < view.DrawnPhasors.size(); ++k)
        if (part.isNull() || Touches(records[k].Ink, part))
            DrawPlacedPhasor(surface, view.DrawnPhasors[k], records[k].Selected, options);
}

// The first phasor from which on drawing decides the canvas state a frame leaves: the last
// one sets the pen, the last named one the font colour, the last band or arrow the
// antialiasing mode.
std::size_t StateStart(const TPhasorRecords& records, bool antiAliasing) {
    bool named = false, mode = !antiAliasing;
    for (std::size_t k = records.size(); k-- > 0;) {
        const TPhasorRecord& r = records[k];
        named = named || r.NameVisible;
        mode = mode || r.Selected || r.X1 != r.X2 || r.Y1 != r.Y2;
        if (named && mode) return k;
    }
    return 0;
}

// Draws the phasors from `first` on with a clip that lies outside the bitmap: no pixel
// changes, only the canvas state and the antialiasing mode become those that drawing all
// phasors leaves.
void ReplayState(TPaintBoxEx& surface, const TPlaneView& view, const TPhasorRecords& records,
                 const TPhasorDrawOptions& options, std::size_t first) {
    const QRect clip = surface.Clip;
    surface.Clip = QRect(-1, -1, 1, 1);
    for (std::size_t k = first; k < view.DrawnPhasors.size(); ++k)
        DrawPlacedPhasor(surface, view.DrawnPhasors[k], records[k].Selected, options);
    surface.Clip = clip;
}

// Rough work of redrawing the parts: every shaft that reaches into a part costs a fixed
// amount to set up, then its length there times its width (a line under a clip walks only
// the part near it).
double PartsWork(const TPhasorRecords& records, const std::vector<QRect>& parts) {
    double work = 0;
    for (const QRect& part : parts)
        for (const TPhasorRecord& r : records) {
            if (!Touches(r.Ink, part)) continue;
            const double reach = 2.0 * r.Width + 4;
            const double lo[2] = {part.left() - reach, part.top() - reach};
            const double hi[2] = {part.right() + reach, part.bottom() + reach};
            double x1 = r.X1, y1 = r.Y1, x2 = r.X2, y2 = r.Y2;
            work += 64;
            if (CutToBox(x1, y1, x2, y2, lo, hi))
                work +=
                    std::max(std::fabs(x2 - x1), std::fabs(y2 - y1)) * std::max<int>(r.Width, 1);
        }
    return work;
}

// The tiles' parts, or one part around them all when that is less work: the parts around the
// origin, where every phasor starts, are crossed by every phasor.
void CheaperParts(const TPhasorRecords& records, std::vector<QRect>& parts) {
    if (parts.size() < 2) return;
    QRect all;
    for (const QRect& part : parts)
        all |= part;
    const std::vector<QRect> one{all};
    if (PartsWork(records, one) < PartsWork(records, parts)) parts = one;
}

void RestoreRect(TPaintBoxEx& surface, const QImage& background, const QRect& r) {
    if (r.isEmpty()) return;
    std::uint8_t* to = surface.Bitmap.bits();
    const qsizetype stride = surface.Bitmap.bytesPerLine();
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memcpy(to + y * stride + std::ptrdiff_t(r.left()) * 4,
                    background.constScanLine(y) + std::ptrdiff_t(r.left()) * 4,
                    std::size_t(r.width()) * 4);
}

// Runs `draw` on two bands of rows, one per core, when that pays; else once on the whole surface
// (the flag tells the band that holds the view's own state).
void DrawOnCores(TPaintBoxEx& surface, TPlaneView& view,
                 const std::function<void(TPaintBoxEx&, bool)>& draw) {
    if (WorthBands(surface, view.Cores))
        DrawInBands(surface, BandSplit(surface, view.DrawnPhasors), view.Bands, draw);
    else
        draw(surface, true);
}

// The background back in `restore`, then every placed phasor and the solution circle, on both
// cores when that pays.
void DrawAllPhasors(TPaintBoxEx& surface, TPlaneView& view, const TPhasorArray& phasors,
                    const TPhasorRecords& records, const TPhasorDrawOptions& options,
                    const QImage& background, const QRect& restore) {
    const auto draw = [&](TPaintBoxEx& band, bool) {
        RestoreRect(band, background, band.Clip.isNull() ? restore : restore & band.Clip);
        DrawPlaced(band, view, records, options, QRect());
        DrawSolutionCircle(band, view, phasors);
    };
    DrawOnCores(surface, view, draw);
}

void CopyRows(const QImage& from, std::uint8_t* to, int first, int last) {
    const qsizetype stride = from.bytesPerLine();
    for (int y = first; y < last; ++y)
        std::memcpy(to + y * stride, from.constScanLine(y), static_cast<std::size_t>(stride));
}

// The layers and every phasor, drawn anew; `keep` (if any) takes the background and the
// canvas state the layers leave.
void FreshFrame(TPaintBoxEx& surface, TPlaneView& view, const TPhasorArray& phasors,
                const TPhasorRecords& records, const TPhasorDrawOptions& options, bool hasScale1,
                bool hasScale2, TPlaneLayers* keep) {
    std::uint8_t* background = nullptr;
    if (keep) {
        keep->Background = QImage(surface.Width(), surface.Height(), surface.Bitmap.format());
        background = keep->Background.bits();
    }
    TPlaneView helperView = view;  // the layers write the mapping: each band its own
    const auto draw = [&](TPaintBoxEx& band, bool first) {
        TPlaneView& v = first ? view : helperView;
        DrawLayers(band, v, hasScale1, hasScale2);
        if (keep) {
            const QRect rows = band.Clip.isNull() ? band.Bitmap.rect() : band.Clip;
            CopyRows(band.Bitmap, background, rows.top(), rows.bottom() + 1);
            if (first) keep->After = StateOf(band.DrawingCanvas());
        }
        DrawPlaced(band, v, records, options, QRect());
        DrawSolutionCircle(band, v, phasors);
    };
    DrawOnCores(surface, view, draw);
}

// Leaves the clip null however the drawing ends.
struct TClipReset {
    TPaintBoxEx& Surface;
    ~TClipReset() { Surface.Clip = QRect(); }
};

// Each part back to the background and every phasor that reaches into it drawn again under
// its clip; then the canvas state that drawing all of them leaves.
void RedrawParts(TPaintBoxEx& surface, const TPlaneView& view, const TPhasorArray& phasors,
                 const TPhasorRecords& records, const TPhasorDrawOptions& options,
                 const QImage& background, const std::vector<QRect>& parts) {
    const TClipReset reset{surface};
    const bool circle = SolutionCircleOf(view, phasors).Drawn;
    // The circle takes the pen that the last phasor left, wherever that one was drawn.
    const std::size_t stateStart = StateStart(records, options.AntiAliasing);
    QRect changed;
    for (const QRect& part : parts) {
        RestoreRect(surface, background, part);
        surface.Clip = part;
        DrawPlaced(surface, view, records, options, part);
        if (circle) {
            ReplayState(surface, view, records, options, stateStart);
            DrawSolutionCircle(surface, view, phasors);
        }
        changed |= part;
    }
    surface.Clip = QRect(-1, -1, 1, 1);  // lies outside the bitmap: the state only
    ReplayState(surface, view, records, options, stateStart);
    DrawSolutionCircle(surface, view, phasors);
    surface.Changed = changed;
}

// Redraws the phasors over the previous background: only the parts their changes touch when
// that is little and the bitmap still holds the previous frame, else all of them over the
// previous phasors' area (or the whole background when the bitmap was written meanwhile).
void ReusedFrame(TPaintBoxEx& surface, TPlaneView& view, TPhasorArray& phasors,
                 TPlaneLayers& layers, const TPhasorDrawOptions& options, TPhasorRecords& records) {
    const QRect bounds = surface.Bitmap.rect();
    const TSolutionCircle circle = SolutionCircleOf(view, phasors);
    const TRecordMatch match = MatchRecords(layers.Records, records);
    FillInk(surface.DrawingCanvas(), view.DrawnPhasors, options, bounds, layers.Records, match,
            records);
    const QRect before = layers.Circle.Drawn ? bounds : InkBounds(layers.Records);
    const QRect after = circle.Drawn ? bounds : InkBounds(records);
    const bool intact = layers.BitmapKey == surface.Bitmap.cacheKey();
    std::optional<std::vector<QRect>> parts;
    if (intact && circle == layers.Circle && layers.SubSampling == surface.SubSampling) {
        const QRect whole = before | after;
        parts = ChangedParts(layers.Records, records, match, bounds,
                             std::int64_t(whole.width()) * whole.height() / 2);
        if (parts) CheaperParts(records, *parts);
        // Drawn whole, the phasors may take both cores.
        const double split = WorthBands(surface, TFrameCores::Both) ? 1.5 : 1;
        if (parts && PartsWork(records, *parts) * split > PartsWork(records, {bounds}))
            parts.reset();
    }
    if (!parts) {
        DrawAllPhasors(surface, view, phasors, records, options, layers.Background,
                       intact ? before : bounds);
        surface.Changed = intact ? before | after : bounds;
        return;
    }
    RedrawParts(surface, view, phasors, records, options, layers.Background, *parts);
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
        Restore(canvas, layers->After);
        ComputeMapping(s, w, h, m);
        ResetChainPoint(m);
    } else {
        surface.Changed = surface.Bitmap.rect();
        layers.reset();
        // The mapping the layers leave, for placing the phasors before anything is drawn.
        ComputeMapping(s, w, h, m);
        ResetChainPoint(m);
    }
    const TPhasorDrawOptions options{LabelGap, selected, s.AntiAliasing, !s.GraphicalAddition};
    PlacePhasors(view, list1, list2, options);
    TPhasorRecords records = MakePhasorRecords(view.DrawnPhasors, selected);
    if (reuse) {
        ReusedFrame(surface, view, phasors, *layers, options, records);
    } else {
        const bool hasScale1 = key.HasScale1, hasScale2 = key.HasScale2;
        if (!surface.Recording() && w > 0 && h > 0)
            layers = std::make_shared<TPlaneLayers>(std::move(key));
        const TPlaneMapping placed = m;  // the layers end by resetting the chain point
        FreshFrame(surface, view, phasors, records, options, hasScale1, hasScale2, layers.get());
        m = placed;
        if (!layers) return;
        FillInk(canvas, view.DrawnPhasors, options, surface.Bitmap.rect(), layers->Records, {},
                records);
    }
    layers->Records = std::move(records);
    layers->Circle = SolutionCircleOf(view, phasors);
    layers->SubSampling = surface.SubSampling;
    layers->BitmapKey = surface.Bitmap.cacheKey();
}

}  // namespace zeigora
