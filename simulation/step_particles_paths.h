// Entry points of the instruction-set paths of StepParticles, and the scratch
// store they share. Internal to simulation/: step_particles.cpp chooses a path
// at run time, and each step_particles_<isa>.cpp is compiled for its own
// instruction set and must only be called on a processor that has it.
#pragma once

#include <cstdint>

#include "simulation/particles.h"

namespace simulation::step_paths {

// Vector blocks may run this far past the last live particle; the scratch
// arrays are padded so that they never leave them.
inline constexpr std::int32_t kPadding = 16;
inline constexpr std::int32_t kScratchLength = maxParticles + kPadding;

// Working arrays of one frame, indexed by particle number. Static storage
// rather than the stack: the kernels must not rely on over-aligned stack
// objects (Win64 does not align the stack beyond 16 bytes).
struct FrameScratch {
  // Position and mass at the start of the frame. A particle's position here
  // stays unmoved while the store's moves on.
  alignas(kArrayAlignment) float x[kScratchLength];
  alignas(kArrayAlignment) float y[kScratchLength];
  alignas(kArrayAlignment) float m[kScratchLength];
  // Running velocity sums of the particles not yet stepped: the velocity
  // plus the pulls of the particles below them that have already moved.
  alignas(kArrayAlignment) float accX[kScratchLength];
  alignas(kArrayAlignment) float accY[kScratchLength];
  // Pulls of the particles above one particle, worked out one particle ahead:
  // force factor and offset per other particle. Two sets, used in turn.
  alignas(kArrayAlignment) float force[2][kScratchLength];
  alignas(kArrayAlignment) float dx[2][kScratchLength];
  alignas(kArrayAlignment) float dy[2][kScratchLength];
};

// The one scratch store of the process. StepParticles is not reentrant.
FrameScratch& Scratch();

#if defined(GRAVITY_STEP_AVX2)
void StepFrameAvx2(std::int32_t live, FrameScratch& scratch);
void FmafChainsAvx2(std::int64_t steps, float a, float b, float* accX, float* accY);
#endif
#if defined(GRAVITY_STEP_AVX512)
void StepFrameAvx512(std::int32_t live, FrameScratch& scratch);
void FmafChainsAvx512(std::int64_t steps, float a, float b, float* accX, float* accY);
#endif

}  // namespace simulation::step_paths
