// How the two windows cut their documents into the pieces of their undo histories: one piece
// per record of the file format, so a change of one phasor or one element makes one new piece.
#pragma once

#include <deque>
#include <string_view>

#include "phasors/phasor.h"

#include "history/snapshothistory.h"

namespace zeigora {

// The leading piece as given (the window's own state), then the phasor file bytes one record
// per piece.
TStatePieces PhasorStatePieces(std::string_view leading, std::string_view phasorFileBytes);

// The same for the list itself: a record that is as the file holds it is taken where it
// stands, without a copy of the whole list; the others are cleaned into `cleaned`. The pieces
// are valid while the list and `cleaned` are unchanged.
TStatePieces PhasorStatePieces(std::string_view leading, const TPhasorArray& list,
                               std::deque<TPhasor>& cleaned);

// Circuit file bytes, one element record per piece; a group's piece is its own record without
// its members'.
TStatePieces CircuitStatePieces(std::string_view circuitFileBytes);

}  // namespace zeigora
