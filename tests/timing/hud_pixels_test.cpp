// The heads-up line as it lands on the canvas.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "render/canvas.h"
#include "render/draw.h"
#include "render/font.h"
#include "simulation/particles.h"
#include "tests/support/gl_test_context.h"
#include "timing/code_timer.h"
#include "timing/hud.h"

namespace {

// Wide and tall enough for the panel (up to column 404, row 767) with a
// margin all round.
constexpr int kWidth = 480;
constexpr int kHeight = 800;
constexpr std::uint8_t kBackground = 200;

struct Rgb {
  std::uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

class Picture {
 public:
  Picture() : bytes_(render::ReadCanvas(0, 0, kWidth, kHeight)) {}
  Rgb at(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)) * 4;
    return {bytes_[i], bytes_[i + 1], bytes_[i + 2]};
  }

 private:
  std::vector<std::uint8_t> bytes_;
};

class HudPixelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedCount_ = simulation::particleCount;
    savedShown_ = timing::shownCount;
    GRAVITY_REQUIRE_GL_CANVAS(kWidth, kHeight);
  }
  void TearDown() override {
    simulation::particleCount = savedCount_;
    timing::shownCount = savedShown_;
  }

  // An even grey, so every pixel the panel leaves alone can be told from one
  // it covered.
  static void PaintBackground() {
    render::SetBlendMode(render::kBlendAlpha);
    render::SetAlpha(1.0f);
    render::SetColor(kBackground, kBackground, kBackground);
    render::DrawRect(0.0f, 0.0f, kWidth, kHeight);
  }

  // The first frame of the program: the count of 10 shown from 20, at a
  // frame time of 16.7 ms, and drawing state left behind by a particle.
  static void DrawFirstFrameHud() {
    simulation::particleCount = 10;
    timing::shownCount = simulation::particleCount + 10;
    timing::TCodeTimer frameTimer;
    frameTimer._totaltime = 16.7;
    render::SetBlendMode(render::kBlendAdditive);
    render::SetAlpha(0.2f);
    render::SetColor(255, 20, 20);
    timing::DrawHud(frameTimer);
  }

 private:
  std::int32_t savedCount_ = 0;
  std::int32_t savedShown_ = 0;
};

// What the panel must hold, pixel for pixel, built from the font table:
// black, with white where a glyph of one of the texts has a set pixel.
bool ExpectedWhite(int x, int y) {
  struct Text {
    std::string_view chars;
    int x, y;
  };
  const Text texts[] = {{"FPS : 59", 10, 750}, {"Particles : 15", 120, 750}};
  for (const Text& text : texts) {
    const int column = x - text.x;
    const int row = y - text.y;
    const int cell = column / render::font::kGlyphWidth;
    if (column < 0 || row < 0 || cell >= static_cast<int>(text.chars.size())) continue;
    if (render::font::PixelSet(text.chars[static_cast<std::size_t>(cell)],
                               column % render::font::kGlyphWidth, row)) {
      return true;
    }
  }
  return false;
}

TEST_F(HudPixelsTest, FirstFrameShowsItsTextsOnTheBlackPanel) {
  PaintBackground();
  DrawFirstFrameHud();
  EXPECT_EQ(timing::shownCount, 15);

  const Picture picture;
  const Rgb grey{kBackground, kBackground, kBackground};
  const Rgb black{0, 0, 0};
  const Rgb white{255, 255, 255};
  int wrong = 0;
  int whitePixels = 0;
  for (int y = 730; y < 770; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const bool inPanel = x >= 5 && x <= 404 && y >= 740 && y <= 767;
      const bool shouldBeWhite = inPanel && ExpectedWhite(x, y);
      const Rgb expected = !inPanel ? grey : (shouldBeWhite ? white : black);
      whitePixels += shouldBeWhite;
      if (!(picture.at(x, y) == expected) && ++wrong <= 10) {
        const Rgb got = picture.at(x, y);
        ADD_FAILURE() << "(" << x << ", " << y << ") is " << int{got.r} << "," << int{got.g}
                      << "," << int{got.b} << ", expected " << int{expected.r};
      }
    }
  }
  EXPECT_EQ(wrong, 0);
  // The texts keep to their rows: nothing white above 750 or below 765.
  for (int x = 5; x <= 404; ++x) {
    for (const int y : {740, 749, 766, 767}) EXPECT_FALSE(ExpectedWhite(x, y)) << x << ", " << y;
  }
  EXPECT_GT(whitePixels, 0) << "the font table has no set pixels for these texts";
}

TEST_F(HudPixelsTest, LeavesAlphaBlendingOpaqueWhite) {
  PaintBackground();
  DrawFirstFrameHud();
  render::DrawRect(450.0f, 10.0f, 10.0f, 10.0f);
  const Picture picture;
  EXPECT_EQ(picture.at(455, 15), (Rgb{255, 255, 255}));
}

}  // namespace
