#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/frame_pacing.h"

namespace {

using platform::FramePacing;

// A clock that moves only when the code under test sleeps or presents.
struct FakeDisplay {
  std::uint32_t now = 0;
  std::uint32_t presentTakes = 0;                 // ms each swap takes
  std::vector<std::uint32_t> presentDurations;    // overrides presentTakes, in turn
  std::vector<std::uint32_t> sleeps;
  std::vector<std::int32_t> intervals;
  std::vector<std::uint32_t> shownAt;

  FramePacing Pacing() {
    return FramePacing(platform::PresentServices{
        [this] { return now; },
        [this](std::uint32_t ms) {
          sleeps.push_back(ms);
          now += ms;
        },
        [this](std::int32_t interval) { intervals.push_back(interval); },
        [this] {
          shownAt.push_back(now);
          const std::size_t n = shownAt.size() - 1;
          now += n < presentDurations.size() ? presentDurations[n] : presentTakes;
        }});
  }
};

std::vector<std::uint32_t> Gaps(const std::vector<std::uint32_t>& times) {
  std::vector<std::uint32_t> gaps;
  for (std::size_t i = 1; i < times.size(); ++i) gaps.push_back(times[i] - times[i - 1]);
  return gaps;
}

TEST(FramePacingTest, SoftwareScheduleReleasesFramesAt16_17_17) {
  FakeDisplay display;
  display.now = 5000;
  FramePacing pacing = display.Pacing();
  pacing.StartSchedule();
  for (int frame = 0; frame < 60; ++frame) pacing.Present(-1);

  ASSERT_EQ(display.shownAt.size(), 60u);
  EXPECT_EQ(display.shownAt.front(), 5016u);  // due 16 ms after the schedule started
  EXPECT_EQ(display.shownAt.back(), 6000u);   // 1000 ms per 60 presents
  const std::vector<std::uint32_t> gaps = Gaps(display.shownAt);
  for (std::size_t i = 0; i < gaps.size(); ++i) {
    EXPECT_EQ(gaps[i], i % 3 == 2 ? 16u : 17u) << "gap " << i;
  }
  EXPECT_EQ(display.intervals, std::vector<std::int32_t>{0});  // set once, to off
}

TEST(FramePacingTest, FirstPresentSleepsOnlyWhatStartUpLeftOfItsSixteenMs) {
  FakeDisplay display;
  FramePacing pacing = display.Pacing();
  pacing.StartSchedule();
  display.now += 10;  // start-up and the first frame's work
  pacing.Present(-1);
  EXPECT_EQ(display.sleeps, std::vector<std::uint32_t>{6});
}

TEST(FramePacingTest, ALateFrameRestartsTheScheduleFromNow) {
  FakeDisplay display;
  FramePacing pacing = display.Pacing();
  pacing.StartSchedule();
  display.now = 40;  // 24 ms late for the first due time
  pacing.Present(-1);
  EXPECT_TRUE(display.sleeps.empty());
  pacing.Present(-1);  // no hurrying: the 17 and 17 of the pattern follow on from now
  pacing.Present(-1);
  EXPECT_EQ(display.shownAt, (std::vector<std::uint32_t>{40, 57, 74}));
}

TEST(FramePacingTest, SurvivesTheMillisecondClockWrapping) {
  FakeDisplay display;
  display.now = 0xFFFFFFF0u;
  FramePacing pacing = display.Pacing();
  pacing.StartSchedule();
  pacing.Present(-1);
  pacing.Present(-1);
  EXPECT_EQ(display.sleeps, (std::vector<std::uint32_t>{16, 17}));
  EXPECT_EQ(display.now, 0x00000011u);
}

TEST(FramePacingTest, SwapIntervalIsSetOnlyWhenItChanges) {
  FakeDisplay display;
  FramePacing pacing = display.Pacing();
  pacing.StartSchedule();
  for (std::int32_t sync : {1, 1, 5, 0, -1, 0, 1}) pacing.Present(sync);
  EXPECT_EQ(display.intervals, (std::vector<std::int32_t>{1, 0, 1}));
  EXPECT_EQ(display.shownAt.size(), 7u);
}

struct SyncCase {
  const char* name;
  std::vector<std::uint32_t> presents;  // durations in turn, then the last repeats
  bool confirmed;
  std::size_t presentsMade;
};

TEST(FramePacingTest, SyncTestNeedsThreeSynchronisedPresentsInARow) {
  const SyncCase cases[] = {
      {"60 Hz display", {16}, true, 3},
      {"15 and 17 count too", {15, 17, 16}, true, 3},
      {"a miss resets the run", {16, 16, 20, 16, 16, 16}, true, 6},
      {"driver ignores the interval", {1}, false, 1000},
      {"30 Hz display", {33}, false, 31},
      {"120 Hz display", {8}, false, 125},
  };
  for (const SyncCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDisplay display;
    display.presentDurations = c.presents;
    display.presentTakes = c.presents.back();
    FramePacing pacing = display.Pacing();
    const bool confirmed = pacing.RunSyncTest(60);
    EXPECT_EQ(confirmed, c.confirmed);
    EXPECT_EQ(pacing.HardwareSynchronised(), c.confirmed);
    EXPECT_EQ(display.shownAt.size(), c.presentsMade);
    EXPECT_EQ(display.intervals, std::vector<std::int32_t>{1});
  }
}

TEST(FramePacingTest, ConfirmedSyncPresentsWithoutSoftwareWaits) {
  FakeDisplay display;
  display.presentTakes = 16;
  FramePacing pacing = display.Pacing();
  ASSERT_TRUE(pacing.RunSyncTest(60));
  pacing.StartSchedule();
  for (int frame = 0; frame < 5; ++frame) pacing.Present(-1);
  EXPECT_TRUE(display.sleeps.empty());
  EXPECT_EQ(display.intervals, std::vector<std::int32_t>{1});
}

}  // namespace
