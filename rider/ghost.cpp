#include "rider/ghost.h"

#include "rider/simulation.h"
#include "track/world.h"

bool ToggleGhost(World& world) {
  world.ghostOn = world.ghostOn ? 0 : 1;
  if (world.ghostOn) ResyncGhost(world);
  return world.ghostOn != 0;
}

void ResyncGhost(World& world) {
  if (!world.ghostOn) return;
  TakeSnapshot(world.rider, world.ghostSnapshot);
  RebuildFromSnapshot(world.ghost, world.ghostSnapshot);
  world.ghostCounter = 0;
}

// The first loop after a resync runs 120 steps, every later one 121: the rebuild happens in the
// step in which the counter would pass the period, before that step's physics.
void StepGhost(World& world) {
  if (!world.ghostOn) return;
  if (world.ghostResync) ResyncGhost(world);
  world.ghostCounter += 1;
  if (world.ghostCounter > world.ghostPeriod) {
    world.ghostCounter = 0;
    RebuildFromSnapshot(world.ghost, world.ghostSnapshot);
  }
  world.ghostResync = 0;
  StepBody(world.ghost, world.grid);
}
