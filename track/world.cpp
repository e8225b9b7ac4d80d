#include "track/world.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "rider/current_rider.h"
#include "rider/simulation.h"
#include "shell/log.h"
#include "track/collision.h"

namespace {

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

// A stamp no other line change in the process has had, so a cache keyed on it can never take
// one world's lines for another's.
uint64_t NextLinesStamp() {
  static uint64_t last = 0;
  return ++last;
}

constexpr int64_t kMostListedCells = 16;         // a wider look is noted as kAnyCell
constexpr size_t kMostEditedCells = 1 << 16;      // more edits at once count as everything

int TouchLines(void* context, BodyPoint& point) {
  World& world = *static_cast<World*>(context);
  if (std::vector<GridCell>* looked = world.lookedCells) {
    const GridCell low = CellOfPoint(point.x - point.radius, point.y - point.radius);
    const GridCell high = CellOfPoint(point.x + point.radius, point.y + point.radius);
    if ((int64_t(high.column) - low.column + 1) * (int64_t(high.row) - low.row + 1) > kMostListedCells) {
      looked->push_back(kAnyCell);
    } else {
      for (int32_t row = low.row; row <= high.row; ++row)
        for (int32_t column = low.column; column <= high.column; ++column) looked->push_back({column, row});
    }
  }
  return ResolvePointWithLines(world.grid, world.solidLines, point);
}

void NoteEdit(World& world, const SolidLine& line) {
  if (!world.recordEdits || world.everythingEdited) return;
  if (LineWalkCellsAtMost({line.x1, line.y1}, {line.x2, line.y2}, line.thickness) +
          int64_t(world.editedCells.size()) > int64_t(kMostEditedCells)) {
    world.everythingEdited = true;
    world.editedCells.clear();
    return;
  }
  const std::vector<GridCell> cells = CellsOfLineWalk(line);
  world.editedCells.insert(world.editedCells.end(), cells.begin(), cells.end());
}

}  // namespace

// ---- lines ----

LineId AddSolidLine(World& world, Vec2 p1, Vec2 p2, float thickness, LineKind kind) {
  if (CheckLine(p1, p2, thickness) != LineFault::None) return kNoLine;
  // A new line is a new slot brought to life, as a line that comes back is.
  const LineId id = LineId(world.solidLines.size());
  world.solidLines.push_back(MakeSolidLine(p1, p2, thickness, kind));
  world.solidLines.back().live = false;
  ReviveSolidLine(world, id);
  return id;
}

void RemoveSolidLine(World& world, LineId id) {
  if (id < 0 || size_t(id) >= world.solidLines.size() || !world.solidLines[size_t(id)].live) return;
  SolidLine& line = world.solidLines[size_t(id)];
  WithdrawLine(world.grid, line, id);
  NoteEdit(world, line);
  line.live = false;
  world.solidLineCount -= 1;
  world.linesStamp = NextLinesStamp();
  if (world.lineJournal) world.lineJournal->push_back({LineEventKind::RemoveSolid, id});
}

void ReviveSolidLine(World& world, LineId id) {
  if (id < 0 || size_t(id) >= world.solidLines.size() || world.solidLines[size_t(id)].live) return;
  SolidLine& line = world.solidLines[size_t(id)];
  line.live = true;
  world.solidLineCount += 1;
  world.thickestSolid = std::max(world.thickestSolid, line.thickness);
  world.linesStamp = NextLinesStamp();
  InsertLine(world.grid, line, id);
  NoteEdit(world, line);
  if (world.lineJournal) world.lineJournal->push_back({LineEventKind::AddSolid, id});
}

void ClearSolidLines(World& world) {
  if (world.lineJournal) {
    for (LineId id = 0; size_t(id) < world.solidLines.size(); ++id) RemoveSolidLine(world, id);
    return;
  }
  world.everythingEdited = world.recordEdits;
  world.editedCells.clear();
  ClearGrid(world.grid);
  world.solidLines.clear();
  world.solidLineCount = 0;
  world.thickestSolid = 0;
  world.linesStamp = NextLinesStamp();
}

int32_t SolidLineCount(const World& world) { return world.solidLineCount; }

void SwapLines(World& world, LineSet& lines) {
  std::swap(world.solidLines, lines.solidLines);
  std::swap(world.sceneryLines, lines.sceneryLines);
  std::swap(world.solidLineCount, lines.solidLineCount);
  std::swap(world.sceneryLineCount, lines.sceneryLineCount);
  std::swap(world.grid, lines.grid);
  std::swap(world.sceneryGrid, lines.sceneryGrid);
  std::swap(world.thickestSolid, lines.thickestSolid);
  std::swap(world.thickestScenery, lines.thickestScenery);
  world.everythingEdited = world.recordEdits;
  world.editedCells.clear();
  world.linesStamp = NextLinesStamp();
}

size_t LineSetBytes(const LineSet& lines) {
  // A line is listed in a few cells at most; each listing and each cell costs about this much.
  constexpr size_t kListingBytes = 2 * sizeof(LineId);
  constexpr size_t kCellBytes = 96;
  size_t cells = size_t(lines.grid.cellCount) + lines.sceneryGrid.cells.size();
  return lines.solidLines.capacity() * (sizeof(SolidLine) + kListingBytes) +
         lines.sceneryLines.capacity() * (sizeof(SceneryLine) + kListingBytes) + cells * kCellBytes;
}

LineId AddSceneryLine(World& world, Vec2 p1, Vec2 p2, uint8_t r, uint8_t g, uint8_t b, float thickness) {
  if (CheckLine(p1, p2, thickness) != LineFault::None) return kNoLine;
  const LineId id = LineId(world.sceneryLines.size());
  world.sceneryLines.push_back(MakeSceneryLine(p1, p2, r, g, b, thickness));
  world.sceneryLines.back().live = false;
  ReviveSceneryLine(world, id);
  return id;
}

void RemoveSceneryLine(World& world, LineId id) {
  if (id < 0 || size_t(id) >= world.sceneryLines.size() || !world.sceneryLines[size_t(id)].live) return;
  SceneryLine& line = world.sceneryLines[size_t(id)];
  UnindexSceneryLine(world.sceneryGrid, line, id);
  line.live = false;
  world.sceneryLineCount -= 1;
  world.linesStamp = NextLinesStamp();
  if (world.lineJournal) world.lineJournal->push_back({LineEventKind::RemoveScenery, id});
}

void ReviveSceneryLine(World& world, LineId id) {
  if (id < 0 || size_t(id) >= world.sceneryLines.size() || world.sceneryLines[size_t(id)].live) return;
  SceneryLine& line = world.sceneryLines[size_t(id)];
  line.live = true;
  world.sceneryLineCount += 1;
  world.thickestScenery = std::max(world.thickestScenery, line.thickness);
  world.linesStamp = NextLinesStamp();
  IndexSceneryLine(world.sceneryGrid, line, id);
  if (world.lineJournal) world.lineJournal->push_back({LineEventKind::AddScenery, id});
}

void ClearSceneryLines(World& world) {
  if (world.lineJournal) {
    for (LineId id = 0; size_t(id) < world.sceneryLines.size(); ++id) RemoveSceneryLine(world, id);
    return;
  }
  ClearSceneryGrid(world.sceneryGrid);
  world.sceneryLines.clear();
  world.sceneryLineCount = 0;
  world.thickestScenery = 0;
  world.linesStamp = NextLinesStamp();
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
      const LineId id = cell->lines[index];
      const SolidLine line = world.solidLines[size_t(id)];
      const EraseCut cut = CutByCircle({line.x1, line.y1}, {line.x2, line.y2}, line.length, centre, radius);
      if (!cut.hit) {
        index += 1;
        continue;
      }
      const size_t heldBefore = cell->lines.size();
      RemoveSolidLine(world, id);
      for (int i = 0; i < cut.pieceCount; ++i)
        AddSolidLine(world, cut.pieces[i][0], cut.pieces[i][1], line.thickness, line.kind);
      if (heldBefore <= 1) break;
      index = 0;
    }
  }
}

// In creation order over the lines listed near the circle; the pieces of a cut line are new
// lines at the end and lie outside the circle.
void EraseSceneryLines(World& world, Vec2 centre, float radius) {
  std::vector<LineId> candidates;
  CollectSceneryCandidates(
      world.sceneryGrid,
      SceneryCellsOver(centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius, 0.0f),
      &candidates);
  for (LineId id : candidates) {
    const SceneryLine line = world.sceneryLines[size_t(id)];
    const EraseCut cut = CutByCircle({line.x1, line.y1}, {line.x2, line.y2}, line.length, centre, radius);
    if (!cut.hit) continue;
    for (int i = 0; i < cut.pieceCount; ++i)
      AddSceneryLine(world, cut.pieces[i][0], cut.pieces[i][1], line.r, line.g, line.b, line.thickness);
    RemoveSceneryLine(world, id);
  }
}

void SnapToEndpoint(World& world, Vec2& point, float radius) {
  const GridCell low = CellOfPoint(point.x - radius, point.y - radius);
  const GridCell high = CellOfPoint(point.x + radius, point.y + radius);
  bool found = false;
  Vec2 snapped = point;
  ForEachCellInRange(world.grid, low, high, [&](const XGridNode& cell) {
    for (LineId id : cell.lines) {
      if (found) return;
      const SolidLine& line = world.solidLines[size_t(id)];
      const Vec2 p1{line.x1, line.y1};
      const Vec2 p2{line.x2, line.y2};
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

// ---- rider and start ----

void ResetWorld(World& world, const CurrentRider& rider) {
  ClearRider(world);
  RestartRider(world, rider);
  ClearSolidLines(world);
  ClearSceneryLines(world);
  world.startFlagSet = 0;
  world.demoLoaded = false;
}

void ClearRider(World& world) { ClearBody(world.rider); }

void RestartRider(World& world, const CurrentRider& rider) {
  if (!rider.loaded) return;
  world.focusPointId = rider.focusPointId;
  RebuildFromSnapshot(world.rider, rider.snapshot);
  ResyncGhost(world);
}

Vec2 FocusPoint(const World& world) {
  const BodyPoint* focus = FindPointById(world.rider, world.focusPointId);
  return focus ? Vec2(focus->x, focus->y) : Vec2(0.0f, 0.0f);
}

Vec2 StartPoint(const World& world, int32_t id) {
  const BodyPoint* point = FindSnapshotPoint(world.startSnapshot, id);
  return point ? Vec2(point->x, point->y) : Vec2(0.0f, 0.0f);
}

void StoreStart(World& world) {
  TakeSnapshot(world.rider, world.startSnapshot);
  world.flag = FocusPoint(world);
  world.startFlagSet = 1;
}

void RestoreStart(World& world) {
  if (!world.startFlagSet) return;
  RebuildFromSnapshot(world.rider, world.startSnapshot);
}

void PlaceStartForRider(World& world, const CurrentRider& rider) {
  if (!world.startFlagSet || !rider.loaded) return;
  CopySnapshot(rider.snapshot, world.startSnapshot);
  const BodyPoint* focus = FindSnapshotPoint(world.startSnapshot, rider.focusPointId);
  const float dx = world.flag.x - (focus ? focus->x : 0.0f);
  const float dy = world.flag.y - (focus ? focus->y : 0.0f);
  for (BodyPoint& point : world.startSnapshot.points) {
    point.x += dx;
    point.y += dy;
    point.prevX += dx;
    point.prevY += dy;
  }
  Log("the start flag keeps its place: the new rider starts there");
}

void StepRider(World& world) {
  StepBodyOnTrack(world.rider, world);
  world.ghost.resync = true;
}

void StepBodyOnTrack(Body& body, World& world) { StepBody(body, Surface{TouchLines, &world}); }
