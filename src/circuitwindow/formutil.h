// Small helpers shared by the circuit calculator's windows.
#pragma once

class QWidget;

namespace zeigora {

// A dialog makes its first push button the default one, so Enter in any field would press it
// (in the editor frames, a conjugation button). These windows have no default action.
void NoDefaultButtons(QWidget& window);

// Places the window in the middle of its screen (its owner's screen, if it has one) rather
// than over its owner.
void CenterOnScreen(QWidget& window);

}  // namespace zeigora
