// Shared by the circuit window tests: typing as the user does, answering a modal window that a
// command opens, and reading the texts of the widgets.
#pragma once

#include <QLineEdit>
#include <functional>
#include <string>

#include "complex/complex.h"

class QWidget;

namespace zeigora {

// Replaces the edit's text key by key, as the user types it.
void TypeInto(QLineEdit* edit, const std::string& text);

// Runs action on the next modal window that opens (other than `owner`), then closes it.
void OnNextModal(std::function<void(QWidget*)> action);

std::string TextOf(const QLineEdit* edit);

bool Near(const TComplex& value, double re, double im, double tolerance);

}  // namespace zeigora
