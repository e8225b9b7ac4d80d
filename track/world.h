// The track world: the model a track file holds and the rider rides on. Solid lines (indexed by
// the line grid) and scenery lines (indexed for drawing), the rider and its ghost, and the start
// state. How the world is shown (track/view.h) and edited (track/track_scene.h) lives beside it.
//
// Lines are stored in arrays addressed by id (track/lines.h). Every add, remove and clear goes
// through the functions below, which keep the grids, the counts and the change stamp true.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "rider/body.h"
#include "shell/vec2.h"
#include "track/ghost.h"
#include "track/line_grid.h"
#include "track/lines.h"
#include "track/scenery_grid.h"

struct CurrentRider;

constexpr GridCell kAnyCell{INT32_MIN, INT32_MIN};  // stands for every cell

// One change of a line, as the undo history keeps it: the line's slot stays, so the change can
// be taken back and done again in place.
enum class LineEventKind : uint8_t { AddSolid, RemoveSolid, AddScenery, RemoveScenery };
struct LineEvent {
  LineEventKind kind;
  LineId id;
};

// Every line of a track with its grids, held outside the world while a load can be taken back.
struct LineSet {
  std::vector<SolidLine> solidLines;
  std::vector<SceneryLine> sceneryLines;
  int32_t solidLineCount = 0;
  int32_t sceneryLineCount = 0;
  LineGrid grid;
  SceneryGrid sceneryGrid;
  float thickestSolid = 0;
  float thickestScenery = 0;
};

struct World {
  // ---- lines: reset by a clear or a load ----
  std::vector<SolidLine> solidLines;              // by id; removed lines stay as dead slots
  std::vector<SceneryLine> sceneryLines;
  int32_t solidLineCount = 0;                     // live lines
  int32_t sceneryLineCount = 0;
  LineGrid grid;                                  // solid line ids by cell
  SceneryGrid sceneryGrid;                        // scenery line ids by cell
  float thickestSolid = 0;                        // largest thickness since the last clear
  float thickestScenery = 0;
  uint64_t linesStamp = 0;                        // changes with every line change; unique in the process
  // For the ride's timeline (track/timeline.h), when it listens: the cells of solid lines added
  // or removed since it last looked, and whether something wider (a clear) changed.
  bool recordEdits = false;
  std::vector<GridCell> editedCells;
  bool everythingEdited = false;
  // When set, collision appends every cell a rider point looks at (kAnyCell for a range too
  // wide to list).
  std::vector<GridCell>* lookedCells = nullptr;
  // When set, every line added or removed is appended, and a clear removes its lines one by one
  // (their slots stay) so that it can be taken back.
  std::vector<LineEvent>* lineJournal = nullptr;

  // ---- rider: rebuilt from the rider in use on every restart ----
  Body rider;
  int32_t focusPointId = 0;                       // the point the camera follows and the flag marks
  Ghost ghost;

  // ---- start state: set by the flag button and by loads ----
  BodySnapshot startSnapshot;
  Vec2 flag;                                      // where the start flag is drawn
  uint8_t startFlagSet = 0;                       // non-zero: a start is stored; saved as loaded
  bool demoLoaded = false;                        // the track came from a .demo file: view only, not saved

  World() = default;
  World(const World&) = delete;
  World& operator=(const World&) = delete;
};

// ---- lines ----
LineId AddSolidLine(World& world, Vec2 p1, Vec2 p2, float thickness, LineKind kind);  // kNoLine: CheckLine failed
void RemoveSolidLine(World& world, LineId id);     // does nothing for a dead or unknown id
void ReviveSolidLine(World& world, LineId id);     // a removed line back in its old place; nothing for a live one
void ClearSolidLines(World& world);
// The world takes the set's lines and the set the world's, in constant time; everything counts
// as edited for the ride's timeline.
void SwapLines(World& world, LineSet& lines);
size_t LineSetBytes(const LineSet& lines);         // the records and the grids' entries, roughly
int32_t SolidLineCount(const World& world);
LineId AddSceneryLine(World& world, Vec2 p1, Vec2 p2, uint8_t r, uint8_t g, uint8_t b,
                      float thickness);           // kNoLine: CheckLine failed
void RemoveSceneryLine(World& world, LineId id);
void ReviveSceneryLine(World& world, LineId id);
void ClearSceneryLines(World& world);
int32_t SceneryLineCount(const World& world);
void EraseSolidLines(World& world, Vec2 centre, float radius);    // circle eraser, world units
void EraseSceneryLines(World& world, Vec2 centre, float radius);
void SnapToEndpoint(World& world, Vec2& point, float radius);     // first solid endpoint closer than radius

// ---- rider and start ----
void ResetWorld(World& world, const CurrentRider& rider);  // the clear button: empty track, rider restarted
void ClearRider(World& world);                    // empties the rider body
void RestartRider(World& world, const CurrentRider& rider);  // rider rebuilt from the rider in use, if loaded
Vec2 FocusPoint(const World& world);              // the rider's focus point; (0, 0) when the body has none
Vec2 StartPoint(const World& world, int32_t id);  // where the start state's point id is; (0, 0) when it has none
void StoreStart(World& world);                    // rider -> start snapshot, flag at the focus point
void RestoreStart(World& world);                  // start snapshot -> rider, if a start is stored
// After the rider in use changed: a stored start becomes the new rider's own pose, moved so that
// its focus point is at the flag (log line). Nothing without a stored start.
void PlaceStartForRider(World& world, const CurrentRider& rider);
void StepRider(World& world);                     // one step of the rider; asks the ghost to resync
void StepBodyOnTrack(Body& body, World& world);   // one step of any body against the world's solid lines
