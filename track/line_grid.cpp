#include "track/line_grid.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

#include "shell/log.h"

namespace {

constexpr float kCellScale = 1.0f / kGridCellSize;  // held as a float: the mapping depends on its rounding

// Truncation towards zero of a non-negative float, saturating at the 32-bit limit; NaN gives 0.
int32_t TruncSaturated(float v) {
  if (!(v >= 0.0f)) return 0;
  if (v >= 2147483648.0f) return INT32_MAX;
  return int32_t(v);
}

int32_t SignOf(float v) { return v > 0.0f ? 1 : (v < 0.0f ? -1 : 0); }

// The sample points of a line's cell walk: from 10 units before P1, one unit apart, shifted
// sideways by the thickness less one. Calls visit(cell) each time the walk enters a new cell.
template <typename Visit>
void WalkLine(const SolidLine& line, Visit&& visit) {
  if (!(line.length > 0.0f)) return;
  const float ux = (line.x2 - line.x1) / line.length;
  const float uy = (line.y2 - line.y1) / line.length;
  const float q0x = line.x1 - 10.0f * ux;
  const float q0y = line.y1 - 10.0f * uy;
  const GridCell start = CellOfPoint(q0x, q0y);
  // Cells saturate at +-INT32_MAX, so one less never wraps.
  GridCell previous{start.column - 1, start.row - 1};
  const float shift = line.thickness - 1.0f;
  float qx = q0x + shift * line.nx;
  float qy = q0y + shift * line.ny;
  const float end = line.length + 10.0f;
  for (int32_t i = 0; float(i) < end; ++i) {
    const GridCell cell = CellOfPoint(qx, qy);
    if (cell.column != previous.column || cell.row != previous.row) {
      visit(cell);
      previous = cell;
    }
    qx = qx + ux;
    qy = qy + uy;
  }
}

// The look-ups remember the row and cell found last; the caches are the only thing a look-up on
// a const grid writes.
GridRow* FindRow(const LineGrid& grid, int32_t key) {
  if (grid.cachedRow && grid.cachedRowKey == key) return grid.cachedRow;
  auto it = grid.rows.find(key);
  if (it == grid.rows.end()) return nullptr;
  grid.cachedRowKey = key;
  grid.cachedRow = const_cast<GridRow*>(&it->second);
  return grid.cachedRow;
}

XGridNode* FindCellInRow(const GridRow& row, int32_t column) {
  if (row.cachedCell && row.cachedColumn == column) return row.cachedCell;
  auto it = row.cells.find(column);
  if (it == row.cells.end()) return nullptr;
  row.cachedColumn = column;
  row.cachedCell = const_cast<XGridNode*>(&it->second);
  return row.cachedCell;
}

void EraseCell(LineGrid& grid, GridRow& row, int32_t column) {
  row.cells.erase(column);
  row.cachedCell = nullptr;
  grid.cellCount -= 1;
  if (!row.cells.empty()) return;
  const int32_t key = row.row;
  if (grid.cachedRow == &row) grid.cachedRow = nullptr;
  grid.rows.erase(key);
}

}  // namespace

GridCell CellOfPoint(float x, float y) {
  const int32_t column = TruncSaturated(std::fabs(x) * kCellScale) * SignOf(x);
  const int32_t row = TruncSaturated(std::fabs(y) * kCellScale + 1.0f) * SignOf(y);
  return {column, row};
}

const XGridNode* FindCell(const LineGrid& grid, int32_t column, int32_t row) {
  GridRow* gridRow = FindRow(grid, row);
  return gridRow ? FindCellInRow(*gridRow, column) : nullptr;
}

void AddToCell(LineGrid& grid, LineId id, int32_t column, int32_t row) {
  XGridNode* cell = nullptr;
  try {
    auto [rowIt, rowMade] = grid.rows.try_emplace(row);
    GridRow& gridRow = rowIt->second;
    if (rowMade) gridRow.row = row;
    auto [cellIt, cellMade] = gridRow.cells.try_emplace(column);
    cell = &cellIt->second;
    if (cellMade) {
      cell->column = column;
      cell->row = row;
      grid.cellCount += 1;
    }
  } catch (const std::bad_alloc&) {
    Fatal("xnode not added. WTF!?!?");
  }
  try {
    // New lines have the highest id; only a line that comes back is placed inside.
    std::vector<LineId>& lines = cell->lines;
    if (lines.empty() || lines.back() < id) {
      lines.push_back(id);
    } else {
      auto at = std::lower_bound(lines.begin(), lines.end(), id);
      if (*at != id) lines.insert(at, id);
    }
  } catch (const std::bad_alloc&) {
    Log("       XGridNode: memory allocation failed while adding line");
  }
  if (cell->lines.empty()) EraseCell(grid, grid.rows[row], column);
}

bool RemoveFromCell(LineGrid& grid, LineId id, int32_t column, int32_t row) {
  GridRow* gridRow = FindRow(grid, row);
  if (!gridRow) return false;
  XGridNode* cell = FindCellInRow(*gridRow, column);
  if (!cell) return false;
  auto at = std::lower_bound(cell->lines.begin(), cell->lines.end(), id);
  if (at == cell->lines.end() || *at != id) return false;
  cell->lines.erase(at);
  if (cell->lines.empty()) EraseCell(grid, *gridRow, column);
  return true;
}

void InsertLine(LineGrid& grid, const SolidLine& line, LineId id) {
  WalkLine(line, [&](GridCell cell) { AddToCell(grid, id, cell.column, cell.row); });
}

void WithdrawLine(LineGrid& grid, const SolidLine& line, LineId id) {
  WalkLine(line, [&](GridCell cell) { RemoveFromCell(grid, id, cell.column, cell.row); });
}

void ClearGrid(LineGrid& grid) {
  grid.rows.clear();
  grid.cellCount = 0;
  grid.cachedRowKey = 0;
  grid.cachedRow = nullptr;
}

int32_t GridRowCount(const LineGrid& grid) { return int32_t(grid.rows.size()); }

int32_t GridCellCount(const LineGrid& grid) { return grid.cellCount; }

// The walk's samples move monotonically along each axis from 10 units before P1 to at most two
// past P2, shifted thickness - 1 along the normal, and CellOfPoint is monotone in x and y, so
// the cells entered are at most 1 + the columns and rows between the box's corners. Each axis's
// share of the unit direction is at most 1 on the longer axis and the ratio of the shorter
// extent to the longer on the other, which keeps the box close without a square root. Far out
// the float steps may drift: each rounds by at most half an ulp of the largest value reached, and
// never by more than the step itself (it moves 0 to 2 |u|), so past P2 the box also grows by the
// least of the steps times that half ulp and the line's own extent. One division and no library
// call: a million lines are priced in a few milliseconds.
int64_t LineWalkCellsAtMost(Vec2 p1, Vec2 p2, float thickness) {
  const double dx = double(p2.x) - p1.x, dy = double(p2.y) - p1.y;
  const double longer = std::max(std::fabs(dx), std::fabs(dy)), shorter = std::min(std::fabs(dx), std::fabs(dy));
  if (!(longer > 0.0) || !std::isfinite(longer)) return 0;  // CheckLine keeps such lines out
  const double ratio = shorter / longer + 1e-6;   // float directions are a few ulps off
  const double ux = std::fabs(dx) >= std::fabs(dy) ? 1.0 : ratio, uy = std::fabs(dy) > std::fabs(dx) ? 1.0 : ratio;
  const double steps = std::fabs(dx) + std::fabs(dy) + 12.0;  // at least the walk's ceil(length + 10) + 1
  const double shift = std::fabs(double(thickness) - 1.0);
  const double reach = std::max({std::fabs(double(p1.x)), std::fabs(double(p1.y)), std::fabs(double(p2.x)),
                                 std::fabs(double(p2.y))}) + shift + 10.0 + 2.0 * steps;
  const double halfUlp = reach * 0x1p-24;         // at least half an ulp of any float up to reach
  const double slack = 4.0 * halfUlp + 0.01;
  // The interval an axis covers from its start at a to its end at b, u and n bounding the
  // direction's and the normal's share of it.
  const auto span = [&](double a, double b, double u, double n) {
    const double before = 10.0 * u + shift * n + slack;
    const double after = 2.0 * u + shift * n + std::min(steps * halfUlp, std::fabs(b - a) + 12.0 * u) + slack;
    return b >= a ? std::pair{float(a - before), float(b + after)} : std::pair{float(b - after), float(a + before)};
  };
  const auto [lowX, highX] = span(p1.x, p2.x, ux, uy);
  const auto [lowY, highY] = span(p1.y, p2.y, uy, ux);
  const GridCell low = CellOfPoint(lowX, lowY), high = CellOfPoint(highX, highY);
  return 1 + (int64_t(high.column) - low.column) + (int64_t(high.row) - low.row);
}

std::vector<GridCell> CellsOfLineWalk(const SolidLine& line) {
  std::vector<GridCell> cells;
  WalkLine(line, [&](GridCell cell) { cells.push_back(cell); });
  return cells;
}
