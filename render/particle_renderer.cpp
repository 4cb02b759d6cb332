#include "render/particle_renderer.h"

#include <cstdint>

#include "render/draw.h"
#include "simulation/particles.h"

namespace render {
namespace {

constexpr float kFadeAlpha = 0.5f;      // held as 127: the picture keeps 128/255
constexpr float kParticleAlpha = 0.2f;  // held as 51

// Palette indices outside 0..31 wrap modulo 32, rounding toward minus
// infinity: -1 reads entry 31 and 33 reads entry 1, so every particle gets
// a colour from the table and stays visible. The index is formed in 64 bits
// so 3c cannot overflow for any c.
std::int32_t PaletteEntry(std::int64_t index) {
  return simulation::palette[static_cast<std::size_t>(index & 31)];
}

// sx less an offset, or sy, with the product of the two floats exact and one
// rounding of the sum to the working precision, rounded to float only as
// the argument it becomes.
float ScreenCoordinate(std::int32_t centre, float position, int offset) {
  const long double point =
      static_cast<long double>(centre) +
      static_cast<long double>(position) * static_cast<long double>(simulation::viewScale);
  return static_cast<float>(point - offset);
}

}  // namespace

PaletteColor ParticleColor(std::int32_t c) {
  const std::int64_t index = c;
  // Green and blue follow c itself, not 3c: c + 1 and c + 2.
  return {PaletteEntry(3 * index), PaletteEntry(index + 1), PaletteEntry(index + 2)};
}

void FadeFrame() {
  SetBlendMode(kBlendAlpha);
  SetAlpha(kFadeAlpha);
  SetColor(0, 0, 0);
  DrawRect(0.0f, 0.0f, static_cast<float>(simulation::screenWidth),
           static_cast<float>(simulation::screenHeight));
}

void DrawParticle(std::int32_t i) {
  using namespace simulation;
  SetBlendMode(kBlendAdditive);
  SetAlpha(kParticleAlpha);
  const PaletteColor color = ParticleColor(colorIndex[i]);
  SetColor(color.red, color.green, color.blue);

  const float x = posX[i];
  const float y = posY[i];
  if (i == 0 || i == 1) {
    DrawOval(ScreenCoordinate(centreX, x, 5), ScreenCoordinate(centreY, y, 5), 10.0f, 10.0f);
  }
  DrawOval(ScreenCoordinate(centreX, x, 1), ScreenCoordinate(centreY, y, 1), 3.0f, 3.0f);
  DrawOval(ScreenCoordinate(centreX, x, 2), ScreenCoordinate(centreY, y, 2), 5.0f, 5.0f);
}

}  // namespace render
