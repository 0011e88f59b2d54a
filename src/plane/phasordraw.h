// The phasors of one frame as arrows, each recorded as a segment for the hit test.
#pragma once

#include <QRect>
#include <vector>

#include "plane/paintboxex.h"
#include "plane/planeview.h"

namespace zeigora {

struct TPhasorDrawOptions {
    int LabelGap = 12;  // pixels between the tip and the name
    const TPhasor* Selected = nullptr;
    bool AntiAliasing = true;
    bool ResetAfterEach = true;  // false: head to tail (graphical addition)
};

// Cuts the segment to the box [lo, hi] on both axes (Liang-Barsky); false when it misses it.
bool CutToBox(double& x1, double& y1, double& x2, double& y2, const double lo[2],
              const double hi[2]);

// Pale band colour under a selected phasor: every channel c becomes (c >> 3) + 223.
std::uint32_t HighlightColor(std::uint32_t color);

// Draws every phasor of the list, starting at the chain point of the mapping.
void DrawPhasors(TPaintBoxEx& surface, TPlaneMapping& mapping, TDrawnPhasorArray& drawn,
                 const TPPhasorArray& list, const TPhasorDrawOptions& options);

// Hidden phasors, values with a non-finite part and tips too far out to be placed on pixels
// are skipped: no arrow, no segment, the chain point stays.
void DrawPhasor(TPaintBoxEx& surface, TPlaneMapping& mapping, TDrawnPhasorArray& drawn,
                PPhasor phasor, bool isSelected, const TPhasorDrawOptions& options);

// The placing half of DrawPhasor: appends the phasor's segment and moves the chain point as
// drawing it would, without drawing. False for a phasor that is skipped.
bool PlacePhasor(TPlaneMapping& mapping, TDrawnPhasorArray& drawn, PPhasor phasor,
                 const TPhasorDrawOptions& options);

// The drawing half: band, arrow and name of a placed segment.
void DrawPlacedPhasor(TPaintBoxEx& surface, const TDrawnPhasor& segment, bool isSelected,
                      const TPhasorDrawOptions& options);

// Rectangles, within `bounds`, that together hold every pixel DrawPlacedPhasor may write for
// the segment with the canvas's present font: pieces along the shaft and band, the head
// (which may reach back past the start) and the name. Appended to `ink`.
void PhasorInk(const TCanvas& canvas, const TDrawnPhasor& segment, bool isSelected,
               const TPhasorDrawOptions& options, const QRect& bounds, std::vector<QRect>& ink);

// The two wing ends of a phasor's open arrowhead: the head is sqrt(pen width) * 10 pixels long
// and two thirds of that wide. False for a zero-length shaft, which gets no arrow.
struct TArrowHead {
    double Wing1X, Wing1Y;
    double Wing2X, Wing2Y;
};
bool PhasorArrowHead(int x1, int y1, int x2, int y2, int penWidth, TArrowHead& head);

// Shaft and open arrowhead with the drawing canvas's pen as set by the caller.
void DrawPhasorArrow(TPaintBoxEx& surface, int x1, int y1, int x2, int y2, bool antiAliasing);

}  // namespace zeigora
