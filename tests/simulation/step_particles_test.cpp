// StepParticles against the StepParticle loop, bit for bit, on every
// instruction-set path this binary carries and this processor runs.

#include <gtest/gtest.h>

#include <bit>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "platform/random.h"
#include "simulation/particles.h"
#include "simulation/step_isa.h"
#include "store_fixture.h"

namespace {

using namespace simulation;
using test_support::StoreSnapshot;

enum class State {
  kInitial,           // the store built for a 1920 x 1080 desktop
  kAfter50Frames,     // the same after 50 frames of 1000 live particles
  kZeroNegativeMass,  // masses of +0, -0 and flipped signs
  kCoincident,        // an exact pair; distSq subnormal, and underflowing to 0
  kInfinite,          // particles at +inf and -inf
};

const char* StateName(State s) {
  switch (s) {
    case State::kInitial:
      return "Initial";
    case State::kAfter50Frames:
      return "After50Frames";
    case State::kZeroNegativeMass:
      return "ZeroNegativeMass";
    case State::kCoincident:
      return "Coincident";
    case State::kInfinite:
      return "Infinite";
  }
  return "?";
}

struct Case {
  std::int32_t count;
  State state;
  int frames;
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << "count " << c.count << ", " << StateName(c.state) << ", " << c.frames << " frames";
}

std::vector<Case> Table() {
  std::vector<Case> table;
  for (std::int32_t count : {-1, 0, 1, 2, 3, 7, 17, 64, 257, 1000, 7500}) {
    for (State state : {State::kInitial, State::kAfter50Frames, State::kZeroNegativeMass, State::kCoincident,
                        State::kInfinite}) {
      // A reference frame of 7500 costs a tenth of a second, much more under
      // the sanitizers; two frames there still carry the first frame's
      // results (and its NaN) through a second one.
      table.push_back({count, state, count >= 7500 ? 2 : 4});
    }
  }
  return table;
}

void ReferenceFrame(std::int32_t count) {
  for (std::int32_t i = 0; i < LiveCount(count); ++i) StepParticle(i, count);
}

void BuildInitialStore() {
  centreX = 960;
  centreY = 540;
  platform::UnitGenerator generator;  // the process's own default state
  BuildParticleStore(std::ref(generator));
}

// The starting store of `state` with `count` live particles. The special
// particles sit among the live ones wherever the count allows.
void Prepare(State state, std::int32_t count) {
  BuildInitialStore();
  const std::int32_t n = LiveCount(count);
  switch (state) {
    case State::kInitial:
      break;
    case State::kAfter50Frames: {
      static const std::unique_ptr<StoreSnapshot> after50 = [] {
        for (int f = 0; f < 50; ++f) ReferenceFrame(1000);
        return std::make_unique<StoreSnapshot>(StoreSnapshot::Take());
      }();
      after50->Restore();
      break;
    }
    case State::kZeroNegativeMass:
      for (std::int32_t k = 1; k < maxParticles; k += 3) mass[k] = -mass[k];
      if (n > 2) mass[n / 2] = 0.0f;
      if (n > 3) mass[n / 3] = -0.0f;
      break;
    case State::kCoincident:
      if (n >= 2) {
        posX[n - 1] = posX[n / 2];
        posY[n - 1] = posY[n / 2];
      }
      if (n >= 5) {
        // Offsets of 1e-20 give a subnormal distSq; 1e-30 gives one that
        // stores as 0, as if the two coincided.
        posX[n - 2] = 0;
        posY[n - 2] = 0;
        posX[n - 3] = 0;
        posY[n - 3] = 1e-20f;
        posX[n - 4] = 1e-30f;
        posY[n - 4] = 0;
      }
      break;
    case State::kInfinite:
      if (n >= 1) posX[n / 2] = std::numeric_limits<float>::infinity();
      if (n >= 3) posY[n / 3 + 1] = -std::numeric_limits<float>::infinity();
      break;
  }
  particleCount = count;
}

// The first entry where two stores differ, in words; empty when equal.
std::string FirstDifference(const StoreSnapshot& want, const StoreSnapshot& got) {
  struct Array {
    const char* name;
    const float* want;
    const float* got;
  };
  const Array arrays[] = {{"posX", want.posX.data(), got.posX.data()},
                          {"posY", want.posY.data(), got.posY.data()},
                          {"velX", want.velX.data(), got.velX.data()},
                          {"velY", want.velY.data(), got.velY.data()},
                          {"mass", want.mass.data(), got.mass.data()}};
  for (const Array& a : arrays) {
    for (std::int32_t k = 0; k < maxParticles; ++k) {
      const auto w = std::bit_cast<std::uint32_t>(a.want[k]);
      const auto g = std::bit_cast<std::uint32_t>(a.got[k]);
      if (w != g) {
        char text[160];
        std::snprintf(text, sizeof text, "%s[%" PRId32 "]: want %.9g (0x%08" PRIx32 "), got %.9g (0x%08" PRIx32 ")",
                      a.name, k, static_cast<double>(a.want[k]), w, static_cast<double>(a.got[k]), g);
        return text;
      }
    }
  }
  if (!(want == got)) return "colour indices or module values differ";
  return "";
}

class StepParticlesTest : public test_support::StoreTest, public ::testing::WithParamInterface<Case> {
 protected:
  void TearDown() override {
    SetStepIsa(initialIsa_);
    StoreTest::TearDown();
  }

 private:
  StepIsa initialIsa_ = ActiveStepIsa();
};

TEST_P(StepParticlesTest, MatchesStepParticleLoopBitForBit) {
  const Case& c = GetParam();
  Prepare(c.state, c.count);
  const StoreSnapshot start = StoreSnapshot::Take();

  std::vector<StoreSnapshot> want;
  for (int f = 0; f < c.frames; ++f) {
    ReferenceFrame(c.count);
    want.push_back(StoreSnapshot::Take());
  }

  for (StepIsa isa : AvailableStepIsas()) {
    SCOPED_TRACE(StepIsaName(isa));
    ASSERT_TRUE(SetStepIsa(isa));
    start.Restore();
    for (int f = 0; f < c.frames; ++f) {
      StepParticles(c.count);
      const std::string diff = FirstDifference(want[f], StoreSnapshot::Take());
      if (!diff.empty()) {
        ADD_FAILURE() << "frame " << f + 1 << ": " << diff;
        break;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Table, StepParticlesTest, ::testing::ValuesIn(Table()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           const std::int32_t n = info.param.count;
                           return (n < 0 ? "minus" + std::to_string(-n) : std::to_string(n)) + "_" +
                                  StateName(info.param.state);
                         });

// The states must make the cases they are named for, or the table proves
// less than it says: after the frames the NaN has spread to every live
// particle, and before it nothing was NaN.
using StepStatesTest = test_support::StoreTest;

TEST_F(StepStatesTest, SpecialStatesSpreadNaN) {
  for (State state : {State::kZeroNegativeMass, State::kCoincident, State::kInfinite}) {
    SCOPED_TRACE(StateName(state));
    Prepare(state, 64);
    for (std::int32_t k = 0; k < 64; ++k) ASSERT_FALSE(std::isnan(posX[k]) || std::isnan(velX[k]));
    ReferenceFrame(64);
    ReferenceFrame(64);
    for (std::int32_t k = 0; k < 64; ++k) EXPECT_TRUE(std::isnan(posX[k])) << k;
  }
}

}  // namespace
