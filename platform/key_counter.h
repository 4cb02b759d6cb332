// Counts key presses between queries.
//
// Keys are numbered by their Windows virtual-key codes (32 is Space), which
// each platform layer maps its own key events to. A press counts when the
// key goes down while it was up: the repeats a held key generates, and its
// release, add nothing.
#pragma once

#include <array>
#include <cstdint>

namespace platform {

inline constexpr std::int32_t kKeySpace = 32;

class KeyCounter {
 public:
  void KeyDown(std::int32_t key);
  void KeyUp(std::int32_t key);

  // Presses since the last Take for this key; resets the count to 0.
  std::int32_t Take(std::int32_t key);

  // Forgets every count and every held key.
  void Reset();

 private:
  static constexpr std::int32_t kKeys = 256;
  static bool Valid(std::int32_t key) { return key >= 0 && key < kKeys; }

  std::array<std::int32_t, kKeys> hits_{};
  std::array<bool, kKeys> down_{};
};

}  // namespace platform
