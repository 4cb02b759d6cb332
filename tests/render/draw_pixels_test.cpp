// The drawing operations as pixels: blend arithmetic, coverage, clamping and
// text, read back from the canvas.

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "render/font.h"
#include "tests/render/pixel_canvas.h"

namespace {

using namespace render_test;

using DrawPixels = PixelCanvas;

TEST_F(DrawPixels, CanvasOriginIsTheTopLeftCorner) {
  render::SetColor(255, 255, 255);
  render::DrawRect(2, 3, 1, 1);
  render::DrawRect(kWidth - 1, kHeight - 1, 1, 1);
  EXPECT_EQ(PixelsNot(ReadAll(), {0, 0, 0}),
            (std::vector<std::string>{Cell(2, 3), Cell(kWidth - 1, kHeight - 1)}));
}

TEST_F(DrawPixels, HalfAlphaBlackHalvesEveryChannelRoundingToNearest) {
  Fill(255, 255, 255);
  render::SetColor(0, 0, 0);
  render::DrawRect(0, 0, 1, 1);  // one pixel black from the start
  render::SetAlpha(0.5f);
  // Each fade keeps 128/255 of a channel: 255 -> 128 -> 64 -> ..., and a
  // faint value stops at 1 because 1 * 128/255 rounds back up to 1.
  const int expected[] = {128, 64, 32, 16, 8, 4, 2, 1, 1};
  for (int fade = 0; fade < 9; ++fade) {
    render::DrawRect(0, 0, kWidth, kHeight);
    const int v = expected[fade];
    EXPECT_EQ(Pixel(50, 50), (Rgb{v, v, v})) << "after fade " << fade + 1;
    EXPECT_EQ(Pixel(0, 0), (Rgb{0, 0, 0})) << "black after fade " << fade + 1;
  }
}

TEST_F(DrawPixels, AdditiveAddsAFifthAndSaturates) {
  struct Case {
    int background;
    Rgb source;
    Rgb result;
  };
  const Case cases[] = {
      {0, {255, 255, 255}, {51, 51, 51}},
      {250, {255, 255, 255}, {255, 255, 255}},
      {100, {255, 100, 0}, {151, 120, 100}},
      {0, {127, 80, 20}, {25, 16, 4}},  // 127/5 = 25.4 rounds to 25
  };
  for (const Case& c : cases) {
    Fill(c.background, c.background, c.background);
    render::SetBlendMode(render::kBlendAdditive);
    render::SetAlpha(0.2f);
    render::SetColor(c.source[0], c.source[1], c.source[2]);
    render::DrawRect(20, 20, 4, 4);
    EXPECT_EQ(Pixel(21, 21), c.result) << "background " << c.background;
    EXPECT_EQ(Pixel(30, 30), (Rgb{c.background, c.background, c.background}));
  }
}

// Under additive white at alpha 0.2 over black a covered pixel reads 51;
// one covered twice would read 102 and is listed with its value.
std::vector<std::string> CoveredPixels(const std::vector<std::uint8_t>& rgba) {
  std::vector<std::string> pixels;
  for (int py = 0; py < kHeight; ++py) {
    for (int px = 0; px < kWidth; ++px) {
      const Rgb c = At(rgba, px, py);
      if (c == Rgb{51, 51, 51}) {
        pixels.push_back(Cell(px, py));
      } else if (c != Rgb{0, 0, 0}) {
        pixels.push_back(Cell(px, py) + " reads " + std::to_string(c[0]));
      }
    }
  }
  return pixels;
}

TEST_F(DrawPixels, SmallOvalsCoverTheirPixelsOnceEach) {
  render::SetBlendMode(render::kBlendAdditive);
  render::SetAlpha(0.2f);
  render::SetColor(255, 255, 255);

  render::DrawOval(10, 10, 3, 3);
  std::vector<std::string> square;
  for (int y = 10; y < 13; ++y) {
    for (int x = 10; x < 13; ++x) square.push_back(Cell(x, y));
  }
  EXPECT_EQ(CoveredPixels(ReadAll()), square) << "3 x 3 at (10, 10)";

  Fill(0, 0, 0);
  render::SetBlendMode(render::kBlendAdditive);
  render::SetAlpha(0.2f);
  render::SetColor(255, 255, 255);
  render::DrawOval(9, 9, 5, 5);
  std::vector<std::string> disc;
  for (int y = 9; y < 14; ++y) {
    for (int x = 9; x < 14; ++x) {
      const bool corner = (x == 9 || x == 13) && (y == 9 || y == 13);
      if (!corner) disc.push_back(Cell(x, y));
    }
  }
  ASSERT_EQ(disc.size(), 21u);
  EXPECT_EQ(CoveredPixels(ReadAll()), disc) << "5 x 5 at (9, 9)";
}

TEST_F(DrawPixels, ColourComponentsAreClampedOneByOne) {
  render::SetColor(300, -5, 127255);
  render::DrawRect(0, 0, 4, 4);
  EXPECT_EQ(Pixel(1, 1), (Rgb{255, 0, 255}));
}

TEST_F(DrawPixels, AlphaIsClampedToOpaqueAndToInvisible) {
  Fill(100, 100, 100);
  render::SetColor(200, 200, 200);
  render::SetAlpha(1.5f);
  render::DrawRect(0, 0, 4, 4);
  render::SetAlpha(-0.1f);
  render::DrawRect(10, 0, 4, 4);
  render::SetAlpha(std::numeric_limits<float>::quiet_NaN());
  render::DrawRect(20, 0, 4, 4);
  EXPECT_EQ(Pixel(1, 1), (Rgb{200, 200, 200}));
  EXPECT_EQ(Pixel(11, 1), (Rgb{100, 100, 100}));
  EXPECT_EQ(Pixel(21, 1), (Rgb{100, 100, 100}));
}

TEST_F(DrawPixels, BlendSwitchesKeepTheDrawingOrder) {
  // add 51, fade to 26 (51 * 128/255 = 25.6), add 51 again: 77. Any other
  // order gives another value.
  render::SetBlendMode(render::kBlendAdditive);
  render::SetAlpha(0.2f);
  render::SetColor(255, 255, 255);
  render::DrawRect(0, 0, 8, 8);
  render::SetBlendMode(render::kBlendAlpha);
  render::SetAlpha(0.5f);
  render::SetColor(0, 0, 0);
  render::DrawRect(0, 0, 8, 8);
  render::SetBlendMode(render::kBlendAdditive);
  render::SetAlpha(0.2f);
  render::SetColor(255, 255, 255);
  render::DrawRect(0, 0, 8, 8);
  EXPECT_EQ(Pixel(3, 3), (Rgb{77, 77, 77}));
}

TEST_F(DrawPixels, TextSetsExactlyTheGlyphPixelsInItsCells) {
  const std::string text = "Hi!_@";
  const int x = 5;
  const int y = 7;
  render::SetColor(255, 255, 255);
  render::DrawText(text, x, y);
  const std::vector<std::uint8_t> rgba = ReadAll();
  std::vector<std::string> wrong;
  for (int py = 0; py < kHeight; ++py) {
    for (int px = 0; px < kWidth; ++px) {
      const int k = (px - x) / render::font::kGlyphWidth;
      const bool inside = px >= x && px < x + 8 * static_cast<int>(text.size()) && py >= y &&
                          py < y + 16;
      const bool set = inside && render::font::PixelSet(static_cast<unsigned char>(text[k]),
                                                        (px - x) % 8, py - y);
      const Rgb want = set ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
      if (At(rgba, px, py) != want) wrong.push_back(Cell(px, py));
    }
  }
  EXPECT_TRUE(wrong.empty()) << wrong.size() << " wrong pixels, first " << wrong.front();
}

TEST_F(DrawPixels, CharactersOutsideTheFontLeaveNoGap) {
  render::SetColor(255, 255, 255);
  render::DrawText("Hi!", 5, 7);
  const std::vector<std::uint8_t> plain = ReadAll();
  Fill(0, 0, 0);
  render::SetColor(255, 255, 255);
  render::DrawText(std::string("H\x01i\t\x80!", 6), 5, 7);
  EXPECT_EQ(ReadAll(), plain);
}

TEST_F(DrawPixels, MoreShapesThanOneBufferHoldsAreAllDrawnOnce) {
  // 20000 one-pixel squares, 80000 vertices: more than one draw call's worth.
  render::SetBlendMode(render::kBlendAdditive);
  render::SetAlpha(0.2f);
  render::SetColor(255, 255, 255);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) render::DrawRect(x, y, 1, 1);
  }
  EXPECT_TRUE(PixelsNot(ReadAll(), {51, 51, 51}).empty());
}

TEST_F(DrawPixels, HugeAndNonFiniteCoordinatesDrawSafely) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  render::SetColor(255, 255, 255);
  render::DrawOval(nan, 10, 5, 5);
  render::DrawRect(10, 10, nan, 5);
  render::DrawOval(1e30f, 1e30f, 5, 5);
  render::DrawOval(-1e30f, 20, 5, 5);
  render::DrawRect(3e38f, 10, 3e38f, 5);
  render::DrawText("A", nan, 0);
  render::DrawText("A", 1e30f, 0);
  EXPECT_TRUE(PixelsNot(ReadAll(), {0, 0, 0}).empty());

  // Shapes far larger than the canvas are clipped to it.
  render::DrawRect(-1e30f, -1e30f, 2e30f, 2e30f);
  EXPECT_TRUE(PixelsNot(ReadAll(), {255, 255, 255}).empty());
  Fill(0, 0, 0);
  render::SetColor(0, 255, 0);
  render::DrawOval(-1e7f, -1e7f, 2e7f + kWidth, 2e7f + kHeight);
  EXPECT_TRUE(PixelsNot(ReadAll(), {0, 255, 0}).empty());

  // And drawing goes on as before.
  Fill(0, 0, 0);
  render::SetColor(255, 255, 255);
  render::DrawRect(2, 3, 1, 1);
  EXPECT_EQ(PixelsNot(ReadAll(), {0, 0, 0}), (std::vector<std::string>{Cell(2, 3)}));
}

}  // namespace
