#include "circuitplot/textlayout.h"

#include <algorithm>

namespace zeigora {

bool Overlap(const TRect& a, const TRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

TTextLayout::TTextLayout(TCanvas& canvas, int width, int height, std::vector<TRect>& texts)
    : Canvas_(canvas), Width_(width), Height_(height), Texts_(texts) {
    Texts_.clear();
}

TRect TTextLayout::Box(int x, int y, std::string_view text, bool boxed) const {
    const int pad = boxed ? BoxPad : 0;
    return {x - pad, y, x + Canvas_.TextWidth(text) + pad, y + Canvas_.TextHeight(text)};
}

TRect TTextLayout::Inside(TRect box) const {
    const int dx = std::max(-box.Left, std::min(0, Width_ - box.Right));
    const int dy = std::max(-box.Top, std::min(0, Height_ - box.Bottom));
    return {box.Left + dx, box.Top + dy, box.Right + dx, box.Bottom + dy};
}

bool TTextLayout::Free(const TRect& box, bool lines) const {
    if (box.Left < 0 || box.Top < 0 || box.Right > Width_ || box.Bottom > Height_) return false;
    auto covers = [&box](const TRect& r) { return Overlap(box, r); };
    if (std::any_of(Texts_.begin(), Texts_.end(), covers)) return false;
    if (std::any_of(Blocked_.begin(), Blocked_.end(), covers)) return false;
    if (!lines) return true;
    const TPlotRect area{static_cast<double>(box.Left), static_cast<double>(box.Top),
                         static_cast<double>(box.Right), static_cast<double>(box.Bottom)};
    for (std::size_t k = 0; k + 1 < Lines_.size(); k += 2) {
        TPlotPoint a = Lines_[k], b = Lines_[k + 1];
        if (ClipSegment(a, b, area)) return false;
    }
    return true;
}

void TTextLayout::Block(const TRect& box) {
    Blocked_.push_back(box);
}

void TTextLayout::Block(TPlotPoint a, TPlotPoint b) {
    Lines_.push_back(a);
    Lines_.push_back(b);
}

void TTextLayout::Draw(const TRect& box, std::string_view text, std::uint32_t color, bool boxed) {
    Write(box, text, color, boxed);
    Take(box);
}

void TTextLayout::Take(const TRect& box) {
    Texts_.push_back(box);
}

void TTextLayout::Write(const TRect& box, std::string_view text, std::uint32_t color,
                        bool boxed) const {
    if (boxed) {
        Canvas_.SetBrushStyle(TBrushStyle::Solid);
        Canvas_.SetBrushColor(clWhite);
        Canvas_.SetPenColor(clWhite);
        Canvas_.SetPenStyle(psSolid);
        Canvas_.SetPenWidth(1);
        Canvas_.Rectangle(box);
    }
    Canvas_.SetBrushStyle(TBrushStyle::Clear);
    Canvas_.SetFontColor(color);
    Canvas_.TextOut(box.Left + (boxed ? BoxPad : 0), box.Top, text);
}

bool TTextLayout::Place(int x, int y, std::string_view text, std::uint32_t color, bool boxed) {
    const TRect box = Box(x, y, text, boxed);
    if (!Free(box)) return false;
    Draw(box, text, color, boxed);
    return true;
}

void TTextLayout::Put(int x, int y, std::string_view text, std::uint32_t color, bool boxed) {
    Draw(Inside(Box(x, y, text, boxed)), text, color, boxed);
}

}  // namespace zeigora
