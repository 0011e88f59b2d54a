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

}  // namespace zeigora
