#include "app/WatchPause.h"

#include <gtest/gtest.h>

namespace {

TEST(WatchPause, EditingTheWrapColumnPausesAndLeavingResumes) {
  WatchPause p;
  EXPECT_FALSE(p.IsPaused());
  p.BeginWrapEdit();
  EXPECT_TRUE(p.IsPaused());
  p.EndWrapEdit();
  EXPECT_FALSE(p.IsPaused());
}

TEST(WatchPause, LeavingTheFieldKeepsATrayDisable) {
  WatchPause p;
  EXPECT_TRUE(p.ToggleTray());
  p.BeginWrapEdit();
  p.EndWrapEdit();
  EXPECT_TRUE(p.IsPaused());
  EXPECT_TRUE(p.IsTrayDisabled());
  EXPECT_FALSE(p.ToggleTray());
  EXPECT_FALSE(p.IsPaused());
}

TEST(WatchPause, EnableFromTheTrayWaitsForTheFieldToBeLeft) {
  WatchPause p;
  p.ToggleTray();
  p.BeginWrapEdit();
  p.ToggleTray();
  EXPECT_TRUE(p.IsPaused());
  p.EndWrapEdit();
  EXPECT_FALSE(p.IsPaused());
}

}  // namespace
