// The drawing batch: what the drawing layer records between two draw calls.
//
// Pure CPU, no GL, so what a sequence of drawing calls records can be tested
// without a window.
//
// How it works. The batch holds the current drawing state (blend mode,
// colour, alpha) and one vertex buffer with an index buffer beside it. Every
// shape is a convex polygon: it appends its corners, each carrying the
// current colour and alpha, and the indices of a triangle fan over them.
// Changing colour or alpha only stores the new value; the vertices already
// recorded keep theirs. The whole buffer is drawn under one blend mode, so
// changing to a different mode hands the buffer to the sink first (the GL
// side draws it with one draw call) and starts a new one. The same happens
// when a shape does not fit in what is left of the buffer, and whenever the
// owner calls Flush (before a present or a read-back).
//
// A shape whose coordinates are not all finite records nothing. Finite
// coordinates are clipped to a guard square of +-kGuard pixels before they
// are recorded: far larger than any screen, so nothing visible changes, and
// small enough that the rasteriser's own clipping stays exact (a software
// rasteriser clips a rectangle from -1e10 to 1e10 wrongly). Rectangles and
// text are clamped corner by corner; an oval reaching past the square is cut
// to it, which can add up to four vertices.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace render {

inline constexpr std::int32_t kBlendAlpha = 3;     // src * a + dst * (1 - a)
inline constexpr std::int32_t kBlendAdditive = 4;  // src * a + dst, saturating

// Position in canvas pixels and colour as 8-bit values, read by GL as
// normalised unsigned bytes: 255 is 1.0 exactly.
struct Vertex {
  float x;
  float y;
  std::uint8_t r;
  std::uint8_t g;
  std::uint8_t b;
  std::uint8_t a;
};
static_assert(sizeof(Vertex) == 12, "the GL vertex layout assumes 12 bytes");

using VertexIndex = std::uint16_t;

class DrawBatch {
 public:
  // Vertices per draw call; 16-bit indices address at most this many.
  static constexpr std::int32_t kMaxCapacity = 65536;
  static constexpr std::int32_t kMinCapacity = 16;
  static constexpr double kGuard = 4194304.0;  // 2^22 pixels

  using Sink = void (*)(const DrawBatch& batch, void* context);

  // capacity: vertices the buffer holds, a multiple of 4 within
  // kMinCapacity..kMaxCapacity (rounded into that range otherwise). No oval
  // gets more than capacity - 4 vertices, so every shape, clipped or not,
  // fits into an empty buffer.
  explicit DrawBatch(std::int32_t capacity = kMaxCapacity);

  // Where full batches go. Without a sink they are dropped.
  void SetSink(Sink sink, void* context);

  // The layer's defaults: alpha blending, white, alpha 255. Goes through
  // SetBlendMode, so it flushes when the mode changes.
  void ResetState();

  // Modes 3 (alpha blending) and 4 (additive); any other code is ignored
  // and the mode in force stays. Setting the mode in force does nothing.
  void SetBlendMode(std::int32_t mode);
  // Clamped to 0..1, NaN to 0, held as trunc(alpha * 255).
  void SetAlpha(float alpha);
  // Each component clamped to 0..255 on its own.
  void SetColor(std::int32_t red, std::int32_t green, std::int32_t blue);

  void AddRect(float x, float y, float width, float height);
  void AddOval(float x, float y, float width, float height);
  // Characters outside 32..127 are skipped and take no room.
  void AddText(std::string_view text, float x, float y);

  // Hands a non-empty buffer to the sink and empties it.
  void Flush();
  // Empties the buffer without drawing it.
  void Discard();

  // The number of vertices an oval of these radii gets: trunc(|rx| + |ry|),
  // raised to 12, lowered to a multiple of 4, and never above capacity - 4.
  // 0 when a radius is not finite.
  static std::int32_t OvalVertexCount(double rx, double ry, std::int32_t capacity);

  std::int32_t capacity() const { return capacity_; }
  std::int32_t blendMode() const { return blendMode_; }
  std::uint8_t red() const { return current_.r; }
  std::uint8_t green() const { return current_.g; }
  std::uint8_t blue() const { return current_.b; }
  std::uint8_t alpha() const { return current_.a; }
  std::span<const Vertex> vertices() const { return {vertices_.get(), vertexCount_}; }
  std::span<const VertexIndex> indices() const { return {indices_.get(), indexCount_}; }

 private:
  // Room for a polygon of n corners: flushes first when it does not fit.
  // Returns the first vertex's slot.
  Vertex* BeginPolygon(std::int32_t n);
  void AddQuad(float x0, float y0, float x1, float y1);
  // An oval reaching past the guard square: cut to it, then recorded.
  void AddClippedPolygon(std::int32_t n, double cx, double cy, double rx, double ry,
                         const double* unit);
  const std::vector<double>& UnitCircle(std::int32_t n);

  std::int32_t capacity_;
  std::unique_ptr<Vertex[]> vertices_;
  std::unique_ptr<VertexIndex[]> indices_;
  std::size_t vertexCount_ = 0;
  std::size_t indexCount_ = 0;

  std::int32_t blendMode_ = 3;
  Vertex current_{0, 0, 255, 255, 255, 255};  // colour and alpha; position unused

  Sink sink_ = nullptr;
  void* sinkContext_ = nullptr;

  // cos and sin of vertex k at unitCircles_[n / 4][2k], [2k + 1], made on
  // first use of each count up to kMaxCachedCircle. Larger ovals (wider
  // than the screen many times over) reuse one scratch table, so odd sizes
  // cannot pile up tables without bound.
  static constexpr std::int32_t kMaxCachedCircle = 1024;
  std::vector<std::vector<double>> unitCircles_;
  std::vector<double> scratchCircle_;
  std::vector<double> clipIn_;  // x, y pairs
  std::vector<double> clipOut_;
};

}  // namespace render
