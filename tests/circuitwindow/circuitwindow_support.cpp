#include "circuitwindow_support.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <cmath>

#include "platform/cp1252.h"

namespace zeigora {

void TypeInto(QLineEdit* edit, const std::string& text) {
    edit->setFocus(Qt::MouseFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, FromCp1252(text));
}

void OnNextModal(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) return;
        timer->stop();
        timer->deleteLater();
        action(modal);
        modal->close();
    });
    timer->start();
}

std::string TextOf(const QLineEdit* edit) {
    return ToCp1252(edit->text());
}

bool Near(const TComplex& value, double re, double im, double tolerance) {
    return std::fabs(value.Re - re) <= tolerance && std::fabs(value.Im - im) <= tolerance;
}

}  // namespace zeigora
