// Undo and redo of the player's actions on the track's lines. An action is what the world's line
// journal recorded between its beginning and its end: a stroke, an eraser drag, a clear. Taking
// it back walks its events backwards (an added line is removed, a removed one comes back in its
// old slot, so every grid cell lists it in its old place); doing it again walks them forwards.
// Each costs the lines the action touched, not the track.
#pragma once
#include <cstddef>
#include <vector>

#include "track/world.h"

constexpr size_t kMostHistoryBytes = 256u << 20;  // the oldest actions go first beyond this

struct TrackAction {
  std::vector<LineEvent> events;
};

struct TrackHistory {
  std::vector<TrackAction> done;                  // oldest first
  std::vector<TrackAction> undone;                // the redo branch, most recently undone last
  TrackAction open;                               // being recorded
  bool recording = false;
  size_t bytes = 0;                               // events kept in done and undone
  size_t mostBytes = kMostHistoryBytes;
};

void BeginTrackAction(TrackHistory& history, World& world);  // the world's line changes join a new action
// Ends the action: one that changed nothing is dropped; any other drops the redo branch.
void EndTrackAction(TrackHistory& history, World& world);
bool UndoTrackAction(TrackHistory& history, World& world);  // false: nothing to take back
bool RedoTrackAction(TrackHistory& history, World& world);  // false: nothing to do again
void ForgetTrackHistory(TrackHistory& history, World& world);  // a new track: no action can be taken back
