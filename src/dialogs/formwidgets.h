// Creating the named, fixed-place child widgets the dialogs are laid out with.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QRect>
#include <QString>
#include <QWidget>
#include <string>
#include <utility>

#include "platform/cp1252.h"

namespace zeigora {

// A new Widget(args..., parent) at that place, named unless name is nullptr.
template <class Widget, class... Args>
Widget* MakeChild(QWidget* parent, const char* name, QRect geometry, Args&&... args) {
    auto* widget = new Widget(std::forward<Args>(args)..., parent);
    if (name) widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

// A label showing cp1252 text as it is: names and paths from files may look like markup.
inline QLabel* MakeLabel(QWidget* parent, const char* name, const std::string& text,
                         QRect geometry) {
    auto* label = MakeChild<QLabel>(parent, name, geometry);
    label->setTextFormat(Qt::PlainText);
    label->setText(FromCp1252(text));
    return label;
}

inline QLineEdit* MakeEdit(QWidget* parent, const char* name, QRect geometry) {
    return MakeChild<QLineEdit>(parent, name, geometry);
}

}  // namespace zeigora
