// The platform layer over Win32 and WGL: window, display mode, GL context,
// keyboard, clocks.
//
// One borderless topmost popup covers the primary display, which is switched
// to the wanted size at 32 bits per pixel for as long as the window has the
// focus. The GL 3.3 core context comes from wglCreateContextAttribsARB, an
// extension function that can only be looked up while some context is
// current, so a throwaway legacy context is made first.

#include <windows.h>
#include <mmsystem.h>

#include <GL/gl.h>  // the GL types that wglext.h uses
#include <GL/wglext.h>

#include <atomic>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/system.h"

namespace platform {
namespace {

constexpr wchar_t kWindowClass[] = L"gravity";
// WM_KEYDOWN's lParam bit 30: the key was already down before this message,
// so the message is a repeat of a held key.
constexpr LPARAM kPreviousKeyState = LPARAM{1} << 30;

struct Win32State {
  HINSTANCE instance = nullptr;
  bool classRegistered = false;
  HWND window = nullptr;
  HDC dc = nullptr;
  HGLRC context = nullptr;
  HMODULE opengl32 = nullptr;
  PFNWGLSWAPINTERVALEXTPROC swapInterval = nullptr;
  DEVMODEW fullscreenMode{};
  bool displayChanged = false;  // the display is in fullscreenMode, not the desktop's
  bool minimised = false;       // put aside because another window took the focus
  std::int32_t width = 0;
  std::int32_t height = 0;
};

Win32State state;

std::atomic<int> terminationSignal{0};

std::string WithCode(const char* what, DWORD code) {
  char text[160];
  std::snprintf(text, sizeof text, "%s (error %lu)", what, static_cast<unsigned long>(code));
  return text;
}

std::string LastError(const char* what) { return WithCode(what, GetLastError()); }

// Console events arrive on a thread of their own. The frame loop sees the
// request at its next key query and ends the process from there, which
// closes the mode and gives the desktop its display mode back.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      terminationSignal = SIGINT;
      return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      // Returning lets the system end the process at once, desktop mode or
      // not; waiting gives the main thread its chance to exit first (the
      // system still ends the process after a few seconds).
      terminationSignal = SIGTERM;
      Sleep(5000);
      return TRUE;
    default:
      return FALSE;
  }
}

// What the process needs from start to end, set up before main runs:
//  - Sleep and timeGetTime at 1 ms resolution for the whole run;
//  - the true pixel size of the display, not the one scaled for programs
//    that do not declare themselves DPI-aware (at 150 % scaling a 1920-wide
//    display would otherwise report 1280, and the mode would really switch
//    to 1280);
//  - Ctrl+C in a console ending the program through the frame loop.
struct ProcessSetup {
  ProcessSetup() {
    timeBeginPeriod(1);
    SetProcessDPIAware();
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
  }
  ~ProcessSetup() { timeEndPeriod(1); }
  ProcessSetup(const ProcessSetup&) = delete;
  ProcessSetup& operator=(const ProcessSetup&) = delete;
};

ProcessSetup processSetup;

LONG SetFullscreenMode() {
  const LONG result = ChangeDisplaySettingsW(&state.fullscreenMode, CDS_FULLSCREEN);
  if (result == DISP_CHANGE_SUCCESSFUL) state.displayChanged = true;
  return result;
}

void RestoreDesktopMode() {
  if (!state.displayChanged) return;
  ChangeDisplaySettingsW(nullptr, 0);
  state.displayChanged = false;
}

void HoldOffPowerSaving(bool hold) {
  SetThreadExecutionState(hold ? ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED
                               : ES_CONTINUOUS);
}

// Another application took the focus: hand the display back and get out of
// its way. The frame loop runs on behind the minimised window.
void OnFocusLost() {
  if (state.window == nullptr || state.minimised) return;
  state.minimised = true;
  HoldOffPowerSaving(false);
  RestoreDesktopMode();
  ShowWindow(state.window, SW_MINIMIZE);
}

void OnFocusRegained() {
  if (state.window == nullptr || !state.minimised) return;
  state.minimised = false;
  SetFullscreenMode();
  ShowWindow(state.window, SW_RESTORE);
  SetWindowPos(state.window, HWND_TOPMOST, 0, 0, state.width, state.height, SWP_SHOWWINDOW);
  HoldOffPowerSaving(true);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:  // Alt+F4 and the like: only Space ends the program
      return 0;
    case WM_ACTIVATEAPP:
      if (wParam != FALSE) {
        OnFocusRegained();
      } else {
        OnFocusLost();
      }
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_SCREENSAVE:
        case SC_MONITORPOWER:
          if (!state.minimised) return 0;
          break;
        default:
          break;
      }
      break;
    case WM_ERASEBKGND:  // GL paints every pixel; GDI would only flicker
      return 1;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterWindowClass(std::string* error) {
  if (state.classRegistered) return true;
  state.instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_OWNDC;  // WGL wants the one device context for the window's life
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = state.instance;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.lpszClassName = kWindowClass;
  if (RegisterClassExW(&windowClass) == 0) {
    *error = LastError("cannot register the window class");
    return false;
  }
  state.classRegistered = true;
  return true;
}

bool ChangeDisplay(std::int32_t width, std::int32_t height, std::int32_t refresh,
                   std::string* error) {
  DEVMODEW& mode = state.fullscreenMode;
  mode = DEVMODEW{};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = static_cast<DWORD>(width);
  mode.dmPelsHeight = static_cast<DWORD>(height);
  mode.dmBitsPerPel = 32;
  mode.dmDisplayFrequency = static_cast<DWORD>(refresh);
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL | DM_DISPLAYFREQUENCY;
  if (SetFullscreenMode() == DISP_CHANGE_SUCCESSFUL) return true;
  // The size without a refresh rate: whatever rate the display picks.
  mode.dmDisplayFrequency = 0;
  mode.dmFields &= ~static_cast<DWORD>(DM_DISPLAYFREQUENCY);
  const LONG result = SetFullscreenMode();
  if (result == DISP_CHANGE_SUCCESSFUL) return true;
  char what[96];
  std::snprintf(what, sizeof what, "the display refuses %dx%d at 32 bits per pixel",
                static_cast<int>(width), static_cast<int>(height));
  *error = WithCode(what, static_cast<DWORD>(result));
  return false;
}

bool SetDoubleBufferedPixelFormat(std::string* error) {
  PIXELFORMATDESCRIPTOR wanted{};
  wanted.nSize = sizeof wanted;
  wanted.nVersion = 1;
  wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  wanted.iPixelType = PFD_TYPE_RGBA;
  wanted.cColorBits = 24;
  wanted.cAlphaBits = 8;
  wanted.iLayerType = PFD_MAIN_PLANE;
  const int format = ChoosePixelFormat(state.dc, &wanted);
  PIXELFORMATDESCRIPTOR got{};
  if (format == 0 || DescribePixelFormat(state.dc, format, sizeof got, &got) == 0) {
    *error = LastError("no OpenGL pixel format");
    return false;
  }
  if ((got.dwFlags & PFD_DOUBLEBUFFER) == 0) {
    *error = "no double-buffered OpenGL pixel format";
    return false;
  }
  if (SetPixelFormat(state.dc, format, &got) == FALSE) {
    *error = LastError("cannot set the pixel format");
    return false;
  }
  return true;
}

// wglGetProcAddress knows only what lies beyond OpenGL 1.1 and answers some
// misses with small integers instead of null; the 1.1 functions are exports
// of opengl32.dll itself.
void* LookUpGL(const char* name) {
  PROC function = wglGetProcAddress(name);
  const auto address = reinterpret_cast<std::intptr_t>(function);
  if (address == 0 || address == 1 || address == 2 || address == 3 || address == -1) {
    function = state.opengl32 != nullptr ? GetProcAddress(state.opengl32, name) : nullptr;
  }
  return reinterpret_cast<void*>(function);
}

bool CreateCoreContext(std::string* error) {
  HGLRC legacy = wglCreateContext(state.dc);
  if (legacy == nullptr || wglMakeCurrent(state.dc, legacy) == FALSE) {
    *error = LastError("cannot create an OpenGL context");
    if (legacy != nullptr) wglDeleteContext(legacy);
    return false;
  }
  const auto createContextAttribs = reinterpret_cast<PFNWGLCREATECONTEXTATTRIBSARBPROC>(
      LookUpGL("wglCreateContextAttribsARB"));
  const int attributes[] = {
      WGL_CONTEXT_MAJOR_VERSION_ARB, 3,
      WGL_CONTEXT_MINOR_VERSION_ARB, 3,
      WGL_CONTEXT_PROFILE_MASK_ARB, WGL_CONTEXT_CORE_PROFILE_BIT_ARB,
      0,
  };
  HGLRC core = createContextAttribs != nullptr
                   ? createContextAttribs(state.dc, nullptr, attributes)
                   : nullptr;
  const DWORD code = GetLastError();
  wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(legacy);
  if (createContextAttribs == nullptr) {
    *error = "no OpenGL 3.3 core context: wglCreateContextAttribsARB is missing";
    return false;
  }
  if (core == nullptr || wglMakeCurrent(state.dc, core) == FALSE) {
    *error = WithCode("no OpenGL 3.3 core context", core == nullptr ? code : GetLastError());
    if (core != nullptr) wglDeleteContext(core);
    return false;
  }
  state.context = core;
  state.swapInterval = reinterpret_cast<PFNWGLSWAPINTERVALEXTPROC>(LookUpGL("wglSwapIntervalEXT"));
  return true;
}

}  // namespace

bool QueryDesktopSize(ScreenSize* size, std::string* error) {
  size->width = GetSystemMetrics(SM_CXSCREEN);
  size->height = GetSystemMetrics(SM_CYSCREEN);
  if (size->width <= 0 || size->height <= 0) {
    *error = "GetSystemMetrics reports no primary display";
    return false;
  }
  return true;
}

bool OpenWindow(std::int32_t width, std::int32_t height, std::int32_t refresh, std::string* error) {
  if (!RegisterWindowClass(error)) return false;
  state.width = width;
  state.height = height;
  state.minimised = false;
  if (!ChangeDisplay(width, height, refresh, error)) return false;

  state.window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_APPWINDOW, kWindowClass, L"gravity",
                                 WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, width,
                                 height, nullptr, nullptr, state.instance, nullptr);
  if (state.window == nullptr) {
    *error = LastError("cannot create the window");
    CloseWindow();
    return false;
  }
  state.dc = GetDC(state.window);
  state.opengl32 = GetModuleHandleW(L"opengl32.dll");
  if (state.dc == nullptr || !SetDoubleBufferedPixelFormat(error) || !CreateCoreContext(error)) {
    if (state.dc == nullptr) *error = LastError("no device context for the window");
    CloseWindow();
    return false;
  }
  ShowWindow(state.window, SW_SHOW);
  SetForegroundWindow(state.window);
  SetFocus(state.window);
  HoldOffPowerSaving(true);
  return true;
}

void CloseWindow() {
  if (state.context != nullptr) {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(state.context);
    state.context = nullptr;
  }
  state.swapInterval = nullptr;
  // Forgotten before it goes: the focus messages that destroying it sends
  // must not minimise it or switch modes on the way out.
  HWND window = state.window;
  state.window = nullptr;
  if (state.dc != nullptr) ReleaseDC(window, state.dc);
  state.dc = nullptr;
  if (window != nullptr) DestroyWindow(window);
  RestoreDesktopMode();
  HoldOffPowerSaving(false);
}

void* GetGLProcAddress(const char* name) { return LookUpGL(name); }

void SetSwapInterval(std::int32_t interval) {
  if (state.swapInterval != nullptr) state.swapInterval(interval);
}

void SwapWindowBuffers() { SwapBuffers(state.dc); }

void MovePointer(std::int32_t x, std::int32_t y) { SetCursorPos(x, y); }

void HandleMessages(KeyCounter& keys) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
    const auto key = static_cast<std::int32_t>(message.wParam);
    switch (message.message) {
      case WM_KEYDOWN:
        // The previous-state bit is the system's own record of whether the
        // key was already down. Trusting it also forgets a release that went
        // to another window while this one was out of focus.
        if ((message.lParam & kPreviousKeyState) == 0) {
          keys.KeyUp(key);
          keys.KeyDown(key);
        }
        break;
      case WM_KEYUP:
      case WM_SYSKEYUP:  // a release while Alt is held comes as a system key
        keys.KeyUp(key);
        break;
      default:
        break;
    }
    DispatchMessageW(&message);
  }
}

int TerminationRequest() { return terminationSignal; }

std::uint32_t Milliseconds() { return timeGetTime(); }

void SleepMilliseconds(std::uint32_t milliseconds) { Sleep(milliseconds); }

std::int64_t PerformanceCounter() {
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  return count.QuadPart;
}

std::int64_t PerformanceFrequency() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart;
}

}  // namespace platform
