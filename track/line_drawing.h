// Drawing the track's lines fast: the lines in view are found through the world's grids (the
// line grid for solid lines, the scenery grid for scenery), each drawn once and in creation
// order (the order decides which colour lies on top), and sent as vertex arrays.
//
// The cache keeps the candidates of the last query while the cells under the view and the
// world's lines stay the same (the world's change stamp), so a still or slowly moving view costs
// only the cull test of its candidates; any line change makes the next query walk the cells again.
#pragma once
#include <cstdint>
#include <vector>

#include "track/lines.h"
#include "track/view.h"

struct World;

struct LineViewCache {
  uint64_t linesStamp = 0;                        // the world's stamp when the query ran; 0: none
  bool walk = false;                              // most of the track was in view: walk the array
  int32_t range[4] = {};                          // cell range: low column, low row, high column, high row
  std::vector<LineId> ids;                        // creation order, each once
};

// The drawing's memory between frames: render scratch, never part of the game's state.
struct LineDrawCache {
  LineViewCache solid;
  LineViewCache scenery;
  std::vector<LineId> inView;                     // the lines of the draw being made
  std::vector<float> vertices;                    // one run of one primitive and colour
};

// The lines a draw would send, in creation order, each once: every line that can put a pixel
// inside the cull rectangle and is not skipped by it (both ends beyond one side).
void CollectSolidLinesInView(const World& world, const CullRect& cull, LineDrawCache& cache, std::vector<LineId>* out);
void CollectSceneryLinesInView(const World& world, const CullRect& cull, LineDrawCache& cache,
                               std::vector<LineId>* out);
// Blending on, texturing off, line width zoom x 2.1; lines of thickness 2 or less as lines,
// thicker ones as a quad with a disc on the second end. Solid lines black, boost lines red with
// chevrons along them that point the way they push, in the same vertex batches as the lines.
// The chevrons of a boost line whose middles lie inside the cull rectangle, appended as x, y
// pairs in world units: two arms from the tip as line ends when the line is thin (thickness 2 or
// less), else one filled arrowhead as a triangle. Nothing for a line of another kind.
void AppendChevronVertices(const SolidLine& line, const CullRect& cull, std::vector<float>* xy);
void DrawSolidLinesInView(const World& world, float zoom, const CullRect& cull, LineDrawCache& cache);
void DrawSceneryLinesInView(const World& world, float zoom, const CullRect& cull, LineDrawCache& cache);
