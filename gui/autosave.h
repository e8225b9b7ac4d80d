// Autosave and recovery for the running game. A few seconds after the last change, and on every
// screen switch after a change, the track (with its start), the rider in use and the rider being
// edited go to a new version of the autosave folder; the lines are copied a slice per step and
// encoded and written on a thread, so no frame waits for a big track. At the start, when an
// earlier run did not end cleanly, the player is asked whether to restore its newest version.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "shell/autosave_store.h"
#include "track/track_copy.h"

struct Game;

constexpr int kAutosaveQuietSteps = 300;          // 3 s without a change
constexpr int kAutosaveCheckSteps = 25;           // how often the riders and the start are compared
constexpr size_t kAutosaveLinesPerStep = 8192;    // line slots copied per step: 320 KB

struct Autosave {
  // The copy is lent to the writer's thread and comes back with its room kept, so later
  // autosaves of a big track touch no fresh memory; the session, which joins the thread, goes
  // first.
  TrackCopy copy;
  AutosaveSession session;
  uint64_t seenLines = 0;                         // the lines stamp last seen
  std::vector<uint8_t> seenRest;                  // the riders and the start, as last seen
  int64_t step = 0;
  int64_t lastChange = 0;                         // step of the last change seen
  bool dirty = false;                             // a change not in any version yet
  bool copying = false;                           // a copy is under way; the writer has it when whole
};

// At start, once the rider in use is loaded: the session opens, and when an earlier run did not
// end cleanly the player is asked about its newest version (yes restores it and opens the track).
void StartAutosave(Game& game);
void StepAutosave(Game& game);                    // once per 10 ms step, after the screen's update
void AutosaveOnSwitch(Game& game);                // a screen switch saves a change at once
void EndAutosave(Game& game);                     // a clean exit: the write ends, the marker goes
// Puts back the version's track, start, rider in use and edited rider; false (log line) when its
// track is refused.
bool RestoreAutosave(Game& game, const std::string& version);
