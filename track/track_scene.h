// What the track screen works on: the world, the rider in use, the editor's tool state, the
// view and the cursor, with the actions of the track screen that touch more than one of them.
// The game holds one TrackScene for the whole run; tests make their own.
#pragma once
#include <cstdint>

#include "rider/current_rider.h"
#include "shell/notice.h"
#include "shell/vec2.h"
#include "track/cursor.h"
#include "track/path_preview.h"
#include "track/timeline.h"
#include "track/track_history.h"
#include "track/lines.h"
#include "track/view.h"
#include "track/world.h"

// The editor's tool state: transient drags and the settings for new lines. Drags end whenever
// the screen changes (EndDrags).
struct TrackEditor {
  bool freehandStroke = false;                    // freehand stroke in progress
  bool straightStroke = false;                    // straight stroke in progress
  bool panDrag = false;                           // pan drag in progress
  bool chainLatch = false;                        // Ctrl fixed a straight segment and is still held
  bool pointDrag = false;                         // point drag in progress
  PointHandle draggedPoint;                       // the rider point pulled by the point drag
  Vec2 strokeStart;                               // world units
  Vec2 cursorPoint;                               // world point of the pointer
  Vec2 panAnchor;                                 // screen pixels

  // Settings for new lines.
  LineKind newLineKind = LineKind::Normal;
  float newLineThickness = 1.0f;
  uint8_t sceneryR = 0, sceneryG = 0, sceneryB = 0;
  bool sceneryMode = false;                       // the pencil draws scenery
  bool snapEnabled = true;
};

struct TrackScene {
  World world;
  Timeline timeline;                              // every step of the ride so far; new on every restart
  CurrentRider rider;                             // the rider in use
  TrackEditor editor;
  View view;
  Cursor cursor;
  PathPreview preview;                            // the focus point's next seconds while paused
  TrackHistory history;                           // the actions on the lines that can be taken back
};

void StartTrackScene(TrackScene& scene);          // a new game: empty track, the rider in use restarted
void EndDrags(TrackEditor& editor);               // strokes, pan and point drag end
void StepTrackRider(TrackScene& scene);           // one rider step on the timeline; the camera follows
void JumpTrackRider(TrackScene& scene, int64_t step);  // the rider at that step of the timeline, centred
void PinDraggedPose(TrackScene& scene);           // a point drag moved the rider: the timeline goes on from here
// Each of these ends a point drag before the rider is rebuilt, and starts a new timeline.
void RestartRiderFromScratch(TrackScene& scene);  // stop and R: rider body cleared and restarted
// The rider in use was replaced (a pick, a test ride): it is put on the track, and a stored start
// becomes its own pose with its focus at the flag.
void RideNewRider(TrackScene& scene);
void ResetTrackWorld(TrackScene& scene);          // clear button: empty track, new-line settings back
void RestoreTrackStart(TrackScene& scene);        // play from start: the stored start, if any
// The load button: false (world untouched, log line) when the file was refused or cancelled; a
// refusal is also told to sink. A load is an action that can be taken back: the old lines, rider
// and start come back.
bool LoadTrackFile(TrackScene& scene, const char* path, const NoticeSink& sink = {});
bool ToggleSnap(TrackEditor& editor);             // returns the new value
// A restored autosave: the track file as the load button loads it, then the rider in use from
// its own file, known by riderName; the start keeps its pose and the flag marks the rider's focus
// in it. False when the track was refused (nothing changed); a refused rider file leaves the
// track's own rider.
bool RestoreTrackFiles(TrackScene& scene, const char* trackPath, const char* riderPath, const char* riderName);

// ---- undo ----
// A gesture in the world changes lines only; the flag, a rider change and the clear may change
// what the ride starts from too. Either is one action from its beginning to its end.
void BeginLineEdit(TrackScene& scene);
void BeginSetupEdit(TrackScene& scene);
void EndTrackEdit(TrackScene& scene);
void SetStartFlag(TrackScene& scene);             // the flag button, as an action
// Undo and redo of the last action; a stroke in progress ends first (and is what an undo takes
// back). When the setup changed the rider starts again from it, on a new timeline.
Undone UndoTrackEdit(TrackScene& scene);
Undone RedoTrackEdit(TrackScene& scene);
