#include "track/track_scene.h"

#include <cstdio>

#include "rider/rider_file.h"
#include "track/ghost.h"
#include "track/track_file.h"

namespace {

void Restart(TrackScene& scene) {
  RestartRider(scene.world, scene.rider);
  StartTimeline(scene.timeline, scene.world);
  if (scene.rider.loaded) CentreOnRider(scene.view, scene.world);
}

void EndPointDrag(TrackEditor& editor) {
  editor.pointDrag = false;
  editor.draggedPoint = PointHandle{};
}

}  // namespace

void StartTrackScene(TrackScene& scene) {
  scene.editor = TrackEditor{};
  scene.view = View{};
  scene.world.ghost.on = false;
  scene.world.ghost.period = kGhostPeriod;
  StartView(scene.view);
  RestartRiderFromScratch(scene);
}

void EndDrags(TrackEditor& editor) {
  editor.freehandStroke = false;
  editor.straightStroke = false;
  editor.panDrag = false;
  editor.chainLatch = false;
  EndPointDrag(editor);
}

void StepTrackRider(TrackScene& scene) {
  ApplyLineEdits(scene.timeline, scene.world);
  StepTimeline(scene.timeline, scene.world);
  FollowFocus(scene.view, scene.world);
}

void JumpTrackRider(TrackScene& scene, int64_t step) {
  EndPointDrag(scene.editor);
  ApplyLineEdits(scene.timeline, scene.world);
  JumpTimeline(scene.timeline, scene.world, step);
  CutToFocus(scene.view, scene.world);
}

void PinDraggedPose(TrackScene& scene) { PinTimeline(scene.timeline, scene.world); }

void RestartRiderFromScratch(TrackScene& scene) {
  EndPointDrag(scene.editor);
  ClearRider(scene.world);
  Restart(scene);
}

void RideNewRider(TrackScene& scene) {
  RestartRiderFromScratch(scene);
  PlaceStartForRider(scene.world, scene.rider);
}

void ResetTrackWorld(TrackScene& scene) {
  TrackEditor& editor = scene.editor;
  const bool snap = editor.snapEnabled;
  const uint8_t r = editor.sceneryR, g = editor.sceneryG, b = editor.sceneryB;
  editor = TrackEditor{};
  editor.snapEnabled = snap;
  editor.sceneryR = r;
  editor.sceneryG = g;
  editor.sceneryB = b;
  scene.view.camera = {};
  scene.view.zoom = 1.0f;
  ResetWorld(scene.world, scene.rider);
  StartTimeline(scene.timeline, scene.world);
  if (scene.rider.loaded) CentreOnRider(scene.view, scene.world);
  scene.cursor.eraserCircle = false;
  scene.cursor.eraserRadius = 10.0f;
}

void RestoreTrackStart(TrackScene& scene) {
  EndPointDrag(scene.editor);
  RestoreStart(scene.world);
  StartTimeline(scene.timeline, scene.world);
}

bool LoadTrackFile(TrackScene& scene, const char* path, const NoticeSink& sink) {
  EndPointDrag(scene.editor);
  EndTrackEdit(scene);
  TrackAction load;
  load.setupBefore = TakeRideSetup(scene.world, scene.rider);
  // The old lines wait outside the world while the file is read; a refused file gives them back.
  load.otherLines = std::make_unique<LineSet>();
  SwapLines(scene.world, *load.otherLines);
  bool riderRestarted = false;
  const bool loaded = LoadTrack(scene.world, scene.rider, path, &riderRestarted, sink) == FileLoad::Loaded;
  if (!loaded) {
    SwapLines(scene.world, *load.otherLines);
    return false;
  }
  load.setupAfter = TakeRideSetup(scene.world, scene.rider);
  RecordTrackAction(scene.history, std::move(load));
  StartTimeline(scene.timeline, scene.world);
  if (riderRestarted && scene.rider.loaded) CentreOnRider(scene.view, scene.world);
  return true;
}

bool RestoreTrackFiles(TrackScene& scene, const char* trackPath, const char* riderPath, const char* riderName) {
  if (!LoadTrackFile(scene, trackPath)) return false;
  BeginSetupEdit(scene);
  if (LoadRider(scene.rider, riderPath) == FileLoad::Loaded) {
    snprintf(scene.rider.path, sizeof scene.rider.path, "%s", riderName);
    World& world = scene.world;
    if (world.startFlagSet) world.flag = StartPoint(world, scene.rider.focusPointId);
    RestartRiderFromScratch(scene);
  }
  EndTrackEdit(scene);
  return true;
}

void BeginLineEdit(TrackScene& scene) { BeginTrackAction(scene.history, scene.world); }

void BeginSetupEdit(TrackScene& scene) {
  BeginTrackAction(scene.history, scene.world);
  KeepRideSetup(scene.history, scene.world, scene.rider);
}

void EndTrackEdit(TrackScene& scene) { EndTrackAction(scene.history, scene.world, scene.rider); }

void SetStartFlag(TrackScene& scene) {
  BeginSetupEdit(scene);
  StoreStart(scene.world);
  EndTrackEdit(scene);
}

Undone UndoTrackEdit(TrackScene& scene) {
  EndDrags(scene.editor);
  const Undone undone = UndoTrackAction(scene.history, scene.world, scene.rider);
  if (undone == Undone::Setup) RestartRiderFromScratch(scene);
  return undone;
}

Undone RedoTrackEdit(TrackScene& scene) {
  EndDrags(scene.editor);
  const Undone undone = RedoTrackAction(scene.history, scene.world, scene.rider);
  if (undone == Undone::Setup) RestartRiderFromScratch(scene);
  return undone;
}

bool ToggleSnap(TrackEditor& editor) {
  editor.snapEnabled = !editor.snapEnabled;
  return editor.snapEnabled;
}
