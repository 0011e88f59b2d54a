// A label that acts like a link or a button: a click with the left button runs its handler while
// the label is enabled.
#pragma once

#include <QLabel>
#include <functional>

namespace zeigora {

class TLinkLabel : public QLabel {
  public:
    explicit TLinkLabel(const QString& text, QWidget* parent = nullptr);

    std::function<void()> OnClick;

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace zeigora
