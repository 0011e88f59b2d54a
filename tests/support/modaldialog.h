#pragma once
// Acting inside a modal dialog: the dialog's own event loop runs the timer once it is open.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace zeigora::test {

// Once the next modal window, a Dialog, is open: runs `inside` on it, then closes it.
template <typename Dialog>
void WhenModal(std::function<void(Dialog&)> inside) {
    QTimer::singleShot(0, [inside] {
        auto* dialog = dynamic_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        inside(*dialog);
        dialog->close();
    });
}

}  // namespace zeigora::test
