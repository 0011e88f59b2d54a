// What decides the pixels of each drawn phasor, kept from one frame to the next, and the parts
// of the plane that the changes between two frames' phasors touch.
#pragma once

#include <QRect>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "plane/phasordraw.h"

namespace zeigora {

// One drawn phasor as far as its pixels go (with the frame's font and settings unchanged).
struct TPhasorRecord {
    std::int32_t X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;
    std::uint32_t Color = 0;
    std::uint8_t Style = 0, Width = 0;
    bool Selected = false, NameVisible = false, NameLeft = false;
    std::string Name;  // empty unless the name is drawn
    // Where its pixels may lie (PhasorInk); follows from the rest, so it is not compared.
    std::vector<QRect> Ink;
    bool SameDrawing(const TPhasorRecord& other) const;
};

using TPhasorRecords = std::vector<TPhasorRecord>;

// The records of a frame's drawn segments, without their ink.
TPhasorRecords MakePhasorRecords(const TDrawnPhasorArray& drawn, const TPhasor* selected);

// Which records stayed: for every record of `after`, the index of the equal record of `before`
// it lines up with, or -1 when it changed; and the records of `before` that changed. Records
// line up by position when the counts agree, else by the common start and end.
struct TRecordMatch {
    std::vector<int> BeforeOf;
    std::vector<int> ChangedBefore;
};
TRecordMatch MatchRecords(const TPhasorRecords& before, const TPhasorRecords& after);

// Fills the ink of `after`: taken over from the matching record of `before` where there is
// one, else worked out with the canvas's font.
void FillInk(const TCanvas& canvas, const TDrawnPhasorArray& drawn,
             const TPhasorDrawOptions& options, const QRect& bounds, TPhasorRecords& before,
             const TRecordMatch& match, TPhasorRecords& after);

// The parts of `bounds` to redraw: disjoint rectangles of whole 16-pixel tiles (cut to
// `bounds`) over the ink of every changed record, old and new; nothing when they would cover
// more than `limit` pixels.
std::optional<std::vector<QRect>> ChangedParts(const TPhasorRecords& before,
                                               const TPhasorRecords& after,
                                               const TRecordMatch& match, const QRect& bounds,
                                               std::int64_t limit);

// The bounding rectangle of all the records' ink.
QRect InkBounds(const TPhasorRecords& records);

}  // namespace zeigora
