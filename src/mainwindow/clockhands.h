// The hidden clock: three phasors as hour, minute and second hands, set from a time of day.
#pragma once

#include "phasors/phasor.h"

namespace zeigora {

struct TClockTime {
    int Hour = 0;  // 0..23
    int Minute = 0;
    int Second = 0;
    int MilliSecond = 0;
};

// The local time now.
TClockTime CurrentClockTime();

// Makes the list exactly the three hands for that time; with smooth seconds the second hand
// moves in fractions of a second.
void BuildClockHands(TPhasorArray& phasors, const TClockTime& time, bool smoothSeconds);

}  // namespace zeigora
