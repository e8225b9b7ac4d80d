// V on the track screen: the ride on the timeline (step 0 to the furthest step ridden, or the
// first ten seconds when nothing was ridden) exported as a video by velmora-export, run beside
// the game on copies of the track, its start and the rider in use. The game never waits for it:
// each step reads its progress lines from the pipe, the track screen shows a bar, and the file
// written or why it failed is posted as a message.
#pragma once
#include <cstdint>
#include <string>

struct Game;

enum class ExportPhase { Idle, Running, Done, Failed };

struct ExportJob {
  ExportPhase phase = ExportPhase::Idle;
  int child = 0;                                  // the exporter's id while running
  int errorPipe = -1;                             // its standard error, read without waiting
  std::string pending;                            // a progress line not yet complete
  int64_t framesDone = 0;                         // as the exporter last said
  int64_t framesTotal = 0;
  std::string lastWords;                          // its last line that was not progress: why it failed
  std::string file;                               // stored path of the file being or been written
  std::string why;                                // shown when it failed
  int stepsShown = 0;                             // steps since it ended
  bool told = false;                              // its end was posted as a message
};

constexpr int64_t kExportStepsWhenNotRidden = 1000;  // ten seconds
constexpr int kExportResultSteps = 600;           // how long the result stays on screen (10 ms steps)

void UpdateRideExport(Game& game);                // once per track-screen step: V starts an export, one at a time
// Once per step on every screen: a running export's progress and end are taken in, its end
// posted as a message.
void StepRideExport(Game& game);
void StopRideExport(Game& game);                  // a clean exit: a running export is stopped, its copies removed
void RenderRideExport(const ExportJob& job);      // the bar and file name while it runs
