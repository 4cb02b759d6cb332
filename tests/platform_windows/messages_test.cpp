// Key counting from the Windows message queue.
//
// Keyboard messages are posted to the thread's own queue, as the system does
// for the focused window, and taken in by HandleMessages; no window or
// display is needed for that.

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "platform/key_counter.h"
#include "platform/system.h"

namespace {

// lParam of a key message: repeat count 1, plus bit 30 when the key was
// already down (an auto-repeat) and bit 31 for a release.
constexpr LPARAM kFirstPress = 1;
constexpr LPARAM kRepeat = 1 | (LPARAM{1} << 30);
constexpr LPARAM kRelease = 1 | (LPARAM{1} << 30) | (LPARAM{1} << 31);

struct Message {
  UINT message;
  WPARAM key;
  LPARAM lParam;
};

struct KeyCase {
  const char* name;
  std::vector<Message> messages;
  std::int32_t spaceHits;
};

class WindowsMessagesTest : public testing::TestWithParam<KeyCase> {
 protected:
  void SetUp() override {
    MSG ignored;
    PeekMessageW(&ignored, nullptr, 0, 0, PM_NOREMOVE);  // gives the thread its queue
    platform::HandleMessages(keys_);                     // and empties it
    keys_.Reset();
  }

  void Post(const Message& m) {
    ASSERT_TRUE(PostThreadMessageW(GetCurrentThreadId(), m.message, m.key, m.lParam));
  }

  platform::KeyCounter keys_;
};

TEST_P(WindowsMessagesTest, CountsPressesOfSpace) {
  for (const Message& m : GetParam().messages) Post(m);
  platform::HandleMessages(keys_);
  EXPECT_EQ(keys_.Take(platform::kKeySpace), GetParam().spaceHits);
  EXPECT_EQ(keys_.Take(platform::kKeySpace), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keyboard, WindowsMessagesTest,
    testing::Values(
        KeyCase{"OnePress", {{WM_KEYDOWN, VK_SPACE, kFirstPress}}, 1},
        KeyCase{"HeldKeyRepeatsCountOnce",
                {{WM_KEYDOWN, VK_SPACE, kFirstPress},
                 {WM_KEYDOWN, VK_SPACE, kRepeat},
                 {WM_KEYDOWN, VK_SPACE, kRepeat},
                 {WM_KEYUP, VK_SPACE, kRelease}},
                1},
        KeyCase{"HeldSinceBeforeStartCountsNothing",
                {{WM_KEYDOWN, VK_SPACE, kRepeat}, {WM_KEYDOWN, VK_SPACE, kRepeat}},
                0},
        KeyCase{"PressReleasePress",
                {{WM_KEYDOWN, VK_SPACE, kFirstPress},
                 {WM_KEYUP, VK_SPACE, kRelease},
                 {WM_KEYDOWN, VK_SPACE, kFirstPress}},
                2},
        // The release went to another window while this one had no focus.
        KeyCase{"ReleaseNeverSeen",
                {{WM_KEYDOWN, VK_SPACE, kFirstPress}, {WM_KEYDOWN, VK_SPACE, kFirstPress}},
                2},
        KeyCase{"ReleasedWhileAltHeld",
                {{WM_KEYDOWN, VK_SPACE, kFirstPress},
                 {WM_SYSKEYUP, VK_SPACE, kRelease},
                 {WM_KEYDOWN, VK_SPACE, kFirstPress}},
                2},
        KeyCase{"OtherKeysDoNotCount",
                {{WM_KEYDOWN, VK_RETURN, kFirstPress},
                 {WM_KEYDOWN, 'A', kFirstPress},
                 {WM_CHAR, VK_SPACE, kFirstPress}},
                0},
        KeyCase{"CloseRequestChangesNothing",
                {{WM_KEYDOWN, VK_SPACE, kFirstPress}, {WM_CLOSE, 0, 0}, {WM_QUIT, 0, 0}},
                1}),
    [](const testing::TestParamInfo<KeyCase>& info) { return info.param.name; });

}  // namespace
