// A whole frame on both cores: the surface is cut into two bands of rows, and each band is
// drawn by its own thread with the clip set to it. Every primitive writes under a clip exactly
// the pixels it writes without one, so the result is the same as drawing the whole once.
#pragma once

#include <QRect>
#include <functional>

#include "plane/paintboxex.h"
#include "plane/planeview.h"

namespace zeigora {

// Whether a frame on the surface is drawn in two bands: the surface is large enough for the
// second thread to pay and, unless `cores` is Both, the other core was not found busy lately.
bool WorthBands(const TPaintBoxEx& surface, TFrameCores cores);

// The row that parts the work of drawing the phasors most evenly, on a grid of 16 rows.
int BandSplit(const TPaintBoxEx& surface, const TDrawnPhasorArray& drawn);

// Calls draw(surface, true) with surface.Clip set to the rows above `split`, and draw(lower,
// false), where `lower` is a surface over the same pixels with a canvas in the same state as
// the surface's, clipped to the rows from `split` on; the two run at the same time on this and
// the slot's thread (started when the slot has none). Returns when both are done; the
// surface's clip is null again.
void DrawInBands(TPaintBoxEx& surface, int split, TBandWorkerSlot& slot,
                 const std::function<void(TPaintBoxEx&, bool)>& draw);

}  // namespace zeigora
