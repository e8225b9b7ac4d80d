// A scripted track-screen session: fake keyboard and cursor behind the platform seam, a fresh
// game record for every test, and helpers that run whole steps as the frame driver would.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "shell/fake_input.h"
#include "gui/game.h"
#include "gui/track_screen.h"
#include "gui/track_toolbar.h"
#include "platform/keys.h"
#include "rider/body.h"
#include "rider/current_rider.h"
#include "track/track_scene.h"
#include "track/track_tools.h"
#include "track/world.h"

// The game of the running test, made anew by ResetSession.
inline std::unique_ptr<Game> sessionGame;

inline Game& TheGame() { return *sessionGame; }

// One 10 ms step: the input refresh, then the current screen's update.
inline void Step(int count = 1) {
  for (int i = 0; i < count; ++i) {
    RefreshInput();
    UpdateCurrentScreen(TheGame());
  }
}

inline void ResetSession() {
  InstallFakeInput();
  EndSliderDrag();
  sessionGame = std::make_unique<Game>();
  Game& game = TheGame();
  game.track.view.camera = {0.0f, 0.0f};
  BuildScreens(game);
  SwitchScreen(game, ScreenId::Track);
  PointAt(600, 400);
  Step();
}

// The pointer at `at` in screen px (y up) for one step.
inline void Hover(Vec2 at) { PointAt(at.x, at.y); Step(); }
// Key down (Press) or up (Release), then one step.
inline void Press(int key) { SetKey(key, true); Step(); }
inline void Release(int key) { SetKey(key, false); Step(); }

// Key down for `held` steps, then up for one.
inline void Tap(int key, int held = 1) {
  SetKey(key, true);
  Step(held);
  Release(key);
}

// Ctrl (and Shift) held around a tap of key: the undo and redo keys.
inline void TapWithCtrl(int key, bool shift = false) {
  SetKey(kKeyControl, true);
  SetKey(kKeyShift, shift);
  Tap(key);
  SetKey(kKeyShift, false);
  Release(kKeyControl);
}

// Moves the pointer from a to b in steps of at most `step` screen px, one update per position.
inline void MoveTo(Vec2 a, Vec2 b, float step) {
  Vec2 d = b - a;
  int n = int(std::ceil(std::sqrt(d.x * d.x + d.y * d.y) / step));
  for (int i = 1; i <= n; ++i) Hover({a.x + d.x * i / n, a.y + d.y * i / n});
}

// Presses `key` at `from`, moves to `to` (in one step unless `step` px is given) and releases it.
inline void Stroke(int key, Vec2 from, Vec2 to, float step = 1e9f) {
  Hover(from);
  Press(key);
  MoveTo(from, to, step);
  Release(key);
}

// Centre of a widget in screen px (y up), from the current screen's layout origin.
inline Vec2 CentreOf(const Widget& widget) {
  const Game& game = TheGame();
  const ScreenUpdate current = game.screens.current.update;
  Vec2 anchor = current == TrackScreenUpdate     ? game.toolbar.anchor
                : current == RiderEditorUpdate   ? game.riderToolbar.origin
                : current == MainMenuUpdate      ? game.mainMenu.anchor
                : current == GameMenuUpdate      ? game.gameMenu.anchor
                : current == RiderChooserUpdate  ? game.riderChooser.listOrigin
                                                 : Vec2{};
  return {anchor.x + widget.x + widget.w / 2, anchor.y + widget.y + widget.h / 2};
}

// Where a world point shows in the rider editor, screen px (y up): zoomed about the screen's centre.
inline Vec2 EditorScreenPoint(Vec2 world) {
  const RiderEditor& e = TheGame().riderEditor;
  return {512.0f + e.zoom * (world.x + e.viewX - 512.0f), 384.0f + e.zoom * (world.y + e.viewY - 384.0f)};
}

// Hover, press and release the left button on a widget.
inline void Click(const Widget& widget) { Hover(CentreOf(widget)); Tap(kKeyLeftButton); }

inline void ClickButton(int index) { Click(TheGame().toolbar.buttons[index]); }

// A small rider: two points 30 units apart joined by a spring, focus on the first. Loaded as the
// rider in use.
inline void LoadTestRider(float x = 700.0f, float y = 500.0f) {
  CurrentRider& rider = TheGame().track.rider;
  ResetCurrentRider(rider);
  for (int id = 0; id < 2; ++id) AddSnapshotPoint(rider.snapshot, MakePoint(x + 30.0f * id, y, 1.0f, 10.0f, 0))->id = id;
  AddSnapshotLink(rider.snapshot, 0, 1, Link{.restLength = 30.0f, .stiffness = 1.0f, .breakLimit = 100.0f});
  rider.focusPointId = 0;
  rider.loaded = 1;
  RestartRiderFromScratch(TheGame().track);
}

// A fresh session per test, with the parts of the game the tests look at.
class TrackSessionTest : public ::testing::Test {
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
};
