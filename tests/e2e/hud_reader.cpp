#include "hud_reader.h"

#include "render/font.h"

namespace e2e {
namespace {

using namespace render::font;

bool Set(Rgb p) { return p.r >= 64 && p.g >= 64 && p.b >= 64; }

// The glyph whose set pixels are exactly the cell's, or 0.
char MatchCell(const Screenshot& shot, int x, int y) {
  if (x < 0 || y < 0 || x + kGlyphWidth > shot.width() || y + kGlyphHeight > shot.height()) {
    return 0;
  }
  for (int code = kFirstCode; code <= kLastCode; ++code) {
    bool same = true;
    for (int row = 0; row < kGlyphHeight && same; ++row) {
      for (int column = 0; column < kGlyphWidth && same; ++column) {
        same = Set(shot.at(x + column, y + row)) == PixelSet(code, column, row);
      }
    }
    if (same) return static_cast<char>(code);
  }
  return 0;
}

}  // namespace

std::string ReadText(const Screenshot& shot, int x, int y, int limit) {
  std::string text;
  int blanks = 0;
  for (int i = 0; i < limit; ++i) {
    const char c = MatchCell(shot, x + i * kGlyphWidth, y);
    if (c == 0) break;
    if (c == ' ') {
      if (++blanks == 2) break;  // two blank cells: the text has ended
    } else {
      blanks = 0;
    }
    text += c;
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace e2e
