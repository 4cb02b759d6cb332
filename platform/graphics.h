// The graphics mode the program draws in: open it, clear it, present it,
// and ask for key presses.
//
// The drawing itself goes to the canvas through render/draw.h; presenting
// copies the canvas to the window and swaps, paced to 60 Hz.
#pragma once

#include <cstdint>

namespace platform {

inline constexpr std::int32_t kBackBufferFlag = 2;

// Every mode opened afterwards gets these flags OR-ed into its own.
void SelectDrawingLayer(std::int32_t defaultFlags);

// Opens a mode: a depth other than 0 makes it fullscreen at width x height.
// Resets the drawing state, clears and presents twice, runs the
// hardware-synchronisation test, starts the pacing schedule, centres the
// pointer, starts key counting and registers an exit hook that closes the
// mode. On failure prints one line to stderr saying what failed and returns
// false.
bool OpenGraphicsMode(std::int32_t width, std::int32_t height, std::int32_t depth,
                      std::int32_t refresh, std::int32_t flags);
void CloseGraphicsMode();

// The desktop size; on failure prints why and returns false.
bool DesktopSize(std::int32_t* width, std::int32_t* height);

void Clear();  // opaque black over the whole canvas
void Present(std::int32_t sync);

// Handles pending window messages, then returns the presses of `key` since
// the last query and resets its count. A termination signal that arrived
// meanwhile ends the process here, with status 128 + signal.
std::int32_t KeyHitCount(std::int32_t key);

}  // namespace platform
