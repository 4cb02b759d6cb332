// Placeholder until the batched layer lands: records nothing.
#include "render/draw.h"

namespace render {
bool InitDrawing(std::int32_t, std::int32_t, std::string*) { return true; }
void ShutdownDrawing() {}
void ResetDrawState() {}
void SetBlendMode(std::int32_t) {}
void SetAlpha(float) {}
void SetColor(std::int32_t, std::int32_t, std::int32_t) {}
void DrawRect(float, float, float, float) {}
void DrawOval(float, float, float, float) {}
void DrawText(std::string_view, float, float) {}
void Flush() {}
}  // namespace render
