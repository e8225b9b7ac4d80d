#include "track/world.h"

#include <cmath>
#include <iterator>
#include <vector>

#include "rider/current_rider.h"
#include "rider/ghost.h"
#include "rider/simulation.h"
#include "shell/display.h"
#include "shell/paths.h"
#include "track/track_file.h"

namespace {

constexpr float kCameraDeadZone = 0.236f;         // fraction of the half screen the focus may drift
constexpr float kPieceGap = 1.0f;                 // an erased chord leaves this much room on each side
constexpr float kShortestPiece = 10.0f;           // pieces this long or shorter are dropped

// What the circle eraser does to one line.
struct EraseCut {
  bool hit = false;                               // the line goes
  int pieceCount = 0;
  Vec2 pieces[2][2];                              // surviving pieces, each P1 -> P2 in the line's direction
};

float Distance(Vec2 a, Vec2 b) {
  const float dx = a.x - b.x;
  const float dy = a.y - b.y;
  return std::sqrt(dx * dx + dy * dy);
}

// The chord the circle (c, r) cuts from the line p1 -> p2 and the pieces that survive it.
EraseCut CutByCircle(Vec2 p1, Vec2 p2, float length, Vec2 c, float r) {
  EraseCut cut;
  if (!(length > 0.0f)) return cut;
  const float ux = (p2.x - p1.x) / length;
  const float uy = (p2.y - p1.y) / length;
  const float d = ((p2.x - p1.x) * (c.y - p1.y) - (p2.y - p1.y) * (c.x - p1.x)) / length;
  if (!(std::fabs(d) < r - 1.0f)) return cut;
  const float h = std::sqrt(r * r - d * d);
  const float t = (c.x - p1.x) * ux + (c.y - p1.y) * uy;
  const float a = t - h;
  const float b = t + h;
  if (!(b > 0.0f && a < length)) return cut;
  cut.hit = true;
  if (Distance(c, p1) < r && Distance(c, p2) < r) return cut;
  if (!(length > kShortestPiece)) return cut;
  auto along = [&](float s) { return Vec2(p1.x + ux * s, p1.y + uy * s); };
  const bool keepsStart = a >= 0.0f && a - kPieceGap > kShortestPiece;
  const bool keepsEnd = !(a >= 0.0f && length < b) && length - (b + kPieceGap) > kShortestPiece;
  if (keepsStart) {
    cut.pieces[cut.pieceCount][0] = p1;
    cut.pieces[cut.pieceCount][1] = along(a - kPieceGap);
    cut.pieceCount += 1;
  }
  if (keepsEnd) {
    cut.pieces[cut.pieceCount][0] = along(b + kPieceGap);
    cut.pieces[cut.pieceCount][1] = p2;
    cut.pieceCount += 1;
  }
  return cut;
}

const BodyPoint* FindFocusPoint(const World& world) {
  if (!world.currentRider) return nullptr;
  return FindPointById(world.rider, world.currentRider->focusPointId);
}

// The camera offset that puts the focus point at the screen centre; (0, 0) without one.
Vec2 FocusTarget(const World& world) {
  const BodyPoint* focus = FindFocusPoint(world);
  if (!focus) return {0.0f, 0.0f};
  const Vec2 centre = ScreenCentre();
  return {centre.x - focus->x, centre.y - focus->y};
}

float FollowAxis(float camera, float target, float deadZone) {
  if (target - camera > deadZone) return target - deadZone;
  if (target - camera < -deadZone) return target + deadZone;
  return camera;
}

}  // namespace

World& TheWorld() {
  // Made at first use (after the display settings are read), lives until exit.
  static World world;
  static bool started = false;
  if (!started) {
    started = true;
    StartWorld(world, &TheCurrentRider());
  }
  return world;
}

void StartWorld(World& world, const CurrentRider* rider) {
  world.currentRider = rider;
  ResetEditorState(world);
  RestartRider(world);
  world.newLineKind = LineKind::Normal;
  world.sceneryMode = 0;
  world.newLineThickness = 1.0f;
  const Vec2 screen = ScreenSize();
  world.camera = {screen.x * 0.5f - 512.0f, screen.y * 0.4f - 10000.0f};
  world.eraserRadius = 10.0f;
  world.eraserCircle = 0;
  world.startFlagSet = 0;
  world.snapEnabled = 1;
  world.demoLoaded = 0;
  world.wireframe = 0;
  world.ghostPeriod = kGhostPeriod;
  world.ghostOn = 0;
}

// ---- lines ----

SolidLine* AddSolidLine(World& world, Vec2 p1, Vec2 p2, float thickness, LineKind kind) {
  if (CheckLine(p1, p2, thickness) != LineFault::None) return nullptr;
  world.solidLines.push_back(MakeSolidLine(p1, p2, thickness, kind));
  auto position = std::prev(world.solidLines.end());
  SolidLine* line = &*position;
  IndexLine(world.solidIndex, line, position);
  world.solidLineCount += 1;
  InsertLine(world.grid, line);
  return line;
}

void RemoveSolidLine(World& world, const SolidLine* line) {
  std::list<SolidLine>::iterator position;
  if (!FindIndexedLine(world.solidIndex, line, &position)) return;
  WithdrawLine(world.grid, line);
  UnindexLine(world.solidIndex, line);
  world.solidLines.erase(position);
  world.solidLineCount -= 1;
}

void ClearSolidLines(World& world) {
  ClearGrid(world.grid);
  ClearLineIndex(world.solidIndex);
  world.solidLines.clear();
  world.solidLineCount = 0;
}

int32_t SolidLineCount(const World& world) { return world.solidLineCount; }

SceneryLine* AddSceneryLine(World& world, Vec2 p1, Vec2 p2, uint8_t r, uint8_t g, uint8_t b, float thickness) {
  if (CheckLine(p1, p2, thickness) != LineFault::None) return nullptr;
  world.sceneryLines.push_back(MakeSceneryLine(p1, p2, r, g, b, thickness));
  world.sceneryLineCount += 1;
  return &world.sceneryLines.back();
}

void ClearSceneryLines(World& world) {
  world.sceneryLines.clear();
  world.sceneryLineCount = 0;
}

int32_t SceneryLineCount(const World& world) { return world.sceneryLineCount; }

// Cell by cell over the circle's bounding square. After a removal the cell is read again: from
// its first entry if it held other lines, done if the removed line was its only one.
void EraseSolidLines(World& world, Vec2 centre, float radius) {
  const GridCell low = CellOfPoint(centre.x - radius, centre.y - radius);
  const GridCell high = CellOfPoint(centre.x + radius, centre.y + radius);
  // The keys first: removals and new pieces change the cells while they are walked.
  std::vector<GridCell> cells;
  ForEachCellInRange(world.grid, low, high, [&](const XGridNode& cell) { cells.push_back({cell.column, cell.row}); });
  for (GridCell key : cells) {
    size_t index = 0;
    for (;;) {
      const XGridNode* cell = FindCell(world.grid, key.column, key.row);
      if (!cell || index >= cell->lines.size()) break;
      const SolidLine* line = cell->lines[index];
      const EraseCut cut = CutByCircle({line->x1, line->y1}, {line->x2, line->y2}, line->length, centre, radius);
      if (!cut.hit) {
        index += 1;
        continue;
      }
      const size_t heldBefore = cell->lines.size();
      const float thickness = line->thickness;
      const LineKind kind = line->kind;
      RemoveSolidLine(world, line);
      for (int i = 0; i < cut.pieceCount; ++i) AddSolidLine(world, cut.pieces[i][0], cut.pieces[i][1], thickness, kind);
      if (heldBefore <= 1) break;
      index = 0;
    }
  }
}

void EraseSceneryLines(World& world, Vec2 centre, float radius) {
  for (auto it = world.sceneryLines.begin(); it != world.sceneryLines.end();) {
    const EraseCut cut = CutByCircle({it->x1, it->y1}, {it->x2, it->y2}, it->length, centre, radius);
    if (!cut.hit) {
      ++it;
      continue;
    }
    for (int i = 0; i < cut.pieceCount; ++i)
      AddSceneryLine(world, cut.pieces[i][0], cut.pieces[i][1], it->r, it->g, it->b, it->thickness);
    it = world.sceneryLines.erase(it);
    world.sceneryLineCount -= 1;
  }
}

void SnapToEndpoint(World& world, Vec2& point, float radius) {
  const GridCell low = CellOfPoint(point.x - radius, point.y - radius);
  const GridCell high = CellOfPoint(point.x + radius, point.y + radius);
  bool found = false;
  Vec2 snapped = point;
  ForEachCellInRange(world.grid, low, high, [&](const XGridNode& cell) {
    for (const SolidLine* line : cell.lines) {
      if (found) return;
      const Vec2 p1{line->x1, line->y1};
      const Vec2 p2{line->x2, line->y2};
      if (Distance(p1, point) < radius) {
        snapped = p1;
        found = true;
      } else if (Distance(p2, point) < radius) {
        snapped = p2;
        found = true;
      }
    }
  });
  point = snapped;
}

// ---- rider, camera and start ----

void ResetEditorState(World& world) {
  world.freehandStroke = 0;
  world.straightStroke = 0;
  world.panDrag = 0;
  world.chainLatch = 0;
  world.strokeStart = {};
  world.cursorPoint = {};
  world.camera = {};
  world.panAnchor = {};
  world.mouseCopy = {};
  world.zoom = 1.0f;
  world.pointDrag = 0;
  world.draggedPoint = nullptr;
}

void ResetWorld(World& world) {
  ResetEditorState(world);
  ClearRider(world);
  RestartRider(world);
  world.newLineThickness = 1.0f;
  world.newLineKind = LineKind::Normal;
  world.sceneryMode = 0;
  world.eraserRadius = 10.0f;
  world.eraserCircle = 0;
  ClearSolidLines(world);
  ClearSceneryLines(world);
  world.startFlagSet = 0;
  world.demoLoaded = 0;
}

void ClearRider(World& world) {
  world.draggedPoint = nullptr;
  ClearBody(world.rider);
}

void RestartRider(World& world) {
  if (!world.currentRider || !world.currentRider->loaded) return;
  world.draggedPoint = nullptr;
  RebuildFromSnapshot(world.rider, world.currentRider->snapshot);
  world.camera = FocusTarget(world);
  world.wireframe = world.rider.spritesAdded == 0 ? 1 : 0;
  ResyncGhost(world);
}

Vec2 FocusPoint(const World& world) {
  const BodyPoint* focus = FindFocusPoint(world);
  return focus ? Vec2(focus->x, focus->y) : Vec2(0.0f, 0.0f);
}

void FollowFocus(World& world) {
  const Vec2 target = FocusTarget(world);
  const Vec2 centre = ScreenCentre();
  const float deadX = kCameraDeadZone * centre.x / world.zoom;
  const float deadY = kCameraDeadZone * centre.y / world.zoom;
  world.camera.x = FollowAxis(world.camera.x, target.x, deadX);
  world.camera.y = FollowAxis(world.camera.y, target.y, deadY);
}

void StoreStart(World& world) {
  TakeSnapshot(world.rider, world.startSnapshot);
  world.flag = FocusPoint(world);
  world.startFlagSet = 1;
}

void RestoreStart(World& world) {
  if (!world.startFlagSet) return;
  world.draggedPoint = nullptr;
  RebuildFromSnapshot(world.rider, world.startSnapshot);
}

void StepRider(World& world) {
  StepBody(world.rider, world.grid);
  FollowFocus(world);
  world.ghostResync = 1;
}

// ---- setters ----

void SetNewLineThickness(World& world, float thickness) { world.newLineThickness = thickness; }

void SetSceneryColour(World& world, uint32_t r, uint32_t g, uint32_t b) {
  world.sceneryR = r;
  world.sceneryG = g;
  world.sceneryB = b;
}

void SetMousePosition(World& world, Vec2 mouse) {
  world.mouse = mouse;
  world.mouseCopy = mouse;
}

void SetShownFps(World& world, int32_t fps) { world.shownFps = fps; }

bool ToggleSnap(World& world) {
  world.snapEnabled = world.snapEnabled ? 0 : 1;
  return world.snapEnabled != 0;
}

// ---- exit ----

void SaveWorldAtExit() {
  World& world = TheWorld();
  if (world.demoLoaded) return;
  char path[kMaxPath];
  if (!MakeAbsolutePath(path, "last_played.track")) return;
  SaveTrack(world, TheCurrentRider(), path);
}
