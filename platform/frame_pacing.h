// How presents are paced to 60 frames a second.
//
// When the mode opens, a test of up to one second presents with vertical
// synchronisation on and times each present with the millisecond clock:
// three presents in a row that take 1000 / refresh +- 1 ms (15, 16 or 17 at
// 60 Hz) confirm that the display really waits for its refresh. Otherwise a
// software schedule takes over: due times advance by 16, 17, 17 ms (1000 ms
// per 60 presents), the present sleeps until its due time, and a frame that
// comes late restarts the schedule from now rather than hurrying to catch up.
//
// The class takes the clock, the sleep and the buffer swap as parameters so
// that the same logic serves every platform layer and runs in tests against
// a fake clock.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

struct PresentServices {
  std::function<std::uint32_t()> milliseconds;       // wraps modulo 2^32
  std::function<void(std::uint32_t)> sleep;          // milliseconds
  std::function<void(std::int32_t)> setSwapInterval; // 1 waits for the refresh, 0 does not
  std::function<void()> swapBuffers;                 // shows the drawn frame
};

class FramePacing {
 public:
  explicit FramePacing(PresentServices services);

  // The hardware-synchronisation test; returns whether it was confirmed.
  bool RunSyncTest(std::int32_t refresh);

  // Period 16, remainder 40, rate 60, accumulator 0, the first present due
  // 16 ms from now.
  void StartSchedule();

  // sync -1: hardware pacing when confirmed, else the software schedule.
  // Any other value presents with synchronisation on (non-zero) or off (0).
  void Present(std::int32_t sync);

  bool HardwareSynchronised() const { return hardwareSync_; }

 private:
  void Show(std::int32_t interval);
  void WaitForSchedule();

  PresentServices services_;
  bool hardwareSync_ = false;
  std::int32_t lastInterval_ = -1;  // none set yet: the first present always sets it
  std::int32_t period_ = 16;
  std::int32_t remainder_ = 40;
  std::int32_t rate_ = 60;
  std::int32_t accumulator_ = 0;
  std::uint32_t due_ = 0;
};

}  // namespace platform
