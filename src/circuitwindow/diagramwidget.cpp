#include "circuitwindow/diagramwidget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace zeigora {

namespace {

TMouseButton ButtonOf(const QMouseEvent& event) {
    switch (event.button()) {
        case Qt::RightButton:
            return TMouseButton::Right;
        case Qt::MiddleButton:
            return TMouseButton::Middle;
        default:
            return TMouseButton::Left;
    }
}

TShiftState ShiftOf(const QMouseEvent& event) {
    TShiftState state;
    state.Shift = event.modifiers().testFlag(Qt::ShiftModifier);
    state.Ctrl = event.modifiers().testFlag(Qt::ControlModifier);
    state.Alt = event.modifiers().testFlag(Qt::AltModifier);
    state.Left = event.buttons().testFlag(Qt::LeftButton);
    state.Right = event.buttons().testFlag(Qt::RightButton);
    state.Middle = event.buttons().testFlag(Qt::MiddleButton);
    return state;
}

QPoint PixelOf(const QMouseEvent& event) {
    return event.position().toPoint();
}

}  // namespace

TDiagramWidget::TDiagramWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TDiagramWidget::SetSurfaceSize(int width, int height) {
    Surface_.Resize(width, height);
    setFixedSize(Surface_.Width(), Surface_.Height());
}

void TDiagramWidget::paintEvent(QPaintEvent* event) {
    const QRect part = event->rect() & Surface_.Bitmap.rect();
    if (part.isEmpty()) return;
    // Byte 3 of the bitmap is no alpha; the converted copy is opaque.
    const QImage shown =
        Surface_.Bitmap.copy(part).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter(this).drawImage(part.topLeft(), shown);
}

void TDiagramWidget::mousePressEvent(QMouseEvent* event) {
    const QPoint p = PixelOf(*event);
    Surface_.MouseDown(ButtonOf(*event), ShiftOf(*event), p.x(), p.y());
}

// The second press of a double click comes as this event alone: the double-click first, then
// the press, the order the classic controls report them in.
void TDiagramWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint p = PixelOf(*event);
    Surface_.DblClick();
    Surface_.MouseDown(ButtonOf(*event), ShiftOf(*event), p.x(), p.y());
}

}  // namespace zeigora
