// The canvas: the picture the program draws on.
//
// An offscreen RGBA8 framebuffer the size of the screen. The frame loop
// fades the picture instead of clearing it, so it must survive every
// present; a window's back buffer may not (after a swap it holds an older
// frame, or garbage). Presenting therefore copies the canvas to the window's
// back buffer and leaves the canvas as it was.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace render {

// Creates the framebuffer and makes it the target of all drawing. A GL
// context must be current and gl::Load done. On failure returns false with
// the reason in *error.
bool CreateCanvas(std::int32_t width, std::int32_t height, std::string* error);
void DestroyCanvas();

std::int32_t CanvasWidth();
std::int32_t CanvasHeight();
// The GL framebuffer object behind the canvas, 0 before CreateCanvas.
std::uint32_t CanvasFramebuffer();

// Fills the whole canvas with opaque black.
void ClearCanvas();

// Flushes the drawing batch and copies the canvas into the window's back
// buffer (framebuffer 0); the caller then swaps.
void CopyCanvasToWindow();

// Flushes the drawing batch and reads the rectangle back as RGBA bytes, row
// by row from the top (canvas coordinates, y downward).
std::vector<std::uint8_t> ReadCanvas(std::int32_t x, std::int32_t y, std::int32_t width,
                                     std::int32_t height);

}  // namespace render
