#include "track/ghost.h"

#include "track/world.h"

bool ToggleGhost(World& world) {
  world.ghost.on = !world.ghost.on;
  if (world.ghost.on) ResyncGhost(world);
  return world.ghost.on;
}

void ResyncGhost(World& world) {
  Ghost& ghost = world.ghost;
  if (!ghost.on) return;
  TakeSnapshot(world.rider, ghost.snapshot);
  RebuildFromSnapshot(ghost.body, ghost.snapshot);
  ghost.counter = 0;
}

// The first loop after a resync runs 120 steps, every later one 121: the rebuild happens in the
// step in which the counter would pass the period, before that step's physics.
void StepGhost(World& world) {
  Ghost& ghost = world.ghost;
  if (!ghost.on) return;
  if (ghost.resync) ResyncGhost(world);
  ghost.counter += 1;
  if (ghost.counter > ghost.period) {
    ghost.counter = 0;
    RebuildFromSnapshot(ghost.body, ghost.snapshot);
  }
  ghost.resync = false;
  StepBodyOnTrack(ghost.body, world);
}
