// A copy of a track taken a slice of lines per step, so that a big track can be saved off the
// frame loop without one long pause: the start state and the rider in use are copied when the
// copy begins, the lines a slice at a time. A change of the lines meanwhile starts it over, so a
// finished copy is the track as it was at one moment.
#pragma once
#include <cstddef>
#include <vector>

#include "rider/current_rider.h"
#include "track/world.h"

struct TrackCopy {
  LineSet lines;                                  // by id, dead slots too, as the world has them; no grids
  BodySnapshot start;
  Vec2 flag;
  uint8_t startFlagSet = 0;
  bool demoLoaded = false;
  CurrentRider rider;
  uint64_t stamp = 0;                             // the source's lines stamp when the copy began
  bool begun = false;
};

void BeginTrackCopy(TrackCopy& copy, const World& world, const CurrentRider& rider);
// Copies up to `lines` more slots; true once the copy is whole. A copy of a world whose lines
// changed since it began starts over.
bool ContinueTrackCopy(TrackCopy& copy, const World& world, const CurrentRider& rider, size_t lines);
// A finished copy as a world to save (no grids: only for encoding); the copy takes the world's
// lines, so swapping the lines back (SwapLines) returns the copy's room to it.
void MoveCopyIntoWorld(TrackCopy& copy, World& world);
