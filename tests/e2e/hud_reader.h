// Reads a line of text off a screenshot by matching each 8 x 16 cell
// against the drawing layer's own font: a pixel counts as set when it is at
// least mid-grey. The heads-up line is white text that one fade has turned
// grey 128 by the time it is seen, on a black panel.
#pragma once

#include <string>

#include "x11_session.h"

namespace e2e {

// The characters from (x, y) rightwards, up to the first cell that is blank
// or matches no glyph exactly; at most `limit` characters. Spaces inside the
// text are kept, trailing ones dropped.
std::string ReadText(const Screenshot& shot, int x, int y, int limit = 40);

}  // namespace e2e
