#include "track/world.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "rider/current_rider.h"
#include "shell/display.h"
#include "support/body_builder.h"
#include "track/track_scene.h"
#include "track/view.h"

namespace {

// The live lines' end points, to four decimals: "x1,y1-x2,y2 " each, in list order.
template <typename Line>
std::string LiveEnds(const std::vector<Line>& lines) {
  std::string ends;
  char text[96];
  for (const Line& l : lines)
    if (l.live) ends += (snprintf(text, sizeof text, "%.4f,%.4f-%.4f,%.4f ", l.x1, l.y1, l.x2, l.y2), text);
  return ends;
}

class WorldTest : public testing::Test {
 protected:
  void SetUp() override {
    SetScreenWidth(1024);
    SetScreenHeight(768);
    world_ = std::make_unique<World>();
  }
  // A three-point rider whose focus point is id 1.
  void LoadRider() {
    Body body;
    BodyPoint* a = Add(body, {.x = 100, .y = 200});
    BodyPoint* b = Add(body, {.x = 130, .y = 200});
    BodyPoint* c = Add(body, {.x = 115, .y = 230});
    for (auto [from, to] : {std::pair{a, b}, {b, c}, {c, a}}) Tie(body, from, to, {.stiffness = 0.5f});
    TakeSnapshot(body, rider_.snapshot);
    rider_.focusPointId = 1;
    rider_.loaded = 1;
  }
  CurrentRider rider_;
  std::unique_ptr<World> world_;
};

}  // namespace

TEST_F(WorldTest, AddRefusesLinesTheGameCannotUse) {
  World& w = *world_;
  const LineId id = AddSolidLine(w, {0, 0}, {3, 4}, 1.0f, LineKind::BoostForward);
  ASSERT_EQ(id, 0);
  const SolidLine* line = &w.solidLines[0];
  EXPECT_FLOAT_EQ(line->length, 5.0f);
  EXPECT_FLOAT_EQ(line->nx, -0.8f);
  EXPECT_FLOAT_EQ(line->ny, 0.6f);
  EXPECT_EQ(line->kind, LineKind::BoostForward);
  // Non-finite, beyond 2^23, bad thickness, zero length (also when the length underflows).
  const struct { Vec2 a, b; float thickness; } refused[] = {
      {{NAN, 0}, {3, 4}, 1},         {{0, 0}, {INFINITY, 4}, 1},    {{0, 0}, {3, 4}, NAN},
      {{0, 0}, {8388609.0f, 4}, 1}, {{0, -8388609.0f}, {3, 4}, 1}, {{0, 0}, {3, 4}, -0.5f},
      {{0, 0}, {3, 4}, 65537.0f},    {{7, 7}, {7, 7}, 1},           {{0, 0}, {1e-30f, 0}, 1}};
  for (const auto& r : refused) {
    EXPECT_EQ(AddSolidLine(w, r.a, r.b, r.thickness, LineKind::Normal), kNoLine) << r.a.x << "," << r.b.x << " " << r.thickness;
    EXPECT_EQ(AddSceneryLine(w, r.a, r.b, 1, 2, 3, r.thickness), kNoLine);
  }
  EXPECT_EQ(AddSolidLine(w, {0, 0}, {8388608.0f, 0}, 0, LineKind::Normal), 1);
  EXPECT_EQ(SolidLineCount(w), 2);
  EXPECT_EQ(int(w.solidLines.size()), 2);
}

TEST_F(WorldTest, RemoveTakesOnlyLiveLinesOfTheWorld) {
  World& w = *world_;
  const LineId a = AddSolidLine(w, {0, 0}, {500, 100}, 1, LineKind::Normal);
  const LineId b = AddSolidLine(w, {-800, 50}, {900, -70}, 4, LineKind::Normal);
  for (LineId missing : {2, -1}) RemoveSolidLine(w, missing);
  EXPECT_EQ(SolidLineCount(w), 2);
  RemoveSolidLine(w, a);
  RemoveSolidLine(w, a);
  EXPECT_EQ(SolidLineCount(w), 1);
  RemoveSolidLine(w, b);
  EXPECT_EQ(SolidLineCount(w), 0);
  // What a clear leaves: ResetEmptiesTheTrack, through the clear button's ResetTrackWorld.
  EXPECT_EQ(GridCellCount(w.grid), 0);
}

TEST_F(WorldTest, EraserCutsChordsAndKeepsLongPieces) {
  World& w = *world_;
  // One line and one circle each, on an empty world: the pieces left, each ending one unit beyond
  // the chord; a piece of 10 units or less is dropped.
  const struct { const char* what; Vec2 a, b, centre; float radius; const char* left; } cases[] = {
      {"middle cut", {0, 0}, {100, 0}, {50, 0}, 20, "0.0000,0.0000-29.0000,0.0000 71.0000,0.0000-100.0000,0.0000 "},
      {"short piece dropped", {0, 0}, {40, 0}, {25, 0}, 10, "0.0000,0.0000-14.0000,0.0000 "},
      {"wholly inside", {0, 0}, {30, 0}, {15, 0}, 20, ""},
      {"touched, 10 long", {0, 0}, {10, 0}, {12, 3}, 6, ""},
      {"extension beyond P2", {0, 0}, {100, 0}, {130, 0}, 20, "0.0000,0.0000-100.0000,0.0000 "},
      {"extension before P1", {0, 0}, {100, 0}, {-30, 0}, 20, "0.0000,0.0000-100.0000,0.0000 "},
      {"beside", {0, 0}, {100, 0}, {50, 30}, 20, "0.0000,0.0000-100.0000,0.0000 "},
  };
  // Scenery lines are cut the same way; the pieces of both kinds keep kind, colour and width.
  for (const auto& c : cases) {
    ClearSolidLines(w);
    ClearSceneryLines(w);
    AddSolidLine(w, c.a, c.b, 3.0f, LineKind::BoostBackward);
    AddSceneryLine(w, c.a, c.b, 10, 20, 30, 2.0f);
    EraseSolidLines(w, c.centre, c.radius);
    EraseSceneryLines(w, c.centre, c.radius);
    EXPECT_EQ(LiveEnds(w.solidLines) + "| " + LiveEnds(w.sceneryLines), c.left + std::string("| ") + c.left) << c.what;
    for (const SolidLine& line : w.solidLines)
      EXPECT_TRUE(!line.live || (line.kind == LineKind::BoostBackward && line.thickness == 3.0f)) << c.what;
    for (const SceneryLine& line : w.sceneryLines) EXPECT_TRUE(!line.live || (line.r == 10 && line.thickness == 2.0f)) << c.what;
  }
  ClearSolidLines(w);
  ClearSceneryLines(w);
  // Several lines in one cell: each is cut once, the pieces are met again without effect; the
  // pieces go to the end of the list, after a line the circle missed.
  AddSceneryLine(w, {0, 50}, {100, 50}, 1, 1, 1, 1.0f);
  for (int i = 0; i < 5; ++i) AddSolidLine(w, {0, float(i) * 4}, {100, float(i) * 4}, 1, LineKind::Normal);
  AddSceneryLine(w, {0, 0}, {100, 0}, 10, 20, 30, 2.0f);
  EraseSolidLines(w, {50, 8}, 25);
  EraseSceneryLines(w, {50, 0}, 20);
  EXPECT_EQ(SolidLineCount(w), 10);
  for (const SolidLine& line : w.solidLines)
    EXPECT_TRUE(!line.live || (std::hypot(line.x1 - 50, line.y1 - 8) > 25.0f && std::hypot(line.x2 - 50, line.y2 - 8) > 25.0f));
  EXPECT_EQ(LiveEnds(w.sceneryLines),
            "0.0000,50.0000-100.0000,50.0000 0.0000,0.0000-29.0000,0.0000 71.0000,0.0000-100.0000,0.0000 ");
}

TEST_F(WorldTest, SnapTakesTheFirstEndpointInCellOrder) {
  World& w = *world_;
  // Both lines sit in cell (0, 1); the first added wins though the second's endpoint is nearer.
  AddSolidLine(w, {0, 10}, {100, 10}, 1, LineKind::Normal);
  AddSolidLine(w, {3, 10}, {200, 50}, 1, LineKind::Normal);
  for (auto [from, to] : {std::pair{Vec2(2, 10), Vec2(0, 10)}, {{199, 49}, {200, 50}}, {{50, 50}, {50, 50}}}) {
    SnapToEndpoint(w, from, 5);
    EXPECT_EQ(from, to);
  }
}

TEST_F(WorldTest, RiderRestartStartFlagAndCamera) {
  World& w = *world_;
  View view;
  // No rider loaded: restart leaves the body empty, the flag goes to (0, 0).
  RestartRider(w, rider_);
  EXPECT_TRUE(w.rider.points.empty());
  StoreStart(w);
  EXPECT_EQ(w.flag, Vec2(0, 0));
  EXPECT_EQ(w.startFlagSet, 1);
  LoadRider();
  RestartRider(w, rider_);
  CentreOnRider(view, w);
  ASSERT_EQ(w.rider.pointsAdded, 3);
  EXPECT_EQ(view.camera, Vec2(512 - 130, 384 - 200));
  EXPECT_TRUE(view.wireframe);
  // A focus id the body lacks: the camera goes to (0, 0), the flag too.
  rider_.focusPointId = 77;
  RestartRider(w, rider_);
  CentreOnRider(view, w);
  EXPECT_EQ(view.camera, Vec2(0, 0));
  StoreStart(w);
  EXPECT_EQ(w.flag, Vec2(0, 0));
  rider_.focusPointId = 1;
  RestartRider(w, rider_);
  for (BodyPoint& p : w.rider.points) p.x += 40;
  StoreStart(w);
  EXPECT_EQ(w.flag, Vec2(170, 200));
  RestartRider(w, rider_);
  EXPECT_EQ(FocusPoint(w), Vec2(130, 200));
  RestoreStart(w);
  EXPECT_EQ(FocusPoint(w), Vec2(170, 200));
}

TEST_F(WorldTest, CameraFollowsWithADeadZone) {
  World& w = *world_;
  View view;
  LoadRider();
  RestartRider(w, rider_);
  const float dead = 0.236f * 512.0f / 1.0f;
  // Target offset T = C - F = (382, 184). Within the dead zone nothing moves.
  view.camera = {382 - 100, 184 + 50};
  FollowFocus(view, w);
  EXPECT_EQ(view.camera, Vec2(382 - 100, 184 + 50));
  view.camera = {382 - 200, 184 + 150};
  FollowFocus(view, w);
  EXPECT_FLOAT_EQ(view.camera.x, 382 - dead);
  EXPECT_FLOAT_EQ(view.camera.y, 184 + 0.236f * 384.0f);
  view.zoom = 2.0f;
  view.camera = {382 + 100, 184};
  FollowFocus(view, w);
  EXPECT_FLOAT_EQ(view.camera.x, 382 + dead / 2);
}

TEST_F(WorldTest, ResetEmptiesTheTrack) {
  TrackScene scene;
  LoadRider();
  CopySnapshot(rider_.snapshot, scene.rider.snapshot);
  scene.rider.loaded = 1;
  World& w = scene.world;
  AddSolidLine(w, {0, 0}, {100, 0}, 1, LineKind::Normal);
  AddSceneryLine(w, {0, 0}, {100, 0}, 1, 1, 1, 1);
  scene.view.zoom = 3;
  w.demoLoaded = true;
  w.startFlagSet = 1;
  scene.cursor.eraserCircle = true;
  scene.editor.newLineKind = LineKind::BoostBackward;
  ResetTrackWorld(scene);
  EXPECT_EQ(SolidLineCount(w) + SceneryLineCount(w) + GridCellCount(w.grid), 0);
  EXPECT_EQ(scene.view.zoom, 1.0f);
  EXPECT_FALSE(w.demoLoaded);
  EXPECT_EQ(w.startFlagSet, 0);
  EXPECT_FALSE(scene.cursor.eraserCircle);
  EXPECT_EQ(scene.editor.newLineKind, LineKind::Normal);
  EXPECT_EQ(w.rider.pointsAdded, 3);
}
