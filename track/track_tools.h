// What the mouse does on the track: the pencil in its four kinds, pan, zoom, the eraser and the
// rider-point drag. The pointer arrives in screen pixels with y up; tools map it into the world
// with the view (world = C + (screen - C) / zoom - camera, C the screen centre).
#pragma once
#include <cstdint>

#include "shell/vec2.h"

struct TrackScene;

enum TrackTool : int32_t {
  kToolPan = 0,
  kToolPencil = 1,                                // Normal solid lines
  kToolBoostForward = 2,
  kToolBoostBackward = 3,
  kToolZoom = 4,
  kToolScenery = 5,
  kToolEraser = 6,
  kToolNone = 7,
  kToolViewing = 8,                               // a .demo track: zoom, then point drag
  kToolPointDrag = 9,
};

constexpr float kFreehandStep = 40.0f;            // world units between freehand points
constexpr float kStraightMinimum = 10.0f;         // shortest straight line (world units)
constexpr float kSnapRadius = 10.0f;              // screen px, divided by the zoom

// Runs the handler of tool (0-9) for one step with the pointer in screen px. Sets the cursor
// shape; never adds a line from a non-finite point.
void RunTool(TrackScene& scene, int tool, Vec2 mouse);
