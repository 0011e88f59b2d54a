#include "platform/emfcanvas.h"

namespace zeigora {

struct TEmfCanvas::TState {};

TEmfCanvas::TEmfCanvas(int width, int height)
    : Width_(width), Height_(height), State_(std::make_unique<TState>()) {}
TEmfCanvas::~TEmfCanvas() = default;

void TEmfCanvas::Rectangle(int, int, int, int) {}
void TEmfCanvas::Ellipse(int, int, int, int) {}
void TEmfCanvas::TextOut(int, int, std::string_view) {}
int TEmfCanvas::TextWidth(std::string_view) const {
    return 0;
}
int TEmfCanvas::TextHeight(std::string_view) const {
    return 0;
}
TColor TEmfCanvas::GetPixel(int, int) const {
    return 0;
}
void TEmfCanvas::SetPixel(int, int, TColor) {}
void TEmfCanvas::DrawLine(TPoint, TPoint) {}
bool TEmfCanvas::Finish(const std::string&, std::string* error) {
    if (error) *error = "not implemented";
    return false;
}

}  // namespace zeigora
