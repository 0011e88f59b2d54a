// The state of the plane view that the main window owns: settings, the mapping of the last
// frame and the segments it drew.
#pragma once

#include <cstdint>
#include <memory>
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

// What the next frame on the same surface may take over from the last one (the layers below
// the phasors); kept by the frame. A copied view starts without it.
struct TPlaneLayers;
struct TPlaneLayerCache {
    std::shared_ptr<TPlaneLayers> Layers;
    TPlaneLayerCache() = default;
    TPlaneLayerCache(const TPlaneLayerCache&) {}
    TPlaneLayerCache& operator=(const TPlaneLayerCache&) {
        Layers.reset();
        return *this;
    }
};

enum class TFrameCores { One, Both, BothWhenFree };

// The second thread that whole frames are drawn with, kept from frame to frame (and with it its
// font caches); a copied view starts without one.
class TBandWorker;
struct TBandWorkerSlot {
    std::shared_ptr<TBandWorker> Worker;
    TBandWorkerSlot() = default;
    TBandWorkerSlot(const TBandWorkerSlot&) {}
    TBandWorkerSlot& operator=(const TBandWorkerSlot&) {
        Worker.reset();
        return *this;
    }
};

struct TPlaneView {
    TPlaneSettings Settings;
    TPlaneMapping Mapping;
    TDrawnPhasorArray DrawnPhasors;  // drawing order: scale-1 list first, then scale 2
    TPlaneLayerCache Layers;
    // Whole frames on a large surface: on one core, on both, or on both unless the other core
    // was found busy lately. The same pixels in every case.
    TFrameCores Cores = TFrameCores::BothWhenFree;
    TBandWorkerSlot Bands;
};

}  // namespace zeigora
