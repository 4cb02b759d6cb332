// gravity-focus: gives the focus back to a running gravity.exe, as clicking
// its taskbar button would. The smoke test takes the focus away with another
// program and brings it back with this, to see the window leave and retake
// the screen. Exit status 1 when there is no gravity window.

#include <windows.h>

#include <cstdio>

int main() {
  HWND window = FindWindowW(L"gravity", nullptr);
  if (window == nullptr) {
    std::fprintf(stderr, "gravity-focus: no gravity window\n");
    return 1;
  }
  ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  return 0;
}
