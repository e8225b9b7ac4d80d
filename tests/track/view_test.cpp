#include "track/view.h"

#include <gtest/gtest.h>

#include "shell/display.h"
#include "track/track_view.h"

TEST(View, VisibleRectangleFollowsCameraAndZoom) {
  SetScreenWidth(1024);
  SetScreenHeight(768);
  View world;
  // Zoom 2: half as wide and high, around the same centre; the cull margin is 40 / zoom.
  world.zoom = 2.0f;
  CullRect view = VisibleRect(world);
  EXPECT_FLOAT_EQ(view.maxX - view.minX, 512.0f);
  EXPECT_FLOAT_EQ(view.maxY - view.minY, 384.0f);
  EXPECT_FLOAT_EQ((view.minX + view.maxX) / 2, 512.0f);
  EXPECT_FLOAT_EQ((view.minY + view.maxY) / 2, 384.0f);
  EXPECT_FLOAT_EQ(LineCullRect(world).minX, view.minX - 20.0f);
  EXPECT_FLOAT_EQ(LineCullRect(world).maxY, view.maxY + 20.0f);

  // The screen corners map to the rectangle's corners, whatever the camera.
  world.camera = {-300.0f, 125.0f};
  world.zoom = 0.5f;
  view = VisibleRect(world);
  const Vec2 low = WorldPointOf(world, {0, 0}), high = WorldPointOf(world, {1024, 768});
  EXPECT_EQ(Vec2(view.minX, view.minY), low);
  EXPECT_EQ(Vec2(view.maxX, view.maxY), high);
  const Vec2 back = ScreenPointOf(world, WorldPointOf(world, {100, 200}));
  EXPECT_NEAR(back.x, 100.0f, 1e-3f);
  EXPECT_NEAR(back.y, 200.0f, 1e-3f);
}
