// The ghost: a second body that replays, in a loop, the 120 steps that follow the rider's
// current state, so the player sees where the rider would go.
#pragma once
#include <cstdint>

#include "rider/body.h"

struct World;

constexpr int kGhostPeriod = 120;                 // steps per loop

struct Ghost {
  Body body;
  BodySnapshot snapshot;                          // the rider's state the loop starts from
  int32_t counter = 0;                            // steps into the loop
  int32_t period = kGhostPeriod;
  bool resync = false;                            // set by every rider step
  bool on = false;
};

bool ToggleGhost(World& world);                   // flips the ghost on or off; on resyncs; returns the new state
void ResyncGhost(World& world);                   // while on: ghost = rider now, counter 0
void StepGhost(World& world);                     // while on: one ghost step, rebuilding after the loop's end
