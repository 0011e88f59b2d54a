// Recalculation of all phasors in dependency order, with the error list of the status bar.
#pragma once

#include <string>
#include <vector>

#include "phasors/phasor.h"

namespace zeigora {

// One entry of the error list: Name + ": " + ErrorText, and the phasor it belongs to.
struct TErrorEntry {
    std::string Caption;  // cp1252
    int PhasorIndex;
};

struct TRecalcResult {
    std::vector<TErrorEntry> Errors;
    std::string StatusText;  // count + " Fehler (hier rechtsklicken)", or empty
};

TRecalcResult RecalculateAll(TPhasorArray& phasors);

}  // namespace zeigora
