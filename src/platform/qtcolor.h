// The program's colours (0x00BBGGRR, red in the low byte) as Qt colours.
#pragma once

#include <QBrush>
#include <QColor>

#include "platform/canvas.h"

namespace zeigora {

inline QColor ToQColor(TColor c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// The canvas brush for Qt's filled shapes: its colour when solid, nothing when clear.
inline QBrush CanvasBrush(const TCanvas& c) {
    if (c.BrushStyle() != TBrushStyle::Solid) return QBrush(Qt::NoBrush);
    return QBrush(ToQColor(c.BrushColor()));
}

}  // namespace zeigora
