// A scripted track-screen session: fake keyboard and cursor behind the platform seam, a fresh
// game record for every test, and helpers that run whole steps as the frame driver would.
#pragma once
#include <memory>

#include "fake_input.h"
#include "gui/game.h"
#include "gui/track_screen.h"
#include "gui/track_toolbar.h"
#include "rider/body.h"
#include "rider/current_rider.h"
#include "track/track_scene.h"
#include "track/track_tools.h"
#include "track/world.h"

// The game of the running test, made anew by ResetSession.
inline std::unique_ptr<Game>& SessionGame() {
  static std::unique_ptr<Game> game;
  return game;
}

inline Game& TheGame() { return *SessionGame(); }

// One 10 ms step: the input refresh, then the track screen's update.
inline void Step(int count = 1) {
  for (int i = 0; i < count; ++i) {
    RefreshInput();
    TrackScreenUpdate(TheGame());
  }
}

inline void ResetSession() {
  InstallFakeInput();
  EndSliderDrag();
  SessionGame() = std::make_unique<Game>();
  Game& game = TheGame();
  game.track.view.camera = {0.0f, 0.0f};
  InitTrackToolbar(game);
  SetScreen(game, ScreenId::Track, {TrackScreenUpdate, TrackScreenRender});
  PointAt(600, 400);
  Step();
}

// Centre of a toolbar widget in screen px (y up).
inline Vec2 CentreOf(const Widget& widget) {
  Vec2 anchor = TheGame().toolbar.anchor;
  return {anchor.x + widget.x + widget.w / 2, anchor.y + widget.y + widget.h / 2};
}

// Hover, press and release the left button on a widget, then move back into the world.
inline void Click(const Widget& widget) {
  Vec2 at = CentreOf(widget);
  PointAt(at.x, at.y);
  Step();
  SetKey(1, true);
  Step();
  SetKey(1, false);
  Step();
}

inline void ClickButton(int index) { Click(TheGame().toolbar.buttons[index]); }

// A small rider: two points joined by a spring, focus on the first. Loaded as the rider in use.
inline void LoadTestRider(float x = 700.0f, float y = 500.0f) {
  CurrentRider& rider = TheGame().track.rider;
  ResetCurrentRider(rider);
  AddSnapshotPoint(rider.snapshot, MakePoint(x, y, 1.0f, 10.0f, 0));
  AddSnapshotPoint(rider.snapshot, MakePoint(x + 30.0f, y, 1.0f, 10.0f, 0));
  rider.snapshot.points.front().id = 0;
  rider.snapshot.points.back().id = 1;
  Link fields;
  fields.stiffness = 1.0f;
  fields.restLength = 30.0f;
  fields.breakLimit = 100.0f;
  AddSnapshotLink(rider.snapshot, 0, 1, fields);
  rider.focusPointId = 0;
  rider.loaded = 1;
  RestartRiderFromScratch(TheGame().track);
}
