#include "plane/framediff.h"

#include <algorithm>

namespace zeigora {

namespace {

constexpr int Tile = 16;

void MarkTiles(const QRect& r, int columns, std::vector<std::uint8_t>& dirty) {
    if (r.isEmpty()) return;
    for (int ty = r.top() / Tile; ty <= r.bottom() / Tile; ++ty)
        for (int tx = r.left() / Tile; tx <= r.right() / Tile; ++tx)
            dirty[std::size_t(ty) * columns + tx] = 1;
}

// Runs of dirty tiles per tile row; a run with the same columns as one in the row above
// lengthens that rectangle.
std::vector<QRect> TileRuns(const std::vector<std::uint8_t>& dirty, int columns, int rows,
                            const QRect& bounds) {
    std::vector<QRect> parts;
    std::vector<int> open, next;  // indices into parts that end on the row above
    for (int ty = 0; ty < rows; ++ty) {
        next.clear();
        for (int tx = 0; tx < columns;) {
            if (!dirty[std::size_t(ty) * columns + tx]) {
                ++tx;
                continue;
            }
            const int first = tx;
            while (tx < columns && dirty[std::size_t(ty) * columns + tx])
                ++tx;
            const QRect run(first * Tile, ty * Tile, (tx - first) * Tile, Tile);
            auto above = std::find_if(open.begin(), open.end(), [&](int k) {
                return parts[k].left() == run.left() && parts[k].right() == run.right();
            });
            if (above != open.end()) {
                parts[*above].setBottom(run.bottom());
                next.push_back(*above);
            } else {
                next.push_back(int(parts.size()));
                parts.push_back(run);
            }
        }
        open.swap(next);
    }
    for (QRect& r : parts)
        r &= bounds;
    return parts;
}

}  // namespace

bool TPhasorRecord::SameDrawing(const TPhasorRecord& o) const {
    return X1 == o.X1 && X2 == o.X2 && Y1 == o.Y1 && Y2 == o.Y2 && Color == o.Color &&
           Style == o.Style && Width == o.Width && Selected == o.Selected &&
           NameVisible == o.NameVisible && NameLeft == o.NameLeft && Name == o.Name;
}

TPhasorRecords MakePhasorRecords(const TDrawnPhasorArray& drawn, const TPhasor* selected) {
    TPhasorRecords records(drawn.size());
    for (std::size_t k = 0; k < drawn.size(); ++k) {
        const TDrawnPhasor& d = drawn[k];
        const TPhasor& p = *d.Phasor;
        TPhasorRecord& r = records[k];
        r.X1 = d.X1, r.X2 = d.X2, r.Y1 = d.Y1, r.Y2 = d.Y2;
        r.Color = p.Color, r.Style = p.Style, r.Width = p.Width;
        r.Selected = d.Phasor == selected;
        r.NameVisible = p.NameVisible != 0;
        if (r.NameVisible) {
            r.NameLeft = p.Value.Re > 0;
            r.Name = p.Name.View();
        }
    }
    return records;
}

TRecordMatch MatchRecords(const TPhasorRecords& before, const TPhasorRecords& after) {
    TRecordMatch m;
    const std::size_t nb = before.size(), na = after.size();
    m.BeforeOf.assign(na, -1);
    if (nb == na) {
        for (std::size_t k = 0; k < na; ++k) {
            if (before[k].SameDrawing(after[k]))
                m.BeforeOf[k] = int(k);
            else
                m.ChangedBefore.push_back(int(k));
        }
        return m;
    }
    std::size_t head = 0, tail = 0;
    while (head < std::min(nb, na) && before[head].SameDrawing(after[head]))
        ++head;
    while (tail < std::min(nb, na) - head &&
           before[nb - 1 - tail].SameDrawing(after[na - 1 - tail]))
        ++tail;
    for (std::size_t k = 0; k < head; ++k)
        m.BeforeOf[k] = int(k);
    for (std::size_t k = 0; k < tail; ++k)
        m.BeforeOf[na - 1 - k] = int(nb - 1 - k);
    for (std::size_t k = head; k < nb - tail; ++k)
        m.ChangedBefore.push_back(int(k));
    return m;
}

void FillInk(const TCanvas& canvas, const TDrawnPhasorArray& drawn,
             const TPhasorDrawOptions& options, const QRect& bounds, TPhasorRecords& before,
             const TRecordMatch& match, TPhasorRecords& after) {
    for (std::size_t k = 0; k < after.size(); ++k) {
        const int b = match.BeforeOf.empty() ? -1 : match.BeforeOf[k];
        if (b >= 0)
            after[k].Ink = before[std::size_t(b)].Ink;
        else
            PhasorInk(canvas, drawn[k], after[k].Selected, options, bounds, after[k].Ink);
    }
}

std::optional<std::vector<QRect>> ChangedParts(const TPhasorRecords& before,
                                               const TPhasorRecords& after,
                                               const TRecordMatch& match, const QRect& bounds,
                                               std::int64_t limit) {
    if (bounds.isEmpty()) return std::vector<QRect>{};
    const int columns = (bounds.right() + Tile) / Tile, rows = (bounds.bottom() + Tile) / Tile;
    std::vector<std::uint8_t> dirty(std::size_t(columns) * rows, 0);
    for (int k : match.ChangedBefore)
        for (const QRect& r : before[std::size_t(k)].Ink)
            MarkTiles(r & bounds, columns, dirty);
    for (std::size_t k = 0; k < after.size(); ++k)
        if (match.BeforeOf[k] < 0)
            for (const QRect& r : after[k].Ink)
                MarkTiles(r & bounds, columns, dirty);
    const auto tiles = std::count(dirty.begin(), dirty.end(), std::uint8_t(1));
    if (std::int64_t(tiles) * Tile * Tile > limit) return std::nullopt;
    return TileRuns(dirty, columns, rows, bounds);
}

QRect InkBounds(const TPhasorRecords& records) {
    QRect area;
    for (const TPhasorRecord& r : records)
        for (const QRect& box : r.Ink)
            area |= box;
    return area;
}

}  // namespace zeigora
