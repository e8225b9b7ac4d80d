// The ride's timeline: every step of the ride from its start pose can be shown again at once.
// Step 0 is the pose the ride starts from; the rider at step N is the rider reached by stepping
// from the nearest kept state at or before N: a checkpoint every kCheckpointSpacing steps, or a
// pinned pose (the start, or a point drag, which the physics cannot reproduce). Replayed steps
// log nothing: a crash line is written once, when its step is first reached.
//
// Edits of the track keep the past: for every interval between checkpoints the timeline keeps
// the grid cells the rider's points looked at, and an edit drops only the checkpoints after the
// first interval that looked at an edited cell.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "rider/body.h"
#include "track/line_grid.h"

struct World;

constexpr int64_t kCheckpointSpacing = 128;       // steps: a jump replays at most this many
constexpr size_t kMostCheckpointBytes = 64u << 20;  // beyond, every other unpinned checkpoint goes

struct Checkpoint {
  bool pinned = false;                            // the start or a drag: kept through edits, never replayed
  BodySnapshot pose;
};

struct Timeline {
  int64_t step = 0;                               // the step the rider shows
  int64_t furthest = 0;                           // furthest step ridden since the timeline began
  std::map<int64_t, Checkpoint> checkpoints;      // by step
  std::map<int64_t, std::vector<GridCell>> looked;  // by interval start: cells looked at (sorted once complete)
  int64_t spacing = kCheckpointSpacing;           // doubles when the checkpoints outgrow mostBytes
  size_t mostBytes = kMostCheckpointBytes;        // kept by StartTimeline
};

// A new timeline whose step 0 is the world's rider as it is now.
void StartTimeline(Timeline& timeline, World& world);
// One step from the shown step: ridden quietly when it was ridden before, else the furthest grows.
void StepTimeline(Timeline& timeline, World& world);
// Shows the rider at target (at least 0); a target beyond the furthest step is ridden to.
void JumpTimeline(Timeline& timeline, World& world, int64_t target);
// The rider was moved by hand at the shown step: its pose becomes the timeline's there, and the
// steps after it are dropped.
void PinTimeline(Timeline& timeline, World& world);
// Takes the world's line edits since the last call: every checkpoint after the first interval
// that looked at an edited cell goes, the furthest step comes back to it, and a shown step
// beyond it is ridden again.
void ApplyLineEdits(Timeline& timeline, World& world);
size_t CheckpointBytes(const Timeline& timeline); // the poses' memory
