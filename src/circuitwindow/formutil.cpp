#include "circuitwindow/formutil.h"

#include <QPushButton>

namespace zeigora {

void NoDefaultButtons(QWidget& window) {
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

}  // namespace zeigora
