// What the mouse does on the track: the pencil in its four kinds, pan, zoom, the eraser and the
// rider-point drag, plus the world actions of the track screen that end a point drag first.
// The pointer arrives in screen pixels with y up; tools map it into the world with the camera
// and zoom (world = C + (screen - C) / zoom - camera, C the screen centre).
#pragma once
#include <cstdint>

#include "shell/vec2.h"

struct World;
struct CurrentRider;

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

constexpr float kMinZoom = 0.3f;
constexpr float kMaxZoom = 4.0f;
constexpr float kFreehandStep = 40.0f;            // world units between freehand points
constexpr float kStraightMinimum = 10.0f;         // shortest straight line (world units)
constexpr float kSnapRadius = 10.0f;              // screen px, divided by the zoom

Vec2 WorldPointOf(const World& world, Vec2 screen);   // pointer -> world units
Vec2 ScreenPointOf(const World& world, Vec2 point);   // world units -> screen px
float ClampZoom(float zoom);                      // into 0.3..4.0; NaN gives 0.3
// Runs the handler of tool (0-9) for one step with the pointer in screen px. Sets the cursor
// shape; never adds a line from a non-finite point.
void RunTool(World& world, int tool, Vec2 mouse);

// ---- world actions of the track screen; each ends a point drag before the rider is rebuilt ----
void EndPointDrag(World& world);                  // forgets the dragged rider point
void RestartRiderFromScratch(World& world);       // stop and R: rider body cleared and restarted
void ResetTrackWorld(World& world);               // clear button: empty track, eraser circle off
void RestoreTrackStart(World& world);             // play from start: the stored start, if any
// The load button: false (world untouched, log line) when the file was refused or cancelled.
bool LoadTrackFile(World& world, CurrentRider& rider, const char* path);
