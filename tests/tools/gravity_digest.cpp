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

#include <cinttypes>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "simulation/particles.h"

namespace {

class Fnv1a64 {
 public:
  void Add(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
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
  digest.Add(posX, sizeof posX);
  digest.Add(posY, sizeof posY);
  digest.Add(mass, sizeof mass);
  digest.Add(velX, sizeof velX);
  digest.Add(velY, sizeof velY);
  digest.Add(colorIndex, sizeof colorIndex);
  return digest.Value();
}

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

  for (std::int32_t frame = 0; frame < kFrames; ++frame) StepParticles(kLive);
  std::printf("after %" PRId32 " frames of %" PRId32 ": fnv1a64 %016" PRIx64 "\n", kFrames, kLive,
              StoreDigest());
  return 0;
}
