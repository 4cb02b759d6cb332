#include "platform/frame_pacing.h"

#include <utility>

namespace platform {
namespace {
constexpr std::int32_t kPacingRate = 60;
constexpr std::uint32_t kSyncTestSpan = 1000;
constexpr int kSyncedPresentsToConfirm = 3;
}  // namespace

FramePacing::FramePacing(PresentServices services) : services_(std::move(services)) {}

bool FramePacing::RunSyncTest(std::int32_t refresh) {
  hardwareSync_ = false;
  if (refresh <= 0) return false;
  const std::uint32_t expected = static_cast<std::uint32_t>(1000 / refresh);
  const std::uint32_t begin = services_.milliseconds();
  int inRow = 0;
  while (services_.milliseconds() - begin < kSyncTestSpan) {
    const std::uint32_t before = services_.milliseconds();
    Present(1);
    const std::uint32_t took = services_.milliseconds() - before;
    if (took + 1 >= expected && took <= expected + 1) {
      if (++inRow == kSyncedPresentsToConfirm) {
        hardwareSync_ = true;
        break;
      }
    } else {
      inRow = 0;
    }
  }
  return hardwareSync_;
}

void FramePacing::StartSchedule() {
  period_ = 1000 / kPacingRate;
  remainder_ = 1000 - period_ * kPacingRate;
  rate_ = kPacingRate;
  accumulator_ = 0;
  due_ = services_.milliseconds();
}

void FramePacing::Present(std::int32_t sync) {
  if (sync != -1) {
    Show(sync != 0 ? 1 : 0);
  } else if (hardwareSync_) {
    Show(1);
  } else {
    WaitForSchedule();
    Show(0);
  }
}

void FramePacing::WaitForSchedule() {
  due_ += static_cast<std::uint32_t>(period_);
  accumulator_ += remainder_;
  if (accumulator_ >= rate_) {
    accumulator_ -= rate_;
    due_ += 1;
  }
  // The clock wraps after 49 days; the difference of two readings does not.
  const auto wait = static_cast<std::int32_t>(due_ - services_.milliseconds());
  if (wait > 0) {
    services_.sleep(static_cast<std::uint32_t>(wait));
  } else {
    due_ -= static_cast<std::uint32_t>(wait);  // late: the schedule restarts from now
  }
}

void FramePacing::Show(std::int32_t interval) {
  if (interval != lastInterval_) {
    services_.setSwapInterval(interval);
    lastInterval_ = interval;
  }
  services_.swapBuffers();
}

}  // namespace platform
