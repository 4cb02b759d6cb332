// A test's view of an X display: finding the program's window, sending it
// what a window manager would, and reading the screen back.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
};

class Screenshot {
 public:
  Screenshot(int width, int height, std::vector<Rgb> pixels)
      : width_(width), height_(height), pixels_(std::move(pixels)) {}
  int width() const { return width_; }
  int height() const { return height_; }
  Rgb at(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
  bool WritePpm(const std::string& path) const;

 private:
  int width_, height_;
  std::vector<Rgb> pixels_;
};

class X11Session {
 public:
  X11Session();  // connects to $DISPLAY
  ~X11Session();
  X11Session(const X11Session&) = delete;
  X11Session& operator=(const X11Session&) = delete;

  bool connected() const { return display_ != nullptr; }

  // The first top-level window titled `title`, or 0.
  Window FindWindow(const std::string& title);

  // WM_PROTOCOLS / WM_DELETE_WINDOW: what a window manager sends on Alt+F4.
  void SendCloseRequest(Window window);

  Screenshot Capture();

 private:
  Display* display_ = nullptr;
};

}  // namespace e2e
