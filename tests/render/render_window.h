// A real window and GL device under the test's X display, opened for each test and closed after
// it with the sprite textures, and the window's pixels read back.
#pragma once
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "graphics/device.h"
#include "graphics/draw.h"
#include "graphics/sprites.h"
#include "platform/platform.h"
#include "platform/window.h"
#include "shell/display.h"

template <int W, int H>
class RenderWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(PlatformStartVideo());
    SetScreenWidth(W);
    SetScreenHeight(H);
    ASSERT_TRUE(PlatformCreateWindow("render test", W, H, 32));
    ASSERT_TRUE(CreateDevice());
  }
  void TearDown() override {
    ForgetSpriteTextures();
    ReleaseDevice();
    PlatformDestroyWindow();
  }
 public:
  // The whole window as RGBA, bottom row first, once everything drawn so far is done.
  static std::vector<uint8_t> ReadScreen() {
    glFinish();
    std::vector<uint8_t> rgba(static_cast<size_t>(W) * H * 4);
    glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
  }
};
