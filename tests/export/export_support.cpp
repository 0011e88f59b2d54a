#include "export/export_support.h"

namespace zeigora {

TExportFixture::TExportFixture() {
    Redraw();
    Redraws = 0;
    AntiAliasingSeen.clear();
    RecordingSeen.clear();
}

void TExportFixture::Redraw() {
    ++Redraws;
    AntiAliasingSeen.push_back(AntiAliasing);
    RecordingSeen.push_back(Surface.Recording());
    TCanvas& c = Surface.DrawingCanvas();
    c.SetPenStyle(psSolid);
    c.SetPenWidth(1);
    c.SetBrushStyle(TBrushStyle::Solid);
    const auto box = [&c](TColor color, int x1, int y1, int x2, int y2) {
        c.SetPenColor(color);
        c.SetBrushColor(color);
        c.Rectangle(x1, y1, x2, y2);
    };
    box(clWhite, 0, 0, SurfaceWidth, SurfaceHeight);
    c.SetPenColor(clRed);
    c.MoveTo(10, 10);
    c.LineTo(120, 60);
    if (Selected) box(0x00FF00, 5, 5, 30, 30);
}

TPictureExportHooks TExportFixture::Hooks(bool withSelection) {
    TPictureExportHooks hooks;
    if (withSelection) hooks.ClearSelection = [this] { Selected = false; };
    hooks.Redraw = [this] { Redraw(); };
    hooks.AntiAliasing = &AntiAliasing;
    return hooks;
}

}  // namespace zeigora
