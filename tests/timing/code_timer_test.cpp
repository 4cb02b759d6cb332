#include "timing/code_timer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <typeinfo>

#include "fake_counter.h"

namespace {

using timing::TCodeTimer;
using timing_test::fakeReading;
using timing_test::FakeCounterTest;

constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kInt64Min = std::numeric_limits<std::int64_t>::min();

using CodeTimerTest = FakeCounterTest;

TEST_F(CodeTimerTest, NewTimerIsAllZeroAndWatchesFromTheOrigin) {
  const auto timer = TCodeTimer::Create();
  EXPECT_EQ(typeid(*timer), typeid(TCodeTimer));
  EXPECT_EQ(timer->_start, 0);
  EXPECT_EQ(timer->_stop, 0);
  EXPECT_EQ(timer->_iterations, 0);
  EXPECT_EQ(timer->_totaltime, 0.0);
  EXPECT_EQ(timer->_watchstart, 0.0);

  fakeReading = 5'000'500;
  EXPECT_EQ(timer->WatchTime(), 5000.5);
  EXPECT_EQ(TCodeTimer::QueryCounter(), 5000.5);
}

TEST_F(CodeTimerTest, ResetClearsTheTimerAndKeepsTheWatchMark) {
  TCodeTimer timer;
  fakeReading = 2'000;
  timer.StartWatch();
  timer.StartTimer();
  fakeReading = 9'000;
  timer.StopTimer();
  timer.ResetTimer();

  EXPECT_EQ(timer._start, 0);
  EXPECT_EQ(timer._stop, 0);
  EXPECT_EQ(timer._iterations, 0);
  EXPECT_EQ(timer._totaltime, 0.0);
  EXPECT_EQ(timer._watchstart, 2.0);
  fakeReading = 12'000;
  EXPECT_EQ(timer.WatchTime(), 10.0);
}

TEST_F(CodeTimerTest, StopWithoutStartMeasuresFromZero) {
  TCodeTimer timer;
  fakeReading = 7'250;
  timer.StopTimer();
  EXPECT_EQ(timer._stop, 7'250);
  EXPECT_EQ(timer._totaltime, 7.25);
  EXPECT_EQ(timer._iterations, 1);
}

TEST_F(CodeTimerTest, TwoPairsAddTheirSpansButNotTheGap) {
  TCodeTimer timer;
  fakeReading = 1'000;
  timer.StartTimer();
  fakeReading = 4'000;
  timer.StopTimer();
  fakeReading = 50'000;  // the gap between the pairs
  timer.StartTimer();
  fakeReading = 50'500;
  timer.StopTimer();

  EXPECT_EQ(timer._start, 50'000);
  EXPECT_EQ(timer._stop, 50'500);
  EXPECT_EQ(timer._totaltime, 3.5);
  EXPECT_EQ(timer._iterations, 2);
}

TEST_F(CodeTimerTest, TwoStopsAfterOneStartBothRunFromThatStart) {
  TCodeTimer timer;
  fakeReading = 1'000;
  timer.StartTimer();
  fakeReading = 3'000;
  timer.StopTimer();
  fakeReading = 6'000;
  timer.StopTimer();
  EXPECT_EQ(timer._totaltime, 2.0 + 5.0);
  EXPECT_EQ(timer._iterations, 2);
}

TEST_F(CodeTimerTest, DroppedFrequencyRemainderLengthensEveryTime) {
  UseFrequency(1'500);  // 1 count per millisecond, really 1.5
  TCodeTimer timer;
  timer.StartTimer();
  fakeReading = 3;  // two true milliseconds
  timer.StopTimer();
  EXPECT_EQ(timer._totaltime, 3.0);
  EXPECT_EQ(TCodeTimer::QueryCounter(), 3.0);
}

TEST_F(CodeTimerTest, InitialiseDropsTheRemainderTowardZero) {
  struct Case {
    std::int64_t frequency;
    std::int64_t perMillisecond;
  };
  const Case cases[] = {
      {1'000'000'000, 1'000'000}, {10'000'000, 10'000}, {1'500, 1},  {1'000, 1},
      {999, 0},                   {0, 0},               {-1'500, -1}, {kInt64Max, 9'223'372'036'854'775},
  };
  for (const Case& c : cases) {
    UseFrequency(c.frequency);
    EXPECT_EQ(TCodeTimer::_countspermillisecond, c.perMillisecond) << "frequency " << c.frequency;
  }
}

TEST_F(CodeTimerTest, ZeroPerMillisecondGivesInfinitiesAndNaNWithoutTrapping) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  struct Case {
    std::int64_t stop;
    double expected;  // NaN marks NaN
  };
  const Case cases[] = {{5, kInf}, {0, std::nan("")}, {-5, -kInf}};
  for (const std::int64_t frequency : {std::int64_t{0}, std::int64_t{999}}) {
    UseFrequency(frequency);
    ASSERT_EQ(TCodeTimer::_countspermillisecond, 0);
    for (const Case& c : cases) {
      TCodeTimer timer;
      fakeReading = 0;
      timer.StartTimer();
      fakeReading = c.stop;
      timer.StopTimer();
      if (std::isnan(c.expected)) {
        EXPECT_TRUE(std::isnan(timer._totaltime)) << "stop " << c.stop << ": " << timer._totaltime;
      } else {
        EXPECT_EQ(timer._totaltime, c.expected) << "stop " << c.stop;
      }
      EXPECT_EQ(timer._iterations, 1);
    }
    fakeReading = 1;
    EXPECT_EQ(TCodeTimer::QueryCounter(), kInf);
  }
}

TEST_F(CodeTimerTest, SpanIsTakenModulo2To64) {
  struct Case {
    std::int64_t start;
    std::int64_t stop;
    double milliseconds;
  };
  const Case cases[] = {
      {1'000, 400, -0.6},                       // the counter went back
      {kInt64Max - 9'999, kInt64Min + 10'000, 20.0},  // forward across the top
      {kInt64Min + 4'000, kInt64Max - 5'999, -10.0},  // back across the bottom
      {kInt64Min, kInt64Max, -0.001},           // one count short of a full turn
      {kInt64Max, kInt64Min, 0.001},
  };
  for (const Case& c : cases) {
    TCodeTimer timer;
    fakeReading = c.start;
    timer.StartTimer();
    fakeReading = c.stop;
    timer.StopTimer();
    EXPECT_DOUBLE_EQ(timer._totaltime, c.milliseconds) << c.start << " -> " << c.stop;
  }
}

TEST_F(CodeTimerTest, IterationsWrapToTheMostNegativeValue) {
  TCodeTimer timer;
  timer._iterations = std::numeric_limits<std::int32_t>::max();
  timer.StopTimer();
  EXPECT_EQ(timer._iterations, std::numeric_limits<std::int32_t>::min());
  timer.StopTimer();
  EXPECT_EQ(timer._iterations, std::numeric_limits<std::int32_t>::min() + 1);
}

// A type with its own counter: always 1000 ms later than the real one.
class TLateTimer : public TCodeTimer {
 public:
  static double QueryCounter() { return TCodeTimer::QueryCounter() + 1000.0; }

 protected:
  double CounterOfType() const override { return TLateTimer::QueryCounter(); }
};

TEST_F(CodeTimerTest, DerivedCounterChangesTheStopwatchOnly) {
  TLateTimer late;
  TCodeTimer& asBase = late;
  fakeReading = 3'000;
  asBase.StartWatch();
  EXPECT_EQ(late._watchstart, 1003.0);
  fakeReading = 8'000;
  EXPECT_EQ(asBase.WatchTime(), 5.0);

  // The type-level calls still name each type's own counter.
  EXPECT_EQ(TCodeTimer::QueryCounter(), 8.0);
  EXPECT_EQ(TLateTimer::QueryCounter(), 1008.0);

  // The accumulating timer reads the raw counter, not QueryCounter.
  asBase.StartTimer();
  fakeReading = 10'000;
  asBase.StopTimer();
  EXPECT_EQ(late._start, 8'000);
  EXPECT_EQ(late._totaltime, 2.0);

  // A plain timer's stopwatch, beside it, is not shifted.
  TCodeTimer plain;
  plain.StartWatch();
  EXPECT_EQ(plain._watchstart, 10.0);

  // Create through the derived type still makes exactly a TCodeTimer.
  const auto created = TLateTimer::Create();
  EXPECT_EQ(typeid(*created), typeid(TCodeTimer));
  created->StartWatch();
  EXPECT_EQ(created->_watchstart, 10.0);
}

}  // namespace
