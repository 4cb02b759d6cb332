// What each operating system's layer supplies: the desktop, one fullscreen
// window with an OpenGL 3.3 core context, its messages, the clocks.
//
// Implemented once per platform (sdl_system.cpp over SDL2; a Windows layer
// over Win32 and WGL fits the same declarations). Nothing outside platform/
// includes a window-system header; the rest of the program reaches this
// through graphics.h and the clock and counter functions below.
#pragma once

#include <cstdint>
#include <string>

#include "platform/key_counter.h"

namespace platform {

struct ScreenSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// The primary display's desktop size. False, with the reason, when there is
// no display to use.
bool QueryDesktopSize(ScreenSize* size, std::string* error);

// A fullscreen window covering the display at width x height, asking for
// `refresh` Hz (and without a refresh rate if the display refuses it), with a
// double-buffered GL 3.3 core context made current.
bool OpenWindow(std::int32_t width, std::int32_t height, std::int32_t refresh, std::string* error);
void CloseWindow();  // the desktop's own display mode comes back

void* GetGLProcAddress(const char* name);
void SetSwapInterval(std::int32_t interval);
void SwapWindowBuffers();
void MovePointer(std::int32_t x, std::int32_t y);

// Handles the window's pending messages, counting key presses into `keys`.
// Requests to close the window are ignored.
void HandleMessages(KeyCounter& keys);

// The signal (SIGINT, SIGTERM, or the console's Ctrl+C) that asked the
// process to end, or 0.
int TerminationRequest();

// Millisecond clock (wraps modulo 2^32) and sleep, at 1 ms resolution.
std::uint32_t Milliseconds();
void SleepMilliseconds(std::uint32_t milliseconds);

// The high-resolution counter and its rate in counts per second.
std::int64_t PerformanceCounter();
std::int64_t PerformanceFrequency();

}  // namespace platform
