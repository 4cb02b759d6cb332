// A hidden OpenGL 3.3 core context for tests that read pixels back.
//
// Pixel tests need results that are the same on every machine, so the
// context is Mesa's software rasteriser, llvmpipe, on EGL's surfaceless
// platform: no window, no display server, no GPU. Any other renderer is
// refused unless GRAVITY_ALLOW_ANY_GL=1 is set in the environment.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace test_support {

// Once per process: a hidden GL 3.3 core context (EGL surfaceless, Mesa
// llvmpipe), gl::Load, render::CreateCanvas + render::InitDrawing at
// width x height (both recreated when the size differs from the last call).
// Every successful call also resets the drawing state to the layer's
// defaults and clears the canvas to opaque black, so tests do not see one
// another's pictures. Returns false with the reason when no GL can be had.
bool AcquireGlCanvas(int width, int height, std::string* reason);

// The GL_RENDERER string of the context, empty before one was made.
std::string GlRendererName();

// True when GRAVITY_REQUIRE_GL=1: a missing context is then a failure.
bool GlRequired();

}  // namespace test_support

// For a test body or a fixture's SetUp. Skips the test when no GL can be
// had, unless GRAVITY_REQUIRE_GL=1 is set in the environment, in which case
// the test fails instead (CI sets it, so pixel tests are never silently
// skipped).
#define GRAVITY_REQUIRE_GL_CANVAS(w, h)                                               \
  do {                                                                                \
    std::string gravity_gl_reason_;                                                   \
    if (!::test_support::AcquireGlCanvas((w), (h), &gravity_gl_reason_)) {            \
      if (::test_support::GlRequired()) {                                             \
        FAIL() << "GRAVITY_REQUIRE_GL=1 but no GL canvas: " << gravity_gl_reason_;    \
      } else {                                                                        \
        GTEST_SKIP() << "no GL canvas (" << gravity_gl_reason_                        \
                     << "); set GRAVITY_REQUIRE_GL=1 to make this a failure";         \
      }                                                                               \
    }                                                                                 \
  } while (0)
