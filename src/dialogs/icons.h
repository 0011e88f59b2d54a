// The program's own tool bar images, drawn as small SVGs and kept in a Qt resource, so the main
// window and the circuit window show one consistent set.
#pragma once

#include <QIcon>

namespace zeigora {

// The icon of that name, a null icon for a name the set does not have. Names:
// "file-new", "file-open", "file-save", "phasor-new", "phasor-edit", "phasor-duplicate",
// "delete", "delete-all", "circle1", "circle2", "refresh", "save-picture", "grid",
// "grid-settings", "calibrate-height", "calibrate-width", "zoom-in", "zoom-out", "clock",
// "clock-smooth", "circuit-group", "element-edit", "edit-undo", "edit-redo",
// "circuit-analysis".
QIcon ZeigoraIcon(const char* name);

}  // namespace zeigora
