// The ghost: a second body that replays, in a loop, the 120 steps that follow the rider's
// current state, so the player sees where the rider would go.
#pragma once

struct World;

constexpr int kGhostPeriod = 120;                 // steps per loop

bool ToggleGhost(World& world);                   // flips the ghost on or off; on resyncs; returns the new state
void ResyncGhost(World& world);                   // while on: ghost = rider now, counter 0
void StepGhost(World& world);                     // while on: one ghost step, rebuilding after the loop's end
