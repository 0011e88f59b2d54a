// The state of the plane view that the main window owns: settings, the mapping of the last
// frame and the segments it drew.
#pragma once

#include <cstdint>
#include <vector>

#include "phasors/phasor.h"
#include "plane/planesettings.h"

namespace zeigora {

// One drawn phasor segment of the last frame, as the hit test sees it.
struct TDrawnPhasor {
    std::int32_t X1;
    std::int32_t X2;
    std::int32_t Y1;
    std::int32_t Y2;
    PPhasor Phasor;
};

using TDrawnPhasorArray = std::vector<TDrawnPhasor>;

// Pointers into the phasor list, valid until the list changes its length.
using TPPhasorArray = std::vector<PPhasor>;

struct TPlaneView {
    TPlaneSettings Settings;
    TPlaneMapping Mapping;
    TDrawnPhasorArray DrawnPhasors;  // drawing order: scale-1 list first, then scale 2
};

}  // namespace zeigora
