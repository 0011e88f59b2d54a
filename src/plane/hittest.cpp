#include "plane/hittest.h"

#include <cmath>

namespace zeigora {

namespace {

// Overflow-free length, the same formula the surface uses.
long double HypotL(long double a, long double b) {
    a = std::fabs(a);
    b = std::fabs(b);
    if (a < b) return b * std::sqrt(1.0L + (a / b) * (a / b));
    if (b < a) return a * std::sqrt(1.0L + (b / a) * (b / a));
    return a * std::sqrt(2.0L);
}

struct TCandidate {
    bool Found = false;
    long double D = 0;
    long double Perp = 0;
    PPhasor Phasor = nullptr;
};

void ExamineSegment(const TDrawnPhasor& s, int x, int y, TCandidate& best) {
    const long double dx = static_cast<long double>(s.X2) - s.X1;
    const long double dy = static_cast<long double>(s.Y2) - s.Y1;
    const long double px = static_cast<long double>(x) - s.X1;
    const long double py = static_cast<long double>(y) - s.Y1;
    const long double len = HypotL(dx, dy);
    if (len > 0) {
        const long double along = (dx / len) * px + (dy / len) * py;
        const long double perp = std::fabs((dy / len) * px - (dx / len) * py);
        long double d = perp;
        if (along < 0)
            d = HypotL(px, py);
        else if (along > len)
            d = HypotL(static_cast<long double>(x) - s.X2, static_cast<long double>(y) - s.Y2);
        if (!best.Found || d < best.D || (d == best.D && perp > best.Perp)) {
            best = {true, d, perp, s.Phasor};
        }
        return;
    }
    const long double d = HypotL(px, py);
    if (!best.Found || d <= best.D) best = {true, d, d, s.Phasor};
}

}  // namespace

PPhasor FindPhasorAt(const TDrawnPhasorArray& drawn, int x, int y) {
    TCandidate best;
    for (auto it = drawn.rbegin(); it != drawn.rend(); ++it)
        ExamineSegment(*it, x, y, best);
    if (best.Found && best.D < HitThreshold) return best.Phasor;
    return nullptr;
}

}  // namespace zeigora
