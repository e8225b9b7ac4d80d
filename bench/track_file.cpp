// Track files of 1,000,000 lines (24 MB): loading against reading the bytes and against adding
// the same lines straight to a world, saving against a plain write of the same size. Both sides
// of each pair flush to disk the same way, so the ratios compare the formats' own work.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

#include "rider/current_rider.h"
#include "shell/file_load.h"
#include "shell/file_stream.h"
#include "shell/paths.h"
#include "track/track_file.h"
#include "track/world.h"

namespace {

constexpr int kLines = 1000000;

struct Fixture {
  std::filesystem::path folder;
  std::string trackPath;                          // a saved 1M-line track
  std::string savePath;
  std::string plainPath;
  std::vector<StagedSolidLine> lines;             // the same lines, for adding directly
  std::unique_ptr<CurrentRider> rider = std::make_unique<CurrentRider>();
  std::unique_ptr<World> world = std::make_unique<World>();
};

// Pencil-like strokes of 40 units, 1000 to a row, rows 300 units apart: a track as wide as a
// long ride and as dense as a drawn one.
Fixture& TheFixture() {
  static Fixture* fixture = [] {
    auto* f = new Fixture;
    f->folder = std::filesystem::temp_directory_path() / "velmora-bench-track-file";
    std::filesystem::create_directories(f->folder);
    SetExecFolder((f->folder / "velmora").c_str());
    f->trackPath = (f->folder / "million.track").string();
    f->savePath = (f->folder / "saved.track").string();
    f->plainPath = (f->folder / "plain.bin").string();
    f->lines.reserve(kLines);
    for (int i = 0; i < kLines; ++i) {
      const float x = float(i % 1000) * 40.0f - 20000.0f, y = float(i / 1000) * -300.0f + float(i % 7) * 3.0f;
      f->lines.push_back({x, y, x + 40.0f, y - 6.0f + float(i % 5), 1.0f + float(i % 3), uint32_t(i % 3)});
    }
    for (const StagedSolidLine& l : f->lines)
      AddSolidLine(*f->world, {l.x1, l.y1}, {l.x2, l.y2}, l.thickness, LineKind(l.kind));
    snprintf(f->rider->path, sizeof f->rider->path, "riders\\sledder.rider");
    SaveTrack(*f->world, *f->rider, f->trackPath.c_str());
    return f;
  }();
  return *fixture;
}

void EmptyWorld(Fixture& f) {
  ClearSolidLines(*f.world);
  ClearSceneryLines(*f.world);
}

void BM_ReadBytes(benchmark::State& state) {
  Fixture& f = TheFixture();
  std::vector<uint8_t> bytes;
  for (auto _ : state) {
    ReadWholeFile(f.trackPath.c_str(), &bytes);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

void BM_ParseIntoStaging(benchmark::State& state) {
  Fixture& f = TheFixture();
  std::vector<uint8_t> bytes;
  ReadWholeFile(f.trackPath.c_str(), &bytes);
  for (auto _ : state) {
    TrackFileContent content;
    if (ParseTrackFile(bytes.data(), bytes.size(), false, &content) != FileLoad::Loaded) state.SkipWithError("refused");
    benchmark::DoNotOptimize(content.solids.data());
  }
}

void BM_AddLinesDirectly(benchmark::State& state) {
  Fixture& f = TheFixture();
  for (auto _ : state) {
    state.PauseTiming();
    EmptyWorld(f);
    state.ResumeTiming();
    for (const StagedSolidLine& l : f.lines)
      AddSolidLine(*f.world, {l.x1, l.y1}, {l.x2, l.y2}, l.thickness, LineKind(l.kind));
  }
}

void BM_LoadTrack(benchmark::State& state) {
  Fixture& f = TheFixture();
  for (auto _ : state) {
    state.PauseTiming();
    EmptyWorld(f);
    state.ResumeTiming();
    if (LoadTrack(*f.world, *f.rider, f.trackPath.c_str()) != FileLoad::Loaded) state.SkipWithError("refused");
  }
  if (f.world->solidLineCount != kLines) state.SkipWithError("lines lost");
}

void BM_PlainWriteAndFlush(benchmark::State& state) {
  Fixture& f = TheFixture();
  std::vector<uint8_t> bytes;
  ReadWholeFile(f.trackPath.c_str(), &bytes);
  for (auto _ : state) {
    FileWriter writer(f.plainPath.c_str());
    writer.write(bytes.data(), uint32_t(bytes.size()));
    if (!writer.finish()) state.SkipWithError("write failed");
  }
}

void BM_SaveTrack(benchmark::State& state) {
  Fixture& f = TheFixture();
  if (f.world->solidLineCount != kLines) {
    EmptyWorld(f);
    for (const StagedSolidLine& l : f.lines)
      AddSolidLine(*f.world, {l.x1, l.y1}, {l.x2, l.y2}, l.thickness, LineKind(l.kind));
  }
  for (auto _ : state)
    if (!SaveTrack(*f.world, *f.rider, f.savePath.c_str())) state.SkipWithError("save failed");
}

BENCHMARK(BM_ReadBytes)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ParseIntoStaging)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_AddLinesDirectly)->Unit(benchmark::kMillisecond)->Iterations(8);
BENCHMARK(BM_LoadTrack)->Unit(benchmark::kMillisecond)->Iterations(8);
BENCHMARK(BM_PlainWriteAndFlush)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_SaveTrack)->Unit(benchmark::kMillisecond)->Iterations(10);

// Keeps each benchmark's wall and processor time per iteration (the mean, with repetitions) so
// the ratios can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  struct Times {
    double real = 0, cpu = 0;
  };
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const bool mean = run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean";
      if (run.run_type == Run::RT_Aggregate && !mean) continue;
      if (!mean && means.count(run.run_name.function_name)) continue;
      times[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
      if (mean) means.insert(run.run_name.function_name);
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, Times> times;
  std::set<std::string> means;
};

void PrintRatio(const RatioReporter& reporter, const char* what, const char* numerator, const char* denominator,
                double limit) {
  auto n = reporter.times.find(numerator), d = reporter.times.find(denominator);
  if (n == reporter.times.end() || d == reporter.times.end() || d->second.real <= 0 || d->second.cpu <= 0) return;
  const double real = n->second.real / d->second.real, cpu = n->second.cpu / d->second.cpu;
  printf("%-42s wall %6.2f  processor %6.2f  (limit %.1f)\n", what, real, cpu, limit);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintRatio(reporter, "parse into staging / read the bytes", "BM_ParseIntoStaging", "BM_ReadBytes", 3.0);
  PrintRatio(reporter, "whole load / add the lines directly", "BM_LoadTrack", "BM_AddLinesDirectly", 1.3);
  PrintRatio(reporter, "save with flush / plain write and flush", "BM_SaveTrack", "BM_PlainWriteAndFlush", 3.0);
  std::filesystem::remove_all(std::filesystem::temp_directory_path() / "velmora-bench-track-file");
  benchmark::Shutdown();
  return 0;
}
