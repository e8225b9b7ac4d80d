#include "gui/track_screen.h"

#include "graphics/draw.h"
#include "gui/game.h"
#include "gui/overlay.h"
#include "platform/keys.h"
#include "shell/input.h"
#include "track/cursor_drawing.h"
#include "track/ghost.h"
#include "track/track_tools.h"
#include "track/track_view.h"

namespace {

// Space, M and the running flag move the rider one step per update (M only once per press);
// otherwise the ghost plays.
void AdvanceRiderOrGhost(Game& game, bool running) {
  TrackScreen& screen = game.trackScreen;
  bool m = KeyDown('M');
  if (KeyDown(kKeySpace) || m || running) {
    if (!screen.stepLatch) {
      StepTrackRider(game.track);
    } else {
      StepGhost(game.track.world);
    }
    if (m) screen.stepLatch = true;
  } else {
    StepGhost(game.track.world);
  }
}

// One undo step per gesture in the world: from the first button down to the last one up.
void BeginGesture(TrackScene& scene) {
  const bool held = KeyDown(kKeyLeftButton) || KeyDown(kKeyRightButton);
  if (held && !scene.history.recording) BeginLineEdit(scene);
}

// Ctrl+Z undoes (a stroke in progress first); Ctrl+Y and Ctrl+Shift+Z redo. A demo can be
// undone too: its load is the action taken back.
void UndoKeys(Game& game) {
  const UndoChord chord = UndoChordPressed();
  if (chord == UndoChord::None) return;
  const Undone undone = chord == UndoChord::Undo ? UndoTrackEdit(game.track) : RedoTrackEdit(game.track);
  if (undone == Undone::Setup) UseRiderSheet(game.track.rider.spriteSheet);
  if (undone == Undone::Nothing)
    PostMessage(game.messages, chord == UndoChord::Undo ? "Nothing to undo" : "Nothing to redo");
}

}  // namespace

void TrackScreenUpdate(Game& game) {
  TrackScreen& screen = game.trackScreen;
  TrackToolbar& toolbar = game.toolbar;
  ApplyDemoLock(game);
  screen.mouse = PointerPosition();
  const bool onBar = UpdateTimelineBar(game);
  if (UpdateTrackToolbar(game)) {
    if (!KeyDown('M')) screen.stepLatch = false;
    if (toolbar.pointerInWorld && !onBar) {
      BeginGesture(game.track);
      RunTool(game.track, toolbar.currentTool, screen.mouse);
      // Ctrl has just fixed a segment of a straight chain: that segment is a step of its own.
      if (KeyPressed(kKeyControl) && game.track.history.recording) {
        EndTrackEdit(game.track);
        BeginGesture(game.track);
      }
    }
  }
  if (!KeyDown(kKeyLeftButton) && !KeyDown(kKeyRightButton)) EndTrackEdit(game.track);
  UndoKeys(game);
  // An edit under the ride so far shows at once: the rider shown is ridden again on the new track.
  ApplyLineEdits(game.track.timeline, game.track.world);
  if (KeyPressed(kKeySpace)) PauseFromKeyboard(toolbar);
  AdvanceRiderOrGhost(game, toolbar.running);
  if (KeyDown('R')) RestartRiderFromScratch(game.track);
  if (KeyPressed('D')) game.track.view.wireframe = !game.track.view.wireframe;
  if (KeyPressed('P')) TogglePathPreview(game.track.preview);
  // The path is worked out while the ride is paused, and shown only then.
  if (toolbar.running || KeyDown(kKeySpace))
    game.track.preview.path.clear();
  else
    UpdatePathPreview(game.track.preview, game.track.world);
  UpdateRideExport(game);
  SetCursorPosition(game.track.cursor, screen.mouse.x, screen.mouse.y);
  if (KeyPressed(kKeyEscape)) ToGameMenu(game);
}

void TrackScreenRender(const Game& game) {
  ClearToColour(255, 255, 255);
  LoadIdentity();
  RenderTrackScene(game.track, game.drawCache);
  EnableTexture(false);
  RenderTimelineBar(game.timelineBar, game.track.timeline);
  RenderTrackToolbar(game.toolbar);
  RenderRideExport(game.exportJob);
  LoadIdentity();
  RenderOverlay(game);
  DrawCursor(game.track.cursor);
}
