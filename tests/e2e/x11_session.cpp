#include "x11_session.h"

#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

namespace e2e {
namespace {

std::uint8_t Channel(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  const unsigned long max = mask >> shift;
  return static_cast<std::uint8_t>(((pixel & mask) >> shift) * 255 / max);
}

Window Search(Display* display, Window parent, const std::string& title) {
  Window root, ignored;
  Window* children = nullptr;
  unsigned int count = 0;
  if (XQueryTree(display, parent, &root, &ignored, &children, &count) == 0) return 0;
  Window found = 0;
  for (unsigned int i = 0; i < count && found == 0; ++i) {
    char* name = nullptr;
    if (XFetchName(display, children[i], &name) != 0 && name != nullptr) {
      if (title == name) found = children[i];
      XFree(name);
    }
    if (found == 0) found = Search(display, children[i], title);
  }
  if (children != nullptr) XFree(children);
  return found;
}

}  // namespace

bool Screenshot::WritePpm(const std::string& path) const {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::fprintf(file, "P6\n%d %d\n255\n", width_, height_);
  for (const Rgb& p : pixels_) {
    const unsigned char bytes[3] = {p.r, p.g, p.b};
    std::fwrite(bytes, 1, 3, file);
  }
  return std::fclose(file) == 0;
}

X11Session::X11Session() {
  if (std::getenv("DISPLAY") != nullptr) display_ = XOpenDisplay(nullptr);
}

X11Session::~X11Session() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

Window X11Session::FindWindow(const std::string& title) {
  return Search(display_, DefaultRootWindow(display_), title);
}

void X11Session::SendCloseRequest(Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, window, False, NoEventMask, &event);
  XFlush(display_);
}

Screenshot X11Session::Capture() {
  const Window root = DefaultRootWindow(display_);
  XWindowAttributes attributes;
  XGetWindowAttributes(display_, root, &attributes);
  XImage* image = XGetImage(display_, root, 0, 0, attributes.width, attributes.height, AllPlanes,
                            ZPixmap);
  std::vector<Rgb> pixels(static_cast<std::size_t>(attributes.width) * attributes.height);
  for (int y = 0; y < attributes.height; ++y) {
    for (int x = 0; x < attributes.width; ++x) {
      const unsigned long p = XGetPixel(image, x, y);
      pixels[static_cast<std::size_t>(y) * attributes.width + x] = {
          Channel(p, image->red_mask), Channel(p, image->green_mask), Channel(p, image->blue_mask)};
    }
  }
  XDestroyImage(image);
  return Screenshot(attributes.width, attributes.height, std::move(pixels));
}

}  // namespace e2e
