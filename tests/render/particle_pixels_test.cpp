// The fade and the particle discs as pixels on the canvas.

#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <vector>

#include "render/particle_renderer.h"
#include "simulation/particles.h"
#include "tests/render/pixel_canvas.h"
#include "tests/simulation/store_fixture.h"

namespace {

using namespace render_test;

// The screen is the canvas; the particle under test sits at the world
// origin, which is screen pixel (100, 50).
class ParticlePixels : public PixelCanvas {
 protected:
  void SetUp() override {
    PixelCanvas::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    saved = test_support::StoreSnapshot::Take();
    restore = true;
    simulation::screenWidth = kWidth;
    simulation::screenHeight = kHeight;
    simulation::centreX = kWidth / 2;
    simulation::centreY = kHeight / 2;
  }
  void TearDown() override {
    if (restore) saved.Restore();
    PixelCanvas::TearDown();
  }

  static void Place(std::int32_t i, float x, float y, std::int32_t c) {
    simulation::posX[i] = x;
    simulation::posY[i] = y;
    simulation::colorIndex[i] = c;
  }

  test_support::StoreSnapshot saved;
  bool restore = false;
};

TEST_F(ParticlePixels, EachFadeKeeps128Of255AndBlackStaysBlack) {
  Fill(255, 255, 255);
  render::SetColor(0, 0, 0);
  render::DrawRect(0, 0, 1, 1);
  render::FadeFrame();
  EXPECT_TRUE(PixelsNot(ReadAll(), {128, 128, 128}) == std::vector<std::string>{Cell(0, 0)});
  render::FadeFrame();
  EXPECT_TRUE(PixelsNot(ReadAll(), {64, 64, 64}) == std::vector<std::string>{Cell(0, 0)});
  EXPECT_EQ(Pixel(0, 0), (Rgb{0, 0, 0}));
}

// One light particle of each colour index: the centre pixel lies in both
// discs and gets 51/255 of the colour twice, a pixel of the outer ring once.
struct ColorCase {
  std::int32_t c;
  Rgb once;  // round(component / 5), the component clamped first
};

void PrintTo(const ColorCase& c, std::ostream* os) { *os << "c=" << c.c; }

class ParticleColorPixels : public ParticlePixels,
                            public ::testing::WithParamInterface<ColorCase> {};

TEST_P(ParticleColorPixels, DiscsAddTheirColourOncePerDisc) {
  const ColorCase want = GetParam();
  Place(2, 0, 0, want.c);
  render::DrawParticle(2);
  const Rgb twice{2 * want.once[0], 2 * want.once[1], 2 * want.once[2]};
  EXPECT_EQ(Pixel(100, 50), twice) << "centre, c = " << want.c;
  EXPECT_EQ(Pixel(98, 50), want.once) << "outer ring, c = " << want.c;
  EXPECT_EQ(Pixel(97, 50), (Rgb{0, 0, 0})) << "outside, c = " << want.c;
}

INSTANTIATE_TEST_SUITE_P(
    TableRange, ParticleColorPixels,
    ::testing::Values(ColorCase{0, {0, 0, 0}}, ColorCase{1, {0, 0, 0}},
                      ColorCase{2, {20, 0, 0}}, ColorCase{3, {4, 0, 51}},
                      ColorCase{4, {4, 51, 20}}, ColorCase{5, {25, 20, 20}},
                      ColorCase{6, {16, 20, 51}}, ColorCase{7, {51, 51, 4}},
                      ColorCase{8, {4, 4, 51}}, ColorCase{9, {51, 51, 4}},
                      ColorCase{10, {51, 4, 4}}));

// Beyond the table every index wraps modulo 32: -1 reads (palette[29],
// palette[0], palette[1]) = (255, 0, 0); 11 reads (palette[1], palette[12],
// palette[13]) = (0, 20, 127).
INSTANTIATE_TEST_SUITE_P(Wrapped, ParticleColorPixels,
                         ::testing::Values(ColorCase{-1, {51, 0, 0}},
                                           ColorCase{11, {0, 4, 25}}));

TEST_F(ParticlePixels, HeavyBodiesAddATenPixelDisc) {
  for (std::int32_t i : {0, 1}) {
    Fill(0, 0, 0);
    Place(i, 0, 0, 10);
    render::DrawParticle(i);
    EXPECT_EQ(Pixel(100, 50), (Rgb{153, 12, 12})) << "three discs, particle " << i;
    EXPECT_EQ(Pixel(98, 50), (Rgb{102, 8, 8})) << "two discs, particle " << i;
    EXPECT_EQ(Pixel(96, 50), (Rgb{51, 4, 4})) << "the big disc only, particle " << i;
    EXPECT_EQ(Pixel(94, 50), (Rgb{0, 0, 0})) << "outside, particle " << i;
  }
}

TEST_F(ParticlePixels, BlackParticlesLeaveThePictureUnchanged) {
  Fill(100, 100, 100);
  Place(3, 0, 0, 0);
  render::DrawParticle(3);
  Place(4, 0, 0, 1);
  render::DrawParticle(4);
  EXPECT_TRUE(PixelsNot(ReadAll(), {100, 100, 100}).empty());
}

TEST_F(ParticlePixels, OffScreenAndNonFinitePositionsDrawNothing) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  Place(0, nan, 0, 10);                            // heavy: three ovals skipped
  Place(2, 0, -nan, 9);
  Place(3, std::numeric_limits<float>::infinity(), 0, 9);
  Place(4, -2000, 0, 9);                           // 200 pixels left of the screen
  Place(5, 0, 3e38f, 9);                           // huge but finite
  for (std::int32_t i : {0, 2, 3, 4, 5}) render::DrawParticle(i);
  EXPECT_TRUE(PixelsNot(ReadAll(), {0, 0, 0}).empty());

  // The batch is intact: the next particle lands where it should.
  Place(6, 0, 0, 9);
  render::DrawParticle(6);
  EXPECT_EQ(Pixel(100, 50), (Rgb{102, 102, 8}));
}

}  // namespace
