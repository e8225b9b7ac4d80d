// The sparse grid of 300-unit cells that indexes solid lines by position, so that collision,
// the eraser and endpoint snapping look only at the lines near a point. Only cells holding a
// line exist. The grid holds line ids; the world's line array owns the records.
//
// A cell lists its lines by id ascending, which is creation order: a new line goes to the end,
// and a line that comes back takes its old place. Collision visits cells row by row, columns
// ascending, and each cell's lines in that order, so this order decides the ride.
#pragma once
#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "track/lines.h"

struct GridCell {
  int32_t column = 0;
  int32_t row = 0;
  friend constexpr bool operator==(GridCell a, GridCell b) = default;
};

// One cell: the ids of the lines listed in it, ascending.
struct XGridNode {
  std::vector<LineId> lines;                      // never empty while the cell exists
  int32_t column = 0;
  int32_t row = 0;
};

// One row: its cells by column. The hash map's order is never used for results.
struct GridRow {
  std::unordered_map<int32_t, XGridNode> cells;
  int32_t row = 0;
  mutable int32_t cachedColumn = 0;               // the cell found last (a look-up cache)
  mutable XGridNode* cachedCell = nullptr;
};

struct LineGrid {
  std::unordered_map<int32_t, GridRow> rows;
  int32_t cellCount = 0;                          // cells in all rows
  mutable int32_t cachedRowKey = 0;               // the row found last (a look-up cache)
  mutable GridRow* cachedRow = nullptr;
};

constexpr float kGridCellSize = 300.0f;           // world units

// Column = trunc(|x| / 300) * sign(x), row = trunc(|y| / 300 + 1) * sign(y): column 0 is 600
// units wide, row 0 holds only y == 0. Values beyond the 32-bit range saturate; NaN gives 0.
GridCell CellOfPoint(float x, float y);
void InsertLine(LineGrid& grid, const SolidLine& line, LineId id);    // lists id in every cell the walk meets
void WithdrawLine(LineGrid& grid, const SolidLine& line, LineId id);  // the same walk, removing; empty cells go
const XGridNode* FindCell(const LineGrid& grid, int32_t column, int32_t row);  // null when the cell does not exist
void AddToCell(LineGrid& grid, LineId id, int32_t column, int32_t row);  // creates row and cell as needed
bool RemoveFromCell(LineGrid& grid, LineId id, int32_t column, int32_t row);  // false if not listed
void ClearGrid(LineGrid& grid);                               // drops every row and cell; lines untouched
int32_t GridRowCount(const LineGrid& grid);
int32_t GridCellCount(const LineGrid& grid);
std::vector<GridCell> CellsOfLineWalk(const SolidLine& line);  // the cells InsertLine uses, in walk order
// At least the number of cells InsertLine lists the line in, without walking it: a constant
// time bound, so a file's lines can be priced before any is registered. Within four cells of
// the walk's count at ordinary coordinates; near +-2^23 the float steps may drift, and the bound
// allows for the most they can.
int64_t LineWalkCellsAtMost(Vec2 p1, Vec2 p2, float thickness);

// Calls visit(const XGridNode&) for every existing cell from low to high inclusive, rows
// ascending and columns ascending within a row: the same cells in the same order as looking up
// every (column, row) of the range. A range with more positions than the grid has cells is
// answered from the existing cells instead, so a huge range stays cheap. visit must not change
// the grid.
template <typename Visit>
void ForEachCellInRange(const LineGrid& grid, GridCell low, GridCell high, Visit&& visit) {
  if (low.row > high.row || low.column > high.column || grid.cellCount == 0) return;
  const uint64_t rowSpan = uint64_t(int64_t(high.row) - low.row) + 1;
  const uint64_t columnSpan = uint64_t(int64_t(high.column) - low.column) + 1;
  const uint64_t existing = uint64_t(grid.cellCount);
  if (rowSpan <= existing && columnSpan <= existing && rowSpan * columnSpan <= existing * 4) {
    for (int64_t row = low.row; row <= high.row; ++row)
      for (int64_t column = low.column; column <= high.column; ++column)
        if (const XGridNode* cell = FindCell(grid, int32_t(column), int32_t(row))) visit(*cell);
    return;
  }
  std::vector<std::pair<GridCell, const XGridNode*>> found;
  for (const auto& [rowKey, row] : grid.rows) {
    if (rowKey < low.row || rowKey > high.row) continue;
    for (const auto& [columnKey, cell] : row.cells)
      if (columnKey >= low.column && columnKey <= high.column) found.push_back({{columnKey, rowKey}, &cell});
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
    return a.first.row != b.first.row ? a.first.row < b.first.row : a.first.column < b.first.column;
  });
  for (const auto& entry : found) visit(*entry.second);
}
