// Frame time of the track screen with the real GL device (run under Xvfb with Mesa's software
// GL, 1024 x 768, vsync off), against a bare vertex-array draw of the same lines with the same
// GL state, and against an empty track. Prints the frame rates and ratios at the end.
//
//   xvfb-run -a -s "-screen 0 1024x768x24" ./bench_track_frame
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "graphics/device.h"
#include "graphics/draw.h"
#include "graphics/sprites.h"
#include "gui/game.h"
#include "platform/platform.h"
#include "platform/window.h"
#include "shell/display.h"
#include "shell/input.h"
#include "shell/paths.h"
#include "track/line_drawing.h"
#include "track/track_view.h"
#include "track/world.h"

namespace {
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

std::map<std::string, double> secondsPerFrame;   // by benchmark name
std::unique_ptr<Game> game;                        // the game whose track screen is drawn

struct Lcg {
  uint32_t state = 2024;
  float Next(float lo, float hi) {
    state = state * 1664525u + 1013904223u;
    return lo + (hi - lo) * float(state >> 8) / float(1u << 24);
  }
};

// count short lines (4 to 12 units) spread evenly over the square of side `side` centred on the
// origin; the camera looks at the origin at `zoom`.
void MakeTrack(int count, float side, float zoom) {
  World& world = game->track.world;
  ClearSolidLines(world);
  ClearSceneryLines(world);
  Lcg rng;
  for (int i = 0; i < count; ++i) {
    Vec2 a{rng.Next(-side / 2, side / 2), rng.Next(-side / 2, side / 2)};
    float angle = rng.Next(0, 6.28f), length = rng.Next(4, 12);
    AddSolidLine(world, a, a + Vec2(length * std::cos(angle), length * std::sin(angle)), 1.0f, LineKind::Normal);
  }
  game->track.view.zoom = zoom;
  game->track.view.camera = ScreenCentre();       // the origin at the screen centre
}

int LinesInView() {
  const World& world = game->track.world;
  const View& view = game->track.view;
  Vec2 c = ScreenCentre();
  float half = c.x / view.zoom, halfY = c.y / view.zoom;
  int n = 0;
  for (const SolidLine& line : world.solidLines)
    if (std::fabs(line.x1) < half && std::fabs(line.y1) < halfY) ++n;
  return n;
}

void Finish(benchmark::State& state) {
  state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void Record(benchmark::State& state, const char* key, double seconds) {
  secondsPerFrame[key] = seconds / double(state.iterations());
  Finish(state);
}

// One track-screen frame, finished by the GL.
void TrackFrames(benchmark::State& state, const char* key) {
  // The first frame after a track changes finds the lines in view: it is not a still frame's cost.
  TrackScreenRender(*game);
  glFinish();
  double total = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    TrackScreenRender(*game);
    glFinish();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    total += seconds;
  }
  Record(state, key, total);
}

void BM_TrackScreen10kLines(benchmark::State& state) {
  MakeTrack(10000, 700, 1.0f);
  state.counters["in_view"] = LinesInView();
  TrackFrames(state, "10k");
}

void BM_TrackScreen100kLines(benchmark::State& state) {
  MakeTrack(100000, 700, 1.0f);
  state.counters["in_view"] = LinesInView();
  TrackFrames(state, "100k");
}

// Black lines (x1, y1, x2, y2 each) from a prebuilt vertex array in one glDrawArrays, with the
// state the world's line drawing uses: the origin at the centre, zoom, width zoom x 2.1, blending.
void DrawBareLines(const std::vector<float>& xy, Vec2 centre, float zoom) {
  glLoadIdentity();
  glTranslatef(centre.x, centre.y, 0.0f);
  glScalef(zoom, zoom, 1.0f);
  glEnable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
  glLineWidth(zoom * 2.1f);
  glColor3ub(0, 0, 0);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(2, GL_FLOAT, 0, xy.data());
  glDrawArrays(GL_LINES, 0, GLsizei(xy.size() / 2));
  glDisableClientState(GL_VERTEX_ARRAY);
}

// The same lines from a prebuilt vertex array: clear, the world's view, line width 2.1, blending
// and smoothing as the device leaves them, black, one glDrawArrays.
void BareVertexArray(benchmark::State& state, int count, const char* key) {
  MakeTrack(count, 700, 1.0f);
  std::vector<float> xy;
  for (const SolidLine& line : game->track.world.solidLines) xy.insert(xy.end(), {line.x1, line.y1, line.x2, line.y2});
  Vec2 c = ScreenCentre();
  double total = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    ClearToColour(255, 255, 255);
    DrawBareLines(xy, c, 1.0f);
    glFinish();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    total += seconds;
  }
  Record(state, key, total);
}

void BM_BareVertexArray10kLines(benchmark::State& state) { BareVertexArray(state, 10000, "bare10k"); }
void BM_BareVertexArray100kLines(benchmark::State& state) { BareVertexArray(state, 100000, "bare100k"); }

void BM_TrackScreenEmpty(benchmark::State& state) {
  MakeTrack(0, 0, 4.0f);
  TrackFrames(state, "empty");
}

// A million lines over a square 22,000 units wide; at zoom 4 about a hundred are in view.
void BM_TrackScreenMillionLinesZoomed(benchmark::State& state) {
  static bool built = false;
  if (!built) {
    MakeTrack(1000000, 22000, 4.0f);
    built = true;
  }
  state.counters["in_view"] = LinesInView();
  TrackFrames(state, "million");
}

// The same million short lines spread over a square 88,000 units wide, at zoom 1: about a hundred
// in view again, drawn 2.1 pixels wide, so the frame shows the cost of finding them rather than of
// filling wide smoothed lines.
void BM_TrackScreenMillionLinesZoom1(benchmark::State& state) {
  MakeTrack(1000000, 88000, 1.0f);
  state.counters["in_view"] = LinesInView();
  TrackFrames(state, "millionZoom1");
}

void BM_TrackScreenEmptyZoom1(benchmark::State& state) {
  MakeTrack(0, 0, 1.0f);
  TrackFrames(state, "emptyZoom1");
}

// A frame right after the eraser cut a line in view of the zoomed million-line track: each
// iteration draws a short line under the pointer (untimed), then times the eraser step that
// removes it and the frame that follows.
void BM_EraseThenFrameMillionLinesZoomed(benchmark::State& state) {
  MakeTrack(1000000, 22000, 4.0f);
  World& world = game->track.world;
  TrackScreenRender(*game);
  glFinish();
  double total = 0;
  for (auto _ : state) {
    AddSolidLine(world, {1.0f, 1.0f}, {9.0f, 3.0f}, 1.0f, LineKind::Normal);
    auto start = std::chrono::steady_clock::now();
    EraseSolidLines(world, {5.0f, 2.0f}, 3.0f);
    TrackScreenRender(*game);
    glFinish();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    total += seconds;
  }
  Record(state, "millionErase", total);
}

// The empty track's frame plus a bare vertex-array draw of the lines the zoomed million-line
// frame shows: what that frame costs without any finding of lines.
void BM_EmptyFramePlusBareInViewLines(benchmark::State& state) {
  MakeTrack(1000000, 22000, 4.0f);
  std::vector<LineId> inView;
  const World& world = game->track.world;
  CollectSolidLinesInView(world, LineCullRect(game->track.view), game->drawCache, &inView);
  std::vector<float> xy;
  for (LineId id : inView) {
    const SolidLine& line = world.solidLines[size_t(id)];
    xy.insert(xy.end(), {line.x1, line.y1, line.x2, line.y2});
  }
  state.counters["in_view"] = double(inView.size());
  MakeTrack(0, 0, 4.0f);
  Vec2 c = ScreenCentre();
  double total = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    TrackScreenRender(*game);
    DrawBareLines(xy, c, 4.0f);
    glFinish();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    total += seconds;
  }
  Record(state, "emptyPlusInView", total);
}

void Ratio(const char* text, const char* a, const char* b) {
  if (!secondsPerFrame.count(a) || !secondsPerFrame.count(b)) return;
  printf("%s: %.3f (%.2f ms / %.2f ms)\n", text, secondsPerFrame[a] / secondsPerFrame[b], secondsPerFrame[a] * 1e3,
         secondsPerFrame[b] * 1e3);
}
}  // namespace

BENCHMARK(BM_TrackScreen10kLines)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BareVertexArray10kLines)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_TrackScreen100kLines)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_BareVertexArray100kLines)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_TrackScreenEmpty)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_TrackScreenMillionLinesZoomed)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_EraseThenFrameMillionLinesZoomed)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_EmptyFramePlusBareInViewLines)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_TrackScreenEmptyZoom1)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_TrackScreenMillionLinesZoom1)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (!PlatformStartVideo()) return 1;
  SetScreenWidth(kWidth);
  SetScreenHeight(kHeight);
  SetVsync(false);
  if (!PlatformCreateWindow("track frame bench", kWidth, kHeight, 32) || !CreateDevice()) return 1;
  PlatformSetSwapInterval(0);
  SetExecFolder((std::string(VELMORA_SOURCE_DIR) + "/velmora").c_str());
  PlatformChangeDirectory(VELMORA_SOURCE_DIR);
  AssignSpriteTable();
  ResetInput();
  game = std::make_unique<Game>();
  InitTrackToolbar(*game);
  // Warm-up: the sprites load on their first bind, and the software GL compiles its code for
  // each new state (smooth wide lines, textured quads) on first use; none of it belongs to a frame.
  MakeTrack(2000, 700, 1.0f);
  for (int i = 0; i < 20; ++i) TrackScreenRender(*game);
  glFinish();
  benchmark::RunSpecifiedBenchmarks();
  double tenK = secondsPerFrame.count("10k") ? secondsPerFrame["10k"] : 0;
  if (tenK > 0) printf("track screen, 10,000 lines in view: %.1f frames per second (need 60)\n", 1.0 / tenK);
  Ratio("10,000 lines, track screen / bare vertex array", "10k", "bare10k");
  Ratio("100,000 lines, track screen / bare vertex array (need <= 1.25)", "100k", "bare100k");
  Ratio("1,000,000-line track zoomed in / empty track (need <= 1.5)", "million", "empty");
  Ratio("1,000,000-line track zoomed in: eraser step and frame / frame without an erase (need <= 1.5)",
        "millionErase", "million");
  Ratio("1,000,000-line track zoomed in / empty frame plus a bare draw of its lines in view", "million",
        "emptyPlusInView");
  Ratio("1,000,000-line track at zoom 1, about 100 in view / empty track at zoom 1 (need <= 1.5)", "millionZoom1",
        "emptyZoom1");
  benchmark::Shutdown();
  ReleaseDevice();
  PlatformDestroyWindow();
  return 0;
}
