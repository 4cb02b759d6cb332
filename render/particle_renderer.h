// The system's own drawing: the fade that starts each frame and the discs
// of one particle, both through the drawing layer of render/draw.h.
#pragma once

#include <cstdint>

namespace render {

// A translucent black rectangle over the whole screen: every channel of
// the picture is scaled by 128/255, which is what makes the trails.
void FadeFrame();

// Particle i, 0 <= i < maxParticles, as two additive discs (three for the
// heavy bodies 0 and 1) at its current position, in its palette colour.
void DrawParticle(std::int32_t i);

struct PaletteColor {
  std::int32_t red;
  std::int32_t green;
  std::int32_t blue;
};

// The colour of colour index c as it goes to set colour, unclamped: red
// from palette entry 3c, green from c + 1, blue from c + 2, each index
// wrapped into the table.
PaletteColor ParticleColor(std::int32_t c);

}  // namespace render
