// The cost of one frame's drawing: the fade and every particle's discs.
//
// RecordFrame times only the CPU side, recording into the batch with no GL
// behind it (full batches are dropped). DrawFrame adds the GL side on Mesa's
// llvmpipe at 1366 x 768: the same recording, the uploads and draw calls,
// and gl::Finish so the rasteriser's work is inside the measured time. There
// is no window, so nothing is presented.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "render/canvas.h"
#include "render/draw.h"
#include "render/gl.h"
#include "render/particle_renderer.h"
#include "simulation/particles.h"

#if GRAVITY_BENCH_GL
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "tests/support/gl_test_context.h"
#endif

namespace {

constexpr std::int32_t kScreenWidth = 1366;
constexpr std::int32_t kScreenHeight = 768;

// The cloud as it starts: every particle near the screen centre.
void PrepareStore() {
  simulation::screenWidth = kScreenWidth;
  simulation::screenHeight = kScreenHeight;
  simulation::centreX = kScreenWidth / 2;
  simulation::centreY = kScreenHeight / 2;
  simulation::BuildParticleStore();
}

void RecordFrame(std::int32_t count) {
  render::FadeFrame();
  for (std::int32_t i = 0; i < count; ++i) render::DrawParticle(i);
}

void BM_RecordFrame(benchmark::State& state) {
  PrepareStore();
  render::ShutdownDrawing();  // no GL: full batches are dropped, not drawn
  const auto count = static_cast<std::int32_t>(state.range(0));
  for (auto _ : state) {
    RecordFrame(count);
    benchmark::DoNotOptimize(render::CurrentBatch().vertices().data());
    render::DiscardBatch();
  }
  state.counters["vertices"] = 4.0 + 24.0 * count + 12.0 * std::min(count, 2);
  state.counters["particles"] = static_cast<double>(count);
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_RecordFrame)->Arg(1000)->Arg(7500)->Unit(benchmark::kMicrosecond);

// The heads-up line's two texts: every run of set pixels in a glyph row is
// one quad, so this is the price of drawing text without a font texture.
void BM_RecordHudText(benchmark::State& state) {
  render::ShutdownDrawing();
  std::size_t vertices = 0;
  for (auto _ : state) {
    render::DrawText("FPS : 59", 10.0f, 750.0f);
    render::DrawText("Particles : 7500", 120.0f, 750.0f);
    vertices = render::CurrentBatch().vertices().size();
    benchmark::DoNotOptimize(render::CurrentBatch().vertices().data());
    render::DiscardBatch();
  }
  state.counters["vertices"] = static_cast<double>(vertices);
}
BENCHMARK(BM_RecordHudText)->Unit(benchmark::kMicrosecond);

#if GRAVITY_BENCH_GL
void BM_DrawFrame(benchmark::State& state) {
  std::string reason;
  if (!test_support::AcquireGlCanvas(kScreenWidth, kScreenHeight, &reason) ||
      !render::InitDrawing(kScreenWidth, kScreenHeight, &reason)) {
    state.SkipWithError(("no GL canvas: " + reason).c_str());
    return;
  }
  state.SetLabel(test_support::GlRendererName());
  PrepareStore();
  const auto count = static_cast<std::int32_t>(state.range(0));
  for (auto _ : state) {
    RecordFrame(count);
    render::Flush();
    gl::Finish();
  }
  state.counters["particles"] = static_cast<double>(count);
}
// llvmpipe rasterises on threads of its own, so wall time is what counts.
BENCHMARK(BM_DrawFrame)->Arg(1000)->Arg(7500)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same after telling glibc to keep freed memory: llvmpipe allocates and
// frees its scene and vertex storage at every draw and every frame, and by
// default glibc hands that memory back to the kernel each time, so the next
// frame page-faults it in again. Runs last, as the setting stays.
void BM_DrawFrameKeepingHeap(benchmark::State& state) {
#if defined(__GLIBC__)
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
#endif
  BM_DrawFrame(state);
}
BENCHMARK(BM_DrawFrameKeepingHeap)
    ->Arg(1000)
    ->Arg(7500)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
#endif

}  // namespace

BENCHMARK_MAIN();
