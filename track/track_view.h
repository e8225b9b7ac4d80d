// How the track screen draws its scene: the world through the view with the lines culled to it,
// the start flag, the ghost, the rider, the stroke preview and the on-screen display.
#pragma once
#include <cstdint>

struct World;
struct TrackScene;
struct LineDrawCache;
struct View;

uint8_t GhostAlpha(const World& world);           // 130 at the start of the ghost's loop, 2 at its end
void RenderTrackScene(const TrackScene& scene, LineDrawCache& cache);
// A frame of the ride alone, as an exported video shows it: lines, start flag and rider through
// the view, without ghost, path, stroke or on-screen display. The caller clears the screen.
void RenderRideFrame(const World& world, const View& view, LineDrawCache& cache);
