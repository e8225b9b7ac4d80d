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

// The walk's samples move monotonically along each axis, and CellOfPoint is monotone in x and
// y, so the cells entered are at most 1 + the columns and rows between the first sample and the
// last. The last is taken where exact steps would put it, pushed forward by the most the float
// steps can drift: a step of u rounds by at most half an ulp of the largest value reached, and
// never by more than |u| (it moves 0 to 2 |u|), so far out the walk may at most double its reach.
int64_t LineWalkCellsAtMost(const SolidLine& line) {
  if (!(line.length > 0.0f)) return 0;
  const float ux = (line.x2 - line.x1) / line.length;
  const float uy = (line.y2 - line.y1) / line.length;
  const float shift = line.thickness - 1.0f;
  const float qx = line.x1 - 10.0f * ux + shift * line.nx;
  const float qy = line.y1 - 10.0f * uy + shift * line.ny;
  const double steps = std::ceil(double(line.length) + 10.0) + 1.0;
  const double reach = std::max(std::fabs(double(qx)), std::fabs(double(qy))) + 2.0 * steps;
  const double halfUlp = std::ldexp(1.0, std::ilogb(reach) - 24);
  const auto last = [&](float q, float u) {
    const double drift = steps * std::min(halfUlp, std::fabs(double(u))) + 4.0 * halfUlp + 1.0;
    return float(double(q) + steps * u + std::copysign(drift, double(u)));
  };
  const GridCell first = CellOfPoint(qx, qy);
  const GridCell end = CellOfPoint(last(qx, ux), last(qy, uy));
  return 1 + std::abs(int64_t(end.column) - first.column) + std::abs(int64_t(end.row) - first.row);
}

std::vector<GridCell> CellsOfLineWalk(const SolidLine& line) {
  std::vector<GridCell> cells;
  WalkLine(line, [&](GridCell cell) { cells.push_back(cell); });
  return cells;
}
