// Drawing the track's lines fast: the lines in view are found through cells under the view (the
// world's line grid for solid lines, an index of our own for scenery), each drawn once and in
// creation order (the order decides which colour lies on top), and sent to GL as vertex arrays.
//
// The index follows the world's line lists: lines appended since the last frame are picked up
// cheaply; after lines were removed or replaced it is rebuilt on the next draw. Removals are
// noticed from the lists' length and ends, and callers that erase or replace lines say so with
// ForgetLineOrder, so that an address reused by a new line is never taken for the old one.
#pragma once
#include <vector>

#include "track/lines.h"

struct World;
struct CullRect;

void ForgetLineOrder();                           // lines were removed or replaced: rebuild before the next draw
// The lines a draw would send, in creation order, each once: every line that can put a pixel
// inside the cull rectangle and is not skipped by it (both ends beyond one side).
void CollectSolidLinesInView(World& world, const CullRect& cull, std::vector<const SolidLine*>* out);
void CollectSceneryLinesInView(World& world, const CullRect& cull, std::vector<const SceneryLine*>* out);
// GL: blending on, texturing off, line width zoom x 2.1; lines of thickness 2 or less as GL lines,
// thicker ones as a quad with a disc on the second end. Solid lines black, boost lines red.
void DrawSolidLinesInView(World& world, float zoom, const CullRect& cull);
void DrawSceneryLinesInView(World& world, float zoom, const CullRect& cull);
