// One complete frame of the complex plane: background, grid, axes, circles and phasors.
#pragma once

#include <utility>

#include "plane/paintboxex.h"
#include "plane/planeview.h"

namespace zeigora {

// Clears the surface with the background colour, sets up brush, font and pen for the frame
// and puts the origin in the middle.
void PreparePlane(TPaintBoxEx& surface, int width, int height, std::uint32_t backColor,
                  TPlaneMapping& mapping);

// The visible phasors of scale 1 (first) and scale 2 (second), in list order.
std::pair<TPPhasorArray, TPPhasorArray> SplitByScale(TPhasorArray& phasors);

// Draws one frame onto the surface's drawing canvas and leaves the mapping and the drawn
// segments of the view for the pointer read-out and the hit test. The phasors must have been
// recalculated.
void RenderPlane(TPaintBoxEx& surface, TPlaneView& view, TPhasorArray& phasors,
                 const TPhasor* selected);

}  // namespace zeigora
