#include "track/timeline.h"

#include <algorithm>
#include <optional>

#include "shell/log.h"
#include "track/ghost.h"
#include "track/world.h"

namespace {

bool CellBefore(GridCell a, GridCell b) { return a.row != b.row ? a.row < b.row : a.column < b.column; }

void SortUnique(std::vector<GridCell>& cells) {
  std::sort(cells.begin(), cells.end(), CellBefore);
  cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
}

// Both sorted; kAnyCell in either meets everything.
bool Meet(const std::vector<GridCell>& a, const std::vector<GridCell>& b) {
  if (a.empty() || b.empty()) return false;
  if (a.front() == kAnyCell || b.front() == kAnyCell) return true;
  for (size_t i = 0, j = 0; i < a.size() && j < b.size();) {
    if (a[i] == b[j]) return true;
    CellBefore(a[i], b[j]) ? ++i : ++j;
  }
  return false;
}

void Merge(std::vector<GridCell>& into, const std::vector<GridCell>& more) {
  into.insert(into.end(), more.begin(), more.end());
  SortUnique(into);
}

// Over the memory bound: the spacing doubles, and the checkpoints and looked cells between the
// new spacing's steps go (pinned poses stay).
void Thin(Timeline& timeline) {
  while (CheckpointBytes(timeline) > timeline.mostBytes) {
    const int64_t spacing = timeline.spacing * 2;
    std::erase_if(timeline.checkpoints,
                  [&](const auto& entry) { return !entry.second.pinned && entry.first % spacing != 0; });
    std::map<int64_t, std::vector<GridCell>> looked;
    for (auto& [start, cells] : timeline.looked) Merge(looked[start - start % spacing], cells);
    timeline.looked = std::move(looked);
    timeline.spacing = spacing;
  }
}

}  // namespace

void StartTimeline(Timeline& timeline, World& world) {
  const size_t mostBytes = timeline.mostBytes;
  timeline = Timeline{};
  timeline.mostBytes = mostBytes;
  TakeSnapshot(world.rider, timeline.checkpoints[0].pose);
  timeline.checkpoints[0].pinned = true;
  world.recordEdits = true;
  world.editedCells.clear();
  world.everythingEdited = false;
}

void StepTimeline(Timeline& timeline, World& world) {
  const int64_t step = timeline.step;
  if (step % timeline.spacing == 0 && !timeline.checkpoints.contains(step)) {
    TakeSnapshot(world.rider, timeline.checkpoints[step].pose);
    Thin(timeline);
  }
  std::vector<GridCell> looked;
  world.lookedCells = &looked;
  {
    std::optional<QuietLog> replayed;
    if (step < timeline.furthest) replayed.emplace();
    StepRider(world);
  }
  world.lookedCells = nullptr;
  // Each step's cells are appended; an interval is sorted once, when it is complete (and before
  // an edit is weighed against it).
  SortUnique(looked);
  std::vector<GridCell>& interval = timeline.looked[step - step % timeline.spacing];
  interval.insert(interval.end(), looked.begin(), looked.end());
  if ((step + 1) % timeline.spacing == 0) SortUnique(interval);
  timeline.step = step + 1;
  timeline.furthest = std::max(timeline.furthest, timeline.step);
}

void JumpTimeline(Timeline& timeline, World& world, int64_t target) {
  target = std::max<int64_t>(target, 0);
  auto from = std::prev(timeline.checkpoints.upper_bound(target));
  // The state shown is nearer than the checkpoint when it lies between it and the target.
  if (timeline.step <= from->first || timeline.step > target) {
    RebuildFromSnapshot(world.rider, from->second.pose);
    timeline.step = from->first;
  }
  while (timeline.step < target) StepTimeline(timeline, world);
  ResyncGhost(world);
}

void PinTimeline(Timeline& timeline, World& world) {
  const int64_t step = timeline.step;
  std::erase_if(timeline.checkpoints, [&](const auto& entry) { return entry.first > step; });
  std::erase_if(timeline.looked, [&](const auto& entry) { return entry.first > step; });
  Checkpoint& pinned = timeline.checkpoints[step];
  pinned.pinned = true;
  TakeSnapshot(world.rider, pinned.pose);
  timeline.furthest = step;
}

void ApplyLineEdits(Timeline& timeline, World& world) {
  if (!world.everythingEdited && world.editedCells.empty()) return;
  std::vector<GridCell> edited = std::move(world.editedCells);
  if (world.everythingEdited) edited = {kAnyCell};
  world.editedCells.clear();
  world.everythingEdited = false;
  SortUnique(edited);
  auto first = std::find_if(timeline.looked.begin(), timeline.looked.end(), [&](auto& entry) {
    SortUnique(entry.second);
    return Meet(entry.second, edited);
  });
  if (first == timeline.looked.end()) return;
  const int64_t from = first->first;
  timeline.looked.erase(first, timeline.looked.end());
  std::erase_if(timeline.checkpoints,
                [&](const auto& entry) { return entry.first > from && !entry.second.pinned; });
  timeline.furthest = std::min(timeline.furthest, from);
  if (timeline.step > from) {
    const int64_t shown = timeline.step;
    timeline.step = -1;                           // the rider shown is stale: rebuild, then ride again
    JumpTimeline(timeline, world, shown);
  }
}

size_t CheckpointBytes(const Timeline& timeline) {
  size_t bytes = 0;
  for (const auto& entry : timeline.checkpoints) bytes += RecordBytes(entry.second.pose);
  return bytes;
}
