// The drawing layer's built-in bitmap font: 96 glyphs for the character
// codes 32 to 127, each an 8 x 16 pixel cell.
#pragma once

#include <cstdint>
#include <span>

namespace render::font {

inline constexpr int kGlyphWidth = 8;
inline constexpr int kGlyphHeight = 16;
inline constexpr int kFirstCode = 32;
inline constexpr int kLastCode = 127;

// A horizontal run of set pixels in one glyph row, relative to the cell's
// top-left corner.
struct Run {
  std::uint8_t row;
  std::uint8_t column;
  std::uint8_t length;
};

// The set pixels of the glyph for `code`, top row first, left to right.
// Empty for codes outside 32..127 and for the space.
std::span<const Run> GlyphRuns(int code);

// Whether pixel (column, row) of the glyph for `code` is set; false outside
// the cell or the code range.
bool PixelSet(int code, int column, int row);

}  // namespace render::font
