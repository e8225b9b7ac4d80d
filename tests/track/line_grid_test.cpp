#include "track/line_grid.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <map>
#include <random>
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

// Scattered lines, the same on every run.
float Next(std::minstd_rand& random, float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); }

}  // namespace

TEST(LineGrid, CellMappingIsAsymmetricAndSaturates) {
  // Columns round towards zero, rows away from it (y = 0 is row 0); far beyond the 32-bit range
  // the cell saturates, and NaN lands in (0, 0), never undefined.
  const struct { float x, y; GridCell cell; } cases[] = {{-299, 0, {0, 0}},    {299, 0, {0, 0}},   {0, 1, {0, 1}},       {0, -1, {0, -1}},
               {0, 299, {0, 1}},     {0, 301, {0, 2}},   {0, -301, {0, -2}},   {301, 0, {1, 0}},
               {-301, 0, {-1, 0}},   {-601, 0, {-2, 0}}, {1e30f, -1e30f, {INT32_MAX, -INT32_MAX}},
               {-INFINITY, INFINITY, {-INT32_MAX, INT32_MAX}}, {NAN, NAN, {0, 0}}};
  for (const auto& c : cases) EXPECT_EQ(CellOfPoint(c.x, c.y), c.cell) << c.x << ", " << c.y;
}

// The cells each line is walked through (where listed), and the bound the track loader prices
// lines by, which must hold for every walk and be close at ordinary coordinates.
TEST(LineGrid, CellWalkFollowsTheLineWithinItsCellCountBound) {
  const float m = kMaxLineCoordinate;
  const struct { SolidLine line; Cells cells; } cases[] = {
      // Horizontal: the walk starts 10 units before P1, at x = -10, still column 0.
      {Line(0, 10, 1000, 10), {{0, 1}, {1, 1}, {2, 1}, {3, 1}}},
      // Vertical: from y = -10 (row -1) through y = 0 exactly (row 0) up to y = 999 (row 4).
      {Line(10, 0, 10, 1000), {{0, -1}, {0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}}},
      // Negative coordinates, walked both ways.
      {Line(-100, -50, -700, -50), {{0, -1}, {-1, -1}, {-2, -1}}},
      {Line(-700, -50, -100, -50), {{-2, -1}, {-1, -1}, {0, -1}}},
      // Diagonal: x and y cross the borders in the same sample, so the walk jumps corner to corner.
      {Line(10, 10, 610, 610), {{0, 1}, {1, 2}, {2, 3}}},
      // A thick line is walked thickness - 1 units along its normal (up for a left-to-right line).
      {Line(0, 290, 100, 290, 1.0f), {{0, 1}}},
      {Line(0, 290, 100, 290, 21.0f), {{0, 2}}},
      // Across a border near its end: the walk stops within one unit before P2.
      {Line(250, 5, 299.5f, 5), {{0, 1}}},
      {Line(250, 5, 301, 5), {{0, 1}, {1, 1}}},
      {Line(-5, -5, 5, 5), {}}, {Line(12345, -9876, 12390, -9850, 4.0f), {}},
      // Corner to corner of the world, where the float steps may drift.
      {Line(-m, -m, m, m), {}}, {Line(m, 5, -m, 7, 300.0f), {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.line.x1 << "," << c.line.y1 << " " << c.line.x2 << "," << c.line.y2);
    const Cells walk = CellsOfLineWalk(c.line);
    if (!c.cells.empty()) {
      EXPECT_EQ(walk, c.cells);
    }
    const int64_t bound = LineWalkCellsAtMost({c.line.x1, c.line.y1}, {c.line.x2, c.line.y2}, c.line.thickness);
    EXPECT_GE(bound, int64_t(walk.size()));
    // Far out never past twice the straight reach.
    const int64_t reach = int64_t((std::fabs(c.line.x2 - c.line.x1) + std::fabs(c.line.y2 - c.line.y1)) / 300);
    EXPECT_LE(bound, std::fabs(c.line.x1) < 1e6f ? int64_t(walk.size()) + 4 : 2 * reach + 8);
  }
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
  EXPECT_FALSE(RemoveFromCell(grid, 9, 0, 1));  // beyond every id listed there
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
  std::minstd_rand random(12345);
  for (int i = 0; i < 60; ++i) {
    const float x = Next(random, -9000, 9000), y = Next(random, -9000, 9000);
    InsertLine(grid, Line(x, y, x + Next(random, -400, 400), y + Next(random, -400, 400)), LineId(i));
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
