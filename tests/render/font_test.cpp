// The built-in font: its run table must draw exactly the pixels of the
// glyph drawings, and no two characters may look alike.

#include "render/font.h"

#include <gtest/gtest.h>

#include <array>
#include <bitset>
#include <map>

namespace {

using namespace render::font;

using Bitmap = std::bitset<kGlyphWidth * kGlyphHeight>;

Bitmap FromRuns(int code) {
  Bitmap pixels;
  for (const Run& run : GlyphRuns(code)) {
    EXPECT_LT(run.row, kGlyphHeight);
    EXPECT_GT(run.length, 0);
    EXPECT_LE(run.column + run.length, kGlyphWidth);
    for (int c = run.column; c < run.column + run.length; ++c) {
      const std::size_t bit = static_cast<std::size_t>(run.row * kGlyphWidth + c);
      EXPECT_FALSE(pixels[bit]) << "code " << code << ": runs overlap";
      pixels.set(bit);
    }
  }
  return pixels;
}

Bitmap FromDrawing(int code) {
  Bitmap pixels;
  for (int row = 0; row < kGlyphHeight; ++row) {
    for (int column = 0; column < kGlyphWidth; ++column) {
      if (PixelSet(code, column, row)) pixels.set(static_cast<std::size_t>(row * kGlyphWidth + column));
    }
  }
  return pixels;
}

TEST(Font, RunsCoverExactlyTheDrawnPixels) {
  for (int code = kFirstCode; code <= kLastCode; ++code) {
    EXPECT_EQ(FromRuns(code), FromDrawing(code)) << "code " << code;
  }
}

TEST(Font, EveryCharacterButTheSpaceIsVisibleAndDistinct) {
  EXPECT_TRUE(GlyphRuns(' ').empty());
  std::map<std::string, int> seen;
  for (int code = kFirstCode + 1; code <= kLastCode; ++code) {
    const Bitmap pixels = FromDrawing(code);
    EXPECT_TRUE(pixels.any()) << "code " << code << " is blank";
    const auto [at, fresh] = seen.emplace(pixels.to_string(), code);
    EXPECT_TRUE(fresh) << "codes " << at->second << " and " << code << " look the same";
  }
}

TEST(Font, CodesOutsideTheFontHaveNoPixels) {
  for (int code : {-1, 0, 31, 128, 255}) {
    EXPECT_TRUE(GlyphRuns(code).empty()) << code;
    EXPECT_FALSE(PixelSet(code, 3, 8)) << code;
  }
  EXPECT_FALSE(PixelSet('A', kGlyphWidth, 8));
  EXPECT_FALSE(PixelSet('A', 3, -1));
}

}  // namespace
