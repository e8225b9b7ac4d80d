// Undo and redo of the player's actions on the track. An action is what the world's line journal
// recorded between its beginning and its end (a stroke, an eraser drag, a clear), and, for an
// action that changes what the ride starts from (the flag, the rider in use, a load), that setup
// as it was before and after; a load also keeps the lines it replaced. Taking an action back
// walks its line events backwards (an added line is removed, a removed one comes back in its old
// slot, so every grid cell lists it in its old place); doing it again walks them forwards. Each
// costs the lines the action touched, not the track.
#pragma once
#include <cstddef>
#include <memory>
#include <vector>

#include "rider/current_rider.h"
#include "track/world.h"

constexpr size_t kMostHistoryBytes = 256u << 20;  // the oldest actions go first beyond this

// What a ride starts from, beside the lines: the rider in use, the stored start with its flag,
// and whether the track is a demo.
struct RideSetup {
  CurrentRider rider;
  BodySnapshot start;
  Vec2 flag;
  uint8_t startFlagSet = 0;
  bool demoLoaded = false;
};

struct TrackAction {
  std::vector<LineEvent> events;
  std::unique_ptr<RideSetup> setupBefore;         // both set when the action changed the setup
  std::unique_ptr<RideSetup> setupAfter;
  std::unique_ptr<LineSet> otherLines;            // a load: the lines on the other side of it
  size_t bytes = 0;                               // what it keeps, as counted in the history
};

struct TrackHistory {
  std::vector<TrackAction> done;                  // oldest first
  std::vector<TrackAction> undone;                // the redo branch, most recently undone last
  TrackAction open;                               // being recorded
  bool recording = false;
  size_t bytes = 0;                               // what done and undone keep
  size_t mostBytes = kMostHistoryBytes;
};

enum class Undone {
  Nothing,                                        // no action to take back or do again
  Lines,                                          // only lines changed
  Setup,                                          // the setup changed too: the rider starts again
};

std::unique_ptr<RideSetup> TakeRideSetup(const World& world, const CurrentRider& rider);
void BeginTrackAction(TrackHistory& history, World& world);  // the world's line changes join a new action
// The open action may change the setup: it is kept as it is now, to compare at the end.
void KeepRideSetup(TrackHistory& history, const World& world, const CurrentRider& rider);
// Ends the action: one that changed nothing is dropped; any other drops the redo branch.
void EndTrackAction(TrackHistory& history, World& world, const CurrentRider& rider);
// A whole action recorded elsewhere (a load) becomes the newest; the redo branch goes.
void RecordTrackAction(TrackHistory& history, TrackAction action);
Undone UndoTrackAction(TrackHistory& history, World& world, CurrentRider& rider);
Undone RedoTrackAction(TrackHistory& history, World& world, CurrentRider& rider);
