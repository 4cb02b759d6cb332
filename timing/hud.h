// The heads-up line: a black panel near the bottom of the screen with the
// frame rate and a running average of the particle count.
//
// It is drawn after the frame has been presented, into the picture that the
// next present shows, so the next frame's fade darkens it first (white text
// is seen as grey 128) and the values on screen always describe the frame
// before the one being shown. The panel sits at fixed pixels, whatever the
// screen size.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "timing/code_timer.h"

namespace timing {

// Running average of particleCount shown in the heads-up line. The program
// sets it once, just before the frame loop, to particleCount + 10.
inline std::int32_t shownCount = 0;

// shownCount's step: halfway from `shown` toward `count`, the halved sum
// truncated toward zero (-3 / 2 is -1). The sum is taken wide, so two counts
// whose 32-bit sum would overflow still give their true halfway value.
std::int32_t NextShownCount(std::int32_t shown, std::int32_t count);

// A label followed by an integer in plain decimal ("-" for negatives, no
// padding, no grouping), formatted without allocating.
class HudText {
 public:
  HudText(std::string_view label, std::int32_t value);
  std::string_view view() const { return {chars_.data(), size_}; }

 private:
  std::array<char, 32> chars_;
  std::size_t size_;
};

// Black panel over columns 5..404 and rows 740..767 in alpha blending, then
// in white "FPS : " and the rate from frameTimer's _totaltime at (10, 750)
// and "Particles : " and shownCount at (120, 750). Advances shownCount with
// this frame's particleCount first, so call it before AdaptParticleCount.
// Leaves the drawing layer at alpha blending, alpha 1 and white.
void DrawHud(const TCodeTimer& frameTimer);

}  // namespace timing
