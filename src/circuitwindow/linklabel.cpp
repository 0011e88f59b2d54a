#include "circuitwindow/linklabel.h"

#include <QMouseEvent>

namespace zeigora {

TLinkLabel::TLinkLabel(const QString& text, QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);  // it shows group names, which may look like markup
    setText(text);
    setCursor(Qt::PointingHandCursor);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    // Only a release over the label counts, as with a button.
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) return;
    if (isEnabled() && OnClick) OnClick();
}

}  // namespace zeigora
