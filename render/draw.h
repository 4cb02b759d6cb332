// The two-dimensional drawing layer: immediate-mode calls over a batch.
//
// Coordinates are canvas pixels, (0, 0) at the top-left corner, x to the
// right and y downward, used exactly as given (no half-pixel offset). The
// current blend mode, colour and alpha apply to every shape drawn until they
// are changed; each shape appends its vertices, carrying the current colour
// and alpha, to one vertex buffer. The batch is drawn into the canvas with
// one draw call when the blend mode changes to a different one, when the
// buffer is full, and before the canvas is presented or read back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "render/draw_batch.h"

namespace render {

// Creates the layer's GL objects for a canvas of width x height pixels; a GL
// 3.3 core context must be current and gl::Load done. On failure returns
// false with the reason (a shader log, say) in *error.
bool InitDrawing(std::int32_t width, std::int32_t height, std::string* error);
void ShutdownDrawing();

// Back to the layer's defaults: alpha blending, white, fully opaque.
void ResetDrawState();

void SetBlendMode(std::int32_t mode);
void SetAlpha(float alpha);
void SetColor(std::int32_t red, std::int32_t green, std::int32_t blue);
void DrawRect(float x, float y, float width, float height);
void DrawOval(float x, float y, float width, float height);
void DrawText(std::string_view text, float x, float y);

// Draws whatever the batch holds into the canvas. Without InitDrawing (no
// GL) the batch is only emptied, which lets tests and benchmarks record
// drawing without a context.
void Flush();

// The batch as recorded since the last flush, for tests and benchmarks.
const DrawBatch& CurrentBatch();
// Empties the batch without drawing it.
void DiscardBatch();

}  // namespace render
