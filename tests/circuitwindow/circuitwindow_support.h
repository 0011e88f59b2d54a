// Shared by the circuit window tests: typing as the user does, answering a modal window that a
// command opens, and reading the texts of the widgets.
#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <functional>
#include <string>

#include "complex/complex.h"
#include "platform/cp1252.h"

namespace zeigora {

// Replaces the edit's text key by key, as the user types it.
inline void TypeInto(QLineEdit* edit, const std::string& text) {
    edit->setFocus(Qt::MouseFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, FromCp1252(text));
}

// Runs action on the next modal window that opens, then closes it.
inline void OnNextModal(std::function<void(QWidget*)> action = [](QWidget*) {}) {
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

inline std::string TextOf(const QLineEdit* edit) {
    return ToCp1252(edit->text());
}

inline bool Near(const TComplex& value, double re, double im, double tolerance) {
    return std::fabs(value.Re - re) <= tolerance && std::fabs(value.Im - im) <= tolerance;
}

}  // namespace zeigora
