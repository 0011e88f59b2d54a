#include "platform/rastercanvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

#include "platform/cp1252.h"
#include "platform/qtcolor.h"
#include "platform/vectorstate.h"

namespace zeigora {

namespace {

// 0x00BBGGRR to the pixel word (blue in byte 0, red in byte 2, byte 3 zero).
std::uint32_t ToPixelWord(TColor c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

TColor FromPixelWord(std::uint32_t w) {
    return ((w & 0xFF) << 16) | (w & 0xFF00) | ((w >> 16) & 0xFF);
}

bool WidePen(const TCanvas& c) {
    return c.PenWidth() > 1;
}

QPen CanvasPen(const TCanvas& c) {
    if (c.PenStyle() == psClear) return QPen(Qt::NoPen);
    QPen pen(ToQColor(c.PenColor()));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    if (WidePen(c)) {
        pen.setWidth(c.PenWidth());  // wide pens draw solid
        return pen;
    }
    pen.setWidth(1);
    TDashPattern p = CosmeticDashPattern(c.PenStyle());
    if (p.Count > 0) {
        pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern(QList<qreal>(p.Lengths, p.Lengths + p.Count));
    }
    return pen;
}

void PreparePainter(QPainter& g, const TCanvas& c) {
    g.setRenderHint(QPainter::Antialiasing, false);
    if (c.BrushStyle() == TBrushStyle::Solid) {
        // Dash gaps take the brush colour, as with an opaque background mode.
        g.setBackgroundMode(Qt::OpaqueMode);
        g.setBackground(QBrush(ToQColor(c.BrushColor())));
    }
}

// Offset along the minor axis after `i` major steps of a line with major length `du` and
// minor length `dv` (midpoint rule).
// 128-bit intermediate: steps and lengths may both reach 2^32.
__extension__ typedef __int128 TWide;
std::int64_t MinorOffset(std::int64_t i, std::int64_t du, std::int64_t dv) {
    return static_cast<std::int64_t>((2 * TWide(i) * dv + du) / (2 * TWide(du)));
}

// First step index in [lo, hi] whose minor offset reaches `target` (offsets never decrease).
std::int64_t FirstStepReaching(std::int64_t lo, std::int64_t hi, std::int64_t target,
                               std::int64_t du, std::int64_t dv) {
    while (lo < hi) {
        std::int64_t mid = lo + (hi - lo) / 2;
        if (MinorOffset(mid, du, dv) >= target)
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

// Step range [first, last) along an axis where start + sign * i stays within [lo, hi).
void AxisRange(std::int64_t start, int sign, std::int64_t lo, std::int64_t hi, std::int64_t& first,
               std::int64_t& last) {
    const std::int64_t a = sign > 0 ? lo - start : start - (hi - 1);
    const std::int64_t b = sign > 0 ? hi - 1 - start : start - lo;
    first = std::max(first, a);
    last = std::min(last, b + 1);
}

}  // namespace

QFont CanvasFont(const TCanvas& canvas) {
    QFont font(QString::fromStdString(canvas.FontName()));
    font.setPixelSize(std::max(1, canvas.FontPixelSize()));
    font.setBold(canvas.FontBold());
    return font;
}

void TCanvasFontCache::Update(const TCanvas& canvas) {
    if (Font_ && canvas.FontName() == Name_ && canvas.FontPixelSize() == PixelSize_ &&
        canvas.FontBold() == Bold_)
        return;
    Name_ = canvas.FontName();
    PixelSize_ = canvas.FontPixelSize();
    Bold_ = canvas.FontBold();
    Font_ = CanvasFont(canvas);
    Metrics_.emplace(*Font_);
    Advances_.clear();
}

int TCanvasFontCache::Advance(const TCanvas& canvas, std::string_view text) {
    Update(canvas);
    if (const auto it = Advances_.find(std::string(text)); it != Advances_.end()) return it->second;
    if (Advances_.size() >= 4096) Advances_.clear();  // bounded: names come and go
    const int advance = Metrics_->horizontalAdvance(FromCp1252(text));
    Advances_.emplace(std::string(text), advance);
    return advance;
}

const QFont& TCanvasFontCache::Font(const TCanvas& canvas) {
    Update(canvas);
    return *Font_;
}

const QFontMetrics& TCanvasFontCache::Metrics(const TCanvas& canvas) {
    Update(canvas);
    return *Metrics_;
}

QRect TRasterCanvas::Bounds() const {
    return Clipped() ? Image_->rect() & *Clip_ : Image_->rect();
}

void TRasterCanvas::ClipPainter(QPainter& g) const {
    if (Clipped()) g.setClipRect(*Clip_);
}

bool TRasterCanvas::MayTouch(std::int64_t left, std::int64_t top, std::int64_t right,
                             std::int64_t bottom) const {
    if (!Clipped()) return true;
    const QRect b = Bounds();
    return !b.isEmpty() && left <= b.right() && right >= b.left() && top <= b.bottom() &&
           bottom >= b.top();
}

void TRasterCanvas::DrawLine(TPoint from, TPoint to) {
    if (WidePen(*this))
        WidePenLine(from, to);
    else
        PlotPattern(from, to, false);
}

void TRasterCanvas::WidePenLine(TPoint from, TPoint to) {
    if (Image_->isNull()) return;
    const std::int64_t reach = std::int64_t(PenWidth()) + 2;  // round caps
    if (!MayTouch(std::int64_t(std::min(from.X, to.X)) - reach,
                  std::int64_t(std::min(from.Y, to.Y)) - reach,
                  std::int64_t(std::max(from.X, to.X)) + reach,
                  std::int64_t(std::max(from.Y, to.Y)) + reach))
        return;
    const TVectorStateGuard cleanAfterQt;
    QPainter g(Image_);
    ClipPainter(g);
    PreparePainter(g, *this);
    g.setPen(CanvasPen(*this));
    g.drawLine(from.X, from.Y, to.X, to.Y);
}

// One-pixel line with the cosmetic dash pattern, walked in closed form so that far-away end
// points cost nothing: only the steps inside the image are visited.
void TRasterCanvas::PlotPattern(TPoint from, TPoint to, bool lastPixel) {
    const QRect bounds = Bounds();
    if (bounds.isEmpty()) return;
    std::int64_t dx = std::int64_t(to.X) - from.X, dy = std::int64_t(to.Y) - from.Y;
    const bool steep = std::llabs(dy) > std::llabs(dx);
    const std::int64_t du = steep ? std::llabs(dy) : std::llabs(dx);
    const std::int64_t dv = steep ? std::llabs(dx) : std::llabs(dy);
    const int su = (steep ? dy : dx) < 0 ? -1 : 1, sv = (steep ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t u0 = steep ? from.Y : from.X, v0 = steep ? from.X : from.Y;
    const std::int64_t uLo = steep ? bounds.top() : bounds.left();
    const std::int64_t uHi = (steep ? bounds.bottom() : bounds.right()) + std::int64_t(1);
    const std::int64_t vLo = steep ? bounds.left() : bounds.top();
    const std::int64_t vHi = (steep ? bounds.right() : bounds.bottom()) + std::int64_t(1);
    if (du == 0) {
        if (lastPixel && PenStyle() != psClear) SetPixel(from.X, from.Y, PenColor());
        return;
    }
    std::int64_t first = 0, last = du + (lastPixel ? 1 : 0);
    AxisRange(u0, su, uLo, uHi, first, last);
    if (first >= last) return;
    std::int64_t vFirst = 0, vLast = INT64_MAX;
    AxisRange(v0, sv, vLo, vHi, vFirst, vLast);
    if (vFirst > 0) first = std::max(first, FirstStepReaching(first, last, vFirst, du, dv));
    last = std::min(last, FirstStepReaching(first, last, vLast, du, dv));

    const TDashPattern pattern = CosmeticDashPattern(PenStyle());
    int period = 0;
    for (int k = 0; k < pattern.Count; ++k)
        period += pattern.Lengths[k];
    const bool fillGaps = BrushStyle() == TBrushStyle::Solid;
    const std::uint32_t on = ToPixelWord(PenColor()), off = ToPixelWord(BrushColor());
    std::uint8_t* bits = Image_->bits();
    const qsizetype stride = Image_->bytesPerLine();
    // Minor offset of step i = (2 i dv + du) div 2du, followed incrementally from `first`.
    const TWide num = 2 * TWide(first) * dv + du;
    std::int64_t offset = static_cast<std::int64_t>(num / (2 * TWide(du)));
    std::int64_t rest = static_cast<std::int64_t>(num % (2 * TWide(du)));
    for (std::int64_t i = first; i < last; ++i) {
        bool draw = true;
        if (period > 0) {
            int pos = static_cast<int>(i % period), k = 0;
            while (pos >= pattern.Lengths[k])
                pos -= pattern.Lengths[k++];
            draw = k % 2 == 0;
        }
        if (draw || fillGaps) {
            const std::int64_t u = u0 + su * i, v = v0 + sv * offset;
            const std::int64_t x = steep ? v : u, y = steep ? u : v;
            reinterpret_cast<std::uint32_t*>(bits + y * stride)[x] = draw ? on : off;
        }
        rest += 2 * dv;
        if (rest >= 2 * du) {
            rest -= 2 * du;
            ++offset;
        }
    }
}

void TRasterCanvas::HorizontalSpan(int x1, int x2, int y, TColor c) {
    const QRect bounds = Bounds();
    if (y < bounds.top() || y > bounds.bottom()) return;
    x1 = std::max(x1, bounds.left());
    x2 = std::min(x2, bounds.right() + 1);
    if (x1 >= x2) return;
    auto* row = reinterpret_cast<std::uint32_t*>(Image_->scanLine(y));
    std::fill(row + x1, row + x2, ToPixelWord(c));
}

void TRasterCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    if (Image_->isNull() || right == left || bottom == top) return;
    const bool noPen = PenStyle() == psClear;
    if (BrushStyle() == TBrushStyle::Solid) {
        // Without a pen the filled area is one pixel smaller, as on a classic canvas.
        const int r = noPen ? right - 1 : right, b = noPen ? bottom - 1 : bottom;
        const QRect bounds = Bounds();
        for (int y = std::max(top, bounds.top()); y < std::min(b, bounds.bottom() + 1); ++y)
            HorizontalSpan(left, r, y, BrushColor());
    }
    if (noPen) return;
    if (WidePen(*this)) {
        const std::int64_t reach = std::int64_t(PenWidth()) + 2;
        if (!MayTouch(left - reach, top - reach, right + reach, bottom + reach)) return;
        const TVectorStateGuard cleanAfterQt;
        QPainter g(Image_);
        ClipPainter(g);
        PreparePainter(g, *this);
        g.setPen(CanvasPen(*this));
        g.setBrush(Qt::NoBrush);
        g.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
        return;
    }
    const TPoint corners[5] = {
        {left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}, {left, top}};
    for (int k = 0; k < 4; ++k)
        PlotPattern(corners[k], corners[k + 1], false);
    if (right - left == 1 || bottom - top == 1) PlotPattern(corners[0], corners[2], true);
}

void TRasterCanvas::Ellipse(int left, int top, int right, int bottom) {
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    if (Image_->isNull() || right - left < 1 || bottom - top < 1) return;
    const std::int64_t reach = std::int64_t(std::max(PenWidth(), 1)) + 2;
    if (!MayTouch(left - reach, top - reach, right + reach, bottom + reach)) return;
    const TVectorStateGuard cleanAfterQt;
    QPainter g(Image_);
    ClipPainter(g);
    PreparePainter(g, *this);
    g.setPen(CanvasPen(*this));
    g.setBrush(CanvasBrush(*this));
    // Pixel centres: this keeps the aliased outline inside the box, right column and bottom
    // row excluded.
    g.drawEllipse(QRectF(left + 0.5, top + 0.5, right - left - 1, bottom - top - 1));
}

void TRasterCanvas::TextOut(int x, int y, std::string_view text) {
    if (Image_->isNull() || text.empty()) return;
    const QFont& font = Fonts_.Font(*this);
    const QFontMetrics& metrics = Fonts_.Metrics(*this);
    // Glyphs may overhang their box; a whole line height around it holds them. The rows are
    // checked first: they need no shaping of the text.
    const std::int64_t h = metrics.height();
    if (!MayTouch(x - h, y - h, std::numeric_limits<std::int64_t>::max(), y + 2 * h)) return;
    const std::int64_t advance = Fonts_.Advance(*this, text);
    const QString s = FromCp1252(text);
    if (!MayTouch(x - h, y - h, x + advance + h, y + 2 * h)) return;
    const TVectorStateGuard cleanAfterQt;
    QPainter g(Image_);
    ClipPainter(g);
    if (BrushStyle() == TBrushStyle::Solid)
        g.fillRect(x, y, int(advance), metrics.height(), ToQColor(BrushColor()));
    g.setFont(font);
    g.setPen(ToQColor(FontColor()));
    g.drawText(QPoint(x, y + metrics.ascent()), s);
}

int TRasterCanvas::TextWidth(std::string_view text) const {
    return Fonts_.Advance(*this, text);
}

int TRasterCanvas::TextHeight(std::string_view) const {
    return Fonts_.Metrics(*this).height();
}

TColor TRasterCanvas::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
    const auto* row = reinterpret_cast<const std::uint32_t*>(Image_->constScanLine(y));
    return FromPixelWord(row[x]);
}

bool TRasterCanvas::Writes(int x, int y) const {
    return x >= 0 && y >= 0 && x < Width() && y < Height() && (!Clipped() || Clip_->contains(x, y));
}

void TRasterCanvas::SetPixel(int x, int y, TColor c) {
    if (!Writes(x, y)) return;
    reinterpret_cast<std::uint32_t*>(Image_->scanLine(y))[x] = ToPixelWord(c);
}

}  // namespace zeigora
