// The whole-frame gravity step, written once over a small vector traits type
// and compiled once per instruction set (step_particles_avx2.cpp,
// step_particles_avx512.cpp). Include it only from such a file.
//
// HOW THE FRAME IS ORDERED
//
// The frame must give the store that StepParticle(0), ..., StepParticle(n-1)
// give, bit for bit. Particle i's velocity is a running float sum, rounded
// after every pull, in the order j = 0, 1, ..., i-1, i+1, ..., n-1. The pulls
// of the particles below i use their moved positions, those above i the
// unmoved ones. That leaves one chain of dependent fused multiply-adds that
// nothing can shorten: particle i can take in the pull of i-1 only once i-1
// has moved, and then the pulls above it one after another. Everything else
// is done beside that chain:
//
//  - The pulls on particle i+1 of the particles above it use unmoved
//    positions only, so they are worked out (force factor and offset, with
//    the double division) in vector registers while particle i's chain runs,
//    and stored for i+1's chain to read.
//  - Once particle p has moved, its pull is the next term of every later
//    particle's sum. Each later particle keeps its sum in accX/accY, and one
//    vector pass adds p's pull to all of them while particle p+1's chain
//    runs. By the time particle i's turn comes its sum already holds the
//    pulls of 0 .. i-2; the pull of i-1 is added on the spot, then the chain
//    over the particles above i.
//
// Both vector passes run over the same particle range as the chain, so one
// loop over blocks of that range interleaves them with the chain's scalar
// FMAs, and the processor overlaps the independent vector work with the
// chain's latency. All terms use the reference's roundings in the reference's
// order (dx, dy as float differences; distSq from exact double squares summed
// once in double and rounded to float; force as (g*m_other)*m_self over
// distSq*m_self in double, rounded to float; the sums by fused multiply-add),
// so every stored value is the reference's to the last bit, NaN included.
//
// What slows the chain is vector work that competes with its FMAs for issue
// (measured on Zen 5: float additions and subtractions, and divisions, cost
// a frame a few per cent; multiplies and FMAs, conversions, loads and stores
// cost nothing measurable). So the traits form the offsets a - b as the fused
// 1 * a - b: the same single rounding, NaN and signed zero as a subtraction,
// issued on the multiply pipes. The double divisions stay: replacing them by
// reciprocal iterations with an exactness check measured slower.
//
// Nothing from the standard library is used here, not even std::min: an
// inline template instantiated in this file would be compiled for its
// instruction set and could be picked by the linker for callers elsewhere.
#pragma once

#include <cstdint>

#include "simulation/particles.h"
#include "simulation/step_particles_paths.h"

namespace simulation::step_paths {
namespace {

// Traits V: kLanes float lanes (F) widened to as many double lanes (D), with
// LoadF/StoreF (unaligned), SetF/SetD (broadcast), SubF (a - b, rounded once),
// FmaF/FmaD (a * b + c, rounded once), ToD/ToF (exact widening, rounding to
// nearest), MulD and DivD.

// The pull of particle `p`, already moved to (px, py), on particle k < n of
// the scratch store: the force factor, with the offsets returned in *dx, *dy.
inline float PullOnScratch(const FrameScratch& s, std::int32_t k, float px, float py, double gmp,
                           float* dx, float* dy) {
  *dx = px - s.x[k];
  *dy = py - s.y[k];
  const float distSq = static_cast<float>(static_cast<double>(*dx) * *dx + static_cast<double>(*dy) * *dy);
  const double mk = s.m[k];
  return static_cast<float>((gmp * mk) / (static_cast<double>(distSq) * mk));
}

// Force factor from the offsets as doubles, the numerator and the stepped
// particle's own mass: the reference's distSq and quotient, lane by lane.
template <class V>
inline typename V::F ForceFactor(typename V::D dx, typename V::D dy, typename V::D num,
                                 typename V::D massSelf) {
  // dx*dx is exact in a double, so the fused form rounds the sum once, as
  // the reference's separate double products and sum do.
  const typename V::F distSq = V::ToF(V::FmaD(dx, dx, V::MulD(dy, dy)));
  const typename V::D den = V::MulD(V::ToD(distSq), massSelf);
  return V::ToF(V::DivD(num, den));
}

template <class V>
void StepFrame(std::int32_t n, FrameScratch& s) {
  using F = typename V::F;
  using D = typename V::D;
  constexpr std::int32_t W = V::kLanes;
  static_assert(W <= kPadding, "blocks may reach kPadding entries past the live ones");
  if (n <= 0) return;

  for (std::int32_t k = 0; k < n; ++k) {
    s.x[k] = posX[k];
    s.y[k] = posY[k];
    s.m[k] = mass[k];
    s.accX[k] = velX[k];
    s.accY[k] = velY[k];
  }
  // Lanes past the last particle are computed and thrown away; give them
  // tame values.
  for (std::int32_t k = n; k < n + W; ++k) {
    s.x[k] = s.y[k] = 0;
    s.m[k] = 1;
    s.accX[k] = s.accY[k] = 0;
  }

  const double g = gravity;
  const D gD = V::SetD(g);
  float* fCur = s.force[0];
  float* dxCur = s.dx[0];
  float* dyCur = s.dy[0];
  float* fNext = s.force[1];
  float* dxNext = s.dx[1];
  float* dyNext = s.dy[1];

  // Pulls on `self` of the particles in the block at b, all unmoved.
  auto upperBlock = [&](std::int32_t b, F xs, F ys, D ms, float* f, float* ox, float* oy) {
    const F dx = V::SubF(V::LoadF(s.x + b), xs);
    const F dy = V::SubF(V::LoadF(s.y + b), ys);
    const D num = V::MulD(V::MulD(gD, V::ToD(V::LoadF(s.m + b))), ms);
    V::StoreF(f + b, ForceFactor<V>(V::ToD(dx), V::ToD(dy), num, ms));
    V::StoreF(ox + b, dx);
    V::StoreF(oy + b, dy);
  };

  // Particle 0 has nobody below it; its upper pulls are worked out up front.
  if (n > 1) {
    const F xs = V::SetF(s.x[0]);
    const F ys = V::SetF(s.y[0]);
    const D ms = V::SetD(s.m[0]);
    for (std::int32_t b = 1; b < n; b += W) upperBlock(b, xs, ys, ms, fCur, dxCur, dyCur);
  }

  // Moved position of the previous particle and gravity times its mass.
  float prevX = 0;
  float prevY = 0;
  double prevGm = 0;

  for (std::int32_t i = 0; i < n; ++i) {
    float ax = s.accX[i];
    float ay = s.accY[i];
    const std::int32_t next = i + 1;

    if (next < n) {
      const F xs = V::SetF(s.x[next]);
      const F ys = V::SetF(s.y[next]);
      const D ms = V::SetD(s.m[next]);
      const F px = V::SetF(prevX);
      const F py = V::SetF(prevY);
      const D gmp = V::SetD(prevGm);
      const bool havePrev = i > 0;
      for (std::int32_t b = next; b < n; b += W) {
        // Particle next's pulls from above, for its chain after this one.
        upperBlock(b, xs, ys, ms, fNext, dxNext, dyNext);

        // The pull of particle i-1, moved, on every particle from next up.
        if (havePrev) {
          const F dx = V::SubF(px, V::LoadF(s.x + b));
          const F dy = V::SubF(py, V::LoadF(s.y + b));
          const D mk = V::ToD(V::LoadF(s.m + b));
          const F f = ForceFactor<V>(V::ToD(dx), V::ToD(dy), V::MulD(gmp, mk), mk);
          V::StoreF(s.accX + b, V::FmaF(f, dx, V::LoadF(s.accX + b)));
          V::StoreF(s.accY + b, V::FmaF(f, dy, V::LoadF(s.accY + b)));
        }

        // Particle i's own chain over this block: the critical path.
        const std::int32_t left = n - b;
        if (left >= W) {
#pragma GCC unroll 16
          for (std::int32_t l = 0; l < W; ++l) {
            ax = __builtin_fmaf(fCur[b + l], dxCur[b + l], ax);
            ay = __builtin_fmaf(fCur[b + l], dyCur[b + l], ay);
          }
        } else {
          for (std::int32_t l = 0; l < left; ++l) {
            ax = __builtin_fmaf(fCur[b + l], dxCur[b + l], ax);
            ay = __builtin_fmaf(fCur[b + l], dyCur[b + l], ay);
          }
        }
      }
    }

    velX[i] = ax;
    velY[i] = ay;
    const float px = s.x[i] + ax;
    const float py = s.y[i] + ay;
    posX[i] = px;
    posY[i] = py;

    prevX = px;
    prevY = py;
    prevGm = g * static_cast<double>(s.m[i]);
    if (next < n) {
      // Hand over: the next particle's sum takes this particle's pull now,
      // its last term from below, and its chain can start.
      float dx;
      float dy;
      const float f = PullOnScratch(s, next, px, py, prevGm, &dx, &dy);
      s.accX[next] = __builtin_fmaf(f, dx, s.accX[next]);
      s.accY[next] = __builtin_fmaf(f, dy, s.accY[next]);
    }

    float* t = fCur;
    fCur = fNext;
    fNext = t;
    t = dxCur;
    dxCur = dxNext;
    dxNext = t;
    t = dyCur;
    dyCur = dyNext;
    dyNext = t;
  }
}

inline void FmafChains(std::int64_t steps, float a, float b, float* accX, float* accY) {
  float x = *accX;
  float y = *accY;
  for (std::int64_t k = 0; k < steps; ++k) {
    x = __builtin_fmaf(a, b, x);
    y = __builtin_fmaf(a, b, y);
  }
  *accX = x;
  *accY = y;
}

}  // namespace
}  // namespace simulation::step_paths
