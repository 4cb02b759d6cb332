#include "platform/key_counter.h"

namespace platform {

void KeyCounter::KeyDown(std::int32_t key) {
  if (!Valid(key) || down_[key]) return;
  down_[key] = true;
  ++hits_[key];
}

void KeyCounter::KeyUp(std::int32_t key) {
  if (Valid(key)) down_[key] = false;
}

std::int32_t KeyCounter::Take(std::int32_t key) {
  if (!Valid(key)) return 0;
  const std::int32_t hits = hits_[key];
  hits_[key] = 0;
  return hits;
}

void KeyCounter::Reset() {
  hits_.fill(0);
  down_.fill(false);
}

}  // namespace platform
