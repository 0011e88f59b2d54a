// The keys of "Rückgängig" and "Wiederherstellen" belong to the window's history even while an
// edit field has the focus: a field would otherwise take them for its own undo of the text.
#pragma once

class QWidget;

namespace zeigora {

// For every edit field, combo box and spin box the window holds now.
void GiveHistoryKeysToWindow(QWidget& window);

}  // namespace zeigora
