// Shared by the plane tests: byte comparison, and a frame drawn over the previous one against the
// same frame drawn from nothing.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "plane/frame.h"

namespace zeigora::test {

inline bool SameBytes(const QImage& a, const QImage& b) {
    return a.size() == b.size() && std::memcmp(a.constBits(), b.constBits(), a.sizeInBytes()) == 0;
}

// Draws the frame on `surface` and on a new surface with the same taken-over canvas settings
// and a copy of `view` (a copy starts without the previous layers), and compares: the same
// bytes (coverage byte included), segments, mapping and canvas state, no clip left behind, and
// every pixel that changed since `previous` (null after a resize) lies in the reported part.
inline ::testing::AssertionResult FrameMatchesFresh(TPaintBoxEx& surface, TPlaneView& view,
                                                    TPhasorArray& phasors, const TPhasor* selected,
                                                    TFrameCores cores, const QImage& previous) {
    const TCanvas& c = surface.BitmapCanvas();
    TPaintBoxEx fresh(surface.Width(), surface.Height());
    TCanvas& f = fresh.BitmapCanvas();
    f.SetPenWidth(c.PenWidth());
    f.SetFontPixelSize(c.FontPixelSize());
    f.SetFontBold(c.FontBold());
    TPlaneView freshView = view;
    freshView.Cores = cores;
    RenderPlane(surface, view, phasors, selected);
    RenderPlane(fresh, freshView, phasors, selected);
    if (!SameBytes(surface.Bitmap, fresh.Bitmap)) return ::testing::AssertionFailure() << "bytes";
    if (view.DrawnPhasors.size() != freshView.DrawnPhasors.size() ||
        view.Mapping.ChainX != freshView.Mapping.ChainX ||
        view.Mapping.Factor2Y != freshView.Mapping.Factor2Y)
        return ::testing::AssertionFailure() << "segments or mapping";
    if (!(c.PenPos() == f.PenPos() && c.PenColor() == f.PenColor() &&
          c.PenWidth() == f.PenWidth() && c.PenStyle() == f.PenStyle() &&
          c.FontColor() == f.FontColor() && c.BrushStyle() == f.BrushStyle() &&
          surface.FastAntialiasing == fresh.FastAntialiasing && surface.Clip.isNull()))
        return ::testing::AssertionFailure() << "canvas state";
    for (int y = 0; y < surface.Height() && !previous.isNull(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            if (previous.pixel(x, y) != surface.Bitmap.pixel(x, y) &&
                !surface.Changed.contains(x, y))
                return ::testing::AssertionFailure() << "unreported change at " << x << "," << y;
    return ::testing::AssertionSuccess();
}

}  // namespace zeigora::test
