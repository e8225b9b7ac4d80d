#include "track/view.h"

#include <gtest/gtest.h>

#include "shell/display.h"
#include "track/track_view.h"
#include "track/world.h"

TEST(View, VisibleRectangleFollowsCameraAndZoom) {
  SetScreenWidth(1024);
  SetScreenHeight(768);
  View world;
  CullRect view = VisibleRect(world);
  EXPECT_FLOAT_EQ(view.minX, 0.0f);
  EXPECT_FLOAT_EQ(view.minY, 0.0f);
  EXPECT_FLOAT_EQ(view.maxX, 1024.0f);
  EXPECT_FLOAT_EQ(view.maxY, 768.0f);
  CullRect cull = LineCullRect(world);
  EXPECT_FLOAT_EQ(cull.minX, -40.0f);
  EXPECT_FLOAT_EQ(cull.maxY, 808.0f);

  // Zoom 2: half as wide and high, around the same centre; the margin is 40 / zoom.
  world.zoom = 2.0f;
  view = VisibleRect(world);
  EXPECT_FLOAT_EQ(view.maxX - view.minX, 512.0f);
  EXPECT_FLOAT_EQ(view.maxY - view.minY, 384.0f);
  EXPECT_FLOAT_EQ((view.minX + view.maxX) / 2, 512.0f);
  EXPECT_FLOAT_EQ((view.minY + view.maxY) / 2, 384.0f);
  EXPECT_FLOAT_EQ(LineCullRect(world).minX, view.minX - 20.0f);

  // The screen corners map to the rectangle's corners, whatever the camera.
  world.camera = {-300.0f, 125.0f};
  world.zoom = 0.5f;
  view = VisibleRect(world);
  Vec2 low = WorldPointOf(world, {0, 0}), high = WorldPointOf(world, {1024, 768});
  EXPECT_FLOAT_EQ(view.minX, low.x);
  EXPECT_FLOAT_EQ(view.minY, low.y);
  EXPECT_FLOAT_EQ(view.maxX, high.x);
  EXPECT_FLOAT_EQ(view.maxY, high.y);
  Vec2 back = ScreenPointOf(world, WorldPointOf(world, {100, 200}));
  EXPECT_NEAR(back.x, 100.0f, 1e-3f);
  EXPECT_NEAR(back.y, 200.0f, 1e-3f);
}

TEST(View, GhostFadesOverItsLoop) {
  World world;
  world.ghost.counter = 0;
  EXPECT_EQ(GhostAlpha(world), 130);              // trunc(258 x 0.5 + 1)
  world.ghost.counter = 120;
  EXPECT_EQ(GhostAlpha(world), 2);                // trunc(3 x 0.5 + 1)
  world.ghost.counter = 60;
  EXPECT_EQ(GhostAlpha(world), 66);               // trunc(130.5 x 0.5 + 1)
}
