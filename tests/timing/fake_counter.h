// A counter the test sets by hand, installed in place of the real one for
// the life of the fixture. The per-millisecond value is restored as well,
// since it belongs to the whole type.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "timing/code_timer.h"
#include "timing/counter.h"

namespace timing_test {

inline std::int64_t fakeReading = 0;
inline std::int64_t fakeFrequency = 1'000'000;  // 1000 counts per millisecond

inline std::int64_t ReadFake() { return fakeReading; }
inline std::int64_t FakeFrequency() { return fakeFrequency; }

class FakeCounterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedReading_ = timing::counterReading;
    savedFrequency_ = timing::counterFrequency;
    savedPerMillisecond_ = timing::TCodeTimer::_countspermillisecond;
    timing::counterReading = ReadFake;
    timing::counterFrequency = FakeFrequency;
    fakeReading = 0;
    UseFrequency(1'000'000);
  }
  void TearDown() override {
    timing::counterReading = savedReading_;
    timing::counterFrequency = savedFrequency_;
    timing::TCodeTimer::_countspermillisecond = savedPerMillisecond_;
  }

  static void UseFrequency(std::int64_t countsPerSecond) {
    fakeFrequency = countsPerSecond;
    timing::TCodeTimer::Initialise();
  }

 private:
  timing::CounterRead savedReading_ = nullptr;
  timing::CounterRead savedFrequency_ = nullptr;
  std::int64_t savedPerMillisecond_ = 0;
};

}  // namespace timing_test
