// TCodeTimer: elapsed milliseconds from the high-resolution counter.
//
// One object carries two independent measurements:
//  - an accumulating timer: every StartTimer / StopTimer pair adds the span
//    between them to _totaltime and counts one in _iterations; ResetTimer
//    clears them;
//  - a stopwatch: StartWatch marks a moment and WatchTime gives the
//    milliseconds since that mark. ResetTimer leaves the mark alone.
// Counter counts become milliseconds through _countspermillisecond, one value
// for the whole type, which Initialise sets from the counter's frequency.
// The counter itself is the one in timing/counter.h.
//
// Nothing here traps or reports: while _countspermillisecond is 0 every
// conversion is an IEEE division by zero and yields an infinity or NaN.
//
// Type functions and the dynamic type
// -----------------------------------
// Create, Initialise and QueryCounter need no instance, so they are static:
// TCodeTimer::QueryCounter() is the type-level call. The stopwatch, however,
// must reach QueryCounter through the instance's dynamic type, and C++ has no
// virtual static functions. Each type therefore also answers through the
// virtual CounterOfType(), whose only job is to call its own type's static
// QueryCounter. A derived type with a counter of its own declares both:
//
//   class TFrameClock : public TCodeTimer {
//    public:
//     static double QueryCounter();
//    protected:
//     double CounterOfType() const override { return TFrameClock::QueryCounter(); }
//   };
//
// StartWatch and WatchTime are the only callers of CounterOfType(), so such
// a type changes what the stopwatch measures and nothing else: StartTimer
// and StopTimer read the raw counter. Create is not redirected: called
// through any derived type it still makes a plain TCodeTimer.
#pragma once

#include <cstdint>
#include <memory>

namespace timing {

class TCodeTimer {
 public:
  // Counter readings of the last StartTimer and StopTimer, in counts.
  std::int64_t _start;
  std::int64_t _stop;
  // StopTimer calls since construction or ResetTimer; past 2^31 - 1 it wraps
  // to -2^31.
  std::int32_t _iterations;
  // Sum of the measured spans, in milliseconds.
  double _totaltime;
  // The last StartWatch, in milliseconds since the counter's origin.
  double _watchstart;

  // Counter counts per millisecond, remainder dropped; 0 until Initialise.
  static inline std::int64_t _countspermillisecond = 0;

  TCodeTimer();           // New: every field zero
  virtual ~TCodeTimer();  // Delete: the timer holds nothing to release

  TCodeTimer(const TCodeTimer&) = default;
  TCodeTimer& operator=(const TCodeTimer&) = default;

  void ResetTimer();
  void StartTimer();
  void StopTimer();
  void StartWatch();
  double WatchTime() const;

  // A new TCodeTimer, always of exactly this type. The only allocation the
  // type makes; the program keeps its one timer for the whole run.
  static std::unique_ptr<TCodeTimer> Create();
  // Sets _countspermillisecond from the counter's frequency. Call once before
  // the first StopTimer, StartWatch, WatchTime or QueryCounter.
  static void Initialise();
  // The counter's reading in milliseconds since its origin; only differences
  // of two results mean anything.
  static double QueryCounter();

 protected:
  // QueryCounter of the instance's own type; see the note at the top.
  virtual double CounterOfType() const;
};

}  // namespace timing
