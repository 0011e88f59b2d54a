#include "platform/canvas.h"

namespace zeigora {

TDashPattern CosmeticDashPattern(int style) {
    switch (style) {
        case psDash:
            return {2, {18, 6}};
        case psDot:
            return {2, {3, 3}};
        case psDashDot:
            return {4, {9, 6, 3, 6}};
        case psDashDotDot:
            return {6, {9, 3, 3, 3, 3, 3}};
        default:
            return {};
    }
}

void TCanvas::LineTo(int x, int y) {
    TPoint from = PenPos_;
    PenPos_ = {x, y};
    if (PenStyle_ == psClear) return;
    DrawLine(from, PenPos_);
}

void TCanvas::CopyStateFrom(const TCanvas& o) {
    PenColor_ = o.PenColor_;
    PenStyle_ = o.PenStyle_;
    PenWidth_ = o.PenWidth_;
    BrushColor_ = o.BrushColor_;
    BrushStyle_ = o.BrushStyle_;
    FontName_ = o.FontName_;
    FontColor_ = o.FontColor_;
    FontBold_ = o.FontBold_;
    FontPixelSize_ = o.FontPixelSize_;
    PenPos_ = o.PenPos_;
}

}  // namespace zeigora
