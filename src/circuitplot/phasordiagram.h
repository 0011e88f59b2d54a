// The phasor diagram of a group on the complex plane: the parts head to tail, closing on the
// total drawn from the origin, and the reference (the current of a series group, the voltage
// of a parallel one). Voltages at scale 1, currents at scale 2, each scale fitted so that its
// phasors fill the picture; both axes have the same pixels per unit, so angles are true.
#pragma once

#include "circuit/circuitphasors.h"
#include "plane/paintboxex.h"
#include "plane/planeview.h"

namespace zeigora {

struct TPhasorDiagramView {
    TPlaneView Plane;          // settings, mapping and drawn segments of the last picture
    TPhasorArray Phasors;      // what was drawn: parts, total, reference
    std::vector<TRect> Texts;  // the box of every number and name written
    std::vector<TRect> Names;  // the names' boxes, in the order of Plane.DrawnPhasors
};

// The phasors drawn for a diagram, in drawing order; names "U"/"I" and the label.
TPhasorArray DiagramPhasors(const TGroupPhasors& diagram);

// Scale values (units per grid interval) that fit the diagram: round 1, 2, 5 steps.
void FitDiagramScales(const TPhasorArray& phasors, bool partsAreCurrents, TPlaneSettings& settings,
                      int width, int height);

void RenderPhasorDiagram(TPaintBoxEx& surface, const TGroupPhasors& diagram,
                         TPhasorDiagramView& view, bool antiAliasing = true);

}  // namespace zeigora
