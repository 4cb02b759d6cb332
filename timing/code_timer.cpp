#include "timing/code_timer.h"

#include "timing/counter.h"

namespace timing {

namespace {

// Counts to milliseconds. Both sides become doubles first, so a zero
// per-millisecond value gives inf or NaN rather than an integer trap, and a
// span keeps its fraction of a millisecond.
double CountsToMilliseconds(std::int64_t counts) {
  return static_cast<double>(counts) / static_cast<double>(TCodeTimer::_countspermillisecond);
}

}  // namespace

TCodeTimer::TCodeTimer() : _start(0), _stop(0), _iterations(0), _totaltime(0.0), _watchstart(0.0) {}

TCodeTimer::~TCodeTimer() = default;

void TCodeTimer::ResetTimer() {
  _start = 0;
  _stop = 0;
  _iterations = 0;
  _totaltime = 0.0;
}

void TCodeTimer::StartTimer() { _start = counterReading(); }

void TCodeTimer::StopTimer() {
  // The reading comes first so that none of the timer's own arithmetic lands
  // inside the span it measures.
  _stop = counterReading();
  // Readings of opposite sign near the 64-bit limits must wrap, not overflow:
  // subtract as unsigned and take the two's-complement result.
  const auto span =
      static_cast<std::int64_t>(static_cast<std::uint64_t>(_stop) - static_cast<std::uint64_t>(_start));
  _totaltime += CountsToMilliseconds(span);
  _iterations = static_cast<std::int32_t>(static_cast<std::uint32_t>(_iterations) + 1u);
}

void TCodeTimer::StartWatch() { _watchstart = CounterOfType(); }

double TCodeTimer::WatchTime() const { return CounterOfType() - _watchstart; }

std::unique_ptr<TCodeTimer> TCodeTimer::Create() { return std::make_unique<TCodeTimer>(); }

void TCodeTimer::Initialise() { _countspermillisecond = counterFrequency() / 1000; }

double TCodeTimer::QueryCounter() {
  const std::int64_t reading = counterReading();
  return CountsToMilliseconds(reading);
}

double TCodeTimer::CounterOfType() const { return TCodeTimer::QueryCounter(); }

}  // namespace timing
