// The frame step compiled for AVX-512 (F, DQ, VL, BW) with FMA: eight float
// lanes widened to eight double lanes. This file is built with those
// instruction sets enabled, so it may only run where the processor has them.

#include <immintrin.h>

#include "simulation/step_particles_kernel.h"

namespace simulation::step_paths {
namespace {

struct Avx512 {
  static constexpr std::int32_t kLanes = 8;
  using F = __m256;
  using D = __m512d;
  static F LoadF(const float* p) { return _mm256_loadu_ps(p); }
  static void StoreF(float* p, F v) { _mm256_storeu_ps(p, v); }
  static F SetF(float v) { return _mm256_set1_ps(v); }
  static D SetD(double v) { return _mm512_set1_pd(v); }
  // a - b on the multiply pipes; see step_particles_kernel.h.
  static F SubF(F a, F b) { return _mm256_fmsub_ps(_mm256_set1_ps(1.0f), a, b); }
  static F FmaF(F a, F b, F c) { return _mm256_fmadd_ps(a, b, c); }
  // The all-lanes masked forms: GCC 12's plain ones start from an
  // "undefined" register and trip -Wmaybe-uninitialized.
  static D ToD(F v) { return _mm512_maskz_cvtps_pd(0xFF, v); }
  static F ToF(D v) { return _mm512_maskz_cvtpd_ps(0xFF, v); }
  static D MulD(D a, D b) { return _mm512_mul_pd(a, b); }
  static D FmaD(D a, D b, D c) { return _mm512_fmadd_pd(a, b, c); }
  static D DivD(D a, D b) { return _mm512_div_pd(a, b); }
};

}  // namespace

void StepFrameAvx512(std::int32_t live, FrameScratch& scratch) { StepFrame<Avx512>(live, scratch); }

void FmafChainsAvx512(std::int64_t steps, float a, float b, float* accX, float* accY) {
  FmafChains(steps, a, b, accX, accY);
}

}  // namespace simulation::step_paths
