#include "plane/paintboxex.h"

#include <stdexcept>

#include "platform/emfcanvas.h"
#include "platform/rastercanvas.h"

namespace zeigora {

TPaintBoxEx::TPaintBoxEx(int width, int height)
    : Canvas_(std::make_unique<TRasterCanvas>(&Bitmap)) {
    Resize(width, height);
}

TPaintBoxEx::~TPaintBoxEx() = default;

void TPaintBoxEx::Resize(int width, int height) {
    Bitmap = QImage(width < 0 ? 0 : width, height < 0 ? 0 : height, QImage::Format_RGB32);
}

void TPaintBoxEx::Paint() {
    if (OnPaint) OnPaint(*this);
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
    return Bitmap.bits() + static_cast<std::ptrdiff_t>(y) * Bitmap.bytesPerLine() + x * 4;
}

TColor TPaintBoxEx::GetPixel(int, int) const {
    return 0;
}
void TPaintBoxEx::SetPixel(int, int, TColor) {}

void TPaintBoxEx::BeginRecording() {
    if (MetafileCanvas_) throw std::runtime_error("Already recording.");
    MetafileCanvas_ = std::make_unique<TEmfCanvas>(Width(), Height());
    Recording_ = true;
}

bool TPaintBoxEx::EndRecording(const std::string&) {
    Recording_ = false;
    MetafileCanvas_.reset();
    return false;
}

void TPaintBoxEx::LineAA(std::int64_t, int, long double, long double, long double, long double,
                         long double) {}

long double Hypot(long double a, long double b) {
    return a + b;
}
void SmoothLine(TCanvas&, int, int, int, int) {}
void EllipseAA(TPaintBoxEx&, int, int, int, int) {}
void DrawPenStyleItem(TCanvas&, TColor, const TRect&, int) {}
void DrawPenWidthItem(TCanvas&, TColor, const TRect&, int) {}

}  // namespace zeigora
