#include "gui/track_screen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

#include "track/cursor.h"
#include "track_session.h"

namespace {
using TrackScreenTest = TrackSessionTest;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

float LineLength(const SolidLine& line) { return std::hypot(line.x2 - line.x1, line.y2 - line.y1); }
float Distance(Vec2 a, Vec2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

// The start of the newest solid line, for snapping checks.
Vec2 NewestStart(const World& world) { return {world.solidLines.back().x1, world.solidLines.back().y1}; }
}  // namespace

TEST_F(TrackScreenTest, FreehandStrokeAddsLinesFortyUnitsApart) {
  Hover({300, 300});
  Press(kKeyLeftButton);
  // 100 units to the right in 2-px steps: two lines of 40 or more, the last 20 units dropped.
  MoveTo({300, 300}, {400, 300}, 2);
  Release(kKeyLeftButton);
  ASSERT_EQ(SolidLineCount(world), 2);
  EXPECT_EQ(Vec2(world.solidLines.front().x1, world.solidLines.front().y1), WorldPointOf(view, {300, 300}));
  for (const SolidLine& line : world.solidLines) {
    EXPECT_TRUE(LineLength(line) >= 40.0f && LineLength(line) < 42.5f) << LineLength(line);
    EXPECT_EQ(line.kind, LineKind::Normal);
  }

  // At zoom 2 the same screen motion is 50 world units: one line.
  view.zoom = 2.0f;
  Stroke(kKeyLeftButton, {300, 200}, {400, 200}, 2);
  EXPECT_EQ(SolidLineCount(world), 3);
}

TEST_F(TrackScreenTest, StraightStrokesNeedTenUnitsAndChainWithCtrl) {
  Stroke(kKeyRightButton, {300, 300}, {308, 300});
  EXPECT_EQ(std::pair(SolidLineCount(world), editor.straightStroke), std::pair(0, false));

  SetKey(kKeyRightButton, true);
  Hover({300, 200});
  Hover({400, 200});
  // Ctrl places the segment drawn so far and starts the next at its end, once per press.
  SetKey(kKeyControl, true);
  Step(3);
  EXPECT_EQ(SolidLineCount(world), 1);
  SetKey(kKeyControl, false);
  Hover({400, 300});
  Release(kKeyRightButton);
  ASSERT_EQ(SolidLineCount(world), 2);
  EXPECT_EQ(NewestStart(world), WorldPointOf(view, {400, 200}));
  EXPECT_FLOAT_EQ(world.solidLines.back().y2 - world.solidLines.back().y1, 100.0f);
}

TEST_F(TrackScreenTest, BoostAndSceneryPencilsMakeTheirKinds) {
  ClickButton(kBoostButton);
  ClickButton(kBoostButton);
  Stroke(kKeyRightButton, {300, 300}, {400, 300});
  ASSERT_EQ(SolidLineCount(world), 1);
  EXPECT_EQ(world.solidLines.back().kind, LineKind::BoostBackward);
  EXPECT_EQ(editor.newLineKind, LineKind::Normal);

  ClickButton(kSceneryButton);
  Stroke(kKeyRightButton, {300, 250}, {400, 250});
  EXPECT_EQ(std::tuple(SolidLineCount(world), SceneryLineCount(world), editor.sceneryMode), std::tuple(1, 1, false));
}

TEST_F(TrackScreenTest, SnappingStartsAStrokeOnAnEndpoint) {
  Vec2 end = WorldPointOf(view, {500, 300});
  AddSolidLine(world, end - Vec2(100, 0), end, 1.0f, LineKind::Normal);
  // 5 px away at zoom 1 is inside the 10-unit snap radius.
  Stroke(kKeyRightButton, {503, 304}, {560, 350});
  ASSERT_EQ(SolidLineCount(world), 2);
  EXPECT_EQ(NewestStart(world), end);
  // The end of a stroke is never snapped, and with snapping off the start is not either.
  ClickButton(kSnapButton);
  Stroke(kKeyRightButton, {503, 304}, {560, 250});
  ASSERT_EQ(SolidLineCount(world), 3);
  EXPECT_EQ(NewestStart(world), WorldPointOf(view, {503, 304}));
}

TEST_F(TrackScreenTest, EraserRemovesWhatItsCircleTouches) {
  Vec2 a = WorldPointOf(view, {500, 300});
  AddSolidLine(world, a, a + Vec2(10, 0), 1.0f, LineKind::Normal);  // inside the circle
  AddSolidLine(world, a + Vec2(0, 200), a + Vec2(50, 200), 1.0f, LineKind::Normal);  // far away
  AddSceneryLine(world, a - Vec2(5, 0), a + Vec2(5, 0), 1, 2, 3, 1.0f);
  ClickButton(kEraserButton);
  Hover({500, 300});
  EXPECT_EQ(cursor.eraserCircle, 1);
  // The right button erases scenery only.
  Press(kKeyRightButton);
  SetKey(kKeyRightButton, false);
  EXPECT_EQ(std::pair(SceneryLineCount(world), SolidLineCount(world)), std::pair(0, 2));
  Tap(kKeyLeftButton);
  ASSERT_EQ(SolidLineCount(world), 1);
  EXPECT_FALSE(world.solidLines[0].live);
}

TEST_F(TrackScreenTest, PanAndZoomKeepTheirPoints) {
  ClickButton(kPanButton);
  Hover({500, 300});
  Vec2 grabbed = WorldPointOf(view, {500, 300});
  Press(kKeyLeftButton);
  MoveTo({500, 300}, {650, 420}, 7);
  // The world point grabbed stays under the pointer.
  EXPECT_LT(Distance(WorldPointOf(view, {650, 420}), grabbed), 1e-3f);
  Release(kKeyLeftButton);
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
  Hover({600, 400});
  Press(kKeyLeftButton);
  Hover({600, 410});
  EXPECT_NEAR(view.zoom, 1.05f, 1e-5f);
  EXPECT_LT(Distance(WorldPointOf(view, ScreenCentre()), centre), 1e-3f);
  // A wild jump up multiplies once (1 + 0.005 x 350); one down would make the zoom negative
  // (1 - 0.005 x 750) and is held at 0.3.
  Hover({600, 760});
  EXPECT_NEAR(view.zoom, 1.05f * 2.75f, 1e-4f);
  Hover({600, 10});
  EXPECT_FLOAT_EQ(view.zoom, 0.3f);
  for (int i = 0; i < 6; ++i) Hover({600.0f, i % 2 ? 700.0f : 760.0f});
  EXPECT_LE(view.zoom, 4.0f);
  Release(kKeyLeftButton);
}

// A zoom that became NaN is brought back into range before any tool uses it. (No line comes
// from a non-finite point: the world refuses it, WorldTest.AddRefusesLinesTheGameCannotUse.)
TEST_F(TrackScreenTest, ANonFiniteZoomIsBroughtBackIntoRange) {
  view.zoom = kNaN;
  Step();
  EXPECT_TRUE(view.zoom >= kMinZoom && view.zoom <= kMaxZoom) << view.zoom;
}

TEST_F(TrackScreenTest, PointDragMovesARiderPointAndSurvivesRestart) {
  LoadTestRider();
  ASSERT_EQ(world.rider.points.size(), 2u);
  ClickButton(kDragButton);
  Vec2 onPoint = ScreenPointOf(view, {world.rider.points.front().x, world.rider.points.front().y});
  Hover({onPoint.x + 2, onPoint.y});
  Press(kKeyLeftButton);
  ASSERT_EQ(Resolve(world.rider, editor.draggedPoint), &world.rider.points.front());
  PointAt(onPoint.x + 100, onPoint.y + 50);
  float before = world.rider.points.front().x;
  Step();
  EXPECT_GT(world.rider.points.front().x, before);

  // R rebuilds the body while the button is still held (as stop and play from start do, through
  // the same restart): the drag ends, nothing is written through the old point.
  Press('R');
  EXPECT_EQ(Resolve(world.rider, editor.draggedPoint), nullptr);
  EXPECT_EQ(editor.pointDrag, 0);
  SetKey('R', false);
  Step(3);
  EXPECT_EQ(Resolve(world.rider, editor.draggedPoint), nullptr);
  Release(kKeyLeftButton);
  EXPECT_EQ(editor.pointDrag, 0);
}

TEST_F(TrackScreenTest, PlayCycle) {
  LoadTestRider();
  auto y = [&] { return world.rider.points.front().y; };
  // How far the rider moves up while `act` runs.
  auto rise = [&](auto act) { const float before = y(); act(); return y() - before; };
  const float start = y();
  // M pressed and held: exactly one rider step; the ghost plays while it stays held.
  SetKey('M', true);
  EXPECT_LT(rise([] { Step(); }), 0);
  EXPECT_EQ(rise([] { Step(5); }), 0);
  EXPECT_LT(rise([] { Release('M'), Tap('M'); }), 0);

  // Space held runs the rider every step; its press also stops a run.
  ClickButton(kPlayButton);
  SetKey(kKeySpace, true);
  EXPECT_LT(rise([] { Step(); }), 0);
  EXPECT_EQ(bar.running, 0);
  EXPECT_LT(rise([] { Step(); }), 0);
  Release(kKeySpace);
  EXPECT_EQ(rise([] { Step(3); }), 0);

  // Running moves it every step; R puts it back to its start pose.
  ClickButton(kPlayButton);
  EXPECT_LT(rise([] { Step(3); }), 0);
  Press('R');
  SetKey('R', false);
  ClickButton(kPlayButton);
  Step();
  Press('R');
  SetKey('R', false);
  EXPECT_FLOAT_EQ(y(), start);

  // Stored start: play from start goes back to it.
  Tap(kKeySpace, 10);
  const float stored = y();
  ClickButton(kFlagButton);
  EXPECT_EQ(world.startFlagSet, 1);
  EXPECT_LT(rise([] { Tap(kKeySpace, 10); }), 0);
  // The click's three steps run the rider from the stored start, two steps each at most.
  ClickButton(kPlayFromStartButton);
  EXPECT_TRUE(y() <= stored && y() > stored - 1.0f) << y() - stored;
  ClickButton(kStopButton);
  EXPECT_FLOAT_EQ(y(), start);
}

// D is read in the update, so every press toggles however many steps a frame holds.
TEST_F(TrackScreenTest, DTogglesTheSkeletonOnEveryPressAtAnyFrameRate) {
  FrameDriver driver;
  int stepInFrame = 1;
  // D down for the first step of a frame, up for the rest.
  FrameCalls frame{[&] { SetKey('D', stepInFrame++ == 0); RefreshInput(); }, nullptr,
                   [this] { TrackScreenUpdate(game); }, [] {}, [] {}};
  driver.stepCount = 100;                         // past the warm-up
  uint32_t now = 1000;
  RunFrame(driver, now, frame);
  for (int tap = 0; tap < 40; ++tap) {
    const bool before = view.wireframe;
    stepInFrame = 0;
    now += tap % 2 ? 20 : 30;                     // 2 or 3 steps
    RunFrame(driver, now, frame);
    EXPECT_NE(view.wireframe, before) << "tap " << tap;
  }
}

// A screen without both functions is refused and the game stays where it was (where each switch
// lands: MenusTest.EveryRoadLeadsWhereItShould), and a slider drag in progress ends with a switch
// (the other drags: MenusTest.EverySwitchEndsEveryDrag).
TEST_F(TrackScreenTest, SwitchesLandOnWorkingScreensAndEndDrags) {
  Game fresh;
  EXPECT_FALSE(SwitchScreen(fresh, ScreenId::Track));
  EXPECT_EQ(fresh.screens.current.update, nullptr);
  SetScreen(game, ScreenId::Track, {TrackScreenUpdate, nullptr});
  EXPECT_FALSE(SwitchScreen(game, ScreenId::Track));
  EXPECT_EQ(game.screens.current.render, TrackScreenRender) << "the working screen stays";
  SetScreen(game, ScreenId::Track, {TrackScreenUpdate, TrackScreenRender});
  Hover(CentreOf(bar.thickness));
  Press(kKeyLeftButton);
  Step();
  ASSERT_TRUE(SliderDragActive());
  ToTrackScreen(game);
  EXPECT_FALSE(SliderDragActive());
}

// Ctrl+Z takes back one gesture at a time (a stroke, each segment of a Ctrl chain), Ctrl+Y and
// Ctrl+Shift+Z do it again, Ctrl+Z during a stroke takes back the stroke so far, and Z zooms only
// without Ctrl.
TEST_F(TrackScreenTest, UndoTakesBackOneGestureAtATime) {
  Stroke(kKeyLeftButton, {300, 300}, {400, 300}, 2);
  ASSERT_EQ(SolidLineCount(world), 2);
  SetKey(kKeyRightButton, true);
  Hover({300, 200});
  Hover({400, 200});
  Tap(kKeyControl);
  Hover({400, 100});
  Release(kKeyRightButton);
  ASSERT_EQ(SolidLineCount(world), 4);
  const struct {
    int key;
    bool shift;
    int lines;
  } steps[] = {{'Z', false, 3}, {'Z', false, 2}, {'Z', false, 0}, {'Z', false, 0},
               {'Y', false, 2}, {'Z', true, 3},  {'Z', false, 2}};
  for (const auto& step : steps) {
    TapWithCtrl(step.key, step.shift);
    EXPECT_EQ(SolidLineCount(world), step.lines) << char(step.key) << (step.shift ? " with Shift" : "");
  }
  Hover({300, 100});
  Press(kKeyLeftButton);
  MoveTo({300, 100}, {420, 100}, 2);
  const int drawn = SolidLineCount(world);
  ASSERT_GT(drawn, 2);
  TapWithCtrl('Z');
  Release(kKeyLeftButton);
  EXPECT_EQ(SolidLineCount(world), 2) << "the stroke in progress is taken back";
  TapWithCtrl('Y');
  EXPECT_EQ(SolidLineCount(world), drawn) << "and can be done again, as one action";

  const float zoom = view.zoom;
  TapWithCtrl('Z');
  EXPECT_EQ(view.zoom, zoom);
  Tap('Z');
  EXPECT_GT(view.zoom, zoom);
}
