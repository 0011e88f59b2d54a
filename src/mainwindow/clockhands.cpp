#include "mainwindow/clockhands.h"

#include <QTime>
#include <string>

namespace zeigora {

namespace {

constexpr double Pi = 3.14159265358979323846;

void SetHand(TPhasor& hand, const std::string& name, std::uint32_t color, double magnitude,
             double angle) {
    InitPhasorNoName(hand);
    hand.Name = name;
    hand.Color = color;
    SetAbs(hand.Value, magnitude);
    SetPhase(hand.Value, angle);
}

}  // namespace

TClockTime CurrentClockTime() {
    const QTime now = QTime::currentTime();
    return {now.hour(), now.minute(), now.second(), now.msec()};
}

void BuildClockHands(TPhasorArray& phasors, const TClockTime& t, bool smoothSeconds) {
    phasors.resize(3, ZeroPhasor());
    const double h = t.Hour, m = t.Minute, s = t.Second, ms = t.MilliSecond;
    const double seconds = smoothSeconds ? s + ms / 1000.0 : s;
    SetHand(phasors[0], "h" + std::to_string(t.Hour), 0x000000, 0.6,
            Pi / 2 - ((h + m / 60.0) / 12.0) * 2 * Pi);
    SetHand(phasors[1], "m" + std::to_string(t.Minute), 0x000000, 0.9,
            Pi / 2 - ((m + s / 60.0) / 60.0) * 2 * Pi);
    SetHand(phasors[2], "s" + std::to_string(t.Second), 0x0000FF, 0.95,
            Pi / 2 - (seconds / 60.0) * 2 * Pi);
}

}  // namespace zeigora
