#include "track/track_history.h"

#include <cstring>
#include <utility>

#include "rider/snapshot_file.h"

namespace {

size_t SetupBytes(const std::unique_ptr<RideSetup>& setup) {
  return setup ? sizeof(RideSetup) + RecordBytes(setup->rider.snapshot) + RecordBytes(setup->start) : 0;
}

size_t BytesOf(const TrackAction& action) {
  return action.events.size() * sizeof(LineEvent) + SetupBytes(action.setupBefore) + SetupBytes(action.setupAfter) +
         (action.otherLines ? LineSetBytes(*action.otherLines) : 0);
}

bool SameSetup(const RideSetup& a, const RideSetup& b) {
  return a.rider.loaded == b.rider.loaded && strcmp(a.rider.path, b.rider.path) == 0 &&
         a.rider.focusPointId == b.rider.focusPointId && strcmp(a.rider.spriteSheet, b.rider.spriteSheet) == 0 &&
         EncodeSnapshot(a.rider.snapshot) == EncodeSnapshot(b.rider.snapshot) && a.startFlagSet == b.startFlagSet &&
         a.flag.x == b.flag.x && a.flag.y == b.flag.y && EncodeSnapshot(a.start) == EncodeSnapshot(b.start) &&
         a.demoLoaded == b.demoLoaded;
}

void ApplySetup(const RideSetup& setup, World& world, CurrentRider& rider) {
  CopyCurrentRider(setup.rider, rider);
  CopySnapshot(setup.start, world.startSnapshot);
  world.flag = setup.flag;
  world.startFlagSet = setup.startFlagSet;
  world.demoLoaded = setup.demoLoaded;
}

// Applies one event forwards or backwards without recording it.
void Apply(World& world, LineEvent event, bool forwards) {
  const bool add = (event.kind == LineEventKind::AddSolid || event.kind == LineEventKind::AddScenery) == forwards;
  const bool solid = event.kind == LineEventKind::AddSolid || event.kind == LineEventKind::RemoveSolid;
  if (solid)
    add ? ReviveSolidLine(world, event.id) : RemoveSolidLine(world, event.id);
  else
    add ? ReviveSceneryLine(world, event.id) : RemoveSceneryLine(world, event.id);
}

// Undo: the setup as before, the events backwards, the replaced lines back. Redo is the mirror.
Undone Replay(World& world, CurrentRider& rider, TrackAction& action, bool forwards) {
  std::vector<LineEvent>* journal = std::exchange(world.lineJournal, nullptr);
  if (forwards) {
    if (action.otherLines) SwapLines(world, *action.otherLines);
    for (const LineEvent& event : action.events) Apply(world, event, true);
    if (action.setupAfter) ApplySetup(*action.setupAfter, world, rider);
  } else {
    if (action.setupBefore) ApplySetup(*action.setupBefore, world, rider);
    for (auto it = action.events.rbegin(); it != action.events.rend(); ++it) Apply(world, *it, false);
    if (action.otherLines) SwapLines(world, *action.otherLines);
  }
  world.lineJournal = journal;
  return action.setupBefore ? Undone::Setup : Undone::Lines;
}

// The last action done (undo) or undone (redo) is replayed and moves to the other list. A load
// that is taken back or done again keeps the other lines now, so its size is counted again.
Undone MoveLast(TrackHistory& history, World& world, CurrentRider& rider, bool forwards) {
  std::vector<TrackAction>& from = forwards ? history.undone : history.done;
  std::vector<TrackAction>& to = forwards ? history.done : history.undone;
  if (from.empty()) return Undone::Nothing;
  TrackAction& action = from.back();
  const Undone undone = Replay(world, rider, action, forwards);
  history.bytes -= action.bytes;
  action.bytes = BytesOf(action);
  history.bytes += action.bytes;
  to.push_back(std::move(action));
  from.pop_back();
  return undone;
}

}  // namespace

std::unique_ptr<RideSetup> TakeRideSetup(const World& world, const CurrentRider& rider) {
  auto setup = std::make_unique<RideSetup>();
  CopyCurrentRider(rider, setup->rider);
  CopySnapshot(world.startSnapshot, setup->start);
  setup->flag = world.flag;
  setup->startFlagSet = world.startFlagSet;
  setup->demoLoaded = world.demoLoaded;
  return setup;
}

void BeginTrackAction(TrackHistory& history, World& world) {
  if (history.recording) {
    // Only an action that kept no setup can be open here: a gesture in the world.
    history.recording = false;
    world.lineJournal = nullptr;
    if (!history.open.events.empty()) RecordTrackAction(history, std::move(history.open));
  }
  history.open = TrackAction{};
  history.recording = true;
  world.lineJournal = &history.open.events;
}

void KeepRideSetup(TrackHistory& history, const World& world, const CurrentRider& rider) {
  if (history.recording) history.open.setupBefore = TakeRideSetup(world, rider);
}

void EndTrackAction(TrackHistory& history, World& world, const CurrentRider& rider) {
  if (!history.recording) return;
  history.recording = false;
  world.lineJournal = nullptr;
  TrackAction& action = history.open;
  if (action.setupBefore) {
    action.setupAfter = TakeRideSetup(world, rider);
    if (SameSetup(*action.setupBefore, *action.setupAfter)) action.setupBefore.reset(), action.setupAfter.reset();
  }
  if (!action.events.empty() || action.setupBefore) RecordTrackAction(history, std::move(action));
  history.open = TrackAction{};
}

void RecordTrackAction(TrackHistory& history, TrackAction action) {
  for (const TrackAction& dropped : history.undone) history.bytes -= dropped.bytes;
  history.undone.clear();
  action.bytes = BytesOf(action);
  history.bytes += action.bytes;
  history.done.push_back(std::move(action));
  size_t oldest = 0;
  while (history.bytes > history.mostBytes && oldest + 1 < history.done.size())
    history.bytes -= history.done[oldest++].bytes;
  history.done.erase(history.done.begin(), history.done.begin() + long(oldest));
}

Undone UndoTrackAction(TrackHistory& history, World& world, CurrentRider& rider) {
  EndTrackAction(history, world, rider);
  return MoveLast(history, world, rider, false);
}

Undone RedoTrackAction(TrackHistory& history, World& world, CurrentRider& rider) {
  EndTrackAction(history, world, rider);
  return MoveLast(history, world, rider, true);
}
