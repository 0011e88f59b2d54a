// The program's colours (0x00BBGGRR, red in the low byte) as Qt colours.
#pragma once

#include <QColor>

#include "platform/canvas.h"

namespace zeigora {

inline QColor ToQColor(TColor c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

}  // namespace zeigora
