// The counter TCodeTimer reads: a signed 64-bit count that advances at a
// fixed rate, and that rate in counts per second.
//
// Both are reached through replaceable function pointers rather than by
// calling the platform layer directly. That keeps this library free of the
// window system (its tests need no display and no SDL), lets a test drive
// the counter by hand, and lets the program choose the platform's
// high-resolution counter at start-up, before TCodeTimer::Initialise:
//
//   timing::counterReading = platform::PerformanceCounter;
//   timing::counterFrequency = platform::PerformanceFrequency;
//
// Until then they read the standard library's steady clock, so a timer is
// never left calling through a null pointer.
#pragma once

#include <cstdint>

namespace timing {

using CounterRead = std::int64_t (*)();

// Nanoseconds of std::chrono::steady_clock, and 1'000'000'000.
std::int64_t SteadyClockReading();
std::int64_t SteadyClockFrequency();

inline CounterRead counterReading = SteadyClockReading;
inline CounterRead counterFrequency = SteadyClockFrequency;

}  // namespace timing
