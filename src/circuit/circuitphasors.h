// The phasor diagram of one group of a circuit: a series group's member voltages closing on the
// group's voltage, a parallel group's branch currents closing on its current; and the phasor
// records that hand such a diagram over to the phasor plane.
#pragma once

#include <string>
#include <vector>

#include "circuit/circcalc.h"
#include "circuit/circuitquery.h"
#include "complex/complex.h"
#include "phasors/phasor.h"

namespace zeigora {

// Labels of a flattened tree, in its order: an element's name, or where it has none (empty, or
// still the kind's own "R", "C", "L", "Z") the kind and its number among the elements of that
// kind in pre-order: "R1", "C2", "Z1". cp1252.
std::vector<std::string> ElementLabels(const std::vector<TCircuitNode>& nodes);

struct TDiagramPhasor {
    std::string Label;  // cp1252
    TElementType Kind;
    TComplex Value;
};

// Parts are the members' voltages of a series group or their currents of a parallel group, in
// member order; an element that is not a group has none. U and I are the element's own. All
// values are those of ComputeAll.
struct TGroupPhasors {
    std::string Label;
    TElementType Kind = etGroup;
    bool Parallel = false;
    std::vector<TDiagramPhasor> Parts;
    TComplex U{};
    TComplex I{};

    // Whether the parts are currents (and the total that closes them is I).
    bool PartsAreCurrents() const { return Kind == etGroup && Parallel; }
};

// index is the pre-order index of the element (0 = the whole circuit); outside the tree the
// whole circuit is taken.
TGroupPhasors GroupPhasors(const TCustomCircuitElement& root, const TCircuitSupply& supply,
                           int index);

// The records "In Zeigerebene übernehmen" appends after existing: every part, then the total
// the parts close on, then the reference (I of a series group, U of a parallel one). Names are
// "U" or "I" and the label reduced to letters and digits, made unique among existing and each
// other; the total is defined as the sum of the parts' names so that it recalculates with them.
// Voltages at scale 1, currents at scale 2.
TPhasorArray HandOverPhasors(const TGroupPhasors& diagram, const TPhasorArray& existing);

// A visible, named record of value at scale 1 (voltage) or 2 (current), pen width 1.
TPhasor MakePhasor(std::string name, TComplex value, bool current, std::uint32_t color);

// Colour of an element kind in the diagrams, 0x00BBGGRR.
std::uint32_t KindColor(TElementType kind);

}  // namespace zeigora
