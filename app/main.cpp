// gravity: point masses attracting one another, fullscreen, until Space.
//
// One routine over the module-level state of the particle store: start-up,
// then the frame loop. Each frame, in this order:
//   Space test; reset and start the frame timer; fade the picture; step and
//   draw every live particle; present (paced to 60 Hz); stop the timer; draw
//   the heads-up line into the picture the next present shows; adapt the
//   particle count to the measured time.

#include "platform/graphics.h"
#include "platform/key_counter.h"
#include "platform/system.h"
#include "render/particle_renderer.h"
#include "simulation/particles.h"
#include "timing/code_timer.h"
#include "timing/counter.h"
#include "timing/hud.h"
#include "timing/load_control.h"

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

  timing::counterReading = platform::PerformanceCounter;
  timing::counterFrequency = platform::PerformanceFrequency;
  timing::TCodeTimer::Initialise();
  const auto frameTimer = timing::TCodeTimer::Create();
  timing::shownCount = particleCount + 10;

  while (platform::KeyHitCount(platform::kKeySpace) == 0) {
    frameTimer->ResetTimer();
    frameTimer->StartTimer();
    render::FadeFrame();

    // Every live particle is stepped first and then all are drawn. The
    // picture is the same as drawing each one straight after its own step:
    // drawing particle i reads only its position and colour, which no later
    // step in the frame changes. Stepping the whole frame at once lets the
    // step run at the machine's limit.
    const std::int32_t live = LiveCount(particleCount);
    StepParticles(live);
    for (std::int32_t i = 0; i < live; ++i) render::DrawParticle(i);

    platform::Present(-1);
    frameTimer->StopTimer();
    timing::DrawHud(*frameTimer);
    timing::AdaptParticleCount(*frameTimer);
  }
  return 0;
}
