// Shows the circuit diagram's drawing surface inside the scroll box and forwards the pointer to
// it. The window draws into the surface when something changes; painting the widget copies
// only the part of the bitmap that is exposed, so scrolling a large diagram stays cheap.
#pragma once

#include <QWidget>

#include "plane/paintboxex.h"

namespace zeigora {

class TDiagramWidget : public QWidget {
  public:
    explicit TDiagramWidget(QWidget* parent = nullptr);

    TPaintBoxEx& Surface() { return Surface_; }
    // Sizes the surface and the widget alike.
    void SetSurfaceSize(int width, int height);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    TPaintBoxEx Surface_;
};

}  // namespace zeigora
