#include "platform/svgcanvas.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QSvgGenerator>
#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/cp1252.h"
#include "platform/qtcolor.h"
#include "platform/rastercanvas.h"

namespace zeigora {

namespace {

// The same pen as on the raster canvas: wide pens solid with round ends, thin pens with the
// classic pixel dash patterns.
QPen CanvasPen(const TCanvas& c) {
    if (c.PenStyle() == psClear) return QPen(Qt::NoPen);
    QPen pen(ToQColor(c.PenColor()));
    pen.setJoinStyle(Qt::RoundJoin);
    if (c.PenWidth() > 1) {
        pen.setWidth(c.PenWidth());
        pen.setCapStyle(Qt::RoundCap);
        return pen;
    }
    pen.setWidth(1);
    pen.setCapStyle(Qt::FlatCap);
    const TDashPattern p = CosmeticDashPattern(c.PenStyle());
    if (p.Count > 0) pen.setDashPattern(QList<qreal>(p.Lengths, p.Lengths + p.Count));
    return pen;
}

// Pixel (x, y) covers [x, x + 1); lines and outlines run through pixel centres.
QPointF Centre(TPoint p) {
    return QPointF(p.X + 0.5, p.Y + 0.5);
}

}  // namespace

struct TSvgCanvas::TState {
    QByteArray Bytes;
    QBuffer Buffer{&Bytes};
    QSvgGenerator Generator;
    QPainter Painter;
};

TSvgCanvas::TSvgCanvas(int width, int height)
    : Width_(std::max(width, 0)), Height_(std::max(height, 0)), State_(std::make_unique<TState>()) {
    State_->Generator.setOutputDevice(&State_->Buffer);
    State_->Generator.setSize(QSize(Width_, Height_));
    State_->Generator.setViewBox(QRect(0, 0, Width_, Height_));
    // The screen as reference device: one picture pixel is one CSS pixel.
    State_->Generator.setResolution(96);
    State_->Generator.setTitle(QStringLiteral("Lumtrek Zeigora"));
    State_->Painter.begin(&State_->Generator);
    State_->Painter.setRenderHint(QPainter::Antialiasing, false);
}

TSvgCanvas::~TSvgCanvas() {
    if (State_->Painter.isActive()) State_->Painter.end();
}

void TSvgCanvas::DrawLine(TPoint from, TPoint to) {
    if (Finished()) return;
    QPainter& g = State_->Painter;
    g.setPen(CanvasPen(*this));
    g.drawLine(Centre(from), Centre(to));
}

void TSvgCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (Finished()) return;
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    if (right == left || bottom == top) return;
    QPainter& g = State_->Painter;
    const bool noPen = PenStyle() == psClear;
    if (BrushStyle() == TBrushStyle::Solid) {
        // Without a pen the filled area is one pixel smaller, as on the raster canvas.
        const int r = noPen ? right - 1 : right, b = noPen ? bottom - 1 : bottom;
        g.fillRect(QRectF(left, top, r - left, b - top), ToQColor(BrushColor()));
    }
    if (noPen) return;
    g.setPen(CanvasPen(*this));
    g.setBrush(Qt::NoBrush);
    g.drawRect(QRectF(left + 0.5, top + 0.5, right - left - 1, bottom - top - 1));
}

void TSvgCanvas::Ellipse(int left, int top, int right, int bottom) {
    if (Finished()) return;
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    if (right - left < 1 || bottom - top < 1) return;
    QPainter& g = State_->Painter;
    g.setPen(CanvasPen(*this));
    g.setBrush(CanvasBrush(*this));
    g.drawEllipse(QRectF(left + 0.5, top + 0.5, right - left - 1, bottom - top - 1));
}

void TSvgCanvas::TextOut(int x, int y, std::string_view text) {
    if (Finished() || text.empty()) return;
    const QFont font = CanvasFont(*this);
    const QFontMetrics metrics(font);
    const QString s = FromCp1252(text);
    QPainter& g = State_->Painter;
    if (BrushStyle() == TBrushStyle::Solid)
        g.fillRect(QRectF(x, y, metrics.horizontalAdvance(s), metrics.height()),
                   ToQColor(BrushColor()));
    g.setFont(font);
    g.setPen(ToQColor(FontColor()));
    g.drawText(QPointF(x, y + metrics.ascent()), s);
}

int TSvgCanvas::TextWidth(std::string_view text) const {
    return QFontMetrics(CanvasFont(*this)).horizontalAdvance(FromCp1252(text));
}

int TSvgCanvas::TextHeight(std::string_view) const {
    return QFontMetrics(CanvasFont(*this)).height();
}

TColor TSvgCanvas::GetPixel(int, int) const {
    return 0;
}

void TSvgCanvas::SetPixel(int x, int y, TColor c) {
    if (Finished()) return;
    State_->Painter.fillRect(QRectF(x, y, 1, 1), ToQColor(c & 0xFFFFFF));
}

std::string TSvgCanvas::Complete() {
    State_->Painter.end();
    return State_->Bytes.toStdString();
}

}  // namespace zeigora
