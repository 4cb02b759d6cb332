// Random numbers for the initial conditions.
//
// One generator for the whole process, std::mt19937_64 in its default state,
// never reseeded: every run draws the same sequence, so a given desktop size
// always starts from the same cloud.
#pragma once

#include <functional>
#include <random>

namespace platform {

// A source of uniform doubles in [0, 1). The store builder takes one so that
// tests can script the draws.
using UnitSource = std::function<double()>;

// Uniform doubles in [0, 1) from std::mt19937_64 in its default state:
// (next() >> 11) * 2^-53, so 0 can occur and 1 never does.
class UnitGenerator {
 public:
  double operator()();

 private:
  std::mt19937_64 engine_;
};

// The next draw of the process-wide generator.
double RandomUnit();

// low + u * (high - low) when high > low, else high + u * (low - high), with
// u one draw of `unit`. The result is returned at extended precision: it is
// not rounded to double on the way back.
long double RandomRange(double low, double high, const UnitSource& unit);
long double RandomRange(double low, double high);

}  // namespace platform
