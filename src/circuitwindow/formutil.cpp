#include "circuitwindow/formutil.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

namespace zeigora {

void NoDefaultButtons(QWidget& window) {
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

void CenterOnScreen(QWidget& window) {
    const QWidget* owner = window.parentWidget();
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
}

}  // namespace zeigora
