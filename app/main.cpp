// gravity: point masses attracting one another, fullscreen, until Space.
//
// One routine over the module-level state of the particle store: start-up,
// then the frame loop. The loop's order is fixed:
//   Space test -> step every live particle -> present

#include "platform/graphics.h"
#include "platform/key_counter.h"
#include "simulation/particles.h"

int main() {
  using namespace simulation;

  if (!platform::DesktopSize(&screenWidth, &screenHeight)) return 1;
  centreX = screenWidth / 2;
  centreY = screenHeight / 2;

  platform::SelectDrawingLayer(platform::kBackBufferFlag);
  if (!platform::OpenGraphicsMode(screenWidth, screenHeight, 32, 60, platform::kBackBufferFlag)) {
    return 1;
  }
  platform::Clear();
  BuildParticleStore();
  platform::Clear();

  while (platform::KeyHitCount(platform::kKeySpace) == 0) {
    StepParticles(particleCount);
    platform::Present(-1);
  }
  return 0;
}
