#include "track/line_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "graphics/draw.h"
#include "track/line_grid.h"
#include "track/world.h"

namespace {

constexpr float kDiscAngleStep = 0.3926875f;      // the disc's octagon, as the device draws it
constexpr float kThinLine = 2.0f;                 // thicker lines are drawn as filled quads
// Chevrons along a boost line point the way it pushes (world units): one for every
// kChevronSpacing of its length, at least one, each reaching kChevronReach along the line either
// side of its middle and kChevronWing beyond the line's edge on both sides, so the arms show
// on a line of the same colour.
constexpr float kChevronSpacing = 40.0f;
constexpr float kChevronReach = 4.0f;
constexpr float kChevronWing = 4.0f;

template <typename Line>
bool Culled(const Line& line, const CullRect& cull) {
  return (line.x1 < cull.minX && line.x2 < cull.minX) || (line.y1 < cull.minY && line.y2 < cull.minY) ||
         (line.x1 > cull.maxX && line.x2 > cull.maxX) || (line.y1 > cull.maxY && line.y2 > cull.maxY);
}

// The part of the line inside the rectangle as fractions [t0, t1] of the way from P1 to P2;
// false when no part is inside (Liang-Barsky clipping).
bool ClipToRect(const SolidLine& line, const CullRect& cull, float* t0, float* t1) {
  const float dx = line.x2 - line.x1, dy = line.y2 - line.y1;
  const float p[4] = {-dx, dx, -dy, dy};
  const float q[4] = {line.x1 - cull.minX, cull.maxX - line.x1, line.y1 - cull.minY, cull.maxY - line.y1};
  float lo = 0.0f, hi = 1.0f;
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0f) {
      if (q[i] < 0.0f) return false;
      continue;
    }
    const float r = q[i] / p[i];
    if (p[i] < 0.0f)
      lo = std::max(lo, r);
    else
      hi = std::min(hi, r);
  }
  *t0 = lo;
  *t1 = hi;
  return lo <= hi;
}

// Sorted, each once.
void SortUnique(std::vector<LineId>& ids) {
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
}

// True when the cache holds the query of this cell range on these lines; otherwise marks it so.
bool SameView(LineViewCache& view, uint64_t stamp, int32_t c0, int32_t r0, int32_t c1, int32_t r1) {
  if (view.linesStamp == stamp && view.range[0] == c0 && view.range[1] == r0 && view.range[2] == c1 &&
      view.range[3] == r1)
    return true;
  view.linesStamp = stamp;
  view.range[0] = c0;
  view.range[1] = r0;
  view.range[2] = c1;
  view.range[3] = r1;
  view.ids.clear();
  return false;
}

// The live lines of the array not culled, in creation order: from the cached candidates, or
// from the whole array when most of the track is in view.
template <typename Line>
void CullCandidates(const std::vector<Line>& lines, const LineViewCache& view, const CullRect& cull,
                    std::vector<LineId>* out) {
  if (view.walk) {
    for (size_t id = 0; id < lines.size(); ++id)
      if (lines[id].live && !Culled(lines[id], cull)) out->push_back(LineId(id));
    return;
  }
  for (LineId id : view.ids)
    if (!Culled(lines[size_t(id)], cull)) out->push_back(id);
}

// Vertices waiting for one DrawVertices: a run of lines of one primitive and one colour, in
// order. A constant colour keeps the software rasterizer on its fastest path.
class Batch {
 public:
  explicit Batch(std::vector<float>& vertices) : xy_(vertices) { xy_.clear(); }
  ~Batch() { Flush(); }

  // One line as the immediate-mode drawing makes it: a line when thin; else the strip
  // P1 + o, P1 - o, P2 + o, P2 - o (o = normal x thickness) as two triangles, then the octagon
  // disc of radius thickness on P2 as a fan of six triangles.
  template <typename Line>
  void Emit(const Line& line, const uint8_t colour[4]) {
    if (line.thickness <= kThinLine) {
      UseRun(Primitive::Lines, colour);
      Vertex(line.x1, line.y1);
      Vertex(line.x2, line.y2);
      return;
    }
    UseRun(Primitive::Triangles, colour);
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

  // The chevrons of a boost line in the line's own run, so they cost no draw call of their own.
  void EmitChevrons(const SolidLine& line, const CullRect& cull, const uint8_t colour[4]) {
    UseRun(line.thickness <= kThinLine ? Primitive::Lines : Primitive::Triangles, colour);
    AppendChevronVertices(line, cull, &xy_);
  }

  void Flush() {
    if (xy_.empty()) return;
    SetColour(colour_[0], colour_[1], colour_[2], colour_[3]);
    DrawVertices(primitive_, xy_.data(), static_cast<int>(xy_.size() / 2));
    xy_.clear();
  }

 private:
  void Vertex(float x, float y) {
    xy_.push_back(x);
    xy_.push_back(y);
  }

  // Starts a new run when the primitive or the colour changes.
  void UseRun(Primitive primitive, const uint8_t colour[4]) {
    if (primitive_ != primitive || memcmp(colour_, colour, 4) != 0) {
      Flush();
      primitive_ = primitive;
      memcpy(colour_, colour, 4);
    }
  }

  std::vector<float>& xy_;
  Primitive primitive_ = Primitive::Lines;
  uint8_t colour_[4] = {0, 0, 0, 255};
};

void BeginLines(float zoom) {
  EnableBlend(true);
  EnableTexture(false);
  SetLineWidth(zoom * 2.1f);
}

}  // namespace

void CollectSolidLinesInView(const World& world, const CullRect& cull, LineDrawCache& cache, std::vector<LineId>* out) {
  out->clear();
  if (SolidLineCount(world) == 0) return;
  // The grid lists a line along a walk shifted sideways by its thickness and starting 10 units
  // before its first end; widening the query by both keeps every line that reaches into view.
  const float margin = world.thickestSolid + 20.0f;
  const GridCell low = CellOfPoint(cull.minX - margin, cull.minY - margin);
  const GridCell high = CellOfPoint(cull.maxX + margin, cull.maxY + margin);
  LineViewCache& view = cache.solid;
  if (!SameView(view, world.linesStamp, low.column, low.row, high.column, high.row)) {
    size_t candidates = 0;
    ForEachCellInRange(world.grid, low, high, [&](const XGridNode& cell) { candidates += cell.lines.size(); });
    // Most of the track in view: the array itself is the cheapest ordered walk.
    view.walk = candidates * 2 >= size_t(SolidLineCount(world));
    if (!view.walk) {
      ForEachCellInRange(world.grid, low, high, [&](const XGridNode& cell) {
        view.ids.insert(view.ids.end(), cell.lines.begin(), cell.lines.end());
      });
      SortUnique(view.ids);
    }
  }
  CullCandidates(world.solidLines, view, cull, out);
}

void CollectSceneryLinesInView(const World& world, const CullRect& cull, LineDrawCache& cache,
                               std::vector<LineId>* out) {
  out->clear();
  if (SceneryLineCount(world) == 0) return;
  LineViewCache& view = cache.scenery;
  const SceneryCellRange range =
      SceneryCellsOver(cull.minX, cull.minY, cull.maxX, cull.maxY, world.thickestScenery);
  if (!SameView(view, world.linesStamp, range.lowColumn, range.lowRow, range.highColumn, range.highRow)) {
    CollectSceneryCandidates(world.sceneryGrid, range, &view.ids);
    view.walk = view.ids.size() * 2 >= size_t(SceneryLineCount(world));
  }
  CullCandidates(world.sceneryLines, view, cull, out);
}

void DrawSolidLinesInView(const World& world, float zoom, const CullRect& cull, LineDrawCache& cache) {
  CollectSolidLinesInView(world, cull, cache, &cache.inView);
  BeginLines(zoom);
  static const uint8_t kBlack[4] = {0, 0, 0, 255};
  static const uint8_t kRed[4] = {255, 0, 0, 255};
  {
    Batch batch(cache.vertices);
    for (LineId id : cache.inView) {
      const SolidLine& line = world.solidLines[size_t(id)];
      const bool boost = line.kind == LineKind::BoostForward || line.kind == LineKind::BoostBackward;
      batch.Emit(line, boost ? kRed : kBlack);
      if (boost) batch.EmitChevrons(line, cull, kRed);
    }
  }
  SetColour(0, 0, 0, 255);
}

void DrawSceneryLinesInView(const World& world, float zoom, const CullRect& cull, LineDrawCache& cache) {
  CollectSceneryLinesInView(world, cull, cache, &cache.inView);
  BeginLines(zoom);
  uint8_t colour[4] = {0, 0, 0, 255};
  {
    Batch batch(cache.vertices);
    for (LineId id : cache.inView) {
      const SceneryLine& line = world.sceneryLines[size_t(id)];
      colour[0] = line.r;
      colour[1] = line.g;
      colour[2] = line.b;
      batch.Emit(line, colour);
    }
  }
  if (!cache.inView.empty()) {
    const SceneryLine& last = world.sceneryLines[size_t(cache.inView.back())];
    SetColour(last.r, last.g, last.b, 255);
  }
}

void AppendChevronVertices(const SolidLine& line, const CullRect& cull, std::vector<float>* xy) {
  float t0, t1;
  if (line.kind != LineKind::BoostForward && line.kind != LineKind::BoostBackward) return;
  if (line.length <= 0.0f || !ClipToRect(line, cull, &t0, &t1)) return;
  const bool thin = line.thickness <= kThinLine;
  // Forward pushes from P1 to P2 (track/collision.cpp), backward from P2 to P1.
  const float sign = line.kind == LineKind::BoostBackward ? -1.0f : 1.0f;
  const float ux = sign * (line.x2 - line.x1) / line.length, uy = sign * (line.y2 - line.y1) / line.length;
  const float half = thin ? 1.05f : line.thickness;  // a thin line is drawn 2.1 units wide
  const float wing = half + kChevronWing;
  const int count = std::max(1, int(line.length / kChevronSpacing));
  const int first = std::max(0, int(std::floor(t0 * float(count) - 0.5f)));
  const int last = std::min(count - 1, int(std::ceil(t1 * float(count) - 0.5f)));
  for (int k = first; k <= last; ++k) {
    const float t = (float(k) + 0.5f) / float(count);
    const float cx = line.x1 + t * (line.x2 - line.x1), cy = line.y1 + t * (line.y2 - line.y1);
    const float tipX = cx + kChevronReach * ux, tipY = cy + kChevronReach * uy;
    const float backX = cx - kChevronReach * ux, backY = cy - kChevronReach * uy;
    const float lx = backX + wing * line.nx, ly = backY + wing * line.ny;
    const float rx = backX - wing * line.nx, ry = backY - wing * line.ny;
    if (thin)
      xy->insert(xy->end(), {lx, ly, tipX, tipY, tipX, tipY, rx, ry});
    else
      xy->insert(xy->end(), {lx, ly, tipX, tipY, rx, ry});
  }
}
