// The particle store: the whole state of the simulation.
//
// Six parallel arrays of maxParticles entries, indexed by particle number,
// allocated once for the whole run and never resized. particleCount chooses
// how many leading entries are live; the others keep their values untouched
// until the count reaches them again. Beside the arrays live the values the
// rest of the program shares: the screen geometry, the physical constants
// and the colour palette.
//
// Rounding is deliberate everywhere in this module: a value is rounded to
// float (or double) exactly where it is stored, and intermediates are carried
// wider. See particle_store.cpp and step_particle.cpp.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/random.h"

namespace simulation {

inline constexpr std::int32_t maxParticles = 7500;

// Vector kernels read the arrays a cache line at a time.
inline constexpr std::size_t kArrayAlignment = 64;

alignas(kArrayAlignment) inline float posX[maxParticles];
alignas(kArrayAlignment) inline float posY[maxParticles];
alignas(kArrayAlignment) inline float mass[maxParticles];
alignas(kArrayAlignment) inline float velX[maxParticles];
alignas(kArrayAlignment) inline float velY[maxParticles];
alignas(kArrayAlignment) inline std::int32_t colorIndex[maxParticles];

// Number of live entries. It may fall to zero or below (nothing is live) and
// is never raised past maxParticles.
inline std::int32_t particleCount = 10;

// Screen geometry, set once at start-up before the store is built.
inline std::int32_t screenWidth = 0;
inline std::int32_t screenHeight = 0;
inline std::int32_t centreX = 0;
inline std::int32_t centreY = 0;

inline constexpr float gravity = 0.02f;    // 0.019999999552965164
inline constexpr float viewScale = 0.1f;   // ten world units to a pixel

inline constexpr std::array<std::int32_t, 32> palette = {
    0,   0,   0,   0,   0,   255,    100, 100, 255, 20, 255, 20,  20,  127, 127, 127,
    255, 127, 80,  255, 20,  127255, 255, 255, 20,  20, 255, 255, 100, 255, 255, 255,
};

// Number of entries a loop over the live particles visits: particleCount
// limited to 0..maxParticles, so no loop ever leaves the arrays.
inline std::int32_t LiveCount(std::int32_t count) {
  return count <= 0 ? 0 : (count > maxParticles ? maxParticles : count);
}

// Fills the palette and all maxParticles entries with the initial conditions:
// a flat cloud turning about the world origin with the two heavy bodies 0
// and 1. Draws 3 * maxParticles + 2 numbers from `unit`, always in the same
// order. Reads centreX and centreY, which must be set first.
void BuildParticleStore(const platform::UnitSource& unit);
void BuildParticleStore();  // from the process-wide generator

// Advances live particle i by one frame in place: adds the pull of every
// other live particle to its velocity, in increasing index order, then moves
// it by the new velocity. The readable reference for StepParticles.
void StepParticle(std::int32_t i);
// The same with `count` taken as the live count instead of particleCount.
void StepParticle(std::int32_t i, std::int32_t count);

// One frame's steps of particles 0 .. count - 1 with count live: the same
// store, bit for bit, as StepParticle(0, count), ..., StepParticle(count - 1,
// count) called in order, NaN wherever that gives NaN.
void StepParticles(std::int32_t count);

}  // namespace simulation
