#include "shell/input.h"

#include <gtest/gtest.h>

#include <utility>

#include "fake_input.h"
#include "platform/keys.h"

namespace {
class InputTest : public testing::Test {
 protected:
  void SetUp() override { InstallFakeInput(); }
  void TearDown() override { Platform() = saved_; }
  PlatformServices saved_ = Platform();
};
}  // namespace

TEST_F(InputTest, PressedIsTheEdgeOfThisStepWhoeverAsks) {
  SetKey('R', true);
  RefreshInput();
  EXPECT_TRUE(KeyDown('R'));
  EXPECT_TRUE(KeyPressed('R'));
  EXPECT_TRUE(KeyPressed('R')) << "asking does not consume the press";
  RefreshInput();
  EXPECT_TRUE(KeyDown('R'));
  EXPECT_FALSE(KeyPressed('R')) << "held keys do not repeat";
  SetKey('R', false);
  RefreshInput();
  EXPECT_FALSE(KeyDown('R') || KeyDown(300) || KeyPressed(-1) || KeyDown(-5)) << "released, and keys out of range";

  SetKey(kKeySpace, true);
  ResetInput();
  RefreshInput();
  EXPECT_TRUE(KeyDown(kKeySpace));
  EXPECT_FALSE(KeyPressed(kKeySpace)) << "a key held through a reset is not a new press";
}

TEST_F(InputTest, MouseIsClampedAndMotionMeasuredFromTheClampedPosition) {
  float x, y;
  Fake().cursorX = -5, Fake().cursorY = 900;
  RefreshInput();
  GetMouse(&x, &y);
  EXPECT_EQ(std::pair(x, y), std::pair(0.0f, 768.0f));
  Fake().cursorX = 10, Fake().cursorY = 700;
  RefreshInput();
  GetMouse(&x, &y);
  EXPECT_EQ(x, 10);
  UndoMouseMotionX();
  GetMouse(&x, &y);
  EXPECT_EQ(x, 0) << "the motion was measured against 0, not -5";
  EXPECT_EQ(Fake().warps, 1);
  EXPECT_EQ(std::pair(Fake().cursorX, Fake().cursorY), std::pair(0, 700));

  WarpMouse(2000, 5);
  GetMouse(&x, &y);
  EXPECT_EQ(std::pair(x, Fake().cursorX), std::pair(2000.0f, 2000)) << "a warp is not clamped";
  WarpMouse(1e30f, 0);
  EXPECT_EQ(Fake().cursorX, INT32_MAX) << "a warp far off the screen saturates";
}
