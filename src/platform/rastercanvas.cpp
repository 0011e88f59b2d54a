#include "platform/rastercanvas.h"

namespace zeigora {

QString Cp1252ToQString(std::string_view text) {
    return QString::fromLatin1(text.data(), text.size());
}

QFont CanvasFont(const TCanvas& canvas) {
    QFont font(QString::fromStdString(canvas.FontName()));
    font.setPixelSize(canvas.FontPixelSize());
    font.setBold(canvas.FontBold());
    return font;
}

void TRasterCanvas::Rectangle(int, int, int, int) {}
void TRasterCanvas::Ellipse(int, int, int, int) {}
void TRasterCanvas::TextOut(int, int, std::string_view) {}
int TRasterCanvas::TextWidth(std::string_view) const {
    return 0;
}
int TRasterCanvas::TextHeight(std::string_view) const {
    return 0;
}
TColor TRasterCanvas::GetPixel(int, int) const {
    return 0;
}
void TRasterCanvas::SetPixel(int, int, TColor) {}
void TRasterCanvas::DrawLine(TPoint, TPoint) {}

}  // namespace zeigora
