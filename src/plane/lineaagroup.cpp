// Counting the parallel strokes of a thick line together. Murphy's strokes are shifted copies of
// one digital line: in coordinates that grow along the line (A = Sm major, M = Sn minor, in
// sub-samples) a stroke whose error starts in the steady window covers
//     M = C + floor((kv A + Phase) / ku)   for A in [A0, A0 + U],
// all strokes sharing Phase and differing only in C and A0. Inside a pixel column that every
// stroke crosses whole, the number of covered sub-samples below a minor border T is therefore
//     G(T) = sum over strokes of F(T - C),  F(t) = #{A in the column : floor((kv A + Phase)/ku) <
//     t},
// and F rises only on the few t the column's centre line passes: a handful of prefix sums per
// pixel instead of a segment per stroke and pixel. The ends of the line, where strokes start and
// stop at different columns, and strokes off the common phase, are walked one by one. Both give
// the same counts as walking every stroke.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "plane/lineaawalk.h"

namespace zeigora::lineaa {
namespace {

// floor((k a + c) / d) for a growing a, a step of fixed size at a time, without a division.
class TFloorLine {
  public:
    TFloorLine(std::int64_t k, std::int64_t c, std::int64_t d, std::int64_t a) : D_(d) {
        const std::int64_t num = k * a + c;
        Q_ = FloorDiv(num, d);
        R_ = num - Q_ * d;
    }
    std::int64_t Value() const { return Q_; }
    // The value `ahead` further on: ahead = k step split into quotient and remainder by d.
    struct TStep {
        std::int64_t Q, R;
    };
    static TStep Step(std::int64_t k, std::int64_t step, std::int64_t d) {
        return {k * step / d, k * step % d};
    }
    std::int64_t Peek(TStep s) const { return Q_ + s.Q + (R_ + s.R >= D_ ? 1 : 0); }
    void Advance(TStep s) {
        Q_ += s.Q;
        R_ += s.R;
        if (R_ >= D_) {
            R_ -= D_;
            ++Q_;
        }
    }

  private:
    std::int64_t D_, Q_ = 0, R_ = 0;
};

constexpr std::int64_t MaxColumn = 128;

struct TMember {
    std::int64_t A0, C;
};

// The strokes that share one phase, as multiplicities over C, with the global table of where the
// centre line reaches each minor value.
class TGroup {
  public:
    TGroup(std::int64_t phase, const std::vector<TMember>& members)
        : Phase_(phase), Size_(static_cast<std::int64_t>(members.size())) {
        CMin_ = CMax_ = members.front().C;
        for (const TMember& m : members) {
            CMin_ = std::min(CMin_, m.C);
            CMax_ = std::max(CMax_, m.C);
        }
        static thread_local std::vector<std::int64_t> mult;
        mult.assign(CMax_ - CMin_ + 1, 0);
        for (const TMember& m : members)
            ++mult[m.C - CMin_];
        AtMost_.resize(mult.size());
        Extra_.clear();
        std::int64_t sum = 0;
        for (std::size_t i = 0; i < mult.size(); ++i) {
            sum += mult[i];
            AtMost_[i] = sum;
            if (mult[i] != 1) Extra_.push_back({CMin_ + static_cast<std::int64_t>(i), mult[i] - 1});
        }
    }

    static bool Compact(std::int64_t cMin, std::int64_t cMax, std::int64_t size) {
        return cMax - cMin <= 4 * size + 64;
    }

    std::int64_t Phase() const { return Phase_; }

    // The counts F(t) - 0 of the column starting at cs for t in (bS, bE], with prefix sums; the
    // caller hands them over from the centre line's cursor.
    void SetColumn(std::int64_t cs, std::int64_t len, std::int64_t bS, std::int64_t bE) {
        Cs_ = cs;
        Len_ = len;
        BS_ = bS;
        BE_ = bE;
    }
    std::int64_t* Reached() { return Reached_; }
    std::int64_t* Sums() { return Sums_; }

    // Covered sub-samples of the current column with a minor coordinate below t.
    std::int64_t Below(std::int64_t t) const {
        std::int64_t total = Len_ * AtMost(t - BE_ - 1);
        const std::int64_t t1 = std::max(BS_ + 1, t - CMax_), t2 = std::min(BE_, t - CMin_);
        if (t1 <= t2) total += Sums_[t2 - BS_] - Sums_[t1 - BS_ - 1];
        for (const auto& [c, extra] : Extra_) {
            const std::int64_t at = t - c;
            if (at > BS_ && at <= BE_) total += extra * Reached_[at - BS_ - 1];
        }
        return total;
    }

    std::int64_t CMin() const { return CMin_; }
    std::int64_t CMax() const { return CMax_; }

  private:
    std::int64_t AtMost(std::int64_t c) const {
        if (c < CMin_) return 0;
        if (c >= CMax_) return Size_;
        return AtMost_[c - CMin_];
    }

    std::int64_t Phase_, Size_;
    std::int64_t CMin_ = 0, CMax_ = 0;
    std::int64_t Cs_ = 0, Len_ = 0, BS_ = 0, BE_ = 0;
    // Kept between lines: a frame draws hundreds.
    static thread_local inline std::vector<std::int64_t> AtMost_;
    static thread_local inline std::vector<std::pair<std::int64_t, std::int64_t>> Extra_;
    // A column spans at most 2n - 1 <= 2 * 45 - 1 steps, and the centre line rises at most one
    // minor step per step.
    std::int64_t Reached_[MaxColumn] = {}, Sums_[MaxColumn + 1] = {};
};

// Adds one pixel's count, a column's band row chosen by the caller.
void AddCount(const TLineWalk& w, std::uint32_t* row, std::int64_t base, std::int64_t major,
              std::int64_t minor, std::int64_t count) {
    if (count == 0) return;
    const auto k = static_cast<std::uint64_t>(minor - base);
    if (row && k < static_cast<std::uint64_t>(w.Band->RowWidth))
        row[k] += static_cast<std::uint32_t>(count);
    else
        Flush(w, major, minor, count);
}

// The pixel columns [q1, q2] (growing coordinate) that every member crosses whole. Two cursors
// run along: the centre line's minor offset at each column's ends, and the first a reaching
// each minor value (ceil((t ku - Phase) / kv)).
void CountColumns(const TLineWalk& w, TGroup& group, std::int64_t q1, std::int64_t q2) {
    const std::int64_t n = w.N, ku = 2 * w.U, kv = w.Kv;
    TFloorLine base(kv, group.Phase(), ku, FirstOf(q1, n));
    const TFloorLine::TStep cell = TFloorLine::Step(kv, n, ku),
                            inner = TFloorLine::Step(kv, n - 1, ku);
    std::int64_t t = base.Value() + 1;
    TFloorLine reach(ku, kv - 1 - group.Phase(), std::max<std::int64_t>(kv, 1), t);
    const TFloorLine::TStep rise = TFloorLine::Step(ku, 1, std::max<std::int64_t>(kv, 1));
    const TBand& band = *w.Band;
    std::int64_t* reached = group.Reached();
    std::int64_t* sums = group.Sums();
    bool fresh = true;
    for (std::int64_t q = q1; q <= q2; ++q) {
        const std::int64_t cs = FirstOf(q, n), len = LastOf(q, n) - cs + 1;
        if (fresh || len != n) base = TFloorLine(kv, group.Phase(), ku, cs);
        fresh = len != n;
        const std::int64_t bS = base.Value();
        const std::int64_t bE =
            len == n ? base.Peek(inner) : TFloorLine(kv, group.Phase(), ku, cs + len - 1).Value();
        for (; t <= bS; ++t)
            reach.Advance(rise);
        for (std::int64_t i = 0; t <= bE; ++t, ++i) {
            reached[i] = reach.Value() - cs;
            sums[i + 1] = sums[i] + reached[i];
            reach.Advance(rise);
        }
        group.SetColumn(cs, len, bS, bE);
        const std::int64_t major = w.Sm * q;
        const std::int64_t r = major - band.First;
        std::uint32_t* row = r >= 0 && r < band.Rows ? w.BandCounts + r * band.RowWidth : nullptr;
        const std::int64_t rowBase = row ? band.Base[r] : 0;
        const std::int64_t rLo = PixelOf(group.CMin() + bS, n), rHi = PixelOf(group.CMax() + bE, n);
        std::int64_t below = group.Below(FirstOf(rLo, n));
        for (std::int64_t m = rLo; m <= rHi; ++m) {
            const std::int64_t upTo = group.Below(LastOf(m, n) + 1);
            AddCount(w, row, rowBase, major, w.Sn * m, upTo - below);
            below = upTo;
        }
        if (!fresh) base.Advance(cell);
    }
}

// The pixel columns of the growing major coordinate the clip lets through.
void ClipColumns(const TLineWalk& w, std::int64_t& q1, std::int64_t& q2) {
    const std::int64_t lo = w.Steep ? w.Top : w.Left, hi = w.Steep ? w.Bottom : w.Right;
    if (w.Sm > 0) {
        q1 = std::max(q1, lo);
        q2 = std::min(q2, hi - 1);
    } else {
        q1 = std::max(q1, 1 - hi);
        q2 = std::min(q2, -lo);
    }
}

}  // namespace

// Columns [qFrom, qTo] that some members cross only in part. A member's count below a border
// T follows from where the centre line reaches T - C, cut to the member's own steps in the
// column: a handful of comparisons per member and border instead of a walk per member.
void CountPartColumns(const TLineWalk& w, const TGroup& group, const std::vector<TMember>& members,
                      std::int64_t qFrom, std::int64_t qTo) {
    const std::int64_t n = w.N, ku = 2 * w.U, kv = w.Kv, phase = group.Phase();
    const TBand& band = *w.Band;
    static thread_local std::vector<std::int64_t> below, full;
    std::int64_t reached[MaxColumn];
    for (std::int64_t q = qFrom; q <= qTo; ++q) {
        const std::int64_t cs = FirstOf(q, n), ce = LastOf(q, n);
        const std::int64_t bS = TFloorLine(kv, phase, ku, cs).Value();
        const std::int64_t bE = TFloorLine(kv, phase, ku, ce).Value();
        if (bE > bS) {  // kv > 0: the first a reaching each t in (bS, bE]
            TFloorLine reach(ku, kv - 1 - phase, kv, bS + 1);
            const TFloorLine::TStep rise = TFloorLine::Step(ku, 1, kv);
            for (std::int64_t i = 0; i < bE - bS; ++i, reach.Advance(rise))
                reached[i] = reach.Value();
        }
        const std::int64_t rLo = PixelOf(group.CMin() + bS, n), rHi = PixelOf(group.CMax() + bE, n);
        const std::int64_t borders = rHi - rLo + 2;
        below.assign(borders + 1, 0);
        full.assign(borders + 1, 0);
        for (const TMember& m : members) {
            const std::int64_t a = std::max(cs, m.A0), e = std::min(ce, m.A0 + w.U);
            if (a > e) continue;
            // Borders up to C + bS lie below all of the member's samples, those above C + bE
            // above all; only the ones between need the centre line.
            const std::int64_t kLo = PixelOf(m.C + bS, n) - rLo + 1;
            const std::int64_t kHi = PixelOf(m.C + bE, n) - rLo + 1;
            for (std::int64_t k = kLo; k < kHi; ++k) {
                const std::int64_t at = reached[FirstOf(rLo + k, n) - m.C - bS - 1];
                below[k] += std::clamp(at, a, e + 1) - a;
            }
            full[kHi] += e + 1 - a;
        }
        for (std::int64_t k = 0, sum = 0; k < borders; ++k) {
            sum += full[k];
            below[k] += sum;
        }
        const std::int64_t major = w.Sm * q;
        const std::int64_t r = major - band.First;
        std::uint32_t* row = r >= 0 && r < band.Rows ? w.BandCounts + r * band.RowWidth : nullptr;
        const std::int64_t rowBase = row ? band.Base[r] : 0;
        for (std::int64_t k = 0; k + 1 < borders; ++k)
            AddCount(w, row, rowBase, major, w.Sn * (rLo + k), below[k + 1] - below[k]);
    }
}

void CountStrokes(const TLineWalk& w, const std::vector<TStroke>& strokes) {
    const std::int64_t ku = 2 * w.U, l = w.Kt - 2 * w.U + w.Kv;
    static thread_local std::vector<TMember> members;
    static thread_local std::vector<const TStroke*> shared;
    members.clear();
    shared.clear();
    std::int64_t phase = -1;
    for (const TStroke& s : strokes) {
        const std::int64_t d = -s.E - l - 1;
        bool steady = d >= 0 && d < ku;
        if (steady) {
            const std::int64_t a0 = w.Sm * (w.Steep ? s.Y : s.X);
            const std::int64_t b = d - a0 * w.Kv, q = FloorDiv(b, ku);
            if (phase < 0) phase = b - q * ku;
            steady = b - q * ku == phase;
            if (steady) {
                members.push_back({a0, w.Sn * (w.Steep ? s.X : s.Y) + q});
                shared.push_back(&s);
            }
        }
        if (!steady) StrokeSolid(w, s, 0, w.U + 1);
    }
    if (members.empty()) return;
    std::int64_t aMin = members.front().A0, aMax = aMin, cMin = members.front().C, cMax = cMin;
    for (const TMember& m : members) {
        aMin = std::min(aMin, m.A0), aMax = std::max(aMax, m.A0);
        cMin = std::min(cMin, m.C), cMax = std::max(cMax, m.C);
    }
    const std::int64_t n = w.N;
    if (2 * n > MaxColumn ||
        !TGroup::Compact(cMin, cMax, static_cast<std::int64_t>(members.size()))) {
        for (const TStroke* s : shared)
            StrokeSolid(w, *s, 0, w.U + 1);
        return;
    }
    // All columns any member reaches, and within them the whole columns every member crosses.
    std::int64_t qa = PixelOf(aMin, n), qb = PixelOf(aMax + w.U, n);
    std::int64_t q1 = PixelOf(aMax, n), q2 = PixelOf(aMin + w.U, n);
    if (FirstOf(q1, n) < aMax) ++q1;
    if (LastOf(q2, n) > aMin + w.U) --q2;
    ClipColumns(w, qa, qb);
    if (qa > qb) return;
    TGroup group(phase, members);
    if (q1 > q2) {
        CountPartColumns(w, group, members, qa, qb);
        return;
    }
    CountPartColumns(w, group, members, qa, std::min(q1 - 1, qb));
    CountPartColumns(w, group, members, std::max(q2 + 1, qa), qb);
    q1 = std::max(q1, qa);
    q2 = std::min(q2, qb);
    if (q1 <= q2) CountColumns(w, group, q1, q2);
}

}  // namespace zeigora::lineaa
