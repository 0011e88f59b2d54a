#include "dialogs/paintboxwidget.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <cmath>

namespace zeigora {

namespace {

TShiftState ShiftStateOf(const QMouseEvent& event) {
    TShiftState s;
    s.Shift = event.modifiers().testFlag(Qt::ShiftModifier);
    s.Ctrl = event.modifiers().testFlag(Qt::ControlModifier);
    s.Alt = event.modifiers().testFlag(Qt::AltModifier);
    s.Left = event.buttons().testFlag(Qt::LeftButton);
    s.Right = event.buttons().testFlag(Qt::RightButton);
    s.Middle = event.buttons().testFlag(Qt::MiddleButton);
    return s;
}

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

int PixelX(const QMouseEvent& event) {
    return static_cast<int>(std::floor(event.position().x()));
}
int PixelY(const QMouseEvent& event) {
    return static_cast<int>(std::floor(event.position().y()));
}

}  // namespace

TPaintBoxWidget::TPaintBoxWidget(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    // Every pixel comes from the surface; nothing of the background shows through.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(1, 1);
}

void TPaintBoxWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Surface_.Resize(width(), height());
    if (OnResize) OnResize(width(), height());
}

void TPaintBoxWidget::Redraw() {
    Surface_.Paint();
    Unshown_ |= Surface_.Changed;
}

void TPaintBoxWidget::paintEvent(QPaintEvent* event) {
    Surface_.Resize(width(), height());
    Surface_.Paint();
    // The opaque copy follows the surface only where a frame changed it since the last paint;
    // the rest it still holds.
    QRect changed = Surface_.Changed | Unshown_;
    Unshown_ = QRect();
    if (Shown_.size() != Surface_.Bitmap.size()) {
        Shown_ = QImage(Surface_.Bitmap.size(), QImage::Format_ARGB32_Premultiplied);
        changed = Surface_.Bitmap.rect();
    }
    changed &= Surface_.Bitmap.rect();
    for (int y = changed.top(); y <= changed.bottom(); ++y) {
        const auto* from = reinterpret_cast<const quint32*>(Surface_.Bitmap.constScanLine(y));
        auto* to = reinterpret_cast<quint32*>(Shown_.scanLine(y));
        for (int x = changed.left(); x <= changed.right(); ++x)
            to[x] = from[x] | 0xFF000000u;  // byte 3 of the surface is no alpha
    }
    const QRect part = event->rect() & Shown_.rect();
    if (part.isEmpty()) return;
    QPainter(this).drawImage(part.topLeft(), Shown_, part);
}

void TPaintBoxWidget::mousePressEvent(QMouseEvent* event) {
    Surface_.MouseDown(ButtonOf(*event), ShiftStateOf(*event), PixelX(*event), PixelY(*event));
}

void TPaintBoxWidget::mouseMoveEvent(QMouseEvent* event) {
    Surface_.MouseMove(ShiftStateOf(*event), PixelX(*event), PixelY(*event));
}

void TPaintBoxWidget::mouseReleaseEvent(QMouseEvent* event) {
    Surface_.MouseUp(ButtonOf(*event), ShiftStateOf(*event), PixelX(*event), PixelY(*event));
}

// The second press of a double click: the double-click handler first, then the press, the way
// the classic controls report it (the first press already went through mousePressEvent).
void TPaintBoxWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    Surface_.DblClick();
    Surface_.MouseDown(ButtonOf(*event), ShiftStateOf(*event), PixelX(*event), PixelY(*event));
}

void TPaintBoxWidget::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    // Dialogs, menus and other windows take the focus only for a while; only a move to another
    // control of this window counts as leaving the drawing.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
    if (OnExit) OnExit();
}

}  // namespace zeigora
