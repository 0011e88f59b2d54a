#pragma once
// What the thick antialiased line's walk shares between its files: the per-line constants in
// sub-sample space, the band of coverage counts along the line, and the stroke walks.

#include <cstdint>
#include <vector>

namespace zeigora::lineaa {

struct TRun {
    std::uint8_t* Pixel;
    std::int64_t Count;
};

// Coverage counts of the pixels along the line: one row per major pixel, holding the minor
// pixels from Base[row] on. Pixels outside it (none in practice) go to the run list instead;
// since that depends only on the pixel, no pixel is counted in both.
struct TBand {
    std::int64_t First = 0, Rows = 0, RowWidth = 0;
    std::vector<std::int64_t> Base;
    std::vector<std::uint32_t> Count;
};

// The per-call constants of one line in sub-sample space.
struct TLineWalk {
    std::int64_t N;
    bool Steep;
    std::int64_t Sm, Sn, U, Kv, Kd, Kt;
    // Steps a stroke takes to rise by a minor cell of n and of 2n - 1, as quotient and
    // remainder of (size ku) / kv.
    struct {
        std::int64_t Q, R;
    } CellRise[2];
    // The pixels the line may write: the surface's clip within the bitmap, right/bottom excluded.
    std::int64_t Left, Top, Right, Bottom;
    // The major sub-samples whose pixels lie in the clip's major range.
    std::int64_t MajorFirst, MajorLast;
    std::uint8_t* Bits;
    std::int64_t Stride;
    // Allowed[p]: how many of the steps before p the dash pattern lets through; nullptr: all.
    const std::int32_t* Allowed;
    bool Fast;
    int Dr, Dg, Db;
    std::vector<TRun>* Runs;
    TBand* Band;
    std::uint32_t* BandCounts;
};

// One parallel stroke: its start in sub-samples and its start error.
struct TStroke {
    std::int64_t X, Y, E;
};

// Pixel index of a sub-sample coordinate; div truncates toward zero, so pixel 0 spans 2n - 1
// sub-samples.
inline std::int64_t PixelOf(std::int64_t c, std::int64_t n) {
    switch (n) {  // the usual factors as constants, so the division becomes a multiplication
        case 15:
            return c / 15;
        case 5:
            return c / 5;
        default:
            return c / n;
    }
}

// The first and last sub-sample of pixel q (truncating pixels: pixel 0 spans 2n - 1).
inline std::int64_t FirstOf(std::int64_t q, std::int64_t n) {
    return q > 0 ? q * n : q * n - n + 1;
}

inline std::int64_t LastOf(std::int64_t q, std::int64_t n) {
    return q < 0 ? q * n : q * n + n - 1;
}

inline std::int64_t CellSize(std::int64_t q, std::int64_t n) {
    return q == 0 ? 2 * n - 1 : n;
}

inline std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

inline std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {
    return -FloorDiv(-a, b);
}

// Adds `count` covered sub-samples to the pixel (major, minor), in pixels: into the band when
// the pixel lies in it, else straight to the pixel (fast mode) or to the run list (quality).
void Flush(const TLineWalk& w, std::int64_t major, std::int64_t minor, std::int64_t count);

// Counts steps [from, to) of one solid stroke from (x, y) with start error e.
void StrokeSolid(const TLineWalk& w, const TStroke& s, std::int64_t from, std::int64_t to);

// Counts the solid strokes that are shifted copies of one another together, a pixel column of
// the line at a time, and the rest one by one; the counts equal those of the strokes one by one.
void CountStrokes(const TLineWalk& w, const std::vector<TStroke>& strokes);

}  // namespace zeigora::lineaa
