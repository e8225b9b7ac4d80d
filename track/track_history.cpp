#include "track/track_history.h"

#include <utility>

namespace {

size_t BytesOf(const TrackAction& action) { return action.events.size() * sizeof(LineEvent); }

// Applies one event forwards or backwards without recording it.
void Apply(World& world, LineEvent event, bool forwards) {
  const bool add = (event.kind == LineEventKind::AddSolid || event.kind == LineEventKind::AddScenery) == forwards;
  const bool solid = event.kind == LineEventKind::AddSolid || event.kind == LineEventKind::RemoveSolid;
  if (solid)
    add ? ReviveSolidLine(world, event.id) : RemoveSolidLine(world, event.id);
  else
    add ? ReviveSceneryLine(world, event.id) : RemoveSceneryLine(world, event.id);
}

void Replay(World& world, const TrackAction& action, bool forwards) {
  std::vector<LineEvent>* journal = std::exchange(world.lineJournal, nullptr);
  if (forwards)
    for (const LineEvent& event : action.events) Apply(world, event, true);
  else
    for (auto it = action.events.rbegin(); it != action.events.rend(); ++it) Apply(world, *it, false);
  world.lineJournal = journal;
}

// The last action of from, replayed backwards (undo) or forwards (redo), goes to the end of to.
bool MoveLast(World& world, std::vector<TrackAction>& from, std::vector<TrackAction>& to, bool forwards) {
  if (from.empty()) return false;
  Replay(world, from.back(), forwards);
  to.push_back(std::move(from.back()));
  from.pop_back();
  return true;
}

}  // namespace

void BeginTrackAction(TrackHistory& history, World& world) {
  if (history.recording) EndTrackAction(history, world);
  history.open.events.clear();
  history.recording = true;
  world.lineJournal = &history.open.events;
}

void EndTrackAction(TrackHistory& history, World& world) {
  if (!history.recording) return;
  history.recording = false;
  world.lineJournal = nullptr;
  if (history.open.events.empty()) return;
  for (const TrackAction& dropped : history.undone) history.bytes -= BytesOf(dropped);
  history.undone.clear();
  history.bytes += BytesOf(history.open);
  history.done.push_back(std::move(history.open));
  history.open = TrackAction{};
  size_t oldest = 0;
  while (history.bytes > history.mostBytes && oldest + 1 < history.done.size())
    history.bytes -= BytesOf(history.done[oldest++]);
  history.done.erase(history.done.begin(), history.done.begin() + long(oldest));
}

bool UndoTrackAction(TrackHistory& history, World& world) {
  EndTrackAction(history, world);
  return MoveLast(world, history.done, history.undone, false);
}

bool RedoTrackAction(TrackHistory& history, World& world) {
  EndTrackAction(history, world);
  return MoveLast(world, history.undone, history.done, true);
}

void ForgetTrackHistory(TrackHistory& history, World& world) {
  const size_t mostBytes = history.mostBytes;
  history = TrackHistory{};
  history.mostBytes = mostBytes;
  world.lineJournal = nullptr;
}
