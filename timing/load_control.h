// The load control: after every frame, raise or lower particleCount so that
// a frame takes about 40 milliseconds.
#pragma once

#include "timing/code_timer.h"

namespace timing {

// Changes simulation::particleCount for the next frame from frameTimer's
// _totaltime T, which holds this frame's one measured span:
//
//   T > 100        -16        30 <= T < 40   +1
//   50 < T <= 100   -6        10 <= T < 30   +6
//   40 < T <= 50    -1        T < 10         +16 (negative times too)
//   T = 40           0        NaN            +16
//
// A raise stops at maxParticles, the store's capacity (a count already above
// it is left where it is). The count may fall to zero or below, where no
// particle takes part; it stops at the most negative 32-bit value instead of
// wrapping round to a huge count.
void AdaptParticleCount(const TCodeTimer& frameTimer);

}  // namespace timing
