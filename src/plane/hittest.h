// Picking the phasor under the pointer from the segments of the last frame.
#pragma once

#include "plane/planeview.h"

namespace zeigora {

// Pixels; a segment strictly nearer than this counts as hit.
inline constexpr long double HitThreshold = 15.0L;

// The phasor whose drawn segment lies nearest to (x, y), or nullptr when none is nearer than
// the threshold. Later segments lie on top and win ties.
PPhasor FindPhasorAt(const TDrawnPhasorArray& drawn, int x, int y);

}  // namespace zeigora
