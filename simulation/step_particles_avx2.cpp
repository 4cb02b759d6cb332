// The frame step compiled for AVX2 with FMA: four float lanes widened to four
// double lanes. This file is built with those instruction sets enabled, so it
// may only run where the processor has them.

#include <immintrin.h>

#include "simulation/step_particles_kernel.h"

namespace simulation::step_paths {
namespace {

struct Avx2 {
  static constexpr std::int32_t kLanes = 4;
  using F = __m128;
  using D = __m256d;
  static F LoadF(const float* p) { return _mm_loadu_ps(p); }
  static void StoreF(float* p, F v) { _mm_storeu_ps(p, v); }
  static F SetF(float v) { return _mm_set1_ps(v); }
  static D SetD(double v) { return _mm256_set1_pd(v); }
  // a - b on the multiply pipes; see step_particles_kernel.h.
  static F SubF(F a, F b) { return _mm_fmsub_ps(_mm_set1_ps(1.0f), a, b); }
  static F FmaF(F a, F b, F c) { return _mm_fmadd_ps(a, b, c); }
  static D ToD(F v) { return _mm256_cvtps_pd(v); }
  static F ToF(D v) { return _mm256_cvtpd_ps(v); }
  static D MulD(D a, D b) { return _mm256_mul_pd(a, b); }
  static D FmaD(D a, D b, D c) { return _mm256_fmadd_pd(a, b, c); }
  static D DivD(D a, D b) { return _mm256_div_pd(a, b); }
};

}  // namespace

void StepFrameAvx2(std::int32_t live, FrameScratch& scratch) { StepFrame<Avx2>(live, scratch); }

void FmafChainsAvx2(std::int64_t steps, float a, float b, float* accX, float* accY) {
  FmafChains(steps, a, b, accX, accY);
}

}  // namespace simulation::step_paths
