#include "gui/track_screen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "platform/keys.h"
#include "track/cursor.h"
#include "track/track_file.h"
#include "support/temp_folder.h"
#include "track_session.h"

namespace {
class TrackScreenTest : public ::testing::Test {
 protected:
  struct Session {
    Session() { ResetSession(); }
  } session_;
  Game& game = TheGame();
  TrackToolbar& bar = game.toolbar;
  TrackScene& scene = game.track;
  World& world = scene.world;
  TrackEditor& editor = scene.editor;
  View& view = scene.view;
  Cursor& cursor = scene.cursor;

  // Moves the pointer from a to b in steps of at most `step` screen px, one update per position.
  void MoveTo(Vec2 a, Vec2 b, float step) {
    Vec2 d = b - a;
    int n = int(std::ceil(std::sqrt(d.x * d.x + d.y * d.y) / step));
    for (int i = 1; i <= n; ++i) {
      PointAt(a.x + d.x * i / n, a.y + d.y * i / n);
      Step();
    }
  }

  float LineLength(const SolidLine& line) { return std::hypot(line.x2 - line.x1, line.y2 - line.y1); }
};
}  // namespace

TEST_F(TrackScreenTest, FreehandStrokeAddsLinesFortyUnitsApart) {
  PointAt(300, 300);
  Step();
  SetKey(kKeyLeftButton, true);
  Step();
  EXPECT_EQ(editor.freehandStroke, 1);
  // 100 units to the right in 2-px steps: two lines of 40 or more, the last 20 units dropped.
  MoveTo({300, 300}, {400, 300}, 2);
  SetKey(kKeyLeftButton, false);
  Step();
  ASSERT_EQ(SolidLineCount(world), 2);
  Vec2 start = WorldPointOf(view, {300, 300});
  const SolidLine& first = world.solidLines.front();
  EXPECT_FLOAT_EQ(first.x1, start.x);
  EXPECT_FLOAT_EQ(first.y1, start.y);
  for (const SolidLine& line : world.solidLines) {
    EXPECT_GE(LineLength(line), 40.0f);
    EXPECT_LT(LineLength(line), 42.5f);
    EXPECT_EQ(line.kind, LineKind::Normal);
  }
  EXPECT_EQ(editor.freehandStroke, 0);

  // At zoom 2 the same screen motion is 50 world units: one line.
  view.zoom = 2.0f;
  PointAt(300, 200);
  Step();
  SetKey(kKeyLeftButton, true);
  Step();
  MoveTo({300, 200}, {400, 200}, 2);
  SetKey(kKeyLeftButton, false);
  Step();
  EXPECT_EQ(SolidLineCount(world), 3);
}

TEST_F(TrackScreenTest, StraightStrokesNeedTenUnitsAndChainWithCtrl) {
  PointAt(300, 300);
  Step();
  SetKey(kKeyRightButton, true);
  Step();
  PointAt(308, 300);
  Step();
  SetKey(kKeyRightButton, false);
  Step();
  EXPECT_EQ(SolidLineCount(world), 0);
  EXPECT_EQ(editor.straightStroke, 0);

  SetKey(kKeyRightButton, true);
  PointAt(300, 200);
  Step();
  PointAt(400, 200);
  Step();
  // Ctrl places the segment drawn so far and starts the next at its end, once per press.
  SetKey(kKeyControl, true);
  Step(3);
  EXPECT_EQ(SolidLineCount(world), 1);
  SetKey(kKeyControl, false);
  PointAt(400, 300);
  Step();
  SetKey(kKeyRightButton, false);
  Step();
  ASSERT_EQ(SolidLineCount(world), 2);
  const SolidLine& second = world.solidLines.back();
  Vec2 corner = WorldPointOf(view, {400, 200});
  EXPECT_FLOAT_EQ(second.x1, corner.x);
  EXPECT_FLOAT_EQ(second.y1, corner.y);
  EXPECT_FLOAT_EQ(second.y2 - second.y1, 100.0f);
}

TEST_F(TrackScreenTest, BoostAndSceneryPencilsMakeTheirKinds) {
  ClickButton(kBoostButton);
  ClickButton(kBoostButton);
  PointAt(300, 300);
  Step();
  SetKey(kKeyRightButton, true);
  Step();
  PointAt(400, 300);
  Step();
  SetKey(kKeyRightButton, false);
  Step();
  ASSERT_EQ(SolidLineCount(world), 1);
  EXPECT_EQ(world.solidLines.back().kind, LineKind::BoostBackward);
  EXPECT_EQ(editor.newLineKind, LineKind::Normal);

  ClickButton(kSceneryButton);
  editor.sceneryR = 10;
  PointAt(300, 250);
  Step();
  SetKey(kKeyRightButton, true);
  Step();
  PointAt(400, 250);
  Step();
  SetKey(kKeyRightButton, false);
  Step();
  EXPECT_EQ(SolidLineCount(world), 1);
  ASSERT_EQ(SceneryLineCount(world), 1);
  EXPECT_EQ(editor.sceneryMode, 0);
  EXPECT_EQ(int(cursor.shape), 2);
}

TEST_F(TrackScreenTest, SnappingStartsAStrokeOnAnEndpoint) {
  Vec2 end = WorldPointOf(view, {500, 300});
  AddSolidLine(world, end - Vec2(100, 0), end, 1.0f, LineKind::Normal);
  // 5 px away at zoom 1 is inside the 10-unit snap radius.
  PointAt(503, 304);
  Step();
  SetKey(kKeyRightButton, true);
  Step();
  PointAt(560, 350);
  Step();
  SetKey(kKeyRightButton, false);
  Step();
  ASSERT_EQ(SolidLineCount(world), 2);
  EXPECT_FLOAT_EQ(world.solidLines.back().x1, end.x);
  EXPECT_FLOAT_EQ(world.solidLines.back().y1, end.y);
  // The end of a stroke is never snapped, and with snapping off the start is not either.
  ClickButton(kSnapButton);
  PointAt(503, 304);
  Step();
  SetKey(kKeyRightButton, true);
  Step();
  PointAt(560, 250);
  Step();
  SetKey(kKeyRightButton, false);
  Step();
  ASSERT_EQ(SolidLineCount(world), 3);
  EXPECT_FLOAT_EQ(world.solidLines.back().x1, WorldPointOf(view, {503, 304}).x);
}

TEST_F(TrackScreenTest, EraserRemovesWhatItsCircleTouches) {
  Vec2 a = WorldPointOf(view, {500, 300});
  AddSolidLine(world, a, a + Vec2(10, 0), 1.0f, LineKind::Normal);  // inside the circle
  AddSolidLine(world, a + Vec2(0, 200), a + Vec2(50, 200), 1.0f, LineKind::Normal);  // far away
  AddSceneryLine(world, a - Vec2(5, 0), a + Vec2(5, 0), 1, 2, 3, 1.0f);
  ClickButton(kEraserButton);
  PointAt(500, 300);
  Step();
  EXPECT_EQ(cursor.eraserCircle, 1);
  EXPECT_FLOAT_EQ(cursor.eraserRadius, 1.0f * 4.5f + 20.0f);
  EXPECT_EQ(int(cursor.shape), 9);
  // The right button erases scenery only.
  SetKey(kKeyRightButton, true);
  Step();
  SetKey(kKeyRightButton, false);
  EXPECT_EQ(SceneryLineCount(world), 0);
  EXPECT_EQ(SolidLineCount(world), 2);
  SetKey(kKeyLeftButton, true);
  Step();
  SetKey(kKeyLeftButton, false);
  Step();
  ASSERT_EQ(SolidLineCount(world), 1);
  EXPECT_FALSE(world.solidLines[0].live);
  EXPECT_FLOAT_EQ(world.solidLines[1].y1, a.y + 200);
}

TEST_F(TrackScreenTest, PanAndZoomKeepTheirPoints) {
  ClickButton(kPanButton);
  PointAt(500, 300);
  Step();
  Vec2 grabbed = WorldPointOf(view, {500, 300});
  SetKey(kKeyLeftButton, true);
  Step();
  MoveTo({500, 300}, {650, 420}, 7);
  // The world point grabbed stays under the pointer.
  Vec2 under = WorldPointOf(view, {650, 420});
  EXPECT_NEAR(under.x, grabbed.x, 1e-3f);
  EXPECT_NEAR(under.y, grabbed.y, 1e-3f);
  SetKey(kKeyLeftButton, false);
  Step();
  // The pan tool has no zoom keys.
  SetKey('Z', true);
  Step(5);
  EXPECT_FLOAT_EQ(view.zoom, 1.0f);

  // The pencil's Z key: 100 steps from 1.0 end at the clamp 4.0; X the other way at 0.3.
  ClickButton(kPencilButton);
  PointAt(600, 400);
  Step(100);
  EXPECT_FLOAT_EQ(view.zoom, 4.0f);
  SetKey('Z', false);
  SetKey('X', true);
  Step(100);
  EXPECT_FLOAT_EQ(view.zoom, 0.3f);
  SetKey('X', false);

  // The zoom tool zooms about the screen centre: the world point there stays; up by one px
  // in a step enlarges by 0.5 %.
  ClickButton(kZoomButton);
  view.zoom = 1.0f;
  Vec2 centre = WorldPointOf(view, ScreenCentre());
  PointAt(600, 400);
  Step();
  SetKey(kKeyLeftButton, true);
  Step();
  PointAt(600, 410);
  Step();
  EXPECT_NEAR(view.zoom, 1.05f, 1e-5f);
  Vec2 after = WorldPointOf(view, ScreenCentre());
  EXPECT_NEAR(after.x, centre.x, 1e-3f);
  EXPECT_NEAR(after.y, centre.y, 1e-3f);
  // A wild jump up multiplies once (1 + 0.005 x 350); one down would make the zoom negative
  // (1 - 0.005 x 750) and is held at 0.3.
  PointAt(600, 760);
  Step();
  EXPECT_NEAR(view.zoom, 1.05f * 2.75f, 1e-4f);
  PointAt(600, 10);
  Step();
  EXPECT_FLOAT_EQ(view.zoom, 0.3f);
  for (int i = 0; i < 3; ++i) {
    PointAt(600, 760);
    Step();
    PointAt(600, 700);
    Step();
  }
  EXPECT_LE(view.zoom, 4.0f);
  SetKey(kKeyLeftButton, false);
  Step();
}

TEST_F(TrackScreenTest, NoLineFromANonFinitePoint) {
  view.camera = {std::numeric_limits<float>::quiet_NaN(), 0.0f};
  PointAt(300, 300);
  Step();
  SetKey(kKeyLeftButton, true);
  SetKey(kKeyRightButton, true);
  MoveTo({300, 300}, {500, 300}, 5);
  SetKey(kKeyLeftButton, false);
  SetKey(kKeyRightButton, false);
  Step();
  EXPECT_EQ(SolidLineCount(world), 0);
  view.camera = {std::numeric_limits<float>::infinity(), 0.0f};
  SetKey(kKeyRightButton, true);
  Step();
  PointAt(300, 300);
  Step();
  SetKey(kKeyRightButton, false);
  Step();
  EXPECT_EQ(SolidLineCount(world), 0);
  // A zoom that became NaN is brought back into range before any tool uses it.
  view.camera = {0.0f, 0.0f};
  view.zoom = std::numeric_limits<float>::quiet_NaN();
  Step();
  EXPECT_GE(view.zoom, kMinZoom);
  EXPECT_LE(view.zoom, kMaxZoom);
}

TEST_F(TrackScreenTest, PointDragMovesARiderPointAndSurvivesRestart) {
  LoadTestRider();
  ASSERT_EQ(world.rider.points.size(), 2u);
  ClickButton(kDragButton);
  const BodyPoint& first = world.rider.points.front();
  Vec2 onPoint = ScreenPointOf(view, {first.x, first.y});
  PointAt(onPoint.x + 2, onPoint.y);
  Step();
  SetKey(kKeyLeftButton, true);
  Step();
  ASSERT_EQ(Resolve(world.rider, editor.draggedPoint), &world.rider.points.front());
  PointAt(onPoint.x + 100, onPoint.y + 50);
  float before = world.rider.points.front().x;
  Step();
  EXPECT_GT(world.rider.points.front().x, before);

  // R rebuilds the body while the button is still held: the drag ends, nothing is written
  // through the old point, and the rider is back at its start.
  SetKey('R', true);
  Step();
  EXPECT_EQ(Resolve(world.rider, editor.draggedPoint), nullptr);
  SetKey('R', false);
  Step(3);
  EXPECT_EQ(Resolve(world.rider, editor.draggedPoint), nullptr);
  SetKey(kKeyLeftButton, false);
  Step();
  EXPECT_EQ(editor.pointDrag, 0);

  // The same for stop and play from start while dragging.
  SetKey(kKeyLeftButton, true);
  Step();
  editor.draggedPoint = HandleOf(world.rider, world.rider.points.front());
  RestartRiderFromScratch(scene);
  EXPECT_EQ(Resolve(world.rider, editor.draggedPoint), nullptr);
  EXPECT_EQ(editor.pointDrag, 0);
  SetKey(kKeyLeftButton, false);
  Step();
}

TEST_F(TrackScreenTest, PlayCycle) {
  LoadTestRider();
  auto y = [&] { return world.rider.points.front().y; };
  float start = y();
  // M pressed and held: exactly one rider step; the ghost plays while it stays held.
  SetKey('M', true);
  Step();
  float afterOne = y();
  EXPECT_LT(afterOne, start);
  Step(5);
  EXPECT_FLOAT_EQ(y(), afterOne);
  SetKey('M', false);
  Step();
  SetKey('M', true);
  Step();
  EXPECT_LT(y(), afterOne);
  SetKey('M', false);
  Step();

  // Space held runs the rider every step; its press also stops a run.
  ClickButton(kPlayButton);
  EXPECT_EQ(bar.running, 1);
  SetKey(kKeySpace, true);
  float beforeSpace = y();
  Step();
  EXPECT_EQ(bar.running, 0);
  EXPECT_EQ(bar.buttons[kPlayButton].frame, 9);
  EXPECT_LT(y(), beforeSpace);
  float held = y();
  Step();
  EXPECT_LT(y(), held);
  SetKey(kKeySpace, false);
  Step();
  float idle = y();
  Step(3);
  EXPECT_FLOAT_EQ(y(), idle);

  // Running moves it every step; R puts it back to its start pose.
  ClickButton(kPlayButton);
  float running = y();
  Step(3);
  EXPECT_LT(y(), running);
  SetKey('R', true);
  Step();
  SetKey('R', false);
  ClickButton(kPlayButton);
  EXPECT_EQ(bar.running, 0);
  Step();
  SetKey('R', true);
  Step();
  SetKey('R', false);
  EXPECT_FLOAT_EQ(y(), start);

  // Stored start: play from start goes back to it.
  SetKey(kKeySpace, true);
  Step(10);
  SetKey(kKeySpace, false);
  Step();
  float stored = y();
  ClickButton(kFlagButton);
  EXPECT_EQ(world.startFlagSet, 1);
  SetKey(kKeySpace, true);
  Step(10);
  SetKey(kKeySpace, false);
  Step();
  EXPECT_LT(y(), stored);
  // The click's three steps run the rider from the stored start, two steps each at most.
  ClickButton(kPlayFromStartButton);
  EXPECT_EQ(bar.running, 1);
  EXPECT_LE(y(), stored);
  EXPECT_GT(y(), stored - 1.0f);
  ClickButton(kStopButton);
  EXPECT_EQ(bar.running, 0);
  EXPECT_FLOAT_EQ(y(), start);
}

TEST_F(TrackScreenTest, DemoTrackRefusesEditing) {
  world.demoLoaded = 1;
  PointAt(300, 300);
  Step();
  EXPECT_EQ(bar.currentTool, kToolViewing);
  SetKey(kKeyLeftButton, true);
  SetKey(kKeyRightButton, true);
  MoveTo({300, 300}, {500, 300}, 5);
  SetKey(kKeyLeftButton, false);
  SetKey(kKeyRightButton, false);
  Step();
  EXPECT_EQ(SolidLineCount(world), 0);
  // Viewing mode zooms with vertical motion while the left button is held.
  SetKey(kKeyLeftButton, true);
  Step();
  PointAt(500, 320);
  Step();
  EXPECT_NEAR(view.zoom, 1.1f, 1e-4f);
  SetKey(kKeyLeftButton, false);
  Step();
}

TEST_F(TrackScreenTest, FailedLoadAndSaveLeaveTheWorldAsItWas) {
  AddSolidLine(world, {0, 0}, {100, 0}, 1.0f, LineKind::Normal);
  AddSceneryLine(world, {0, 10}, {100, 10}, 1, 2, 3, 1.0f);
  TempFolder folder;
  const std::string dir = folder.path.string();
  // A file that is not a track.
  std::string bogus = dir + "/not_a_track.track";
  FILE* file = fopen(bogus.c_str(), "wb");
  fputs("this is not a track file at all, just text", file);
  fclose(file);
  EXPECT_FALSE(LoadTrackFile(scene, bogus.c_str()));
  EXPECT_FALSE(LoadTrackFile(scene, (dir + "/missing.track").c_str()));
  EXPECT_FALSE(LoadTrackFile(scene, ""));
  EXPECT_EQ(SolidLineCount(world), 1);
  EXPECT_EQ(SceneryLineCount(world), 1);
  // A save into a folder that does not exist fails and changes nothing.
  EXPECT_FALSE(SaveTrack(world, scene.rider, (dir + "/no_such_folder/x.track").c_str()));
  EXPECT_EQ(SolidLineCount(world), 1);
  // A good save loads back.
  std::string good = dir + "/screen_test.track";
  ASSERT_TRUE(SaveTrack(world, scene.rider, good.c_str()));
  ResetTrackWorld(scene);
  EXPECT_TRUE(LoadTrackFile(scene, good.c_str()));
  EXPECT_EQ(SolidLineCount(world), 1);
  EXPECT_EQ(SceneryLineCount(world), 1);
  // The game keeps running: a step after all this works as before.
  Step();
}

// Until the menus exist the menu button leaves the track screen as Escape does.
TEST_F(TrackScreenTest, EscapeAndTheMenuButtonLeaveTheScreen) {
  static int escapes = 0;
  escapes = 0;
  game.trackScreen.escape = [](Game&) { ++escapes; };
  SetKey(kKeyEscape, true);
  Step(3);
  EXPECT_EQ(escapes, 1) << "a held key is one press";
  SetKey(kKeyEscape, false);
  Step();
  ClickButton(kMenuButton);
  EXPECT_EQ(escapes, 2);
}

// D is read in the update, so every press toggles however many steps a frame holds.
TEST_F(TrackScreenTest, DTogglesTheSkeletonOnEveryPressAtAnyFrameRate) {
  FrameDriver driver;
  FrameCalls frame{RefreshInput, nullptr, [this] { TrackScreenUpdate(game); }, [] {}, [] {}};
  driver.stepCount = 100;                         // past the warm-up
  uint32_t now = 1000;
  RunFrame(driver, now, frame);
  const bool before = view.wireframe;
  int presses = 0;
  for (int tap = 0; tap < 40; ++tap) {
    // Down for one step, up for the next, both inside one frame of 2 or 3 steps.
    SetKey('D', true);
    Step();
    SetKey('D', false);
    now += tap % 2 ? 20 : 30;
    RunFrame(driver, now, frame);
    presses += 1;
  }
  EXPECT_EQ(view.wireframe, presses % 2 ? !before : before);
  bool seen = view.wireframe;
  int toggles = 0;
  for (int tap = 0; tap < 40; ++tap) {
    SetKey('D', true);
    Step();
    toggles += view.wireframe != seen;
    seen = view.wireframe;
    SetKey('D', false);
    Step();
  }
  EXPECT_EQ(toggles, 40);
}

// A screen without both functions is refused and the game stays where it was; every switch
// function lands on a working screen, and leaving a screen ends every drag it had begun.
TEST_F(TrackScreenTest, SwitchesLandOnWorkingScreensAndEndDrags) {
  Game fresh;
  EXPECT_FALSE(SwitchScreen(fresh, ScreenId::Track));
  EXPECT_EQ(fresh.screens.current.update, nullptr);
  ToTrackScreen(game);
  EXPECT_EQ(game.screens.current.update, TrackScreenUpdate);
  EXPECT_EQ(game.screens.current.render, TrackScreenRender);
  SetScreen(game, ScreenId::Track, {TrackScreenUpdate, nullptr});
  EXPECT_FALSE(SwitchScreen(game, ScreenId::Track));
  EXPECT_EQ(game.screens.current.render, TrackScreenRender) << "the working screen stays";
  SetScreen(game, ScreenId::Track, {TrackScreenUpdate, TrackScreenRender});

  // A stroke, a toolbar drag and a slider drag in progress.
  PointAt(400, 300);
  SetKey(kKeyLeftButton, true);
  Step(2);
  ASSERT_TRUE(editor.freehandStroke);
  SetKey(kKeyLeftButton, false);
  Step();
  Vec2 handle = CentreOf(bar.handle);
  PointAt(handle.x, handle.y);
  Step();
  SetKey(kKeyLeftButton, true);
  Step();
  ASSERT_TRUE(bar.dragging);
  ToTrackScreen(game);
  EXPECT_FALSE(bar.dragging);
  EXPECT_FALSE(editor.freehandStroke);
  EXPECT_FALSE(SliderDragActive());
  SetKey(kKeyLeftButton, false);
  Step();
}
