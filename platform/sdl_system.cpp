// The platform layer over SDL2: window, GL context, keyboard, clocks.

#include <SDL.h>

#include <csignal>
#include <cstring>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "platform/system.h"

namespace platform {
namespace {

SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;
volatile std::sig_atomic_t terminationSignal = 0;

extern "C" void OnTerminationSignal(int signal) { terminationSignal = signal; }

// SDL turns SIGINT and SIGTERM into a quit event by default, and this
// program ignores quit requests, so it would be immune to Ctrl+C and kill.
// It keeps the signals for itself instead; the frame loop ends the process
// at its next key query.
void InstallSignalHandlers() {
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

// A software GL driver (Mesa's llvmpipe) allocates and frees its scene
// memory every frame; by default glibc hands it back to the kernel each time
// and the next frame pays for the page faults again, a third of its time.
// Keeping freed memory in the heap costs nothing on a hardware driver.
void KeepFreedMemory() {
#if defined(__GLIBC__)
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
#endif
}

bool InitVideo(std::string* error) {
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) return true;
  KeepFreedMemory();
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "1");
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
  InstallSignalHandlers();
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    *error = SDL_GetError();
    return false;
  }
  // SDL can be steered (SDL_VIDEODRIVER) to drivers that show nothing. A
  // program that runs on invisibly is worse than one that says it cannot.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr || std::strcmp(driver, "offscreen") == 0 ||
      std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "evdev") == 0) {
    *error = std::string("video driver '") + (driver ? driver : "none") + "' shows nothing";
    SDL_Quit();
    return false;
  }
  return true;
}

std::int32_t VirtualKey(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= 0 && key < 128) return key;  // space, digits, punctuation: same codes
  return -1;
}

}  // namespace

bool QueryDesktopSize(ScreenSize* size, std::string* error) {
  if (!InitVideo(error)) return false;
  SDL_DisplayMode desktop;
  if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
    *error = SDL_GetError();
    return false;
  }
  size->width = desktop.w;
  size->height = desktop.h;
  return true;
}

bool OpenWindow(std::int32_t width, std::int32_t height, std::int32_t refresh, std::string* error) {
  if (!InitVideo(error)) return false;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);

  window = SDL_CreateWindow("gravity", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                            height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
  if (window == nullptr) {
    *error = SDL_GetError();
    return false;
  }
  // Ask for the size at the requested rate; if the display has no such mode,
  // take the size without a refresh rate.
  SDL_DisplayMode wanted{SDL_PIXELFORMAT_RGB888, width, height, refresh, nullptr};
  SDL_DisplayMode closest;
  if (SDL_GetClosestDisplayMode(0, &wanted, &closest) == nullptr || closest.w != width ||
      closest.h != height || closest.refresh_rate != refresh) {
    wanted.refresh_rate = 0;
  }
  SDL_SetWindowDisplayMode(window, &wanted);
  if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) != 0) {
    *error = SDL_GetError();
    CloseWindow();
    return false;
  }
  context = SDL_GL_CreateContext(window);
  if (context == nullptr) {
    *error = std::string("no OpenGL 3.3 core context: ") + SDL_GetError();
    CloseWindow();
    return false;
  }
  SDL_ShowWindow(window);
  SDL_RaiseWindow(window);
  SDL_DisableScreenSaver();
  return true;
}

void CloseWindow() {
  if (context != nullptr) SDL_GL_DeleteContext(context);
  context = nullptr;
  if (window != nullptr) SDL_DestroyWindow(window);  // restores the desktop mode
  window = nullptr;
  SDL_Quit();
}

void* GetGLProcAddress(const char* name) { return SDL_GL_GetProcAddress(name); }

void SetSwapInterval(std::int32_t interval) { SDL_GL_SetSwapInterval(interval); }

void SwapWindowBuffers() { SDL_GL_SwapWindow(window); }

void MovePointer(std::int32_t x, std::int32_t y) { SDL_WarpMouseInWindow(window, x, y); }

void HandleMessages(KeyCounter& keys) {
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    switch (event.type) {
      case SDL_KEYDOWN:
        if (event.key.repeat == 0) keys.KeyDown(VirtualKey(event.key.keysym.sym));
        break;
      case SDL_KEYUP:
        keys.KeyUp(VirtualKey(event.key.keysym.sym));
        break;
      default:  // close requests (SDL_QUIT, SDL_WINDOWEVENT_CLOSE) are ignored
        break;
    }
  }
}

int TerminationRequest() { return terminationSignal; }

std::uint32_t Milliseconds() { return SDL_GetTicks(); }

void SleepMilliseconds(std::uint32_t milliseconds) { SDL_Delay(milliseconds); }

std::int64_t PerformanceCounter() { return static_cast<std::int64_t>(SDL_GetPerformanceCounter()); }

std::int64_t PerformanceFrequency() {
  return static_cast<std::int64_t>(SDL_GetPerformanceFrequency());
}

}  // namespace platform
