// One whole frame of gravity steps, on the widest instruction set the
// processor offers.
//
// The vector paths live in files compiled for their own instruction sets and
// are chosen here at run time, by hand rather than by the compiler's function
// multi-versioning, which the Windows toolchain does not support. The plain
// path is the StepParticle loop itself: on a processor without FMA a fused
// multiply-add is a library routine, and reordering the frame around it would
// gain nothing.

#include <cmath>

#include "simulation/particles.h"
#include "simulation/step_isa.h"
#include "simulation/step_particles_paths.h"

namespace simulation {
namespace {

bool Supported(StepIsa isa) {
  switch (isa) {
    case StepIsa::kScalar:
      return true;
    case StepIsa::kAvx2:
#if defined(GRAVITY_STEP_AVX2)
      __builtin_cpu_init();
      return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
#else
      return false;
#endif
    case StepIsa::kAvx512:
#if defined(GRAVITY_STEP_AVX512)
      __builtin_cpu_init();
      return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
             __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512bw") &&
             __builtin_cpu_supports("fma");
#else
      return false;
#endif
  }
  return false;
}

StepIsa& Active() {
  static StepIsa active = AvailableStepIsas().back();
  return active;
}

}  // namespace

std::vector<StepIsa> AvailableStepIsas() {
  std::vector<StepIsa> isas;
  for (StepIsa isa : {StepIsa::kScalar, StepIsa::kAvx2, StepIsa::kAvx512}) {
    if (Supported(isa)) isas.push_back(isa);
  }
  return isas;
}

StepIsa ActiveStepIsa() { return Active(); }

bool SetStepIsa(StepIsa isa) {
  if (!Supported(isa)) return false;
  Active() = isa;
  return true;
}

const char* StepIsaName(StepIsa isa) {
  switch (isa) {
    case StepIsa::kScalar:
      return "scalar";
    case StepIsa::kAvx2:
      return "avx2";
    case StepIsa::kAvx512:
      return "avx512";
  }
  return "unknown";
}

void StepParticles(std::int32_t count) {
  const std::int32_t live = LiveCount(count);
  switch (Active()) {
#if defined(GRAVITY_STEP_AVX512)
    case StepIsa::kAvx512:
      step_paths::StepFrameAvx512(live, step_paths::Scratch());
      return;
#endif
#if defined(GRAVITY_STEP_AVX2)
    case StepIsa::kAvx2:
      step_paths::StepFrameAvx2(live, step_paths::Scratch());
      return;
#endif
    default:
      for (std::int32_t i = 0; i < live; ++i) StepParticle(i, live);
      return;
  }
}

void RunFmafChains(std::int64_t steps, float a, float b, float* accX, float* accY) {
  switch (Active()) {
#if defined(GRAVITY_STEP_AVX512)
    case StepIsa::kAvx512:
      step_paths::FmafChainsAvx512(steps, a, b, accX, accY);
      return;
#endif
#if defined(GRAVITY_STEP_AVX2)
    case StepIsa::kAvx2:
      step_paths::FmafChainsAvx2(steps, a, b, accX, accY);
      return;
#endif
    default: {
      float x = *accX;
      float y = *accY;
      for (std::int64_t k = 0; k < steps; ++k) {
        x = std::fmaf(a, b, x);
        y = std::fmaf(a, b, y);
      }
      *accX = x;
      *accY = y;
      return;
    }
  }
}

namespace step_paths {

FrameScratch& Scratch() {
  static FrameScratch scratch;
  return scratch;
}

}  // namespace step_paths
}  // namespace simulation
