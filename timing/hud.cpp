#include "timing/hud.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "render/draw.h"
#include "simulation/particles.h"
#include "timing/frame_rate.h"

namespace timing {

std::int32_t NextShownCount(std::int32_t shown, std::int32_t count) {
  // Integer division truncates toward zero, as the running average wants;
  // the halved 64-bit sum of two 32-bit values always fits 32 bits again.
  return static_cast<std::int32_t>((std::int64_t{shown} + std::int64_t{count}) / 2);
}

HudText::HudText(std::string_view label, std::int32_t value) : chars_{}, size_(0) {
  // Room is always kept for the longest integer, "-2147483648".
  constexpr std::size_t kMaxDigits = 11;
  const std::size_t labelSize = std::min(label.size(), chars_.size() - kMaxDigits);
  std::memcpy(chars_.data(), label.data(), labelSize);
  char* const end = chars_.data() + chars_.size();
  const auto result = std::to_chars(chars_.data() + labelSize, end, value);
  size_ = static_cast<std::size_t>(result.ptr - chars_.data());
}

void DrawHud(const TCodeTimer& frameTimer) {
  render::SetBlendMode(render::kBlendAlpha);
  render::SetAlpha(1.0f);
  render::SetColor(0, 0, 0);
  render::DrawRect(5.0f, 740.0f, 400.0f, 28.0f);
  render::SetColor(255, 255, 255);
  shownCount = NextShownCount(shownCount, simulation::particleCount);
  render::DrawText(HudText("FPS : ", FrameRate(frameTimer._totaltime)).view(), 10.0f, 750.0f);
  render::DrawText(HudText("Particles : ", shownCount).view(), 120.0f, 750.0f);
}

}  // namespace timing
