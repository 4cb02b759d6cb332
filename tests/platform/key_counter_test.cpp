#include <gtest/gtest.h>

#include "platform/key_counter.h"

namespace {

using platform::KeyCounter;
using platform::kKeySpace;

TEST(KeyCounterTest, CountsPressesNotRepeatsOrReleases) {
  KeyCounter keys;
  keys.KeyDown(kKeySpace);
  keys.KeyDown(kKeySpace);  // held: the keyboard repeats, nothing counts
  keys.KeyDown(kKeySpace);
  EXPECT_EQ(keys.Take(kKeySpace), 1);
  EXPECT_EQ(keys.Take(kKeySpace), 0) << "the query resets the count";

  keys.KeyUp(kKeySpace);
  keys.KeyDown(kKeySpace);
  keys.KeyUp(kKeySpace);
  keys.KeyDown(kKeySpace);
  EXPECT_EQ(keys.Take(kKeySpace), 2);
}

TEST(KeyCounterTest, KeysAreCountedSeparately) {
  KeyCounter keys;
  keys.KeyDown('A');
  keys.KeyDown(kKeySpace);
  keys.KeyUp('A');
  keys.KeyDown('A');
  EXPECT_EQ(keys.Take(kKeySpace), 1);
  EXPECT_EQ(keys.Take('A'), 2);
}

TEST(KeyCounterTest, ResetForgetsCountsAndHeldKeys) {
  KeyCounter keys;
  keys.KeyDown(kKeySpace);
  keys.Reset();
  EXPECT_EQ(keys.Take(kKeySpace), 0);
  keys.KeyDown(kKeySpace);  // no longer held, so this is a new press
  EXPECT_EQ(keys.Take(kKeySpace), 1);
}

TEST(KeyCounterTest, CodesOutsideTheTableAreIgnored) {
  KeyCounter keys;
  for (int key : {-1, 256, 1 << 30}) {
    keys.KeyDown(key);
    keys.KeyUp(key);
    EXPECT_EQ(keys.Take(key), 0);
  }
}

}  // namespace
