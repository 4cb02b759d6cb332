// Which instruction-set path StepParticles runs on.
//
// The binary carries a plain path that runs anywhere and, on x86-64, paths
// compiled for AVX2 + FMA and for AVX-512 + FMA. At start-up the widest one
// the processor supports is chosen; tests and the benchmark may force any
// other path the processor supports. Every path gives the same store, bit for
// bit: they differ only in speed.
#pragma once

#include <cstdint>
#include <vector>

namespace simulation {

enum class StepIsa : std::int32_t {
  kScalar,  // the StepParticle loop itself
  kAvx2,    // AVX2 + FMA
  kAvx512,  // AVX-512 F/DQ/VL/BW + FMA
};

// The paths this binary carries that this processor can run, narrowest first:
// always kScalar, then whichever of the others apply.
std::vector<StepIsa> AvailableStepIsas();

// The path StepParticles uses now. Starts as the widest available one.
StepIsa ActiveStepIsa();

// Makes StepParticles use `isa`. Returns false, and changes nothing, when the
// path is not available here.
bool SetStepIsa(StepIsa isa);

// "scalar", "avx2" or "avx512".
const char* StepIsaName(StepIsa isa);

// Two side-by-side chains of `steps` dependent fused multiply-adds each,
// acc = fmaf(a, b, acc), on the active path's own FMA instruction (the
// library's fmaf on the scalar path): the chain a gravity frame is made of,
// without the rest. Used to measure the latency that bounds a frame.
void RunFmafChains(std::int64_t steps, float a, float b, float* accX, float* accY);

}  // namespace simulation
