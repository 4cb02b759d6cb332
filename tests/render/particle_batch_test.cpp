// What FadeFrame and DrawParticle record in the drawing layer's batch. No GL
// is set up, so nothing is drawn and the batch can be inspected.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <vector>

#include "render/draw.h"
#include "render/particle_renderer.h"
#include "simulation/particles.h"
#include "tests/simulation/store_fixture.h"

namespace {

using render::Vertex;
using simulation::palette;

struct Box {
  float left, top, right, bottom;
};

Box Bounds(std::span<const Vertex> v) {
  Box b{v[0].x, v[0].y, v[0].x, v[0].y};
  for (const Vertex& p : v) {
    b.left = std::min(b.left, p.x);
    b.right = std::max(b.right, p.x);
    b.top = std::min(b.top, p.y);
    b.bottom = std::max(b.bottom, p.y);
  }
  return b;
}

class ParticleRecording : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = test_support::StoreSnapshot::Take();
    simulation::screenWidth = 1366;
    simulation::screenHeight = 768;
    simulation::centreX = 683;
    simulation::centreY = 384;
    render::DiscardBatch();
    render::ResetDrawState();
  }
  void TearDown() override {
    render::DiscardBatch();
    saved.Restore();
  }
  // Shapes are recorded in order and ovals here all have 12 vertices.
  std::span<const Vertex> Oval(int k) const {
    return render::CurrentBatch().vertices().subspan(12 * static_cast<std::size_t>(k), 12);
  }

  test_support::StoreSnapshot saved;
};

TEST_F(ParticleRecording, FadeIsHalfAlphaBlackOverTheWholeScreen) {
  render::SetBlendMode(render::kBlendAdditive);
  render::FadeFrame();
  const render::DrawBatch& batch = render::CurrentBatch();
  EXPECT_EQ(batch.blendMode(), render::kBlendAlpha);
  ASSERT_EQ(batch.vertices().size(), 4u);
  const Box b = Bounds(batch.vertices());
  EXPECT_EQ((std::vector<float>{b.left, b.top, b.right, b.bottom}),
            (std::vector<float>{0, 0, 1366, 768}));
  for (const Vertex& v : batch.vertices()) {
    EXPECT_EQ((std::vector<int>{v.r, v.g, v.b, v.a}), (std::vector<int>{0, 0, 0, 127}));
  }
}

TEST_F(ParticleRecording, LightParticleIsTwoAdditiveDiscsAroundItsScreenPoint) {
  simulation::posX[5] = 100.0f;  // 10 pixels right of the centre
  simulation::posY[5] = -50.0f;  // 5 pixels up
  simulation::colorIndex[5] = 3;
  render::DrawParticle(5);
  const render::DrawBatch& batch = render::CurrentBatch();
  EXPECT_EQ(batch.blendMode(), render::kBlendAdditive);
  ASSERT_EQ(batch.vertices().size(), 24u);
  // sx = 693.0000001, sy = 378.9999999: each oval corner rounds to a whole pixel.
  const Box inner = Bounds(Oval(0));
  const Box outer = Bounds(Oval(1));
  EXPECT_EQ((std::vector<float>{inner.left, inner.top, inner.right, inner.bottom}),
            (std::vector<float>{692, 378, 695, 381}));
  EXPECT_EQ((std::vector<float>{outer.left, outer.top, outer.right, outer.bottom}),
            (std::vector<float>{691, 377, 696, 382}));
  for (const Vertex& v : batch.vertices()) {
    EXPECT_EQ((std::vector<int>{v.r, v.g, v.b, v.a}), (std::vector<int>{20, 0, 255, 51}));
  }
}

TEST_F(ParticleRecording, HeavyBodiesGetATenPixelDiscCentredOnTheScreenPoint) {
  for (std::int32_t i : {0, 1}) {
    render::DiscardBatch();
    simulation::posX[i] = 0.0f;
    simulation::posY[i] = 0.0f;
    simulation::colorIndex[i] = 10;
    render::DrawParticle(i);
    ASSERT_EQ(render::CurrentBatch().vertices().size(), 36u) << "particle " << i;
    const Box heavy = Bounds(Oval(0));
    EXPECT_EQ((std::vector<float>{heavy.left, heavy.top, heavy.right, heavy.bottom}),
              (std::vector<float>{678, 379, 688, 389}));
    EXPECT_EQ(Bounds(Oval(1)).left, 682.0f);
    EXPECT_EQ(Bounds(Oval(2)).left, 681.0f);
    const Vertex& v = Oval(0)[0];
    EXPECT_EQ((std::vector<int>{v.r, v.g, v.b}), (std::vector<int>{255, 20, 20}));
  }
}

TEST_F(ParticleRecording, ScreenPointIsRoundedOnlyWhenPassed) {
  // centreX + posX * viewScale - 1 is carried wide and rounded once. Rounding
  // the product to float first would land on a different float here.
  simulation::centreX = 1;
  simulation::posX[7] = 3.0f;  // 3 * 0.1f = 0.300000004470348358154296875 exactly
  simulation::posY[7] = 0.0f;
  render::DrawParticle(7);
  const float wide = static_cast<float>(1.0L + 3.0L * static_cast<long double>(0.1f) - 1.0L);
  const float narrow = (1.0f + 3.0f * 0.1f) - 1.0f;
  ASSERT_NE(wide, narrow) << "the case no longer tells the two apart";
  EXPECT_EQ(Bounds(Oval(0)).left, wide);
}

// The colour each index gives: palette[3c], palette[c + 1], palette[c + 2],
// every index wrapped into 0..31 toward minus infinity.
struct ColorCase {
  std::int32_t c;
  std::int32_t red, green, blue;  // as looked up, before clamping
};

void PrintTo(const ColorCase& c, std::ostream* os) { *os << "c=" << c.c; }

class ParticleColors : public ParticleRecording, public ::testing::WithParamInterface<ColorCase> {};

TEST_P(ParticleColors, LookupAndClampedVertexColour) {
  const ColorCase want = GetParam();
  const render::PaletteColor got = render::ParticleColor(want.c);
  EXPECT_EQ((std::vector<int>{got.red, got.green, got.blue}),
            (std::vector<int>{want.red, want.green, want.blue}));

  simulation::colorIndex[9] = want.c;
  simulation::posX[9] = 0;
  simulation::posY[9] = 0;
  render::DrawParticle(9);
  const Vertex& v = render::CurrentBatch().vertices()[0];
  auto clamp = [](std::int32_t x) { return std::min(std::max(x, 0), 255); };
  EXPECT_EQ((std::vector<int>{v.r, v.g, v.b}),
            (std::vector<int>{clamp(want.red), clamp(want.green), clamp(want.blue)}));
}

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

INSTANTIATE_TEST_SUITE_P(
    TableRange, ParticleColors,
    ::testing::Values(ColorCase{0, 0, 0, 0}, ColorCase{1, 0, 0, 0}, ColorCase{2, 100, 0, 0},
                      ColorCase{3, 20, 0, 255}, ColorCase{4, 20, 255, 100},
                      ColorCase{5, 127, 100, 100}, ColorCase{6, 80, 100, 255},
                      ColorCase{7, 127255, 255, 20}, ColorCase{8, 20, 20, 255},
                      ColorCase{9, 255, 255, 20}, ColorCase{10, 255, 20, 20}));

INSTANTIATE_TEST_SUITE_P(
    Wrapped, ParticleColors,
    ::testing::Values(
        ColorCase{11, palette[1], palette[12], palette[13]},    // 3c = 33 -> 1
        ColorCase{20, palette[28], palette[21], palette[22]},   // 60 -> 28
        ColorCase{30, palette[26], palette[31], palette[0]},    // c + 2 = 32 -> 0
        ColorCase{31, palette[29], palette[0], palette[1]},     // 93 -> 29
        ColorCase{33, palette[3], palette[2], palette[3]},      // 99 -> 3
        ColorCase{-1, palette[29], palette[0], palette[1]},     // -3 -> 29
        ColorCase{-2, palette[26], palette[31], palette[0]},    // -6 -> 26, -1 -> 31
        ColorCase{-32, palette[0], palette[1], palette[2]},     // -96 -> 0
        ColorCase{kMax, palette[29], palette[0], palette[1]},   // 3c beyond 32 bits
        ColorCase{kMin, palette[0], palette[1], palette[2]}));

TEST_F(ParticleRecording, PositionsThatAreNotNumbersDrawNothing) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const float positions[][2] = {{nan, 0}, {0, nan}, {inf, 0}, {-inf, -inf}};
  for (int i = 0; i < 4; ++i) {
    simulation::posX[i] = positions[i][0];
    simulation::posY[i] = positions[i][1];
    render::DrawParticle(i);  // 0 and 1 are the heavy bodies: three ovals each
  }
  EXPECT_TRUE(render::CurrentBatch().vertices().empty());
  EXPECT_EQ(render::CurrentBatch().blendMode(), render::kBlendAdditive);

  simulation::posX[4] = 3e38f;  // huge but finite: far off any screen
  simulation::posY[4] = 0;
  render::DrawParticle(4);
  EXPECT_TRUE(render::CurrentBatch().vertices().empty());

  simulation::posX[5] = 0;  // and the next particle is recorded as usual
  simulation::posY[5] = 0;
  render::DrawParticle(5);
  EXPECT_EQ(render::CurrentBatch().vertices().size(), 24u);
}

}  // namespace
