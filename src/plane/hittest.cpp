#include "plane/hittest.h"

#include <cmath>

#include "plane/paintboxex.h"

namespace zeigora {

namespace {

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
    const long double len = Hypot(dx, dy);
    if (len > 0) {
        const long double along = (dx / len) * px + (dy / len) * py;
        const long double perp = std::fabs((dy / len) * px - (dx / len) * py);
        long double d = perp;
        if (along < 0)
            d = Hypot(px, py);
        else if (along > len)
            d = Hypot(static_cast<long double>(x) - s.X2, static_cast<long double>(y) - s.Y2);
        if (!best.Found || d < best.D || (d == best.D && perp > best.Perp)) {
            best = {true, d, perp, s.Phasor};
        }
        return;
    }
    const long double d = Hypot(px, py);
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
