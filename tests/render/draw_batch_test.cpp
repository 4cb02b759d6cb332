// What drawing calls record in the batch, and when the batch is handed on.

#include "render/draw_batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iomanip>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace {

using render::DrawBatch;
using render::Vertex;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// What one hand-over to the sink carried.
struct FlushRecord {
  std::int32_t blendMode;
  std::vector<Vertex> vertices;
  std::vector<render::VertexIndex> indices;
};

// A batch whose sink keeps a copy of everything it is handed.
class RecordingBatch : public ::testing::Test {
 protected:
  explicit RecordingBatch(std::int32_t capacity = DrawBatch::kMaxCapacity) : batch(capacity) {
    batch.SetSink(
        [](const DrawBatch& b, void* self) {
          static_cast<RecordingBatch*>(self)->flushes.push_back(
              {b.blendMode(), {b.vertices().begin(), b.vertices().end()},
               {b.indices().begin(), b.indices().end()}});
        },
        this);
  }

  DrawBatch batch;
  std::vector<FlushRecord> flushes;
};

bool SameBytes(const std::vector<Vertex>& a, std::span<const Vertex> b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(Vertex)) == 0;
}

// Every triangle of a fan over the vertices [first, first + n), in order.
void ExpectFan(std::span<const render::VertexIndex> indices, std::size_t at, int first, int n) {
  ASSERT_GE(indices.size(), at + 3 * static_cast<std::size_t>(n - 2));
  for (int k = 1; k + 1 < n; ++k) {
    const std::size_t t = at + 3 * static_cast<std::size_t>(k - 1);
    EXPECT_EQ(indices[t], first);
    EXPECT_EQ(indices[t + 1], first + k);
    EXPECT_EQ(indices[t + 2], first + k + 1);
  }
}

// --- Oval geometry ---------------------------------------------------------

struct OvalCase {
  float width;
  float height;
  std::size_t vertices;
};

void PrintTo(const OvalCase& c, std::ostream* os) { *os << c.width << "x" << c.height; }

class OvalVertexCount : public ::testing::TestWithParam<OvalCase> {};

TEST_P(OvalVertexCount, FollowsTheRuleAndFormsOneFan) {
  const OvalCase c = GetParam();
  DrawBatch batch;
  batch.AddOval(100.0f, 100.0f, c.width, c.height);
  EXPECT_EQ(batch.vertices().size(), c.vertices);
  EXPECT_EQ(batch.indices().size(), 3 * (c.vertices - 2));
  ExpectFan(batch.indices(), 0, 0, static_cast<int>(c.vertices));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, OvalVertexCount,
    ::testing::Values(OvalCase{3, 3, 12},      // the particle's inner disc
                      OvalCase{5, 5, 12},      // its outer disc
                      OvalCase{10, 10, 12},    // the heavy bodies' mark
                      OvalCase{30, 30, 28},    // 30 -> multiple of 4
                      OvalCase{0, 0, 12},      // nothing to go round, still 12
                      OvalCase{-30, 30, 28},   // the count uses |rx| + |ry|
                      OvalCase{50, 2, 24},     // trunc(26) = 26 -> 24
                      OvalCase{47.9f, 0, 20},  // trunc(23.95) = 23 -> 20
                      OvalCase{1366, 768, 1064}));

TEST(OvalVertexCountLimits, HugeRadiiLeaveRoomForClippingAndNaNGivesNone) {
  EXPECT_EQ(DrawBatch::OvalVertexCount(1e30, 1e30, 65536), 65532);
  EXPECT_EQ(DrawBatch::OvalVertexCount(3e9, 0, 65536), 65532);
  EXPECT_EQ(DrawBatch::OvalVertexCount(65531.9, 0, 65536), 65528);
  EXPECT_EQ(DrawBatch::OvalVertexCount(40, 0, 24), 20);
  EXPECT_EQ(DrawBatch::OvalVertexCount(std::nan(""), 1, 65536), 0);
  EXPECT_EQ(DrawBatch::OvalVertexCount(std::numeric_limits<double>::infinity(), 1, 65536), 0);
}

TEST(OvalPlacement, VertexKSitsAtAngle360kOverNWithYUp) {
  DrawBatch batch;
  batch.AddOval(10.0f, 20.0f, 30.0f, 16.0f);  // centre (25, 28), rx 15, ry 8, n 20
  const auto v = batch.vertices();
  ASSERT_EQ(v.size(), 20u);
  // The quarter turns are exact: a vertex count divisible by 4 puts vertices
  // on both axes.
  EXPECT_EQ(v[0].x, 40.0f);
  EXPECT_EQ(v[0].y, 28.0f);
  EXPECT_EQ(v[5].x, 25.0f);
  EXPECT_EQ(v[5].y, 20.0f);  // 90 degrees is up the screen: centre y - ry
  EXPECT_EQ(v[10].x, 10.0f);
  EXPECT_EQ(v[10].y, 28.0f);
  EXPECT_EQ(v[15].x, 25.0f);
  EXPECT_EQ(v[15].y, 36.0f);
  for (int k = 0; k < 20; ++k) {
    const double angle = 2 * 3.14159265358979323846 * k / 20;
    EXPECT_NEAR(v[k].x, 25 + 15 * std::cos(angle), 1e-5) << "vertex " << k;
    EXPECT_NEAR(v[k].y, 28 - 8 * std::sin(angle), 1e-5) << "vertex " << k;
  }
}

TEST(RectPlacement, CornersGoClockwiseFromTheGivenOne) {
  DrawBatch batch;
  batch.AddRect(1.5f, 2.0f, 3.0f, -4.0f);
  const auto v = batch.vertices();
  ASSERT_EQ(v.size(), 4u);
  EXPECT_EQ((std::vector<float>{v[0].x, v[0].y, v[1].x, v[1].y, v[2].x, v[2].y, v[3].x, v[3].y}),
            (std::vector<float>{1.5f, 2.0f, 4.5f, 2.0f, 4.5f, -2.0f, 1.5f, -2.0f}));
  ExpectFan(batch.indices(), 0, 0, 4);
}

// --- Colour and alpha ------------------------------------------------------

struct AlphaCase {
  float alpha;
  std::uint8_t held;
};

void PrintTo(const AlphaCase& c, std::ostream* os) { *os << std::setprecision(9) << c.alpha; }

class AlphaClamp : public ::testing::TestWithParam<AlphaCase> {};

TEST_P(AlphaClamp, EveryLaterVertexCarriesTruncatedAlpha) {
  DrawBatch batch;
  batch.SetAlpha(GetParam().alpha);
  batch.AddRect(0, 0, 1, 1);
  for (const Vertex& v : batch.vertices()) EXPECT_EQ(v.a, GetParam().held);
}

INSTANTIATE_TEST_SUITE_P(Values, AlphaClamp,
                         ::testing::Values(AlphaCase{0.5f, 127}, AlphaCase{0.2f, 51},
                                           AlphaCase{1.0f, 255}, AlphaCase{0.0f, 0},
                                           AlphaCase{1.5f, 255}, AlphaCase{-0.1f, 0},
                                           AlphaCase{kNaN, 0}, AlphaCase{-kNaN, 0},
                                           AlphaCase{kInf, 255}, AlphaCase{-kInf, 0},
                                           AlphaCase{0.99999994f, 254}));

TEST(ColorClamp, EachComponentOnItsOwnWithoutWrapping) {
  DrawBatch batch;
  batch.SetColor(300, -5, 127255);
  batch.AddRect(0, 0, 1, 1);
  batch.SetColor(std::numeric_limits<std::int32_t>::min(), 255, 0);
  batch.AddRect(0, 0, 1, 1);
  const auto v = batch.vertices();
  EXPECT_EQ((std::vector<int>{v[0].r, v[0].g, v[0].b}), (std::vector<int>{255, 0, 255}));
  EXPECT_EQ((std::vector<int>{v[4].r, v[4].g, v[4].b}), (std::vector<int>{0, 255, 0}));
}

TEST(DrawState, ColourAlphaAndModeLeaveEachOtherAlone) {
  DrawBatch batch;
  batch.SetColor(1, 2, 3);
  batch.SetAlpha(0.2f);
  batch.SetBlendMode(render::kBlendAdditive);
  batch.SetColor(4, 5, 6);
  EXPECT_EQ(batch.alpha(), 51);
  batch.SetAlpha(0.5f);
  EXPECT_EQ((std::vector<int>{batch.red(), batch.green(), batch.blue()}),
            (std::vector<int>{4, 5, 6}));
  EXPECT_EQ(batch.blendMode(), render::kBlendAdditive);
  batch.ResetState();
  EXPECT_EQ((std::vector<int>{batch.blendMode(), batch.red(), batch.green(), batch.blue(),
                              batch.alpha()}),
            (std::vector<int>{render::kBlendAlpha, 255, 255, 255, 255}));
}

// --- When the batch is handed on -------------------------------------------

TEST_F(RecordingBatch, ColourAndAlphaChangesOnlyStoreValues) {
  batch.SetColor(10, 20, 30);
  batch.SetAlpha(0.2f);
  batch.AddRect(0, 0, 1, 1);
  batch.SetColor(40, 50, 60);
  batch.SetAlpha(1.0f);
  batch.AddOval(0, 0, 3, 3);
  EXPECT_TRUE(flushes.empty());
  const auto v = batch.vertices();
  ASSERT_EQ(v.size(), 16u);
  // Vertices already recorded keep the colour they were made with.
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ((std::vector<int>{v[k].r, v[k].g, v[k].b, v[k].a}),
              (std::vector<int>{10, 20, 30, 51}));
  }
  for (int k = 4; k < 16; ++k) {
    EXPECT_EQ((std::vector<int>{v[k].r, v[k].g, v[k].b, v[k].a}),
              (std::vector<int>{40, 50, 60, 255}));
  }
  // The second shape's fan starts at its own first vertex.
  ExpectFan(batch.indices(), 6, 4, 12);
}

TEST_F(RecordingBatch, OnlyADifferentBlendModeFlushes) {
  batch.AddRect(0, 0, 1, 1);
  batch.SetBlendMode(render::kBlendAlpha);  // already in force
  batch.SetBlendMode(7);                    // not a mode: ignored
  EXPECT_TRUE(flushes.empty());
  EXPECT_EQ(batch.blendMode(), render::kBlendAlpha);

  batch.SetBlendMode(render::kBlendAdditive);
  ASSERT_EQ(flushes.size(), 1u);
  EXPECT_EQ(flushes[0].blendMode, render::kBlendAlpha);  // drawn under the mode it was recorded in
  EXPECT_EQ(flushes[0].vertices.size(), 4u);
  EXPECT_TRUE(batch.vertices().empty());

  batch.AddOval(0, 0, 3, 3);
  batch.SetBlendMode(render::kBlendAdditive);
  EXPECT_EQ(flushes.size(), 1u);
  batch.Flush();
  ASSERT_EQ(flushes.size(), 2u);
  EXPECT_EQ(flushes[1].blendMode, render::kBlendAdditive);
  EXPECT_EQ(flushes[1].vertices.size(), 12u);
}

TEST_F(RecordingBatch, AnEmptyBatchIsNeverHandedOn) {
  batch.SetBlendMode(render::kBlendAdditive);
  batch.SetBlendMode(render::kBlendAlpha);
  batch.Flush();
  EXPECT_TRUE(flushes.empty());
  EXPECT_EQ(batch.blendMode(), render::kBlendAlpha);
}

TEST_F(RecordingBatch, AFullBufferIsFlushedBeforeTheShapeThatDoesNotFit) {
  constexpr std::size_t kOvalsThatFit = DrawBatch::kMaxCapacity / 12;  // 5461, 65532 vertices
  for (std::size_t k = 0; k < kOvalsThatFit; ++k) {
    batch.SetColor(static_cast<std::int32_t>(k % 256), 0, 0);
    batch.AddOval(static_cast<float>(k % 100), 0, 3, 3);
  }
  EXPECT_TRUE(flushes.empty());
  EXPECT_EQ(batch.vertices().size(), 12 * kOvalsThatFit);

  batch.SetColor(1, 2, 3);
  batch.AddOval(50, 50, 5, 5);
  ASSERT_EQ(flushes.size(), 1u);
  EXPECT_EQ(flushes[0].vertices.size(), 12 * kOvalsThatFit);
  EXPECT_EQ(flushes[0].indices.size(), 30 * kOvalsThatFit);
  EXPECT_EQ(flushes[0].vertices.back().r, (kOvalsThatFit - 1) % 256);
  for (render::VertexIndex index : flushes[0].indices) ASSERT_LT(index, 12 * kOvalsThatFit);

  // The new shape starts a fresh buffer, indexed from 0.
  ASSERT_EQ(batch.vertices().size(), 12u);
  EXPECT_EQ(batch.vertices()[0].r, 1);
  ExpectFan(batch.indices(), 0, 0, 12);
}

class SmallBatch : public RecordingBatch {
 protected:
  SmallBatch() : RecordingBatch(24) {}
};

TEST_F(SmallBatch, AnOvalNeverOutgrowsTheBuffer) {
  batch.AddOval(0, 0, 3, 3);
  batch.AddOval(0, 0, 1e6f, 1e6f);  // wants a million vertices, gets capacity - 4
  ASSERT_EQ(flushes.size(), 1u);
  EXPECT_EQ(flushes[0].vertices.size(), 12u);
  EXPECT_EQ(batch.vertices().size(), 20u);
  ExpectFan(batch.indices(), 0, 0, 20);

  batch.AddRect(0, 0, 1, 1);  // exactly fills the buffer
  EXPECT_EQ(flushes.size(), 1u);
  batch.AddRect(0, 0, 1, 1);
  ASSERT_EQ(flushes.size(), 2u);
  EXPECT_EQ(flushes[1].vertices.size(), 24u);
  EXPECT_EQ(batch.vertices().size(), 4u);
}

TEST_F(SmallBatch, AClippedOvalStillFitsAnEmptyBuffer) {
  // 20 vertices on a circle about the origin, cut by all four sides of the
  // guard square, which lies wholly inside it.
  batch.AddOval(-1e7f, -1e7f, 2e7f, 2e7f);
  EXPECT_TRUE(flushes.empty());
  EXPECT_GE(batch.vertices().size(), 4u);
  EXPECT_LE(batch.vertices().size(), 24u);
  for (const Vertex& v : batch.vertices()) {
    EXPECT_EQ(std::fabs(v.x), DrawBatch::kGuard);
    EXPECT_EQ(std::fabs(v.y), DrawBatch::kGuard);
  }
}

TEST_F(SmallBatch, TextLongerThanTheBufferIsSplitAcrossFlushes) {
  batch.AddText("MMMM", 0, 0);
  std::size_t vertices = batch.vertices().size();
  for (const FlushRecord& f : flushes) {
    vertices += f.vertices.size();
    EXPECT_LE(f.vertices.size(), 24u);
    for (render::VertexIndex index : f.indices) EXPECT_LT(index, f.vertices.size());
  }
  EXPECT_GT(flushes.size(), 1u);
  DrawBatch big;
  big.AddText("MMMM", 0, 0);
  EXPECT_EQ(vertices, big.vertices().size());
}

// --- Coordinates that are not numbers, or huge -----------------------------

struct BadShape {
  const char* name;
  bool oval;
  float x, y, width, height;
};

void PrintTo(const BadShape& s, std::ostream* os) { *os << s.name; }

class NonFiniteShape : public RecordingBatch, public ::testing::WithParamInterface<BadShape> {};

TEST_P(NonFiniteShape, RecordsNothingAndLeavesTheBatchIntact) {
  const BadShape s = GetParam();
  batch.SetColor(9, 8, 7);
  batch.AddOval(1, 2, 3, 3);
  batch.AddRect(4, 5, 6, 7);
  const std::vector<Vertex> before(batch.vertices().begin(), batch.vertices().end());
  const std::size_t indicesBefore = batch.indices().size();

  if (s.oval) {
    batch.AddOval(s.x, s.y, s.width, s.height);
  } else {
    batch.AddRect(s.x, s.y, s.width, s.height);
  }
  EXPECT_TRUE(flushes.empty());
  EXPECT_TRUE(SameBytes(before, batch.vertices()));
  EXPECT_EQ(batch.indices().size(), indicesBefore);

  batch.AddRect(0, 0, 1, 1);  // drawing goes on as before
  EXPECT_EQ(batch.vertices().size(), before.size() + 4);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, NonFiniteShape,
    ::testing::Values(BadShape{"OvalNaNX", true, kNaN, 0, 3, 3},
                      BadShape{"OvalNaNY", true, 0, kNaN, 3, 3},
                      BadShape{"OvalNaNWidth", true, 0, 0, kNaN, 3},
                      BadShape{"OvalInfiniteX", true, kInf, 0, 3, 3},
                      BadShape{"OvalInfiniteHeight", true, 0, 0, 3, -kInf},
                      BadShape{"OvalFarCornerOverflows", true, 3e38f, 0, 3e38f, 3},
                      BadShape{"RectNaNX", false, kNaN, 0, 3, 3},
                      BadShape{"RectNaNHeight", false, 0, 0, 3, kNaN},
                      BadShape{"RectInfiniteWidth", false, 0, 0, kInf, 3},
                      BadShape{"RectFarCornerOverflows", false, 0, -3e38f, 1, -3e38f}));

bool InsideGuard(std::span<const Vertex> vertices) {
  for (const Vertex& v : vertices) {
    if (!(std::fabs(v.x) <= DrawBatch::kGuard && std::fabs(v.y) <= DrawBatch::kGuard)) return false;
  }
  return true;
}

TEST_F(RecordingBatch, HugeCoordinatesAreKeptInsideTheGuardSquare) {
  batch.AddOval(1e30f, -1e30f, 3, 3);  // wholly outside: nothing to record
  EXPECT_TRUE(batch.vertices().empty());

  batch.AddRect(-1e30f, 5, 2e30f, 3e30f);
  ASSERT_EQ(batch.vertices().size(), 4u);
  const auto r = batch.vertices();
  const float g = static_cast<float>(DrawBatch::kGuard);
  EXPECT_EQ((std::vector<float>{r[0].x, r[0].y, r[2].x, r[2].y}),
            (std::vector<float>{-g, 5, g, g}));
  batch.Discard();

  // Cut by the right side of the square: the part left of it stays as it was.
  batch.AddOval(g - 10, -5, 20, 10);
  EXPECT_TRUE(InsideGuard(batch.vertices()));
  EXPECT_LE(batch.vertices().size(), 12u + 4u);
  EXPECT_TRUE(std::any_of(batch.vertices().begin(), batch.vertices().end(),
                          [&](const Vertex& v) { return v.x == g - 10 && v.y == 0; }));
  batch.Discard();

  // Huge ovals cover the square, whatever their vertex count.
  batch.AddOval(-5e29f, -5e29f, 1e30f, 1e30f);
  batch.AddText("A", 1e30f, 1e30f);  // degenerate quads, drawing nothing
  batch.Flush();
  for (const FlushRecord& f : flushes) {
    EXPECT_TRUE(InsideGuard(f.vertices));
    for (render::VertexIndex index : f.indices) ASSERT_LT(index, f.vertices.size());
  }
}

// --- Text ------------------------------------------------------------------

TEST(TextRecording, CharactersOutsideTheFontTakeNoRoom) {
  DrawBatch plain;
  plain.AddText("Hi!", 3, 4);
  DrawBatch mixed;
  mixed.AddText(std::string("\x01H\ni\x80!\xff", 7), 3, 4);
  EXPECT_TRUE(SameBytes({plain.vertices().begin(), plain.vertices().end()}, mixed.vertices()));
}

TEST(TextRecording, CellsStandEightPixelsApartWithinSixteenRows) {
  DrawBatch batch;
  batch.AddText("W_W", 10, 20);  // '_' reaches the last column of its cell
  float left = 1e9f, right = -1e9f, top = 1e9f, bottom = -1e9f;
  for (const Vertex& v : batch.vertices()) {
    left = std::min(left, v.x);
    right = std::max(right, v.x);
    top = std::min(top, v.y);
    bottom = std::max(bottom, v.y);
  }
  EXPECT_EQ(left, 10.0f);
  EXPECT_EQ(right, 10.0f + 8 * 2 + 7);  // the third 'W' ends at its column 6
  EXPECT_GE(top, 20.0f);
  EXPECT_LE(bottom, 36.0f);
  DrawBatch space;
  space.AddText("   ", 0, 0);
  EXPECT_TRUE(space.vertices().empty());
}

}  // namespace
