#include "track/line_drawing.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <unordered_map>

#include "track/line_grid.h"
#include "track/world.h"

// ---- Types ----
namespace {
// The candidates of the last query, kept while the cells under the view and the lines stay the
// same, so a still or slowly moving view costs only the cull test of its candidates.
struct ViewCache {
  bool valid = false;
  bool walk = false;                              // most of the track was in view: walk the list
  int32_t range[4] = {};                          // cell range: low column, low row, high column, high row
  std::vector<uint32_t> seqs;                     // creation order, each once
};

// Creation order of the solid lines, so that lines found through the grid's cells can be put
// back into list order.
struct SolidOrder {
  const World* world = nullptr;
  std::vector<const SolidLine*> bySeq;            // list order
  std::unordered_map<const SolidLine*, uint32_t> seq;
  float maxThickness = 0;
  bool stale = true;
  ViewCache view;
};

// Scenery has no grid of its own: each line is listed in the cells of points sampled along it at
// most half a cell apart.
struct SceneryIndex {
  const World* world = nullptr;
  std::vector<const SceneryLine*> bySeq;          // list order
  std::unordered_map<int64_t, std::vector<uint32_t>> cells;
  float maxThickness = 0;
  bool stale = true;
  ViewCache view;
};

// Vertices waiting for one glDrawArrays: a run of lines of one primitive and one colour, in
// order. A constant colour keeps the software rasterizer on its fastest path.
struct Batch {
  GLenum mode = GL_LINES;
  uint8_t colour[4] = {0, 0, 0, 255};
  std::vector<float> xy;
};

// ---- State: rebuilt whenever the lines were removed or replaced, or another world is drawn ----
struct LineDrawing {
  SolidOrder solid;
  SceneryIndex scenery;
  Batch batch;
  std::vector<const SolidLine*> solidInView;
  std::vector<const SceneryLine*> sceneryInView;
};
LineDrawing drawing;

constexpr float kSceneryCell = 300.0f;            // world units
constexpr float kScenerySample = 150.0f;          // at most half a cell between samples
constexpr float kDiscAngleStep = 0.3926875f;      // the disc's octagon, as the device draws it
constexpr float kThinLine = 2.0f;                 // thicker lines are drawn as filled quads

// ---- Internal functions ----
template <typename Line>
bool Culled(const Line& line, const CullRect& cull) {
  return (line.x1 < cull.minX && line.x2 < cull.minX) || (line.y1 < cull.minY && line.y2 < cull.minY) ||
         (line.x1 > cull.maxX && line.x2 > cull.maxX) || (line.y1 > cull.maxY && line.y2 > cull.maxY);
}

// Finds the lines appended to list since the last sync; false when the list changed in any other
// way (then the caller rebuilds). `known` is the list as last seen, in order.
template <typename Line>
bool AppendedLines(const std::list<Line>& list, const std::vector<const Line*>& known,
                   std::vector<const Line*>* added) {
  added->clear();
  if (list.size() < known.size()) return false;
  if (known.empty()) {
    for (const Line& line : list) added->push_back(&line);
    return true;
  }
  if (&list.front() != known.front()) return false;
  auto it = list.end();
  for (size_t n = list.size() - known.size(); n > 0; --n) --it;
  if (&*std::prev(it) != known.back()) return false;
  for (; it != list.end(); ++it) added->push_back(&*it);
  return true;
}

void AddSolid(SolidOrder& order, const SolidLine* line) {
  order.seq[line] = static_cast<uint32_t>(order.bySeq.size());
  order.bySeq.push_back(line);
  if (line->thickness > order.maxThickness) order.maxThickness = line->thickness;
}

void SyncSolid(World& world) {
  SolidOrder& order = drawing.solid;
  std::vector<const SolidLine*> added;
  if (order.stale || order.world != &world || !AppendedLines(world.solidLines, order.bySeq, &added)) {
    order = SolidOrder{};
    order.world = &world;
    order.stale = false;
    order.seq.reserve(world.solidLines.size());
    order.bySeq.reserve(world.solidLines.size());
    for (const SolidLine& line : world.solidLines) AddSolid(order, &line);
    return;
  }
  for (const SolidLine* line : added) AddSolid(order, line);
  if (!added.empty()) order.view.valid = false;
}

int32_t SceneryCellCoordinate(float v) {
  float c = std::floor(v / kSceneryCell);
  if (!(c > -2.0e9f)) return -2000000000;
  if (c > 2.0e9f) return 2000000000;
  return static_cast<int32_t>(c);
}

int64_t SceneryCellKey(int32_t column, int32_t row) {
  return (static_cast<int64_t>(column) << 32) | static_cast<uint32_t>(row);
}

void AddScenery(SceneryIndex& index, const SceneryLine* line) {
  uint32_t seq = static_cast<uint32_t>(index.bySeq.size());
  index.bySeq.push_back(line);
  if (line->thickness > index.maxThickness) index.maxThickness = line->thickness;
  float dx = line->x2 - line->x1, dy = line->y2 - line->y1;
  float length = std::sqrt(dx * dx + dy * dy);
  int samples = std::isfinite(length) ? static_cast<int>(std::ceil(length / kScenerySample)) : 0;
  int64_t previous = 0;
  bool any = false;
  for (int i = 0; i <= samples; ++i) {
    float t = samples > 0 ? static_cast<float>(i) / static_cast<float>(samples) : 0.0f;
    int64_t key = SceneryCellKey(SceneryCellCoordinate(line->x1 + dx * t), SceneryCellCoordinate(line->y1 + dy * t));
    if (any && key == previous) continue;
    index.cells[key].push_back(seq);
    previous = key;
    any = true;
  }
}

void SyncScenery(World& world) {
  SceneryIndex& index = drawing.scenery;
  std::vector<const SceneryLine*> added;
  if (index.stale || index.world != &world || !AppendedLines(world.sceneryLines, index.bySeq, &added)) {
    index = SceneryIndex{};
    index.world = &world;
    index.stale = false;
    index.bySeq.reserve(world.sceneryLines.size());
    for (const SceneryLine& line : world.sceneryLines) AddScenery(index, &line);
    return;
  }
  for (const SceneryLine* line : added) AddScenery(index, line);
  if (!added.empty()) index.view.valid = false;
}

// Sorted, each once.
void SortUnique(std::vector<uint32_t>& seqs) {
  std::sort(seqs.begin(), seqs.end());
  seqs.erase(std::unique(seqs.begin(), seqs.end()), seqs.end());
}

// True when the cache holds the query of this cell range; otherwise marks it for this range.
bool SameView(ViewCache& view, int32_t c0, int32_t r0, int32_t c1, int32_t r1) {
  if (view.valid && view.range[0] == c0 && view.range[1] == r0 && view.range[2] == c1 && view.range[3] == r1)
    return true;
  view.valid = true;
  view.range[0] = c0;
  view.range[1] = r0;
  view.range[2] = c1;
  view.range[3] = r1;
  view.seqs.clear();
  return false;
}

// ---- Batching ----
void Flush() {
  Batch& batch = drawing.batch;
  if (batch.xy.empty()) return;
  glColor4ubv(batch.colour);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(2, GL_FLOAT, 0, batch.xy.data());
  glDrawArrays(batch.mode, 0, static_cast<GLsizei>(batch.xy.size() / 2));
  glDisableClientState(GL_VERTEX_ARRAY);
  batch.xy.clear();
}

void Vertex(float x, float y) {
  drawing.batch.xy.push_back(x);
  drawing.batch.xy.push_back(y);
}

// Starts a new run when the primitive or the colour changes.
void UseRun(GLenum mode, const uint8_t colour[4]) {
  Batch& batch = drawing.batch;
  if (batch.mode != mode || memcmp(batch.colour, colour, 4) != 0) {
    Flush();
    batch.mode = mode;
    memcpy(batch.colour, colour, 4);
  }
}

// One line as the immediate-mode drawing makes it: a GL line when thin; else the strip
// P1 + o, P1 - o, P2 + o, P2 - o (o = normal x thickness) as two triangles, then the octagon
// disc of radius thickness on P2 as a fan of six triangles.
template <typename Line>
void EmitLine(const Line& line, const uint8_t colour[4]) {
  if (line.thickness <= kThinLine) {
    UseRun(GL_LINES, colour);
    Vertex(line.x1, line.y1);
    Vertex(line.x2, line.y2);
    return;
  }
  UseRun(GL_TRIANGLES, colour);
  float ox = line.nx * line.thickness, oy = line.ny * line.thickness;
  float ax = line.x1 + ox, ay = line.y1 + oy, bx = line.x1 - ox, by = line.y1 - oy;
  float cx = line.x2 + ox, cy = line.y2 + oy, dx = line.x2 - ox, dy = line.y2 - oy;
  Vertex(ax, ay);
  Vertex(bx, by);
  Vertex(cx, cy);
  Vertex(bx, by);
  Vertex(cx, cy);
  Vertex(dx, dy);
  float px[8], py[8];
  for (int k = 0; k < 8; ++k) {
    float a = static_cast<float>(2 * k) * kDiscAngleStep;
    px[k] = line.thickness * cosf(a) + line.x2;
    py[k] = line.thickness * sinf(a) + line.y2;
  }
  for (int k = 1; k < 7; ++k) {
    Vertex(px[0], py[0]);
    Vertex(px[k], py[k]);
    Vertex(px[k + 1], py[k + 1]);
  }
}

void BeginLines(float zoom) {
  glEnable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glLineWidth(zoom * 2.1f);
  drawing.batch.mode = GL_LINES;
}
}  // namespace

// ---- Public functions ----
void ForgetLineOrder() {
  drawing.solid.stale = true;
  drawing.scenery.stale = true;
}

void CollectSolidLinesInView(World& world, const CullRect& cull, std::vector<const SolidLine*>* out) {
  out->clear();
  SyncSolid(world);
  const SolidOrder& order = drawing.solid;
  if (order.bySeq.empty()) return;
  // The grid lists a line along a walk shifted sideways by its thickness and starting 10 units
  // before its first end; widening the query by both keeps every line that reaches into view.
  float margin = order.maxThickness + 20.0f;
  GridCell low = CellOfPoint(cull.minX - margin, cull.minY - margin);
  GridCell high = CellOfPoint(cull.maxX + margin, cull.maxY + margin);
  ViewCache& view = drawing.solid.view;
  if (!SameView(view, low.column, low.row, high.column, high.row)) {
    size_t candidates = 0;
    ForEachCellInRange(world.grid, low, high, [&](const XGridNode& cell) { candidates += cell.lines.size(); });
    // Most of the track in view: the list itself is the cheapest ordered walk.
    view.walk = candidates * 2 >= order.bySeq.size();
    if (!view.walk) {
      ForEachCellInRange(world.grid, low, high, [&](const XGridNode& cell) {
        for (const SolidLine* line : cell.lines) {
          auto found = order.seq.find(line);
          if (found != order.seq.end()) view.seqs.push_back(found->second);
        }
      });
      SortUnique(view.seqs);
    }
  }
  if (view.walk) {
    for (const SolidLine& line : world.solidLines)
      if (!Culled(line, cull)) out->push_back(&line);
    return;
  }
  for (uint32_t s : view.seqs)
    if (!Culled(*order.bySeq[s], cull)) out->push_back(order.bySeq[s]);
}

void CollectSceneryLinesInView(World& world, const CullRect& cull, std::vector<const SceneryLine*>* out) {
  out->clear();
  SyncScenery(world);
  const SceneryIndex& index = drawing.scenery;
  if (index.bySeq.empty()) return;
  // A point of a line lies within half a sample step of a listed sample: one cell of margin.
  float margin = index.maxThickness;
  int32_t c0 = SceneryCellCoordinate(cull.minX - margin) - 1, c1 = SceneryCellCoordinate(cull.maxX + margin) + 1;
  int32_t r0 = SceneryCellCoordinate(cull.minY - margin) - 1, r1 = SceneryCellCoordinate(cull.maxY + margin) + 1;
  ViewCache& view = drawing.scenery.view;
  if (!SameView(view, c0, r0, c1, r1)) {
    std::vector<uint32_t>& seqs = view.seqs;
    double area = (double(c1) - c0 + 1) * (double(r1) - r0 + 1);
    if (area <= double(index.cells.size())) {
      for (int64_t c = c0; c <= c1; ++c)
        for (int64_t r = r0; r <= r1; ++r) {
          auto found = index.cells.find(SceneryCellKey(int32_t(c), int32_t(r)));
          if (found != index.cells.end()) seqs.insert(seqs.end(), found->second.begin(), found->second.end());
        }
    } else {
      for (const auto& [key, list] : index.cells) {
        int32_t c = int32_t(key >> 32), r = int32_t(uint32_t(key & 0xffffffffu));
        if (c >= c0 && c <= c1 && r >= r0 && r <= r1) seqs.insert(seqs.end(), list.begin(), list.end());
      }
    }
    view.walk = seqs.size() * 2 >= index.bySeq.size();
    SortUnique(seqs);
  }
  if (view.walk) {
    for (const SceneryLine& line : world.sceneryLines)
      if (!Culled(line, cull)) out->push_back(&line);
    return;
  }
  for (uint32_t s : view.seqs)
    if (!Culled(*index.bySeq[s], cull)) out->push_back(index.bySeq[s]);
}

void DrawSolidLinesInView(World& world, float zoom, const CullRect& cull) {
  CollectSolidLinesInView(world, cull, &drawing.solidInView);
  BeginLines(zoom);
  static const uint8_t kBlack[4] = {0, 0, 0, 255};
  static const uint8_t kRed[4] = {255, 0, 0, 255};
  for (const SolidLine* line : drawing.solidInView) {
    bool boost = line->kind == LineKind::BoostForward || line->kind == LineKind::BoostBackward;
    EmitLine(*line, boost ? kRed : kBlack);
  }
  Flush();
  glColor3ub(0, 0, 0);
}

void DrawSceneryLinesInView(World& world, float zoom, const CullRect& cull) {
  CollectSceneryLinesInView(world, cull, &drawing.sceneryInView);
  BeginLines(zoom);
  uint8_t colour[4] = {0, 0, 0, 255};
  for (const SceneryLine* line : drawing.sceneryInView) {
    colour[0] = line->r;
    colour[1] = line->g;
    colour[2] = line->b;
    EmitLine(*line, colour);
  }
  Flush();
  if (!drawing.sceneryInView.empty()) {
    const SceneryLine& last = *drawing.sceneryInView.back();
    glColor3ub(last.r, last.g, last.b);
  }
}
