// The track world: the solid lines (indexed by the line grid) and scenery lines the player
// draws, the rider and its ghost with their snapshots, the camera and the editor's tool state.
// One World is the game's (TheWorld); tests make their own.
#pragma once
#include <cstdint>
#include <list>

#include "rider/body.h"
#include "shell/vec2.h"
#include "track/line_grid.h"
#include "track/line_index.h"
#include "track/lines.h"

struct CurrentRider;

// Lines with both endpoints beyond one side of this rectangle are not drawn (world units).
struct CullRect {
  float minX = 0, minY = 0, maxX = 0, maxY = 0;
};

struct World {
  // Solid lines, in creation order; the index finds a record's list position from its address.
  std::list<SolidLine> solidLines;
  LineIndex solidIndex;
  int32_t solidLineCount = 0;
  LineGrid grid;

  Body rider;

  // Editor state (the track screen's tools).
  uint8_t freehandStroke = 0;                     // freehand stroke in progress
  uint8_t straightStroke = 0;                     // straight stroke in progress
  uint8_t panDrag = 0;                            // pan drag in progress
  uint8_t chainLatch = 0;
  Vec2 strokeStart;                               // world units
  Vec2 cursorPoint;                               // world point of the pointer
  Vec2 camera;                                    // view offset: screen = C + zoom (w + camera - C)
  Vec2 panAnchor;                                 // screen pixels
  Vec2 mouse;                                     // screen pixels, y up
  Vec2 mouseCopy;
  float zoom = 1.0f;                              // 0.3 .. 4.0
  uint8_t pointDrag = 0;
  BodyPoint* draggedPoint = nullptr;              // a rider point, or null

  // Drawing settings for new lines.
  LineKind newLineKind = LineKind::Normal;
  float newLineThickness = 1.0f;
  uint32_t sceneryR = 0, sceneryG = 0, sceneryB = 0;  // 0..255
  int32_t sceneryMode = 0;                        // non-zero: the pencil draws scenery

  std::list<SceneryLine> sceneryLines;            // creation order
  int32_t sceneryLineCount = 0;

  BodySnapshot startSnapshot;                     // stored with the flag button
  Vec2 flag;                                      // where the start flag is drawn

  uint8_t startFlagSet = 0;
  uint8_t snapEnabled = 1;
  uint8_t demoLoaded = 0;                         // the track came from a .demo file: view only, not saved
  uint8_t wireframe = 0;                          // draw skeletons instead of sprites

  int32_t shownFps = 0;                           // frames per second for the on-screen display

  Body ghost;
  BodySnapshot ghostSnapshot;
  int32_t ghostCounter = 0;
  int32_t ghostPeriod = 120;
  uint8_t ghostResync = 0;                        // set by every rider step
  uint8_t ghostOn = 0;

  // The eraser's circle, also drawn by the cursor.
  uint8_t eraserCircle = 0;
  float eraserRadius = 10.0f;                     // screen pixels

  const CurrentRider* currentRider = nullptr;     // the rider in use; null: none loaded

  World() = default;
  World(const World&) = delete;
  World& operator=(const World&) = delete;
};

World& TheWorld();                                // the game's world, started at first use (StartWorld)
void StartWorld(World& world, const CurrentRider* rider);  // construction-time state, rider restarted

// ---- lines ----
SolidLine* AddSolidLine(World& world, Vec2 p1, Vec2 p2, float thickness, LineKind kind);  // null: CheckLine failed
void RemoveSolidLine(World& world, const SolidLine* line);  // does nothing unless the line is the world's
void ClearSolidLines(World& world);
int32_t SolidLineCount(const World& world);
SceneryLine* AddSceneryLine(World& world, Vec2 p1, Vec2 p2, uint8_t r, uint8_t g, uint8_t b,
                            float thickness);  // null: CheckLine failed
void ClearSceneryLines(World& world);
int32_t SceneryLineCount(const World& world);
void EraseSolidLines(World& world, Vec2 centre, float radius);    // circle eraser, world units
void EraseSceneryLines(World& world, Vec2 centre, float radius);
void SnapToEndpoint(World& world, Vec2& point, float radius);     // first solid endpoint closer than radius

// ---- rider, camera and start ----
void ResetEditorState(World& world);
void ResetWorld(World& world);                    // the clear button: empty track, rider restarted
void ClearRider(World& world);                    // empties the rider body and forgets a dragged point
void RestartRider(World& world);                  // rider rebuilt from the current rider, camera centred
Vec2 FocusPoint(const World& world);              // the rider's focus point; (0, 0) when the body has none
void FollowFocus(World& world);                   // camera dead-zone follow of the focus point
void StoreStart(World& world);                    // rider -> start snapshot, flag at the focus point
void RestoreStart(World& world);                  // start snapshot -> rider, if a start is stored
void StepRider(World& world);                     // one step of the rider, camera follow, ghost resync request

// ---- setters for the tools and the frame driver ----
void SetNewLineThickness(World& world, float thickness);
void SetSceneryColour(World& world, uint32_t r, uint32_t g, uint32_t b);
void SetMousePosition(World& world, Vec2 mouse);  // stored twice
void SetShownFps(World& world, int32_t fps);
bool ToggleSnap(World& world);                    // returns the new value

// ---- exit ----
void SaveWorldAtExit();                           // saves TheWorld() as last_played.track unless it came from a .demo
