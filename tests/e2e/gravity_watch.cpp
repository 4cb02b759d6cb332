// gravity-watch: runs gravity on the current X display, reads its heads-up
// line once a second, and optionally saves a screenshot at the end.
//   gravity-watch PROGRAM SECONDS [SCREENSHOT.ppm]
// Prints "second fps particles" lines, then the median of the particle
// count over the last half of the run.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "hud_reader.h"
#include "process.h"
#include "x11_session.h"

namespace {

bool NumberAfter(const std::string& text, const std::string& label, int* value) {
  if (text.rfind(label, 0) != 0 || text.size() == label.size()) return false;
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str() + label.size(), &end, 10);
  if (*end != '\0') return false;
  *value = static_cast<int>(parsed);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: gravity-watch PROGRAM SECONDS [SCREENSHOT.ppm]\n");
    return 2;
  }
  const int seconds = std::atoi(argv[2]);
  e2e::X11Session session;
  if (!session.connected()) {
    std::fprintf(stderr, "gravity-watch: no X display\n");
    return 1;
  }
  e2e::Process gravity(argv[1]);
  std::vector<int> counts;
  for (int second = 1; second <= seconds && gravity.Running(); ++second) {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const e2e::Screenshot shot = session.Capture();
    int fps = 0, particles = 0;
    const bool haveFps = NumberAfter(e2e::ReadText(shot, 10, 750), "FPS : ", &fps);
    const bool haveCount = NumberAfter(e2e::ReadText(shot, 120, 750), "Particles : ", &particles);
    if (haveFps && haveCount) {
      std::printf("%d %d %d\n", second, fps, particles);
      if (second > seconds / 2) counts.push_back(particles);
    } else {
      std::printf("%d - -\n", second);
    }
    std::fflush(stdout);
    if (second == seconds && argc == 4) shot.WritePpm(argv[3]);
  }
  std::system("xdotool key space");
  const auto status = gravity.WaitExit(std::chrono::seconds(5));
  if (!counts.empty()) {
    std::sort(counts.begin(), counts.end());
    std::printf("median particles over the last half: %d\n", counts[counts.size() / 2]);
  }
  return status == 0 ? 0 : 1;
}
