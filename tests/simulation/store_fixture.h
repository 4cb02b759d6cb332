// Saves the module-level particle store before a test and restores it after,
// so tests can set up whatever state they need.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>

#include "simulation/particles.h"

namespace test_support {

struct StoreSnapshot {
  std::array<float, simulation::maxParticles> posX, posY, mass, velX, velY;
  std::array<std::int32_t, simulation::maxParticles> colorIndex;
  std::int32_t count, centreX, centreY, width, height;

  static StoreSnapshot Take() {
    namespace sim = simulation;
    StoreSnapshot s;
    std::memcpy(s.posX.data(), sim::posX, sizeof sim::posX);
    std::memcpy(s.posY.data(), sim::posY, sizeof sim::posY);
    std::memcpy(s.mass.data(), sim::mass, sizeof sim::mass);
    std::memcpy(s.velX.data(), sim::velX, sizeof sim::velX);
    std::memcpy(s.velY.data(), sim::velY, sizeof sim::velY);
    std::memcpy(s.colorIndex.data(), sim::colorIndex, sizeof sim::colorIndex);
    s.count = sim::particleCount;
    s.centreX = sim::centreX;
    s.centreY = sim::centreY;
    s.width = sim::screenWidth;
    s.height = sim::screenHeight;
    return s;
  }

  void Restore() const {
    namespace sim = simulation;
    std::memcpy(sim::posX, posX.data(), sizeof sim::posX);
    std::memcpy(sim::posY, posY.data(), sizeof sim::posY);
    std::memcpy(sim::mass, mass.data(), sizeof sim::mass);
    std::memcpy(sim::velX, velX.data(), sizeof sim::velX);
    std::memcpy(sim::velY, velY.data(), sizeof sim::velY);
    std::memcpy(sim::colorIndex, colorIndex.data(), sizeof sim::colorIndex);
    sim::particleCount = count;
    sim::centreX = centreX;
    sim::centreY = centreY;
    sim::screenWidth = width;
    sim::screenHeight = height;
  }

  // Bitwise equality, so NaN payloads and signed zeros count.
  bool operator==(const StoreSnapshot& other) const {
    return std::memcmp(this, &other, sizeof *this) == 0;
  }
};

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = StoreSnapshot::Take(); }
  void TearDown() override { saved_.Restore(); }

 private:
  StoreSnapshot saved_;
};

}  // namespace test_support
