#include "platform/graphics.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/frame_pacing.h"
#include "platform/system.h"
#include "render/canvas.h"
#include "render/draw.h"
#include "render/gl.h"

namespace platform {
namespace {

struct Mode {
  bool open = false;
  std::int32_t defaultFlags = 0;
  KeyCounter keys;
  std::unique_ptr<FramePacing> pacing;
  bool exitHookRegistered = false;
};

Mode mode;

void Fail(const char* what, const std::string& why) {
  std::fprintf(stderr, "gravity: %s: %s\n", what, why.c_str());
}

void ShowCanvas() {
  render::CopyCanvasToWindow();
  SwapWindowBuffers();
}

}  // namespace

void SelectDrawingLayer(std::int32_t defaultFlags) { mode.defaultFlags = defaultFlags; }

bool DesktopSize(std::int32_t* width, std::int32_t* height) {
  ScreenSize size;
  std::string error;
  if (!QueryDesktopSize(&size, &error)) {
    Fail("no display", error);
    return false;
  }
  *width = size.width;
  *height = size.height;
  return true;
}

bool OpenGraphicsMode(std::int32_t width, std::int32_t height, std::int32_t depth,
                      std::int32_t refresh, std::int32_t flags) {
  CloseGraphicsMode();
  flags |= mode.defaultFlags;
  if (depth == 0 || (flags & kBackBufferFlag) == 0) {
    Fail("cannot open the graphics mode", "only double-buffered fullscreen modes are supported");
    return false;
  }

  std::string error;
  if (!OpenWindow(width, height, refresh, &error)) {
    Fail("cannot open the graphics mode", error);
    return false;
  }
  if (const char* missing = gl::Load(GetGLProcAddress)) {
    Fail("OpenGL 3.3 is incomplete, missing", missing);
    CloseWindow();
    return false;
  }
  if (!render::CreateCanvas(width, height, &error) ||
      !render::InitDrawing(width, height, &error)) {
    Fail("cannot set up drawing", error);
    render::DestroyCanvas();
    CloseWindow();
    return false;
  }
  mode.open = true;

  render::ResetDrawState();
  for (int i = 0; i < 2; ++i) {  // both buffers start black
    render::ClearCanvas();
    ShowCanvas();
  }

  mode.pacing = std::make_unique<FramePacing>(PresentServices{
      Milliseconds, SleepMilliseconds, SetSwapInterval, ShowCanvas});
  mode.pacing->RunSyncTest(refresh);
  mode.pacing->StartSchedule();

  MovePointer(width / 2, height / 2);
  HandleMessages(mode.keys);  // presses made while the mode was opening do not count
  mode.keys.Reset();

  if (!mode.exitHookRegistered) {
    mode.exitHookRegistered = true;
    std::atexit(CloseGraphicsMode);
  }
  return true;
}

void CloseGraphicsMode() {
  if (!mode.open) return;
  mode.open = false;
  mode.pacing.reset();
  render::ShutdownDrawing();
  render::DestroyCanvas();
  CloseWindow();
}

void Clear() {
  if (mode.open) render::ClearCanvas();
}

void Present(std::int32_t sync) {
  if (mode.open) mode.pacing->Present(sync);
}

std::int32_t KeyHitCount(std::int32_t key) {
  HandleMessages(mode.keys);
  if (const int signal = TerminationRequest()) {
    std::exit(128 + signal);  // the exit hook gives the desktop its mode back
  }
  return mode.keys.Take(key);
}

}  // namespace platform
