#include "render/draw_batch.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "render/font.h"

namespace render {
namespace {

std::uint8_t ClampComponent(std::int32_t value) {
  return static_cast<std::uint8_t>(std::clamp<std::int32_t>(value, 0, 255));
}

// Writes the unit circle for n vertices (n a multiple of 4) as cos, sin
// pairs. Only the first quadrant is computed; the others are rotations of it
// by quarter turns, so 90, 180 and 270 degrees come out as exact 0 and +-1
// and the polygon is exactly symmetric.
void FillUnitCircle(std::int32_t n, std::vector<double>* table) {
  table->resize(2 * static_cast<std::size_t>(n));
  const std::int32_t quarter = n / 4;
  for (std::int32_t j = 0; j < quarter; ++j) {
    const double angle = 2.0 * std::numbers::pi * j / n;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double rotated[4][2] = {{c, s}, {-s, c}, {-c, -s}, {s, -c}};
    for (std::int32_t q = 0; q < 4; ++q) {
      const std::size_t k = static_cast<std::size_t>(q * quarter + j);
      (*table)[2 * k] = rotated[q][0];
      (*table)[2 * k + 1] = rotated[q][1];
    }
  }
}

}  // namespace

DrawBatch::DrawBatch(std::int32_t capacity)
    : capacity_(std::clamp(capacity - capacity % 4, kMinCapacity, kMaxCapacity)),
      vertices_(new Vertex[static_cast<std::size_t>(capacity_)]),
      // A polygon of n corners needs 3 (n - 2) indices, so the index buffer
      // can never fill before the vertex buffer does.
      indices_(new VertexIndex[3 * static_cast<std::size_t>(capacity_)]) {}

void DrawBatch::SetSink(Sink sink, void* context) {
  sink_ = sink;
  sinkContext_ = context;
}

void DrawBatch::ResetState() {
  SetBlendMode(kBlendAlpha);
  SetColor(255, 255, 255);
  SetAlpha(1.0f);
}

void DrawBatch::SetBlendMode(std::int32_t mode) {
  if (mode == blendMode_) return;
  if (mode != kBlendAlpha && mode != kBlendAdditive) return;
  Flush();
  blendMode_ = mode;
}

void DrawBatch::SetAlpha(float alpha) {
  // The negated test sends NaN to 0 along with the negatives.
  if (!(alpha > 0.0f)) {
    current_.a = 0;
  } else if (alpha >= 1.0f) {
    current_.a = 255;
  } else {
    // A float times 255 is exact in double, so the truncation sees the true
    // product: 0.5 gives 127, and 0.2f (a little above 0.2) gives 51.
    current_.a = static_cast<std::uint8_t>(static_cast<double>(alpha) * 255.0);
  }
}

void DrawBatch::SetColor(std::int32_t red, std::int32_t green, std::int32_t blue) {
  current_.r = ClampComponent(red);
  current_.g = ClampComponent(green);
  current_.b = ClampComponent(blue);
}

std::int32_t DrawBatch::OvalVertexCount(double rx, double ry, std::int32_t capacity) {
  const double sum = std::fabs(rx) + std::fabs(ry);
  if (!std::isfinite(sum)) return 0;
  const std::int32_t limit = capacity - 4;  // room for what clipping may add
  // Compared before converting, so a huge sum never meets an int.
  const std::int32_t n = sum >= limit ? limit : std::max(static_cast<std::int32_t>(sum), 12);
  return n - n % 4;
}

Vertex* DrawBatch::BeginPolygon(std::int32_t n) {
  if (vertexCount_ + static_cast<std::size_t>(n) > static_cast<std::size_t>(capacity_)) Flush();
  const auto base = static_cast<VertexIndex>(vertexCount_);
  VertexIndex* index = indices_.get() + indexCount_;
  for (std::int32_t k = 1; k + 1 < n; ++k) {
    *index++ = base;
    *index++ = static_cast<VertexIndex>(base + k);
    *index++ = static_cast<VertexIndex>(base + k + 1);
  }
  Vertex* first = vertices_.get() + vertexCount_;
  vertexCount_ += static_cast<std::size_t>(n);
  indexCount_ += 3 * static_cast<std::size_t>(n - 2);
  return first;
}

void DrawBatch::AddQuad(float x0, float y0, float x1, float y1) {
  // Clamping an axis-aligned rectangle to the guard square leaves every
  // pixel inside the square covered exactly as before.
  constexpr float guard = static_cast<float>(kGuard);
  x0 = std::clamp(x0, -guard, guard);
  y0 = std::clamp(y0, -guard, guard);
  x1 = std::clamp(x1, -guard, guard);
  y1 = std::clamp(y1, -guard, guard);
  Vertex* v = BeginPolygon(4);
  v[0] = current_;
  v[0].x = x0;
  v[0].y = y0;
  v[1] = current_;
  v[1].x = x1;
  v[1].y = y0;
  v[2] = current_;
  v[2].x = x1;
  v[2].y = y1;
  v[3] = current_;
  v[3].x = x0;
  v[3].y = y1;
}

void DrawBatch::AddRect(float x, float y, float width, float height) {
  const float right = x + width;
  const float bottom = y + height;
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(right) ||
      !std::isfinite(bottom)) {
    return;
  }
  AddQuad(x, y, right, bottom);
}

const std::vector<double>& DrawBatch::UnitCircle(std::int32_t n) {
  if (n > kMaxCachedCircle) {
    FillUnitCircle(n, &scratchCircle_);
    return scratchCircle_;
  }
  const auto slot = static_cast<std::size_t>(n / 4);
  if (slot >= unitCircles_.size()) unitCircles_.resize(slot + 1);
  std::vector<double>& table = unitCircles_[slot];
  if (table.empty()) FillUnitCircle(n, &table);
  return table;
}

void DrawBatch::AddOval(float x, float y, float width, float height) {
  // The far corner is checked too: x and width may each be finite while
  // their sum is not.
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(x + width) ||
      !std::isfinite(y + height)) {
    return;
  }
  const double rx = 0.5 * width;
  const double ry = 0.5 * height;
  const double cx = x + rx;
  const double cy = y + ry;
  const std::int32_t n = OvalVertexCount(rx, ry, capacity_);
  const double* unit = UnitCircle(n).data();
  if (std::fabs(cx) + std::fabs(rx) > kGuard || std::fabs(cy) + std::fabs(ry) > kGuard) {
    AddClippedPolygon(n, cx, cy, rx, ry, unit);
    return;
  }
  Vertex* v = BeginPolygon(n);
  for (std::int32_t k = 0; k < n; ++k) {
    v[k] = current_;
    // y grows downward on the canvas, so a positive angle goes up: minus.
    v[k].x = static_cast<float>(cx + rx * unit[2 * k]);
    v[k].y = static_cast<float>(cy - ry * unit[2 * k + 1]);
  }
}

void DrawBatch::AddClippedPolygon(std::int32_t n, double cx, double cy, double rx, double ry,
                                  const double* unit) {
  clipIn_.clear();
  for (std::int32_t k = 0; k < n; ++k) {
    clipIn_.push_back(cx + rx * unit[2 * k]);
    clipIn_.push_back(cy - ry * unit[2 * k + 1]);
  }
  // Sutherland-Hodgman against the four sides of the square in turn. The
  // polygon is convex, so each side adds at most one vertex.
  for (int side = 0; side < 4; ++side) {
    const int axis = side / 2;                            // 0: x, 1: y
    const double bound = side % 2 == 0 ? -kGuard : kGuard;
    auto inside = [&](const double* p) { return side % 2 == 0 ? p[axis] >= bound : p[axis] <= bound; };
    clipOut_.clear();
    const std::size_t count = clipIn_.size() / 2;
    for (std::size_t i = 0; i < count; ++i) {
      const double* p = &clipIn_[2 * i];
      const double* q = &clipIn_[2 * ((i + 1) % count)];
      const bool pIn = inside(p);
      if (pIn) {
        clipOut_.push_back(p[0]);
        clipOut_.push_back(p[1]);
      }
      if (pIn != inside(q)) {
        const double t = (bound - p[axis]) / (q[axis] - p[axis]);
        double cut[2] = {p[0] + t * (q[0] - p[0]), p[1] + t * (q[1] - p[1])};
        cut[axis] = bound;
        clipOut_.push_back(cut[0]);
        clipOut_.push_back(cut[1]);
      }
    }
    clipIn_.swap(clipOut_);
  }
  const auto m = static_cast<std::int32_t>(clipIn_.size() / 2);
  if (m < 3) return;  // wholly outside the square: nothing to see
  Vertex* v = BeginPolygon(m);
  for (std::int32_t k = 0; k < m; ++k) {
    v[k] = current_;
    v[k].x = static_cast<float>(clipIn_[2 * static_cast<std::size_t>(k)]);
    v[k].y = static_cast<float>(clipIn_[2 * static_cast<std::size_t>(k) + 1]);
  }
}

void DrawBatch::AddText(std::string_view text, float x, float y) {
  if (!std::isfinite(x) || !std::isfinite(y)) return;
  double cellX = x;
  for (const char ch : text) {
    const int code = static_cast<unsigned char>(ch);
    if (code < font::kFirstCode || code > font::kLastCode) continue;
    // Each run of set pixels in a glyph row is one quad one pixel high: its
    // edges lie on pixel borders when x and y are whole, and a pixel centre
    // is inside exactly one quad whatever the offset, so every set pixel is
    // drawn once and nothing else is touched.
    for (const font::Run& run : font::GlyphRuns(code)) {
      const double left = cellX + run.column;
      const double top = static_cast<double>(y) + run.row;
      AddQuad(static_cast<float>(left), static_cast<float>(top),
              static_cast<float>(left + run.length), static_cast<float>(top + 1.0));
    }
    cellX += font::kGlyphWidth;
  }
}

void DrawBatch::Flush() {
  if (vertexCount_ == 0) return;
  if (sink_ != nullptr) sink_(*this, sinkContext_);
  Discard();
}

void DrawBatch::Discard() {
  vertexCount_ = 0;
  indexCount_ = 0;
}

}  // namespace render
