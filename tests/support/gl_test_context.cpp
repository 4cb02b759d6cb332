#include "tests/support/gl_test_context.h"

#include <cstdlib>
#include <cstring>

#include "render/canvas.h"
#include "render/draw.h"
#include "render/gl.h"

#if GRAVITY_HAVE_EGL
#include <EGL/egl.h>
#include <EGL/eglext.h>
#endif

namespace test_support {
namespace {

bool EnvIsOne(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && std::strcmp(value, "1") == 0;
}

struct Context {
  bool tried = false;
  bool ok = false;
  std::string failure;  // why there is no context, once tried
  std::string renderer;
  int width = 0;
  int height = 0;
};

Context context;

#if GRAVITY_HAVE_EGL

void* LookUp(const char* name) { return reinterpret_cast<void*>(eglGetProcAddress(name)); }

bool HasExtension(const char* list, const char* name) {
  if (list == nullptr) return false;
  const std::size_t length = std::strlen(name);
  for (const char* at = std::strstr(list, name); at != nullptr; at = std::strstr(at + 1, name)) {
    const bool startsWord = at == list || at[-1] == ' ';
    const bool endsWord = at[length] == ' ' || at[length] == '\0';
    if (startsWord && endsWord) return true;
  }
  return false;
}

bool MakeContext(std::string* failure) {
  const bool anyRenderer = EnvIsOne("GRAVITY_ALLOW_ANY_GL");
  if (!anyRenderer) {
    // Ask Mesa for its software rasteriser even where a GPU is present, so
    // a machine with one still gives the reference pixels. A value the
    // caller set on purpose is left alone.
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    setenv("GALLIUM_DRIVER", "llvmpipe", 0);
  }

  const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  if (!HasExtension(clientExtensions, "EGL_MESA_platform_surfaceless")) {
    *failure = "EGL has no EGL_MESA_platform_surfaceless (is Mesa's libegl-mesa0 installed?)";
    return false;
  }
  auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (getPlatformDisplay == nullptr) {
    *failure = "EGL has no eglGetPlatformDisplayEXT";
    return false;
  }
  EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY,
                                          nullptr);
  EGLint major = 0;
  EGLint minor = 0;
  if (display == EGL_NO_DISPLAY || !eglInitialize(display, &major, &minor)) {
    *failure = "cannot initialise the EGL surfaceless display";
    return false;
  }
  if (!eglBindAPI(EGL_OPENGL_API)) {
    *failure = "EGL cannot bind the desktop OpenGL API";
    return false;
  }
  const char* displayExtensions = eglQueryString(display, EGL_EXTENSIONS);
  if (!HasExtension(displayExtensions, "EGL_KHR_surfaceless_context")) {
    *failure = "EGL has no EGL_KHR_surfaceless_context";
    return false;
  }

  // The canvas is a framebuffer object, so the context needs no surface and
  // no particular config.
  EGLConfig config = EGL_NO_CONFIG_KHR;
  if (!HasExtension(displayExtensions, "EGL_KHR_no_config_context")) {
    const EGLint wanted[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_SURFACE_TYPE, 0, EGL_NONE};
    EGLint found = 0;
    if (!eglChooseConfig(display, wanted, &config, 1, &found) || found < 1) {
      *failure = "EGL offers no config for desktop OpenGL";
      return false;
    }
  }
  const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION, 3,
                               EGL_CONTEXT_MINOR_VERSION, 3,
                               EGL_CONTEXT_OPENGL_PROFILE_MASK,
                               EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                               EGL_NONE};
  EGLContext glContext = eglCreateContext(display, config, EGL_NO_CONTEXT, attributes);
  if (glContext == EGL_NO_CONTEXT) {
    *failure = "EGL cannot create an OpenGL 3.3 core context";
    return false;
  }
  if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, glContext)) {
    *failure = "EGL cannot make the context current without a surface";
    return false;
  }
  if (const char* missing = gl::Load(LookUp)) {
    *failure = std::string("the GL context lacks ") + missing;
    return false;
  }
  const auto* name = reinterpret_cast<const char*>(gl::GetString(GL_RENDERER));
  context.renderer = name != nullptr ? name : "";
  if (!anyRenderer && context.renderer.find("llvmpipe") == std::string::npos) {
    *failure = "the renderer is \"" + context.renderer +
               "\", not Mesa llvmpipe; pixel results are only defined on llvmpipe "
               "(set GRAVITY_ALLOW_ANY_GL=1 to run on it anyway)";
    return false;
  }
  // The display and context live until the process ends.
  return true;
}

#else

bool MakeContext(std::string* failure) {
  *failure = "the tests were built without EGL (pkg-config found no egl)";
  return false;
}

#endif

}  // namespace

bool GlRequired() { return EnvIsOne("GRAVITY_REQUIRE_GL"); }

std::string GlRendererName() { return context.renderer; }

bool AcquireGlCanvas(int width, int height, std::string* reason) {
  if (!context.tried) {
    context.tried = true;
    context.ok = MakeContext(&context.failure);
  }
  if (!context.ok) {
    if (reason) *reason = context.failure;
    return false;
  }
  if (width != context.width || height != context.height) {
    render::ShutdownDrawing();
    std::string error;
    if (!render::CreateCanvas(width, height, &error) ||
        !render::InitDrawing(width, height, &error)) {
      context.width = 0;
      context.height = 0;
      if (reason) *reason = "cannot set up the canvas: " + error;
      return false;
    }
    context.width = width;
    context.height = height;
  }
  render::ResetDrawState();
  render::ClearCanvas();
  return true;
}

}  // namespace test_support
