// Physics figures: one simulation step of a 20-point rider on a dense track, the same step on a
// track of a million lines (the grid must keep the work local), a step of the largest rider the
// game accepts, and the time and memory of adding lines to the world.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "rider/rider_size.h"
#include "rider/simulation.h"
#include "tests/rider/test_riders.h"
#include "track/world.h"

// ---- heap accounting: every allocation of the program passes through here ----
namespace {

struct HeapCount {
  long long requested = 0;                        // bytes asked for
  long long chunks = 0;                           // bytes glibc hands out for them (16-byte chunks, 8 overhead, 32 minimum)
} gHeap;

constexpr size_t kHeader = 16;                    // keeps the size and 16-byte alignment

long long ChunkOf(size_t size) {
  const size_t chunk = (size + 8 + 15) & ~size_t(15);
  return (long long)(chunk < 32 ? 32 : chunk);
}

void* CountedNew(size_t size) {
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (!block) throw std::bad_alloc();
  *reinterpret_cast<size_t*>(block) = size;
  gHeap.requested += (long long)size;
  gHeap.chunks += ChunkOf(size);
  return block + kHeader;
}

void CountedDelete(void* pointer) {
  if (!pointer) return;
  unsigned char* block = static_cast<unsigned char*>(pointer) - kHeader;
  const size_t size = *reinterpret_cast<size_t*>(block);
  gHeap.requested -= (long long)size;
  gHeap.chunks -= ChunkOf(size);
  std::free(block);
}

}  // namespace

void* operator new(size_t size) { return CountedNew(size); }
void* operator new[](size_t size) { return CountedNew(size); }
void operator delete(void* pointer) noexcept { CountedDelete(pointer); }
void operator delete[](void* pointer) noexcept { CountedDelete(pointer); }
void operator delete(void* pointer, size_t) noexcept { CountedDelete(pointer); }
void operator delete[](void* pointer, size_t) noexcept { CountedDelete(pointer); }

namespace {

// ---- tracks ----

constexpr float kSegment = 40.0f;                 // the pencil's stroke length

// A long gentle downhill of pencil strokes, doubled by parallel strands below it so that every
// cell the rider passes holds many lines. Returns the number of lines added.
int AddDenseSlope(World& world, float x0, float y0, int segments, int strands) {
  int added = 0;
  for (int s = 0; s < strands; ++s) {
    float px = x0, py = y0 - float(s) * 23.0f;
    for (int i = 0; i < segments; ++i) {
      const float x = px + kSegment;
      const float y = py - 6.0f - 3.0f * float((i * 7 + s) % 5);
      if (AddSolidLine(world, {px, py}, {x, y}, s == 0 ? 1.0f : 2.0f, LineKind::Normal) != kNoLine) added += 1;
      px = x;
      py = y;
    }
  }
  return added;
}

// Lines laid out as a drawn track: rows of consecutive strokes 500 units apart, far from the
// origin, count of them.
void AddFarTrack(World& world, int count, float yStart) {
  const float xStart = -4000000.0f;
  const int perRow = 200000;
  for (int i = 0; i < count; ++i) {
    const int row = i / perRow, column = i % perRow;
    const float x = xStart + kSegment * float(column);
    const float y = yStart + 500.0f * float(row) + ((column & 1) ? 7.0f : 0.0f);
    AddSolidLine(world, {x, y}, {x + kSegment, y + ((column & 1) ? -7.0f : 7.0f)}, 1.0f, LineKind::Normal);
  }
}

// ---- riders ----

// The worst rider of kMaxRiderPoints points for point contacts: a square of points one unit
// apart, each tied to its right and upper neighbour, so that every point shares a grid
// neighbourhood (40-unit cells) with every other and each pass tests every pair.
void BuildPackedRider(Body& body, float x, float y) {
  ClearBody(body);
  const int side = int(std::ceil(std::sqrt(double(kMaxRiderPoints))));
  std::vector<BodyPoint*> points;
  for (uint32_t i = 0; i < kMaxRiderPoints; ++i) {
    const int column = int(i) % side, row = int(i) / side;
    points.push_back(Add(body, {.x = x + float(column), .y = y + 10.0f + float(row), .radius = 0.4f, .friction = 0.1f}));
    if (column > 0) Tie(body, points[i - 1], points[i], {.stiffness = 0.5f});
    if (row > 0) Tie(body, points[i - size_t(side)], points[i], {.stiffness = 0.5f});
  }
}

// A rider riding the dense slope near the origin; restarted from its snapshot every episode so
// that it always rides the same stretch.
struct Ride {
  std::unique_ptr<World> world = std::make_unique<World>();
  Body body;
  BodySnapshot start;
  Ride(int farLines, void (*build)(Body&, float, float)) {
    AddDenseSlope(*world, -100.0f, 0.0f, 25, 4);
    if (farLines > 0) AddFarTrack(*world, farLines, 200000.0f);
    build(body, -60.0f, 10.0f);
    TakeSnapshot(body, start);
  }
};

constexpr int kEpisodeSteps = 400;                // the rider stays on the slope for this long

void StepRiderOnTrack(benchmark::State& state, int farLines, void (*build)(Body&, float, float)) {
  Ride ride(farLines, build);
  int64_t steps = 0;
  int inEpisode = 0;
  for (auto _ : state) {
    if (inEpisode == kEpisodeSteps) {
      RebuildFromSnapshot(ride.body, ride.start);
      inEpisode = 0;
    }
    StepBodyOnTrack(ride.body, *ride.world);
    inEpisode += 1;
    steps += 1;
  }
  benchmark::DoNotOptimize(HashBodyPositions(ride.body));
  state.counters["steps_per_s"] = benchmark::Counter(double(steps), benchmark::Counter::kIsRate);
  state.counters["lines"] = double(SolidLineCount(*ride.world));
}

void BM_StepDenseTrack(benchmark::State& state) { StepRiderOnTrack(state, 0, BuildTestRider); }
void BM_StepMillionLineTrack(benchmark::State& state) { StepRiderOnTrack(state, 1000000 - 100, BuildTestRider); }
void BM_StepRiderAtLimit(benchmark::State& state) { StepRiderOnTrack(state, 0, BuildPackedRider); }

// Worlds of the add benchmark stay alive until the end, so that every run adds its lines into
// memory fresh from the system, as a game that loads a track does; reusing the freed memory of a
// previous run would favour the small runs, whose whole heap stays warm.
std::vector<std::unique_ptr<World>> gKeptWorlds;

void BM_AddLines(benchmark::State& state) {
  const int count = int(state.range(0));
  long long bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    gKeptWorlds.push_back(std::make_unique<World>());
    World& world = *gKeptWorlds.back();
    const long long before = gHeap.chunks;
    state.ResumeTiming();
    AddFarTrack(world, count, 0.0f);
    state.PauseTiming();
    bytes = gHeap.chunks - before;
    state.ResumeTiming();
  }
  state.counters["bytes_per_line"] = double(bytes) / double(count);
}

// Repeated, and the ratios taken from the fastest repetition: the machine may be shared, and
// other work only ever adds time. Adding runs first, while no earlier run has left freed memory
// behind that the small runs could reuse warm.
BENCHMARK(BM_AddLines)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(BM_StepDenseTrack)->MinTime(0.5)->Repetitions(5);
BENCHMARK(BM_StepMillionLineTrack)->MinTime(0.5)->Repetitions(5);
BENCHMARK(BM_StepRiderAtLimit)->MinTime(0.5)->Repetitions(5);

// Keeps the time per iteration of every run so the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      // CPU time of the fastest repetition: the figures are about work on one core.
      const std::string name = run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args);
      const double time = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);  // seconds
      if (seconds.count(name) && seconds[name] <= time) continue;
      seconds[name] = time;
      for (const auto& [counterName, counter] : run.counters) counters[name + ":" + counterName] = counter.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> seconds;
  std::map<std::string, double> counters;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto& s = reporter.seconds;
  auto& c = reporter.counters;
  if (s.count("BM_StepDenseTrack"))
    std::printf("step, 20-point rider on a dense track: %.0f steps per second (needed: 100000)\n",
                c["BM_StepDenseTrack:steps_per_s"]);
  if (s.count("BM_StepDenseTrack") && s.count("BM_StepMillionLineTrack"))
    std::printf("step time, 1,000,000 lines / 100 lines: %.3f (allowed: 1.3)\n",
                s["BM_StepMillionLineTrack"] / s["BM_StepDenseTrack"]);
  // The game runs up to 10 steps a frame; they must leave most of a 60 fps frame to drawing.
  if (s.count("BM_StepRiderAtLimit"))
    std::printf("step, packed %u-point rider (the limit): %.3f ms, 10 steps %.1f ms of a 16.7 ms frame\n",
                kMaxRiderPoints, s["BM_StepRiderAtLimit"] * 1e3, s["BM_StepRiderAtLimit"] * 1e4);
  const std::string small = "BM_AddLines/100000", large = "BM_AddLines/1000000";
  if (s.count(small) && s.count(large)) {
    std::printf("adding lines, time 1,000,000 / 100,000: %.2f (allowed: 12)\n", s[large] / s[small]);
    std::printf("memory per line at 1,000,000 lines: %.1f bytes (allowed: 200)\n", c[large + ":bytes_per_line"]);
  }
  gKeptWorlds.clear();
  benchmark::Shutdown();
  return 0;
}
