// The path preview: where the rider's focus point goes over the next few seconds from the pose
// shown, ridden on a copy of the rider, so a paused player sees at once where a changed line
// sends the rider. Worked out again only when the track or the pose changed.
#pragma once
#include <cstdint>
#include <vector>

#include "rider/body.h"
#include "shell/vec2.h"

struct World;

constexpr int32_t kPreviewSteps = 200;            // 2 seconds

struct PathPreview {
  bool on = false;                                // shown while the ride is paused
  std::vector<Vec2> path;                         // the focus point, step by step; empty when off
  uint64_t linesStamp = 0;                        // the track the path was worked out on
  uint64_t poseHash = 0;                          // and the pose it started from
  BodySnapshot start;                             // scratch, kept so a new path allocates nothing large
  Body body;
};

bool TogglePathPreview(PathPreview& preview);     // returns the new state; off forgets the path
// While on: the path again if the track or the rider's pose changed since. Logs nothing; the
// world is only ridden on.
void UpdatePathPreview(PathPreview& preview, World& world);
