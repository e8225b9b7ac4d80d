#include "track/track_scene.h"

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
  bool riderRestarted = false;
  const bool loaded = LoadTrack(scene.world, scene.rider, path, &riderRestarted, sink) == FileLoad::Loaded;
  if (loaded) {
    StartTimeline(scene.timeline, scene.world);
    // The old track's lines are gone with their slots: nothing of it can come back.
    ForgetTrackHistory(scene.history, scene.world);
  }
  if (riderRestarted && scene.rider.loaded) CentreOnRider(scene.view, scene.world);
  return loaded;
}

bool UndoTrackEdit(TrackScene& scene) {
  EndDrags(scene.editor);
  return UndoTrackAction(scene.history, scene.world);
}

bool RedoTrackEdit(TrackScene& scene) {
  EndDrags(scene.editor);
  return RedoTrackAction(scene.history, scene.world);
}

bool ToggleSnap(TrackEditor& editor) {
  editor.snapEnabled = !editor.snapEnabled;
  return editor.snapEnabled;
}
