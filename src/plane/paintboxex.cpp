#include "plane/paintboxex.h"

#include <stdexcept>

#include "platform/emfcanvas.h"
#include "platform/rastercanvas.h"
#include "platform/svgcanvas.h"
#include "platform/vectorstate.h"

namespace zeigora {

TPaintBoxEx::TPaintBoxEx(int width, int height)
    : Canvas_(std::make_unique<TRasterCanvas>(&Bitmap, &Clip)) {
    Resize(width, height);
}

TPaintBoxEx::~TPaintBoxEx() = default;

void TPaintBoxEx::Resize(int width, int height) {
    width = width < 0 ? 0 : width;
    height = height < 0 ? 0 : height;
    if (width == Width() && height == Height() && !Bitmap.isNull()) return;
    Bitmap = QImage(width, height, QImage::Format_RGB32);
    Bitmap.fill(Qt::white);  // defined contents until the owner's next paint
    ClearUpperVectorState();
}

void TPaintBoxEx::Paint() {
    ClearUpperVectorState();  // the host's own painting ran just before
    Changed = Bitmap.rect();
    if (OnPaint) OnPaint(*this);
}

QImage TPaintBoxEx::DisplayImage() const {
    // Byte 3 may hold 0 or a stale coverage count; the converted copy is fully opaque.
    return Bitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

TCanvas& TPaintBoxEx::BitmapCanvas() {
    return *Canvas_;
}

TCanvas& TPaintBoxEx::DrawingCanvas() {
    if (Recording_ && MetafileCanvas_) return *MetafileCanvas_;
    return *Canvas_;
}

std::uint8_t* TPaintBoxEx::Bits() {
    return Height() < 1 ? nullptr : Bitmap.bits();
}

std::uint8_t* TPaintBoxEx::PixelAddress(int x, int y) {
    return Bitmap.bits() + static_cast<std::ptrdiff_t>(y) * Bitmap.bytesPerLine() +
           static_cast<std::ptrdiff_t>(x) * 4;
}

TColor TPaintBoxEx::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
    const std::uint8_t* p = Bitmap.constScanLine(y) + static_cast<std::ptrdiff_t>(x) * 4;
    return TColor(p[2]) | TColor(p[1]) << 8 | TColor(p[0]) << 16;
}

void TPaintBoxEx::SetPixel(int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= Width() || y >= Height() || !Bits()) return;
    if (!Clip.isNull() && !Clip.contains(x, y)) return;
    std::uint8_t* p = PixelAddress(x, y);
    p[0] = (color >> 16) & 0xFF;
    p[1] = (color >> 8) & 0xFF;
    p[2] = color & 0xFF;
    p[3] = 0;
}

void TPaintBoxEx::BeginRecording(TRecordingKind kind) {
    if (MetafileCanvas_) throw std::runtime_error("Already recording.");
    if (kind == TRecordingKind::Svg)
        MetafileCanvas_ = std::make_unique<TSvgCanvas>(Width(), Height());
    else
        MetafileCanvas_ = std::make_unique<TEmfCanvas>(Width(), Height());
    Recording_ = true;
}

bool TPaintBoxEx::EndRecording(const std::string& fileName) {
    if (!MetafileCanvas_) throw std::runtime_error("Not recording.");
    Recording_ = false;
    const std::unique_ptr<TRecordingCanvas> canvas = std::move(MetafileCanvas_);
    std::string error;
    if (!canvas->Finish(fileName, error)) throw std::runtime_error(error);
    return true;
}

void TPaintBoxEx::CancelRecording() {
    Recording_ = false;
    MetafileCanvas_.reset();
}

namespace {

void DrawListItem(TCanvas& canvas, TColor color, const TRect& rect, int style, int width) {
    canvas.SetPenColor(clWhite);
    canvas.SetBrushColor(clWhite);
    canvas.SetBrushStyle(TBrushStyle::Solid);
    canvas.SetPenStyle(psSolid);
    canvas.Rectangle(rect);
    canvas.SetPenColor(color);
    canvas.SetPenStyle(style);
    if (width > 0) canvas.SetPenWidth(width);
    canvas.MoveTo(rect.Left, rect.Top + 8);
    canvas.LineTo(rect.Right, rect.Top + 8);
}

}  // namespace

void DrawPenStyleItem(TCanvas& canvas, TColor color, const TRect& rect, int style) {
    DrawListItem(canvas, color, rect, style, 0);
}

void DrawPenWidthItem(TCanvas& canvas, TColor color, const TRect& rect, int index) {
    DrawListItem(canvas, color, rect, psSolid, index + 1);
}

}  // namespace zeigora
