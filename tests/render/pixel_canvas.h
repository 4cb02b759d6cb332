// Shared by the pixel tests: a small GL canvas and ways to read it back.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "render/canvas.h"
#include "render/draw.h"
#include "render/gl.h"
#include "tests/support/gl_test_context.h"

namespace render_test {

using Rgb = std::array<int, 3>;

// Wide enough for a line of text, not square, so a flipped axis shows.
inline constexpr int kWidth = 200;
inline constexpr int kHeight = 100;

// Each test starts on a black canvas with the layer's default state, and
// ends with GL reporting no error.
class PixelCanvas : public ::testing::Test {
 protected:
  void SetUp() override {
    GRAVITY_REQUIRE_GL_CANVAS(kWidth, kHeight);
    haveCanvas_ = true;
  }
  void TearDown() override {
    if (haveCanvas_) {
      EXPECT_EQ(gl::GetError(), static_cast<GLenum>(GL_NO_ERROR)) << "GL reported an error";
    }
  }

 private:
  bool haveCanvas_ = false;
};

// The whole canvas, top row first, RGBA.
inline std::vector<std::uint8_t> ReadAll() { return render::ReadCanvas(0, 0, kWidth, kHeight); }

inline Rgb At(const std::vector<std::uint8_t>& rgba, int x, int y) {
  const std::size_t at = (static_cast<std::size_t>(y) * kWidth + x) * 4;
  return {rgba[at], rgba[at + 1], rgba[at + 2]};
}

inline Rgb Pixel(int x, int y) {
  const std::vector<std::uint8_t> one = render::ReadCanvas(x, y, 1, 1);
  return {one[0], one[1], one[2]};
}

inline std::string Cell(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

// Paints the whole canvas one opaque colour.
inline void Fill(int r, int g, int b) {
  render::SetBlendMode(render::kBlendAlpha);
  render::SetAlpha(1.0f);
  render::SetColor(r, g, b);
  render::DrawRect(0, 0, kWidth, kHeight);
}

// The pixels whose colour differs from `background`, as "x,y" in reading
// order, so a failure lists exactly which pixels are wrong.
inline std::vector<std::string> PixelsNot(const std::vector<std::uint8_t>& rgba, Rgb background) {
  std::vector<std::string> found;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (At(rgba, x, y) != background) found.push_back(Cell(x, y));
    }
  }
  return found;
}

}  // namespace render_test
