// Where the scenery lines are, for drawing only: scenery never collides, so it has no line grid
// walk of its own; each line is listed in the 300-unit cells of points sampled along it at most
// half a cell apart. Cells list line ids ascending (creation order), like the line grid.
#pragma once
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "track/lines.h"

struct SceneryGrid {
  std::unordered_map<int64_t, std::vector<LineId>> cells;  // key: column << 32 | row
};

void IndexSceneryLine(SceneryGrid& grid, const SceneryLine& line, LineId id);
void UnindexSceneryLine(SceneryGrid& grid, const SceneryLine& line, LineId id);  // empty cells go
void ClearSceneryGrid(SceneryGrid& grid);
int64_t SceneryCellsAtMost(const SceneryLine& line);  // at least the cells IndexSceneryLine lists the line in
// The cells that may hold a sample of a line reaching into the rectangle grown by margin
// (world units): one cell more on every side, as a point of a line lies within half a sample
// step of a listed sample.
struct SceneryCellRange {
  int32_t lowColumn = 0, lowRow = 0, highColumn = 0, highRow = 0;
  friend bool operator==(const SceneryCellRange&, const SceneryCellRange&) = default;
};
SceneryCellRange SceneryCellsOver(float minX, float minY, float maxX, float maxY, float margin);
// ids = every line listed in the cells of the range, ascending (creation order), each once.
void CollectSceneryCandidates(const SceneryGrid& grid, SceneryCellRange range, std::vector<LineId>* ids);
