// The real program under a real X server (Xvfb with Mesa's llvmpipe in CI):
// it starts, ignores a window manager's close request, ends on Space with
// status 0, ends on SIGTERM and SIGINT with 128 + signal, refuses to run
// without a display, and shows the cloud.

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "hud_reader.h"
#include "process.h"
#include "x11_session.h"

namespace {

using namespace std::chrono_literals;
using e2e::Process;
using e2e::Rgb;
using e2e::Screenshot;

const std::string kProgram = GRAVITY_BINARY;

bool NonBlack(Rgb p) { return p.r != 0 || p.g != 0 || p.b != 0; }

int CountIn(const Screenshot& shot, int x0, int y0, int x1, int y1, bool (*match)(Rgb)) {
  int count = 0;
  for (int y = std::max(0, y0); y < std::min(shot.height(), y1); ++y) {
    for (int x = std::max(0, x0); x < std::min(shot.width(), x1); ++x) count += match(shot.at(x, y));
  }
  return count;
}

TEST(GravityWithoutDisplayTest, SaysSoAndExitsWithStatus1) {
  const std::string log = ::testing::TempDir() + "gravity_no_display.txt";
  Process gravity(kProgram, {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}, log);
  EXPECT_EQ(gravity.WaitExit(20s), 1);
  std::ifstream in(log);
  std::string line, last;
  int messages = 0;
  while (std::getline(in, line)) {
    if (line.rfind("gravity: ", 0) == 0) {
      ++messages;
      last = line;
    }
  }
  EXPECT_EQ(messages, 1) << last;
}

class GravityOnDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!session_.connected()) {
      if (const char* require = std::getenv("GRAVITY_REQUIRE_DISPLAY"); require && *require == '1') {
        FAIL() << "no X display, and GRAVITY_REQUIRE_DISPLAY=1";
      }
      GTEST_SKIP() << "no X display (set DISPLAY, or run the test script, which starts Xvfb)";
    }
  }

  // Running means the window is there and the frame loop draws: the mode
  // has finished opening, so key counting has started.
  bool WaitUntilRunning(Process& gravity) {
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (std::chrono::steady_clock::now() < deadline && gravity.Running()) {
      window_ = session_.FindWindow("gravity");
      if (window_ != 0) {
        const Screenshot shot = session_.Capture();
        const int cx = shot.width() / 2, cy = shot.height() / 2;
        if (CountIn(shot, cx - 100, cy - 60, cx + 100, cy + 60, NonBlack) > 0) return true;
      }
      std::this_thread::sleep_for(100ms);
    }
    return false;
  }

  static void PressSpace() { ASSERT_EQ(std::system("xdotool key space"), 0); }

  e2e::X11Session session_;
  Window window_ = 0;
};

TEST_F(GravityOnDisplayTest, IgnoresCloseRequestsAndEndsOnSpace) {
  Process gravity(kProgram);
  ASSERT_TRUE(WaitUntilRunning(gravity));
  session_.SendCloseRequest(window_);
  std::this_thread::sleep_for(1500ms);
  ASSERT_TRUE(gravity.Running()) << "a close request ended the program";
  PressSpace();
  EXPECT_EQ(gravity.WaitExit(3s), 0);
}

TEST_F(GravityOnDisplayTest, TerminationSignalsEndItWith128PlusTheSignal) {
  for (int signal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(signal);
    Process gravity(kProgram);
    ASSERT_TRUE(WaitUntilRunning(gravity));
    gravity.Signal(signal);
    EXPECT_EQ(gravity.WaitExit(3s), 128 + signal);
  }
}

TEST_F(GravityOnDisplayTest, ShowsARedHeavyBodyAndTheCloudAroundTheCentre) {
  Process gravity(kProgram);
  ASSERT_TRUE(WaitUntilRunning(gravity));
  // Within the first frames heavy body 1 has hardly left its start, at rest
  // at 1.1 times the screen centre, drawn in (255, 20, 20).
  std::this_thread::sleep_for(300ms);
  const Screenshot early = session_.Capture();
  std::this_thread::sleep_for(3s);
  const Screenshot late = session_.Capture();
  late.WritePpm(::testing::TempDir() + "gravity_screen.ppm");
  PressSpace();
  EXPECT_EQ(gravity.WaitExit(3s), 0);

  const int w = late.width(), h = late.height();
  const int cx = w / 2, cy = h / 2;
  const int bx = cx + cx / 10, by = cy + cy / 10;
  const int red = CountIn(early, bx - 8, by - 8, bx + 8, by + 8,
                          [](Rgb p) { return p.r >= 140 && p.g <= 40 && p.b <= 40; });
  EXPECT_GE(red, 9) << "the 3 x 3 core and more of the heavy body";

  // The cloud starts in the middle tenth of the screen in each direction.
  const int cloud = CountIn(late, cx - w / 10, cy - h / 10, cx + w / 10, cy + h / 10, NonBlack);
  EXPECT_GT(cloud, 500);
  const int farAway = CountIn(late, 0, 0, w / 5, h / 5, NonBlack);
  EXPECT_LT(farAway, cloud / 10) << "the picture is not centred";
}

TEST_F(GravityOnDisplayTest, ShowsTheHeadsUpLineInGreyAtItsPlace) {
  Process gravity(kProgram);
  ASSERT_TRUE(WaitUntilRunning(gravity));
  std::this_thread::sleep_for(3s);
  const Screenshot shot = session_.Capture();
  PressSpace();
  EXPECT_EQ(gravity.WaitExit(3s), 0);
  ASSERT_GE(shot.height(), 768) << "the heads-up line sits at rows 740..767";

  // White text that one fade has turned grey 128, inside rows 750..765.
  const auto grey = [](Rgb p) { return p.r == 128 && p.g == 128 && p.b == 128; };
  EXPECT_GT(CountIn(shot, 10, 750, 404, 766, grey), 100);
  EXPECT_EQ(CountIn(shot, 10, 740, 404, 750, grey), 0);
  EXPECT_EQ(CountIn(shot, 10, 766, 404, 768, grey), 0);

  const std::string fps = e2e::ReadText(shot, 10, 750);
  const std::string particles = e2e::ReadText(shot, 120, 750);
  EXPECT_TRUE(fps.rfind("FPS : ", 0) == 0 && fps.size() > 6) << fps;
  EXPECT_TRUE(particles.rfind("Particles : ", 0) == 0 && particles.size() > 12) << particles;
  EXPECT_EQ(fps.find_first_not_of("0123456789-", 6), std::string::npos) << fps;
  EXPECT_EQ(particles.find_first_not_of("0123456789-", 12), std::string::npos) << particles;
}

}  // namespace
