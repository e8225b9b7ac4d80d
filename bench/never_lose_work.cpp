// Undo and autosave on a 1,000,000-line track: the time to take back and do again an eraser drag
// over about 1,000 lines (allowed: 2 ms) with the history's memory, and the worst step while an
// autosave of the whole track is under way (allowed: 5 ms a frame, which holds at most two steps
// at 60 Hz).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "gui/game.h"
#include "bench/timings.h"
#include "shell/paths.h"
#include "tests/support/temp_folder.h"
#include "track/track_history.h"

namespace {

// A thousand rows of a thousand short lines, 20 units apart.
void BuildMillionLines(World& world) {
  for (int row = 0; row < 1000; ++row)
    for (int column = 0; column < 1000; ++column) {
      const float x = float(column) * 20.0f, y = float(row) * 20.0f;
      AddSolidLine(world, {x, y}, {x + 12.0f, y + 3.0f}, 1.0f, LineKind::Normal);
    }
}

struct Figures {
  size_t erased = 0, pieces = 0, historyBytes = 0;
  Timings undos, redos, autosaveSteps;
  double worstFrameMs = 0, autosaveSeconds = 0;
} gFigures;

void BM_UndoEraserDrag(benchmark::State& state) {
  World world;
  BuildMillionLines(world);
  TrackHistory history;
  CurrentRider rider;
  BeginTrackAction(history, world);
  // A drag of the eraser along a row: circles of radius 60, 40 units apart.
  for (float x = 4000.0f; x < 6400.0f; x += 40.0f) EraseSolidLines(world, {x, 10000.0f}, 90.0f);
  EndTrackAction(history, world, rider);
  for (const LineEvent& event : history.done.back().events) gFigures.erased += event.kind == LineEventKind::RemoveSolid;
  gFigures.pieces = history.done.back().events.size() - gFigures.erased;
  gFigures.historyBytes = history.bytes;
  for (auto _ : state) {
    gFigures.undos.time([&] { UndoTrackAction(history, world, rider); });
    gFigures.redos.time([&] { RedoTrackAction(history, world, rider); });
  }
}

void BM_AutosaveSteps(benchmark::State& state) {
  TempFolder folder;
  SetExecFolder((folder.path.string() + "/velmora").c_str());
  for (auto _ : state) {
    auto game = std::make_unique<Game>();
    StartAutosave(*game);
    BuildMillionLines(game->track.world);
    // The first autosave of the run, then one after an edit, which reuses the copy's room.
    for (int autosave = 0; autosave < 2; ++autosave) {
      if (autosave > 0) AddSolidLine(game->track.world, {-100, -100}, {-50, -100}, 1.0f, LineKind::Normal);
      AutosaveOnSwitch(*game);
      const auto begin = std::chrono::steady_clock::now();
      double previous = 0;
      while (game->autosave.copying || game->autosave.session.writing || game->autosave.session.writer.joinable()) {
        const double ms = gFigures.autosaveSteps.time([&] { StepAutosave(*game); });
        gFigures.worstFrameMs = std::max(gFigures.worstFrameMs, ms + previous);
        previous = ms;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
      const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
      gFigures.autosaveSeconds = std::max(gFigures.autosaveSeconds, seconds);
    }
    EndAutosave(*game);
  }
}

BENCHMARK(BM_UndoEraserDrag)->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutosaveSteps)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  const Timings& undos = gFigures.undos;
  const Timings& redos = gFigures.redos;
  const double mean = (undos.total + redos.total) / double(std::max<int64_t>(undos.runs + redos.runs, 1));
  std::printf("undo: eraser drag removing %zu lines (and leaving %zu pieces) on 1,000,000 lines: undo worst %.3f ms, "
              "redo worst %.3f ms, mean %.3f ms (allowed: 2 ms); history %.1f KB\n",
              gFigures.erased, gFigures.pieces, undos.worst, redos.worst, mean, double(gFigures.historyBytes) / 1024);
  // A frame at 60 Hz holds at most two 10 ms steps.
  std::printf("autosave of 1,000,000 lines: worst step %.3f ms, worst two steps %.3f ms (allowed: 5 ms a frame), "
              "whole autosave at most %.2f s\n",
              gFigures.autosaveSteps.worst, gFigures.worstFrameMs, gFigures.autosaveSeconds);
  benchmark::Shutdown();
  return 0;
}
