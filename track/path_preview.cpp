#include "track/path_preview.h"

#include "rider/body.h"
#include "rider/simulation.h"
#include "shell/log.h"
#include "track/world.h"

bool TogglePathPreview(PathPreview& preview) {
  preview.on = !preview.on;
  preview.path.clear();
  return preview.on;
}

void UpdatePathPreview(PathPreview& preview, World& world) {
  if (!preview.on) return;
  const uint64_t pose = HashBodyPositions(world.rider);
  if (!preview.path.empty() && preview.linesStamp == world.linesStamp && preview.poseHash == pose) return;
  preview.linesStamp = world.linesStamp;
  preview.poseHash = pose;
  preview.path.clear();
  TakeSnapshot(world.rider, preview.start);
  Body& ghost = preview.body;
  RebuildFromSnapshot(ghost, preview.start);
  const QuietLog quiet;
  for (int32_t i = 0; i < kPreviewSteps; ++i) {
    const BodyPoint* focus = FindPointById(ghost, world.focusPointId);
    if (!focus) break;
    preview.path.push_back({focus->x, focus->y});
    StepBodyOnTrack(ghost, world);
  }
}
