// gravity-digest: prints fingerprints of the particle store, one a line.
//
//   store 1920x1080: fnv1a64 <16 hex digits>
//   after 20 frames of 1000: fnv1a64 <16 hex digits>
//
// The first covers the store as built for a 1920 x 1080 desktop, the second
// the same store after 20 whole-frame steps with 1000 particles live. Each is
// 64-bit FNV-1a over the bytes of the six arrays in full, in the order posX,
// posY, mass, velX, velY, colorIndex. Builds whose arithmetic agrees print
// the same two lines on every system (both targets are little-endian).
//
// The frames are stepped on every instruction-set path this processor can
// run, each from the same built store, so that the plain path, which leans on
// the C library's fmaf, is checked as well as the one the program would use.
// Paths that disagree are listed on stderr and the exit status is 1.

#include <algorithm>
#include <cinttypes>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

#include "simulation/particles.h"
#include "simulation/step_isa.h"

namespace {

class Fnv1a64 {
 public:
  template <typename T, std::size_t N>
  void Add(const T (&array)[N]) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(array);
    for (std::size_t i = 0; i < sizeof array; ++i) {
      hash_ = (hash_ ^ bytes[i]) * 0x100000001b3u;
    }
  }
  std::uint64_t Value() const { return hash_; }

 private:
  std::uint64_t hash_ = 0xcbf29ce484222325u;
};

std::uint64_t StoreDigest() {
  using namespace simulation;
  Fnv1a64 digest;
  digest.Add(posX);
  digest.Add(posY);
  digest.Add(mass);
  digest.Add(velX);
  digest.Add(velY);
  digest.Add(colorIndex);
  return digest.Value();
}

// The four arrays that the step changes.
struct Motion {
  std::vector<float> x, y, vx, vy;

  static Motion Save() {
    using namespace simulation;
    return {{posX, posX + maxParticles},
            {posY, posY + maxParticles},
            {velX, velX + maxParticles},
            {velY, velY + maxParticles}};
  }
  void Restore() const {
    using namespace simulation;
    std::copy(x.begin(), x.end(), posX);
    std::copy(y.begin(), y.end(), posY);
    std::copy(vx.begin(), vx.end(), velX);
    std::copy(vy.begin(), vy.end(), velY);
  }
};

}  // namespace

int main() {
  using namespace simulation;
  constexpr std::int32_t kFrames = 20;
  constexpr std::int32_t kLive = 1000;

  screenWidth = 1920;
  screenHeight = 1080;
  centreX = screenWidth / 2;
  centreY = screenHeight / 2;
  BuildParticleStore();
  std::printf("store %" PRId32 "x%" PRId32 ": fnv1a64 %016" PRIx64 "\n", screenWidth,
              screenHeight, StoreDigest());

  const Motion built = Motion::Save();
  const StepIsa usual = ActiveStepIsa();
  const std::vector<StepIsa> paths = AvailableStepIsas();
  std::vector<std::uint64_t> digests;
  for (StepIsa isa : paths) {
    built.Restore();
    SetStepIsa(isa);
    for (std::int32_t frame = 0; frame < kFrames; ++frame) StepParticles(kLive);
    digests.push_back(StoreDigest());
  }
  SetStepIsa(usual);

  const auto usualAt = std::find(paths.begin(), paths.end(), usual) - paths.begin();
  std::printf("after %" PRId32 " frames of %" PRId32 ": fnv1a64 %016" PRIx64 "\n", kFrames, kLive,
              digests[static_cast<std::size_t>(usualAt)]);
  if (std::adjacent_find(digests.begin(), digests.end(), std::not_equal_to<>()) == digests.end()) {
    return 0;
  }
  for (std::size_t i = 0; i < paths.size(); ++i) {
    std::fprintf(stderr, "gravity-digest: %s path: fnv1a64 %016" PRIx64 "\n",
                 StepIsaName(paths[i]), digests[i]);
  }
  return 1;
}
