#include "track/scenery_grid.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr float kSceneryCell = 300.0f;            // world units
constexpr float kScenerySample = 150.0f;          // at most half a cell between samples

int32_t CellCoordinate(float v) {
  const float c = std::floor(v / kSceneryCell);
  if (!(c > -2.0e9f)) return -2000000000;
  if (c > 2.0e9f) return 2000000000;
  return static_cast<int32_t>(c);
}

int64_t CellKey(int32_t column, int32_t row) { return (static_cast<int64_t>(column) << 32) | static_cast<uint32_t>(row); }

// Calls visit(key) once for each cell entered by the samples along the line.
template <typename Visit>
void WalkSamples(const SceneryLine& line, Visit&& visit) {
  const float dx = line.x2 - line.x1, dy = line.y2 - line.y1;
  const float length = std::sqrt(dx * dx + dy * dy);
  const int samples = std::isfinite(length) ? static_cast<int>(std::ceil(length / kScenerySample)) : 0;
  int64_t previous = 0;
  bool any = false;
  for (int i = 0; i <= samples; ++i) {
    const float t = samples > 0 ? static_cast<float>(i) / static_cast<float>(samples) : 0.0f;
    const int64_t key = CellKey(CellCoordinate(line.x1 + dx * t), CellCoordinate(line.y1 + dy * t));
    if (any && key == previous) continue;
    visit(key);
    previous = key;
    any = true;
  }
}

}  // namespace

void IndexSceneryLine(SceneryGrid& grid, const SceneryLine& line, LineId id) {
  WalkSamples(line, [&](int64_t key) {
    std::vector<LineId>& ids = grid.cells[key];
    if (ids.empty() || ids.back() < id) {
      ids.push_back(id);
      return;
    }
    auto at = std::lower_bound(ids.begin(), ids.end(), id);
    if (*at != id) ids.insert(at, id);
  });
}

void UnindexSceneryLine(SceneryGrid& grid, const SceneryLine& line, LineId id) {
  WalkSamples(line, [&](int64_t key) {
    auto cell = grid.cells.find(key);
    if (cell == grid.cells.end()) return;
    std::vector<LineId>& ids = cell->second;
    auto at = std::lower_bound(ids.begin(), ids.end(), id);
    if (at != ids.end() && *at == id) ids.erase(at);
    if (ids.empty()) grid.cells.erase(cell);
  });
}

void ClearSceneryGrid(SceneryGrid& grid) { grid.cells.clear(); }

// The samples move monotonically from P1 to P2, so they enter at most 1 + the columns and rows
// between the two ends' cells, and never more cells than there are samples.
int64_t SceneryCellsAtMost(const SceneryLine& line) {
  const float dx = line.x2 - line.x1, dy = line.y2 - line.y1;
  const float length = std::sqrt(dx * dx + dy * dy);
  const int64_t samples = std::isfinite(length) ? int64_t(std::ceil(length / kScenerySample)) : 0;
  const int64_t columns = std::abs(int64_t(CellCoordinate(line.x1 + dx)) - CellCoordinate(line.x1));
  const int64_t rows = std::abs(int64_t(CellCoordinate(line.y1 + dy)) - CellCoordinate(line.y1));
  return std::min(samples + 1, 1 + columns + rows);
}

SceneryCellRange SceneryCellsOver(float minX, float minY, float maxX, float maxY, float margin) {
  return {CellCoordinate(minX - margin) - 1, CellCoordinate(minY - margin) - 1, CellCoordinate(maxX + margin) + 1,
          CellCoordinate(maxY + margin) + 1};
}

void CollectSceneryCandidates(const SceneryGrid& grid, SceneryCellRange range, std::vector<LineId>* ids) {
  ids->clear();
  const int32_t c0 = range.lowColumn, c1 = range.highColumn, r0 = range.lowRow, r1 = range.highRow;
  const double area = (double(c1) - c0 + 1) * (double(r1) - r0 + 1);
  if (area <= double(grid.cells.size())) {
    for (int64_t c = c0; c <= c1; ++c)
      for (int64_t r = r0; r <= r1; ++r) {
        auto found = grid.cells.find(CellKey(int32_t(c), int32_t(r)));
        if (found != grid.cells.end()) ids->insert(ids->end(), found->second.begin(), found->second.end());
      }
  } else {
    for (const auto& [key, list] : grid.cells) {
      const int32_t c = int32_t(key >> 32), r = int32_t(uint32_t(key & 0xffffffffu));
      if (c >= c0 && c <= c1 && r >= r0 && r <= r1) ids->insert(ids->end(), list.begin(), list.end());
    }
  }
  std::sort(ids->begin(), ids->end());
  ids->erase(std::unique(ids->begin(), ids->end()), ids->end());
}
