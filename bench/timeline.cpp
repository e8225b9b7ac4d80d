// Timeline figures: the worst jump to any step of a 100,000-step ride of the 20-point test
// rider on a dense floor (allowed: 3 ms), the checkpoints' memory, and the worst time to work
// out the path preview on the same track (allowed: 2 ms a frame).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>

#include "bench/timings.h"
#include "tests/rider/test_riders.h"
#include "track/path_preview.h"
#include "track/timeline.h"
#include "track/world.h"

namespace {

constexpr int64_t kRideSteps = 100000;

// A long wavy floor of pencil strokes, four strands deep, that the rider rolls along and comes
// to rest on: every step of the ride touches lines.
void BuildFloor(World& world) {
  for (int strand = 0; strand < 4; ++strand) {
    float px = -400.0f, py = -float(strand) * 23.0f;
    for (int i = 0; i < 3000; ++i) {
      const float x = px + 40.0f, y = -float(strand) * 23.0f + 25.0f * std::sin(float(i) * 0.15f);
      AddSolidLine(world, {px, py}, {x, y}, strand == 0 ? 1.0f : 2.0f, LineKind::Normal);
      px = x, py = y;
    }
  }
}

struct Figures {
  double rideSeconds = 0, worstJumpMs = 0, meanJumpMs = 0, worstPreviewMs = 0, meanPreviewMs = 0;
  size_t checkpoints = 0, checkpointBytes = 0;
} gFigures;

void BM_TimelineJumps(benchmark::State& state) {
  World world;
  BuildFloor(world);
  BuildTestRider(world.rider, 0.0f, 60.0f);
  Timeline timeline;
  StartTimeline(timeline, world);
  const auto start = std::chrono::steady_clock::now();
  JumpTimeline(timeline, world, kRideSteps);
  gFigures.rideSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  gFigures.checkpoints = timeline.checkpoints.size();
  gFigures.checkpointBytes = CheckpointBytes(timeline);
  std::mt19937 random(11);
  Timings jumps;
  for (auto _ : state) {
    const int64_t target = int64_t(random() % uint32_t(kRideSteps + 1));
    jumps.time([&] { JumpTimeline(timeline, world, target); });
  }
  gFigures.worstJumpMs = std::max(gFigures.worstJumpMs, jumps.worst);
  gFigures.meanJumpMs = jumps.mean();
}

void BM_PathPreview(benchmark::State& state) {
  World world;
  BuildFloor(world);
  BuildTestRider(world.rider, 0.0f, 60.0f);
  PathPreview preview;
  TogglePathPreview(preview);
  Timings previews;
  for (auto _ : state) {
    // A new pose each time, as after a jump or a drag: the whole path is worked out again.
    world.rider.points.front().x += 0.001f;
    previews.time([&] { UpdatePathPreview(preview, world); });
  }
  gFigures.worstPreviewMs = std::max(gFigures.worstPreviewMs, previews.worst);
  gFigures.meanPreviewMs = previews.mean();
}

BENCHMARK(BM_TimelineJumps)->Iterations(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PathPreview)->Iterations(300)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  std::printf("timeline: %lld-step ride in %.2f s; jump to any step: worst %.3f ms, mean %.3f ms (allowed: 3 ms)\n",
              (long long)kRideSteps, gFigures.rideSeconds, gFigures.worstJumpMs, gFigures.meanJumpMs);
  std::printf("timeline: %zu checkpoints, %.1f KB\n", gFigures.checkpoints, double(gFigures.checkpointBytes) / 1024);
  std::printf("path preview of %d steps: worst %.3f ms, mean %.3f ms (allowed: 2 ms a frame)\n", kPreviewSteps,
              gFigures.worstPreviewMs, gFigures.meanPreviewMs);
  benchmark::Shutdown();
  return 0;
}
