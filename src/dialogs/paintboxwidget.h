// The widget that hosts a drawing surface: it keeps the surface as large as itself, lets the
// owner draw into it on every paint, shows its bitmap and forwards the pointer.
#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>
#include <functional>

#include "plane/paintboxex.h"

namespace zeigora {

class TPaintBoxWidget : public QWidget {
    Q_OBJECT

  public:
    explicit TPaintBoxWidget(QWidget* parent = nullptr);

    TPaintBoxEx& Surface() { return Surface_; }

    // Runs the owner's drawing into the surface now, without showing it (picture export).
    void Redraw();

    // The input focus went to another control of the same window (not to a dialog, a menu or
    // another window).
    std::function<void()> OnExit;
    // The widget, and with it the surface, took a new size.
    std::function<void(int width, int height)> OnResize;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    TPaintBoxEx Surface_;
    // The surface as last shown, opaque, and what frames not yet shown changed.
    QImage Shown_;
    QRect Unshown_;
};

}  // namespace zeigora
