#include "track/line_grid.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <list>
#include <map>
#include <utility>
#include <vector>

namespace {

using Cells = std::vector<GridCell>;

SolidLine Line(float x1, float y1, float x2, float y2, float thickness = 1.0f) {
  return MakeSolidLine({x1, y1}, {x2, y2}, thickness, LineKind::Normal);
}

// Every (column, row) of a range looked up one by one: the order the game defines.
std::vector<const XGridNode*> LookUpEach(LineGrid& grid, GridCell low, GridCell high) {
  std::vector<const XGridNode*> cells;
  for (int row = low.row; row <= high.row; ++row)
    for (int column = low.column; column <= high.column; ++column)
      if (const XGridNode* cell = FindCell(grid, column, row)) cells.push_back(cell);
  return cells;
}

std::vector<const XGridNode*> Visited(LineGrid& grid, GridCell low, GridCell high) {
  std::vector<const XGridNode*> cells;
  ForEachCellInRange(grid, low, high, [&](const XGridNode& cell) { cells.push_back(&cell); });
  return cells;
}

// A small deterministic generator for scattered lines.
struct Lcg {
  uint32_t state = 12345;
  float Next(float low, float high) {
    state = state * 1664525u + 1013904223u;
    return low + (high - low) * float(state >> 8) / 16777216.0f;
  }
};

}  // namespace

TEST(LineGrid, CellMappingIsAsymmetricAndSaturates) {
  // Columns round towards zero, rows away from it (y = 0 is row 0); far beyond the 32-bit range
  // the cell saturates, and NaN lands in (0, 0), never undefined.
  const struct {
    float x, y;
    GridCell cell;
  } cases[] = {{-299, 0, {0, 0}},    {299, 0, {0, 0}},   {0, 1, {0, 1}},       {0, -1, {0, -1}},
               {0, 299, {0, 1}},     {0, 301, {0, 2}},   {0, -301, {0, -2}},   {301, 0, {1, 0}},
               {-301, 0, {-1, 0}},   {-601, 0, {-2, 0}}, {1e30f, -1e30f, {INT32_MAX, -INT32_MAX}},
               {-INFINITY, INFINITY, {-INT32_MAX, INT32_MAX}}, {NAN, NAN, {0, 0}}};
  for (const auto& c : cases) EXPECT_EQ(CellOfPoint(c.x, c.y), c.cell) << c.x << ", " << c.y;
}

TEST(LineGrid, CellWalkFollowsTheLine) {
  // Horizontal: the walk starts 10 units before P1, at x = -10, still column 0.
  EXPECT_EQ(CellsOfLineWalk(Line(0, 10, 1000, 10)), (Cells{{0, 1}, {1, 1}, {2, 1}, {3, 1}}));
  // Vertical: from y = -10 (row -1) through y = 0 exactly (row 0) up to y = 999 (row 4).
  EXPECT_EQ(CellsOfLineWalk(Line(10, 0, 10, 1000)), (Cells{{0, -1}, {0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}}));
  // Negative coordinates, walked from right to left.
  EXPECT_EQ(CellsOfLineWalk(Line(-100, -50, -700, -50)), (Cells{{0, -1}, {-1, -1}, {-2, -1}}));
  EXPECT_EQ(CellsOfLineWalk(Line(-700, -50, -100, -50)), (Cells{{-2, -1}, {-1, -1}, {0, -1}}));
  // Diagonal: x and y cross the borders in the same sample, so the walk jumps corner to corner.
  EXPECT_EQ(CellsOfLineWalk(Line(10, 10, 610, 610)), (Cells{{0, 1}, {1, 2}, {2, 3}}));
  // A thick line is walked thickness - 1 units along its normal (up for a left-to-right line).
  EXPECT_EQ(CellsOfLineWalk(Line(0, 290, 100, 290, 1.0f)), (Cells{{0, 1}}));
  EXPECT_EQ(CellsOfLineWalk(Line(0, 290, 100, 290, 21.0f)), (Cells{{0, 2}}));
  // Across a border near its end: the walk stops within one unit before P2.
  EXPECT_EQ(CellsOfLineWalk(Line(250, 5, 299.5f, 5)), (Cells{{0, 1}}));
  EXPECT_EQ(CellsOfLineWalk(Line(250, 5, 301, 5)), (Cells{{0, 1}, {1, 1}}));
}

TEST(LineGrid, InsertAndWithdrawAreSymmetric) {
  LineGrid grid;
  EXPECT_EQ(FindCell(grid, 0, 0), nullptr);
  std::vector<SolidLine> lines;
  Lcg random;
  for (int i = 0; i < 400; ++i) {
    const float x = random.Next(-3000, 3000), y = random.Next(-3000, 3000);
    lines.push_back(Line(x, y, x + random.Next(-700, 700), y + random.Next(-700, 700), random.Next(0, 30)));
    InsertLine(grid, lines.back(), LineId(i));
  }
  // Every line is listed in exactly the cells of its walk.
  for (size_t id = 0; id < lines.size(); ++id)
    for (GridCell cell : CellsOfLineWalk(lines[id])) {
      const XGridNode* node = FindCell(grid, cell.column, cell.row);
      ASSERT_NE(node, nullptr);
      EXPECT_EQ(node->column, cell.column);
      EXPECT_EQ(node->row, cell.row);
      EXPECT_EQ(std::count(node->lines.begin(), node->lines.end(), LineId(id)), 1);
    }
  const int cellsBefore = GridCellCount(grid);
  WithdrawLine(grid, Line(0, 0, 500, 500), 9999);
  EXPECT_EQ(GridCellCount(grid), cellsBefore);
  for (size_t id = 0; id < lines.size(); ++id) WithdrawLine(grid, lines[id], LineId(id));
  EXPECT_EQ(GridRowCount(grid), 0);
  EXPECT_EQ(GridCellCount(grid), 0);
  EXPECT_EQ(FindCell(grid, 0, 1), nullptr);
}

TEST(LineGrid, CellsKeepCreationOrderThroughRemovalsAndReturns) {
  LineGrid grid;
  const SolidLine b = Line(10, 20, 50, 20);
  for (LineId id : {0, 1, 2}) InsertLine(grid, Line(10, 10 + 10 * float(id), 50, 10 + 10 * float(id)), id);
  const XGridNode* cell = FindCell(grid, 0, 1);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->lines, (std::vector<LineId>{0, 1, 2}));
  EXPECT_TRUE(RemoveFromCell(grid, 1, 0, 1));
  EXPECT_FALSE(RemoveFromCell(grid, 1, 0, 1));
  EXPECT_FALSE(RemoveFromCell(grid, 1, 5, 5));
  cell = FindCell(grid, 0, 1);
  EXPECT_EQ(cell->lines, (std::vector<LineId>{0, 2}));
  // A line that comes back takes its old place; a new one goes to the end.
  InsertLine(grid, b, 1);
  EXPECT_EQ(FindCell(grid, 0, 1)->lines, (std::vector<LineId>{0, 1, 2}));
  InsertLine(grid, b, 7);
  EXPECT_EQ(FindCell(grid, 0, 1)->lines, (std::vector<LineId>{0, 1, 2, 7}));
  ClearGrid(grid);
  EXPECT_EQ(GridCellCount(grid), 0);
  EXPECT_EQ(FindCell(grid, 0, 1), nullptr);
}

TEST(LineGrid, RangeLookupsMatchCellByCellLookups) {
  LineGrid grid;
  Lcg random;
  for (int i = 0; i < 60; ++i) {
    const float x = random.Next(-9000, 9000), y = random.Next(-9000, 9000);
    InsertLine(grid, Line(x, y, x + random.Next(-400, 400), y + random.Next(-400, 400)), LineId(i));
  }
  // Small ranges are looked up cell by cell, large ones answered from the existing cells;
  // both must give the same cells in the same order.
  const GridCell ranges[][2] = {{{-2, -2}, {2, 2}}, {{-40, -40}, {40, 40}}, {{-5, -40}, {3, 40}}, {{7, 1}, {-7, 9}}};
  for (const auto& range : ranges)
    EXPECT_EQ(Visited(grid, range[0], range[1]), LookUpEach(grid, range[0], range[1]));
  // A range over the whole 32-bit plane finishes at once and holds every cell in row, column order.
  const auto all = Visited(grid, {-INT32_MAX, -INT32_MAX}, {INT32_MAX, INT32_MAX});
  EXPECT_EQ(int(all.size()), GridCellCount(grid));
  for (size_t i = 1; i < all.size(); ++i)
    EXPECT_TRUE(all[i - 1]->row < all[i]->row || (all[i - 1]->row == all[i]->row && all[i - 1]->column < all[i]->column));
}

TEST(LineGrid, CachedLookupsStayRightAcrossSweepsAndRemovals) {
  // A plain ordered model of the grid, checked after every change with ascending sweeps
  // (the pattern collision uses) and with descending lookups.
  LineGrid grid;
  std::map<std::pair<int, int>, std::vector<LineId>> model;
  LineId next = 0;
  for (int row = -3; row <= 3; ++row)
    for (int column = -3; column <= 3; ++column) {
      AddToCell(grid, next, column, row);
      model[{row, column}].push_back(next++);
    }
  auto check = [&] {
    for (int pass = 0; pass < 2; ++pass)
      for (int row = -4; row <= 4; ++row)
        for (int column = -4; column <= 4; ++column) {
          const int r = pass == 0 ? row : -row, c = pass == 0 ? column : -column;
          const XGridNode* cell = FindCell(grid, c, r);
          auto found = model.find({r, c});
          if (found == model.end()) {
            EXPECT_EQ(cell, nullptr) << c << "," << r;
          } else {
            ASSERT_NE(cell, nullptr) << c << "," << r;
            EXPECT_EQ(cell->lines, found->second);
          }
        }
  };
  check();
  // Remove the cell that was just found (the cached one), then whole rows.
  ASSERT_NE(FindCell(grid, 1, 1), nullptr);
  EXPECT_TRUE(RemoveFromCell(grid, model[{1, 1}][0], 1, 1));
  model.erase({1, 1});
  EXPECT_EQ(FindCell(grid, 1, 1), nullptr);
  check();
  for (int column = -3; column <= 3; ++column) {
    EXPECT_TRUE(RemoveFromCell(grid, model[{-2, column}][0], column, -2));
    model.erase({-2, column});
  }
  check();
  EXPECT_EQ(GridRowCount(grid), 6);
}

TEST(LineGrid, TheCellCountBoundHoldsForEveryWalkAndIsCloseAtOrdinaryCoordinates) {
  const float m = kMaxLineCoordinate;
  const struct { SolidLine line; bool ordinary; } cases[] = {
      {Line(0, 10, 1000, 10), true},         {Line(10, 0, 10, 1000), true},
      {Line(-700, -50, -100, -50), true},    {Line(10, 10, 610, 610), true},
      {Line(0, 290, 100, 290, 21.0f), true}, {Line(250, 5, 301, 5), true},
      {Line(-5, -5, 5, 5), true},            {Line(12345, -9876, 12390, -9850, 4.0f), true},
      {Line(-m, -m, m, m), false},           {Line(m, 5, -m, 7, 300.0f), false}};
  for (const auto& c : cases) {
    const int64_t walked = int64_t(CellsOfLineWalk(c.line).size());
    const int64_t bound = LineWalkCellsAtMost({c.line.x1, c.line.y1}, {c.line.x2, c.line.y2}, c.line.thickness);
    EXPECT_GE(bound, walked) << c.line.x1 << "," << c.line.y1 << " " << c.line.x2 << "," << c.line.y2;
    // Far out the float steps may drift, but never past twice the straight reach.
    const int64_t reach = int64_t((std::fabs(c.line.x2 - c.line.x1) + std::fabs(c.line.y2 - c.line.y1)) / 300);
    EXPECT_LE(bound, c.ordinary ? walked + 4 : 2 * reach + 8) << c.line.x1 << "," << c.line.y1;
  }
}
