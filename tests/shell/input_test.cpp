#include "shell/input.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/keys.h"
#include "platform/platform.h"
#include "shell/display.h"

namespace {

// The keyboard and cursor as a test sets them.
struct FakeDevices {
  uint8_t keys[256] = {};
  int x = 0, y = 0;
  int warpedX = -1, warpedY = -1;
} fake;

class InputTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = Platform();
    fake = {};
    Platform().readKeys = [](uint8_t keys[256]) { memcpy(keys, fake.keys, 256); };
    Platform().readCursor = [](int* x, int* y) { *x = fake.x, *y = fake.y; };
    Platform().warpCursor = [](int x, int y) { fake.warpedX = x, fake.warpedY = y; };
    SetScreenWidth(1024);
    SetScreenHeight(768);
    ResetInput();
    RefreshInput();
  }
  void TearDown() override { Platform() = saved_; }
  PlatformServices saved_;
};

}  // namespace

TEST_F(InputTest, PressedIsTheEdgeOfThisStepWhoeverAsks) {
  fake.keys['R'] = 0x80;
  RefreshInput();
  EXPECT_TRUE(KeyDown('R'));
  EXPECT_TRUE(KeyPressed('R'));
  EXPECT_TRUE(KeyPressed('R')) << "asking does not consume the press";
  RefreshInput();
  EXPECT_TRUE(KeyDown('R'));
  EXPECT_FALSE(KeyPressed('R')) << "held keys do not repeat";
  fake.keys['R'] = 0;
  RefreshInput();
  EXPECT_FALSE(KeyDown('R'));
  EXPECT_FALSE(KeyDown(300));
  EXPECT_FALSE(KeyPressed(-1));
  EXPECT_FALSE(KeyDown(-5));

  fake.keys[kKeySpace] = 0x80;
  ResetInput();
  RefreshInput();
  EXPECT_TRUE(KeyDown(kKeySpace));
  EXPECT_FALSE(KeyPressed(kKeySpace)) << "a key held through a reset is not a new press";
}

TEST_F(InputTest, MouseIsClampedAndMotionMeasuredFromTheClampedPosition) {
  float x, y;
  fake.x = -5;
  fake.y = 900;
  RefreshInput();
  GetMouse(&x, &y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 768);
  fake.x = 10;
  fake.y = 700;
  RefreshInput();
  GetMouse(&x, &y);
  EXPECT_EQ(x, 10);
  UndoMouseMotionX();
  GetMouse(&x, &y);
  EXPECT_EQ(x, 0) << "the motion was measured against 0, not -5";
  EXPECT_EQ(fake.warpedX, 0);
  EXPECT_EQ(fake.warpedY, 700);

  WarpMouse(2000, 5);
  GetMouse(&x, &y);
  EXPECT_EQ(x, 2000) << "a warp is not clamped";
  EXPECT_EQ(fake.warpedX, 2000);
  WarpMouse(1e30f, 0);
  EXPECT_EQ(fake.warpedX, INT32_MAX) << "a warp far off the screen saturates";
}
